// The giant pictures' files; the limits are in MemoryLimitPosix.cpp and MemoryLimitWindows.cpp.
#include "tests/support/MemoryLimit.h"

#include "raster/TBitmap.h"
#include "tests/support/Files.h"

namespace test_support {

std::string PlainGiantBmp() {
    std::string b = "BM";
    const auto put = [&b](std::uint64_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            b.push_back(static_cast<char>(v >> (8 * i)));
        }
    };
    put(0, 8);
    put(14 + 40 + 4, 4); // pixel data after the one colour-table entry
    put(40, 4);
    put(16000, 4);
    put(16000, 4);
    put(1, 2);
    put(8, 2);
    put(1, 4); // run length, 8 bits
    put(2, 4);
    put(0, 8);
    put(1, 4); // one colour: black
    put(0, 4);
    put(0, 4);
    b.append({'\0', '\1'}); // end of the picture
    return b;
}

std::string AnnouncedButAbsentBmp() {
    std::string bytes = BmpBytesOf(TBitmap(1, 1));
    for (int offset : {18, 22}) {
        bytes[offset] = static_cast<char>(16000 & 0xFF);
        bytes[offset + 1] = static_cast<char>(16000 >> 8);
    }
    bytes.resize(100, '\0');
    return bytes;
}

} // namespace test_support
