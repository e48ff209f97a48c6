// Saving over a followed file in the ways editors do, and waiting for the windows.
#include "support/FileChanges.h"

#include "app/toolkit/Controls.h"
#include "tests/support/Files.h"
#include "tests/support/Surfaces.h"

#include <QTest>
#include <filesystem>
#include <fstream>

namespace gui_test {

void ReplaceByRename(const std::string& path, const TBitmap& picture) {
    const std::string part = path + ".part";
    picture.SaveToFile(part);
    std::filesystem::rename(part, path);
}

void WriteInPlace(const std::string& path, const TBitmap& picture) {
    test_support::WriteText(path, test_support::BmpBytesOf(picture));
}

void WriteInTwoParts(const std::string& path, const TBitmap& picture, std::size_t head, int pauseMs,
                     const std::function<void()>& between) {
    const std::string bytes = test_support::BmpBytesOf(picture);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(head));
    file.flush();
    QTest::qWait(pauseMs);
    between();
    file.write(bytes.data() + head, static_cast<std::streamsize>(bytes.size() - head));
}

bool WaitFor(const std::function<bool()>& done, int ms) {
    return QTest::qWaitFor(done, ms);
}

bool Shows(TImage* image, const TBitmap& picture) {
    const TBitmap* shown = image->Picture().Bitmap();
    return shown && test_support::FirstDifference(*shown, picture).empty();
}

} // namespace gui_test
