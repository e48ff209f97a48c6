// The rotation angle as the user types it into the angle box.
#include "rotate/AngleText.h"

#include <cstdint>
#include <limits>

int AngleFromText(const std::string& text) {
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos) {
        return kDefaultAngle;
    }
    const bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+') {
        ++i;
    }
    if (i == text.size()) {
        return kDefaultAngle;
    }
    // Accumulated as a magnitude so that -2147483648 still fits; the limit check comes before
    // the value could overflow 64 bits.
    const std::int64_t limit = negative
                                   ? -static_cast<std::int64_t>(std::numeric_limits<int>::min())
                                   : static_cast<std::int64_t>(std::numeric_limits<int>::max());
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch < '0' || ch > '9') {
            return kDefaultAngle;
        }
        magnitude = magnitude * 10 + (ch - '0');
        if (magnitude > limit) {
            return kDefaultAngle;
        }
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}
