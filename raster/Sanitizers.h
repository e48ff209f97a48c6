// Whether this build runs under AddressSanitizer, for fast paths that would hide a fault from it
// (the vector gathers, whose reads it does not check).
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define VELMORA_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELMORA_ADDRESS_SANITIZER 1
#endif
#endif
