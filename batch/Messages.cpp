// velmora-batch's messages: every failure told in plain English, starting with the file it is
// about. The windows keep the system's own messages; only this tool says them this way.
#include "batch/Messages.h"

#include "accessory/AccessoryCrop.h"
#include "raster/Errors.h"
#include "rotate/UpDownSheets.h"

#include <new>
#include <system_error>

namespace {

// The system's reason in its own words ("No such file or directory"); empty when it gave none.
std::string SystemReason(const std::error_code& error) {
    return error ? ": " + error.message() : std::string();
}

std::string FlawText(BmpFlaw flaw) {
    switch (flaw) {
    case BmpFlaw::NotBmp:
        return "not a BMP picture";
    case BmpFlaw::BadHeader:
        return "damaged BMP header";
    case BmpFlaw::UnsupportedKind:
        return "unsupported kind of BMP (bits per pixel and compression)";
    case BmpFlaw::SizeOutOfRange:
        return "picture size out of range";
    case BmpFlaw::EndsInFileHeader:
        return "file ends inside the file header";
    case BmpFlaw::EndsInInfoHeader:
        return "file ends inside the information header";
    case BmpFlaw::EndsInColourMasks:
        return "file ends inside the colour masks";
    case BmpFlaw::EndsInColourTable:
        return "file ends inside the colour table";
    case BmpFlaw::PixelsAbsent:
        return "holds almost none of the pixels its header announces";
    case BmpFlaw::Unspecified:
        break;
    }
    return "not a BMP picture this tool can read";
}

// What went wrong, without the file.
std::string Reason(const std::exception& failure) {
    if (const auto* error = dynamic_cast<const EFOpenError*>(&failure)) {
        return error->SystemError() == std::errc::is_a_directory
                   ? "is a folder"
                   : "cannot open" + SystemReason(error->SystemError());
    }
    if (const auto* error = dynamic_cast<const EFCreateError*>(&failure)) {
        return error->SystemError() == std::errc::is_a_directory
                   ? "is a folder"
                   : "cannot write" + SystemReason(error->SystemError());
    }
    if (const auto* error = dynamic_cast<const EWriteError*>(&failure)) {
        return "cannot write" + SystemReason(error->SystemError());
    }
    if (const auto* error = dynamic_cast<const EDamagedPng*>(&failure)) {
        return "damaged PNG: " + error->Detail();
    }
    if (const auto* error = dynamic_cast<const EInvalidGraphic*>(&failure)) {
        return FlawText(error->Flaw());
    }
    if (const auto* error = dynamic_cast<const EReadError*>(&failure)) {
        return FlawText(error->Flaw());
    }
    if (const auto* error = dynamic_cast<const ENotEnoughMemory*>(&failure)) {
        constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
        return "too large for the memory available (needs about " +
               std::to_string((error->Needed() + kMiB - 1) / kMiB) + " MiB, " +
               std::to_string(error->Available() / kMiB) + " MiB available)";
    }
    if (dynamic_cast<const EOutOfResources*>(&failure) ||
        dynamic_cast<const std::bad_alloc*>(&failure)) {
        return "too large for the memory available";
    }
    if (dynamic_cast<const ENoBlackInMask*>(&failure)) {
        return "the turned mask has no black pixel (not a fish data sheet?); no up and down "
               "sheets made";
    }
    if (dynamic_cast<const ENoAccessoryPixel*>(&failure)) {
        return "holds nothing but the background colour; no accessory made";
    }
    return failure.what();
}

} // namespace

std::string FailureMessage(const std::exception& failure, const std::string& input) {
    const auto* known = dynamic_cast<const EVelmoraError*>(&failure);
    const std::string& file = known && !known->File().empty() ? known->File() : input;
    return file + ": " + Reason(failure);
}
