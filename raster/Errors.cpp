// The messages of the raster core's errors.
#include "raster/Errors.h"

namespace msg {
std::string Format(const char* pattern, const std::string& argument) {
    std::string text(pattern);
    auto at = text.find("%s");
    if (at != std::string::npos) {
        text.replace(at, 2, argument);
    }
    return text;
}
} // namespace msg

namespace {
// An errno number as an error code; 0 stays "no error".
std::error_code Errno(int number) {
    return number == 0 ? std::error_code() : std::error_code(number, std::generic_category());
}
} // namespace

EFOpenError::EFOpenError(const std::string& path, int systemError)
    : EFOpenError(path, Errno(systemError)) {}
EFOpenError::EFOpenError(const std::string& path, std::error_code systemError)
    : EVelmoraError(msg::Format(msg::kFileOpen, path), path, systemError) {}
EFCreateError::EFCreateError(const std::string& path, int systemError)
    : EFCreateError(path, Errno(systemError)) {}
EFCreateError::EFCreateError(const std::string& path, std::error_code systemError)
    : EVelmoraError(msg::Format(msg::kFileCreate, path), path, systemError) {}
EInvalidGraphic::EInvalidGraphic(BmpFlaw flaw) : EVelmoraError(msg::kInvalidBitmap), flaw_(flaw) {}
EPngUnsupported::EPngUnsupported() : EVelmoraError(msg::kPngUnsupported) {}
EReadError::EReadError(BmpFlaw flaw) : EVelmoraError(msg::kStreamRead), flaw_(flaw) {}
EWriteError::EWriteError() : EVelmoraError(msg::kStreamWrite) {}
EWriteError::EWriteError(const std::string& path, int systemError)
    : EWriteError(path, Errno(systemError)) {}
EWriteError::EWriteError(const std::string& path, std::error_code systemError)
    : EVelmoraError(msg::kStreamWrite, path, systemError) {}
EInvalidGraphicFormat::EInvalidGraphicFormat(const std::string& extension)
    : EVelmoraError(msg::Format(msg::kUnknownExtension, extension)) {}
EOutOfResources::EOutOfResources() : EVelmoraError(msg::kOutOfResources) {}
EOutOfResources::EOutOfResources(const std::string& systemText)
    : EVelmoraError(systemText.empty() ? std::string(msg::kOutOfResources) : systemText) {}
ENotEnoughMemory::ENotEnoughMemory(std::uint64_t needed, std::uint64_t available)
    : needed_(needed), available_(available) {}
EInvalidImageOperation::EInvalidImageOperation() : EVelmoraError(msg::kImageNeedsBitmap) {}
