// Two pieces of work on the calling thread and a second one.
#include "raster/SideBySide.h"

#include <exception>
#include <system_error>
#include <thread>

void RunSideBySide(bool worthASecondThread, const std::function<void()>& first,
                   const std::function<void()>& second) {
    std::thread helper;
    std::exception_ptr firstFailure;
    if (worthASecondThread && std::thread::hardware_concurrency() > 1) {
        try {
            helper = std::thread([&] {
                try {
                    first();
                } catch (...) {
                    firstFailure = std::current_exception();
                }
            });
        } catch (const std::system_error&) {
            // No thread to be had: the first piece runs below instead.
        }
    }
    std::exception_ptr secondFailure;
    try {
        second();
    } catch (...) {
        secondFailure = std::current_exception();
    }
    if (helper.joinable()) {
        helper.join();
    } else {
        try {
            first();
        } catch (...) {
            firstFailure = std::current_exception();
        }
    }
    if (firstFailure) {
        std::rethrow_exception(firstFailure);
    }
    if (secondFailure) {
        std::rethrow_exception(secondFailure);
    }
}
