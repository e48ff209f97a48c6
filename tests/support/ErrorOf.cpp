// The message of the error an action raises.
#include "tests/support/ErrorOf.h"

#include "raster/Errors.h"

namespace test_support {

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EVelmoraError& error) {
        return error.what();
    }
    return "(no error)";
}

} // namespace test_support
