// velmora-batch's messages: every failure told in plain English, starting with the file it is
// about. The windows keep the system's own messages; only this tool says them this way.
#pragma once

#include <exception>
#include <stdexcept>
#include <string>

// A file that cannot be made for a reason of this tool's own (not the reader's or writer's).
class BatchFailure : public std::runtime_error {
  public:
    explicit BatchFailure(const std::string& message) : std::runtime_error(message) {}
};

// "FILE: what went wrong[: the system's reason]" for a failure raised while working on `input`.
// The file is the one the failure concerns where the error knows it (an output that could not
// be written, a mask beside the input), else `input`.
std::string FailureMessage(const std::exception& failure, const std::string& input);
