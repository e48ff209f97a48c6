// The message of the error an action raises, for tests that pin the system's exact texts.
#pragma once

#include <functional>
#include <string>

namespace test_support {

// The message of the library error `action` raises, or "(no error)" when it raises none.
std::string ErrorOf(const std::function<void()>& action);

} // namespace test_support
