// Whether this build runs under AddressSanitizer, for the fast paths that would hide a fault
// from it (vector gathers it does not check, memory kept back instead of freed).
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define VELMORA_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELMORA_ADDRESS_SANITIZER 1
#endif
#endif
