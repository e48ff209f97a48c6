// The recovery entry's text format, its generations of files, reading it back with its checks,
// and the sorting of entries at start.
#include "fish/RecoveryEntry.h"

#include "fish/SheetComposer.h"
#include "raster/Bmp.h"

#include <charconv>
#include <exception>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr const char* kHeader = "velmora-recovery 1";

// File names may hold any byte but a line break ends a line; backslash escapes both.
std::string Escaped(const std::string& text) {
    std::string out;
    for (char ch : text) {
        if (ch == '\\') {
            out += "\\\\";
        } else if (ch == '\n') {
            out += "\\n";
        } else {
            out += ch;
        }
    }
    return out;
}

std::optional<std::string> Unescaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
        } else if (++i < text.size() && (text[i] == '\\' || text[i] == 'n')) {
            out += text[i] == 'n' ? '\n' : '\\';
        } else {
            return std::nullopt;
        }
    }
    return out;
}

// The file's byte count is there because the BMP reader takes a file cut short in its pixels
// (the missing ones 0): only the count tells such a file from a whole one.
std::string SurfaceLine(const char* role, const EntryFile& file, const TBitmap& surface) {
    return std::string(role) + " " + file.Name + " " + std::to_string(surface.Width()) + " " +
           std::to_string(surface.Height()) + " " + std::to_string(file.Bytes) + "\n";
}

template <class T> bool Number(const std::string& text, T& value) {
    const char* end = text.data() + text.size();
    const auto [last, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && last == end;
}

struct SurfaceRef {
    std::string File;
    int Width = 0;
    int Height = 0;
    std::size_t Bytes = 0;
};

bool ParseSurface(const std::string& value, SurfaceRef& ref) {
    std::istringstream words(value);
    std::string width, height, bytes, rest;
    if (!(words >> ref.File >> width >> height >> bytes) || (words >> rest)) {
        return false;
    }
    // Only files of the entry itself.
    return ref.File.find('/') == std::string::npos && ref.File != "." && ref.File != ".." &&
           Number(width, ref.Width) && Number(height, ref.Height) && Number(bytes, ref.Bytes) &&
           ref.Width > 0 && ref.Height > 0;
}

// The surface a line names, read and checked against its stated size.
std::optional<TBitmap> ReadSurface(const fs::path& entry, const SurfaceRef& ref, std::string& why) {
    const std::optional<std::vector<std::uint8_t>> bytes =
        recovery_store::ReadWholeFile(entry / ref.File);
    if (!bytes) {
        why = ref.File + " is missing";
        return std::nullopt;
    }
    if (bytes->size() != ref.Bytes) {
        why = ref.File + " is cut short";
        return std::nullopt;
    }
    try {
        TBitmap surface = DecodeBmp(bytes->data(), bytes->size());
        if (surface.Width() != ref.Width || surface.Height() != ref.Height) {
            why = ref.File + " is not of the stated size";
            return std::nullopt;
        }
        return surface;
    } catch (const std::exception& error) {
        why = ref.File + ": " + error.what();
        return std::nullopt;
    }
}

} // namespace

std::string EntryText(const RecoverySnapshot& snapshot, const EntryFiles& files,
                      std::int64_t written) {
    std::string text = std::string(kHeader) + "\n";
    text += "written " + std::to_string(written) + "\n";
    text += "saved " + std::string(snapshot.Saved ? "1" : "0") + "\n";
    text += "file " + Escaped(snapshot.FileName) + "\n";
    text += "background " + std::to_string(snapshot.Background) + "\n";
    text += "zoom " + std::to_string(snapshot.Zoom) + "\n";
    text += SurfaceLine("picture", files.Picture, snapshot.Picture);
    text += SurfaceLine("shadow1", files.Shadow1, snapshot.Shadow1);
    text += SurfaceLine("shadow2", files.Shadow2, snapshot.Shadow2);
    return text + "end\n";
}

std::optional<RecoveredEntry> ReadEntry(const fs::path& entry, std::string& why, bool textOnly) {
    const std::optional<std::vector<std::uint8_t>> bytes =
        recovery_store::ReadWholeFile(entry / kEntryTextName);
    if (!bytes) {
        why = std::string(kEntryTextName) + " is missing";
        return std::nullopt;
    }
    std::istringstream lines(std::string(bytes->begin(), bytes->end()));
    std::string line;
    if (!std::getline(lines, line) || line != kHeader) {
        why = "not a recovery entry";
        return std::nullopt;
    }
    std::map<std::string, std::string> fields;
    bool ended = false;
    while (std::getline(lines, line)) {
        if (line == "end") {
            ended = true;
            break;
        }
        const std::size_t space = line.find(' ');
        if (space == std::string::npos ||
            !fields.emplace(line.substr(0, space), line.substr(space + 1)).second) {
            why = "a line is malformed or repeated";
            return std::nullopt;
        }
    }
    RecoveredEntry read;
    RecoverySnapshot& snapshot = read.Snapshot;
    SurfaceRef picture, shadow1, shadow2;
    std::optional<std::string> name;
    if (fields.contains("file")) {
        name = Unescaped(fields["file"]);
    }
    const bool complete =
        ended && fields.size() == 8 && Number(fields["written"], read.Written) &&
        (fields["saved"] == "0" || fields["saved"] == "1") && name && !name->empty() &&
        Number(fields["background"], snapshot.Background) &&
        Number(fields["zoom"], snapshot.Zoom) && ParseSurface(fields["picture"], picture) &&
        ParseSurface(fields["shadow1"], shadow1) && ParseSurface(fields["shadow2"], shadow2);
    if (!complete) {
        why = std::string(kEntryTextName) + " is cut short or malformed";
        return std::nullopt;
    }
    snapshot.Saved = fields["saved"] == "1";
    snapshot.FileName = *name;
    const int zoom = snapshot.Zoom;
    const bool sized = zoom == ZoomFactorFor(picture.Width, picture.Height) &&
                       shadow1.Width == zoom * picture.Width &&
                       shadow1.Height == zoom * picture.Height && shadow2.Width == shadow1.Width &&
                       shadow2.Height == shadow1.Height;
    if (!sized) {
        why = "the surfaces' sizes do not agree";
        return std::nullopt;
    }
    if (textOnly) {
        return read;
    }
    std::optional<TBitmap> surfaces[3] = {ReadSurface(entry, picture, why),
                                          ReadSurface(entry, shadow1, why),
                                          ReadSurface(entry, shadow2, why)};
    if (!surfaces[0] || !surfaces[1] || !surfaces[2]) {
        return std::nullopt;
    }
    snapshot.Picture = std::move(*surfaces[0]);
    snapshot.Shadow1 = std::move(*surfaces[1]);
    snapshot.Shadow2 = std::move(*surfaces[2]);
    return read;
}

std::uint64_t SurfaceFingerprint(const TBitmap& surface) {
    // FNV-1a over the size and every pixel.
    std::uint64_t hash = 14695981039346656037ull;
    const auto mix = [&hash](std::uint64_t value) {
        hash ^= value;
        hash *= 1099511628211ull;
    };
    mix(static_cast<std::uint64_t>(surface.Width()));
    mix(static_cast<std::uint64_t>(surface.Height()));
    for (int y = 0; y < surface.Height(); ++y) {
        const std::uint32_t* row = surface.Row(y);
        for (int x = 0; x < surface.Width(); ++x) {
            mix(row[x]);
        }
    }
    return hash;
}

void EntryWriter::Adopt(fs::path entry, recovery_store::EntryLock lock) {
    entry_ = std::move(entry);
    lock_ = std::move(lock);
    picture_ = shadow1_ = shadow2_ = Kept{};
    // Counted on from the clock, so no new file takes the name of one the entry's text may still
    // name, whichever program wrote it.
    generation_ = static_cast<std::uint64_t>(recovery_store::WallClockNanoseconds());
}

EntryWriter::Kept EntryWriter::Store(const TBitmap& surface, const char* role, const Kept& kept) {
    const std::uint64_t fingerprint = SurfaceFingerprint(surface);
    if (!kept.File.Name.empty() && kept.Fingerprint == fingerprint) {
        return kept;
    }
    const std::string name = std::string(role) + "-" + std::to_string(generation_) + ".bmp";
    const ByteStore bytes = EncodeBmp(surface);
    recovery_store::WriteFileAtomically(*entry_ / name, bytes.data(), bytes.size());
    return {{name, bytes.size()}, fingerprint};
}

void EntryWriter::Write(const RecoverySnapshot& snapshot) {
    if (!entry_) {
        auto [entry, lock] = recovery_store::CreateLockedEntry(folder_);
        Adopt(std::move(entry), std::move(lock));
    }
    ++generation_;
    const Kept next[3] = {Store(snapshot.Picture, "picture", picture_),
                          Store(snapshot.Shadow1, "shadow1", shadow1_),
                          Store(snapshot.Shadow2, "shadow2", shadow2_)};
    const EntryFiles files{next[0].File, next[1].File, next[2].File};
    recovery_store::WriteFileAtomically(
        *entry_ / kEntryTextName,
        EntryText(snapshot, files, recovery_store::WallClockNanoseconds()));
    // Only now that the new text names the new files may the old generation go.
    Kept* kept[3] = {&picture_, &shadow1_, &shadow2_};
    for (int i = 0; i < 3; ++i) {
        if (!kept[i]->File.Name.empty() && kept[i]->File.Name != next[i].File.Name) {
            recovery_store::RemoveFile(*entry_ / kept[i]->File.Name);
        }
        *kept[i] = next[i];
    }
}

void EntryWriter::Remove() {
    if (entry_) {
        recovery_store::RemoveEntry(*entry_);
    }
    entry_.reset();
    lock_.reset();
    picture_ = shadow1_ = shadow2_ = Kept{};
}

std::optional<LeftWork> CollectLeftWork(const fs::path& folder) {
    std::optional<LeftWork> newest;
    std::int64_t newestWritten = 0;
    for (const fs::path& entry : recovery_store::ListEntries(folder)) {
        std::optional<recovery_store::EntryLock> lock = recovery_store::EntryLock::TryLock(entry);
        if (!lock) {
            continue; // its program still runs
        }
        std::string why;
        if (std::optional<RecoveredEntry> text = ReadEntry(entry, why, true);
            text && text->Snapshot.Saved) {
            recovery_store::RemoveEntry(entry);
            continue;
        }
        std::optional<RecoveredEntry> read = ReadEntry(entry, why);
        if (!read) {
            lock.reset();
            try {
                recovery_store::MoveAside(entry);
            } catch (const std::exception&) {
                // It stays where it is and is tried again next time.
            }
            continue;
        }
        if (!newest || read->Written > newestWritten) {
            newestWritten = read->Written;
            newest = LeftWork{entry, std::move(*lock), std::move(read->Snapshot)};
        }
    }
    return newest;
}
