// The error types the raster core raises, each carrying the system's exact message (UTF-8).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <system_error>

// Every failure that reaches the error box is one of these; what() is the message shown. The
// windows show only that message; the command-line tool explains a failure in its own words from
// the cause kept beside it (the file it concerns, the system's error number, what was wrong).
class EVelmoraError : public std::runtime_error {
  public:
    explicit EVelmoraError(const std::string& message) : std::runtime_error(message) {}

    // The file the failure concerns, empty when unknown.
    const std::string& File() const { return file_; }
    void SetFile(const std::string& path) { file_ = path; }
    // The operating system's error behind the failure, empty when there is none: an errno number
    // (generic category) or a Windows error code (system category).
    const std::error_code& SystemError() const { return systemError_; }

  protected:
    EVelmoraError(const std::string& message, const std::string& file, std::error_code systemError)
        : std::runtime_error(message), file_(file), systemError_(systemError) {}

  private:
    std::string file_;
    std::error_code systemError_;
};

// What exactly made the reader refuse a file (EInvalidGraphic, EReadError).
enum class BmpFlaw {
    Unspecified,
    NotBmp,            // the first two bytes are not "BM"
    BadHeader,         // header size or planes impossible
    UnsupportedKind,   // a depth and compression the format does not define
    SizeOutOfRange,    // negative width or more pixels than any picture may have
    EndsInFileHeader,  // the file ends inside the 14-byte file header
    EndsInInfoHeader,  // ... inside the information header
    EndsInColourMasks, // ... inside the bit-field colour masks
    EndsInColourTable, // ... inside the colour table
    PixelsAbsent,      // a large uncompressed picture holding almost none of its pixel data
};

// The file cannot be opened for reading (systemError EISDIR for a folder).
class EFOpenError : public EVelmoraError {
  public:
    explicit EFOpenError(const std::string& path, int systemError = 0);
    EFOpenError(const std::string& path, std::error_code systemError);
};

// The file cannot be created for writing (systemError EISDIR when a folder has its name).
class EFCreateError : public EVelmoraError {
  public:
    explicit EFCreateError(const std::string& path, int systemError = 0);
    EFCreateError(const std::string& path, std::error_code systemError);
};

// Not a BMP, planes not 1, or a picture that cannot be made.
class EInvalidGraphic : public EVelmoraError {
  public:
    explicit EInvalidGraphic(BmpFlaw flaw = BmpFlaw::Unspecified);
    BmpFlaw Flaw() const { return flaw_; }

  private:
    BmpFlaw flaw_;
};

// A PNG file that is damaged (bad signature, CRC error, cut short, zlib error, impossible
// header): the windows show the invalid-bitmap message, velmora-batch the detail in plain words.
class EDamagedPng : public EInvalidGraphic {
  public:
    explicit EDamagedPng(const std::string& detail) : detail_(detail) {}
    const std::string& Detail() const { return detail_; }

  private:
    std::string detail_;
};

// A PNG file given to a build made without the PNG library.
class EPngUnsupported : public EVelmoraError {
  public:
    EPngUnsupported();
};

// The file ends inside the file header, the colour masks or the colour table.
class EReadError : public EVelmoraError {
  public:
    explicit EReadError(BmpFlaw flaw = BmpFlaw::Unspecified);
    BmpFlaw Flaw() const { return flaw_; }

  private:
    BmpFlaw flaw_;
};

// Writing fails (disk full and the like).
class EWriteError : public EVelmoraError {
  public:
    EWriteError();
    EWriteError(const std::string& path, int systemError);
    EWriteError(const std::string& path, std::error_code systemError);
};

// Load by extension with an extension no picture kind handles.
class EInvalidGraphicFormat : public EVelmoraError {
  public:
    explicit EInvalidGraphicFormat(const std::string& extension);
};

// A surface that cannot be created for lack of resources.
class EOutOfResources : public EVelmoraError {
  public:
    EOutOfResources();
    explicit EOutOfResources(const std::string& systemText);
};

// A command that would need more memory than the system has available, refused before it takes
// any: the message is the out-of-resources one; the figures are for velmora-batch's plain words.
class ENotEnoughMemory : public EOutOfResources {
  public:
    ENotEnoughMemory(std::uint64_t needed, std::uint64_t available);
    std::uint64_t Needed() const { return needed_; }
    std::uint64_t Available() const { return available_; }

  private:
    std::uint64_t needed_;
    std::uint64_t available_;
};

// An image control asked for its drawing surface while it holds a picture that is no bitmap.
class EInvalidImageOperation : public EVelmoraError {
  public:
    EInvalidImageOperation();
};

namespace msg {
inline constexpr const char* kFileOpen = "ﾌｧｲﾙ %s は開けません";
inline constexpr const char* kFileCreate = "ﾌｧｲﾙ %s を作成できません";
inline constexpr const char* kInvalidBitmap = "ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞが不正です";
inline constexpr const char* kStreamRead = "ｽﾄﾘｰﾑからの読み込みｴﾗｰ";
inline constexpr const char* kStreamWrite = "ｽﾄﾘｰﾑへの書き込みｴﾗｰ";
inline constexpr const char* kUnknownExtension = "拡張子 .%s の画像形式は処理できません";
inline constexpr const char* kOutOfResources = "ｼｽﾃﾑ ﾘｿｰｽが足りません";
inline constexpr const char* kPngUnsupported = "PNG pictures are not supported in this build";
inline constexpr const char* kImageNeedsBitmap = "ﾋﾞｯﾄﾏｯﾌﾟを持っている時のみｲﾒｰｼﾞの変更が可能です";

// The message with its one "%s" replaced by the argument.
std::string Format(const char* pattern, const std::string& argument);
} // namespace msg
