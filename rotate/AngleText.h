// The rotation angle as the user types it into the angle box.
#pragma once

#include <string>

inline constexpr int kDefaultAngle = 30;

// The text as a whole decimal number of degrees: leading blanks and one sign are allowed, then
// nothing but digits. Anything else, an empty text, or a value beyond 32 bits gives 30.
int AngleFromText(const std::string& text);
