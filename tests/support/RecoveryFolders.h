// Recovery folders as the tests look at them: the entries and the damaged ones, a field of an
// entry's text, and an entry spoilt the ways a kill or a full disk spoils one.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace test_support {

// The recovery folder under a state folder, as the program finds it through XDG_STATE_HOME.
std::filesystem::path RecoveryIn(const std::filesystem::path& stateFolder);

// The entries of a recovery folder, and those moved aside into its `damaged` folder.
std::vector<std::filesystem::path> EntriesOf(const std::filesystem::path& recovery);
std::vector<std::filesystem::path> DamagedOf(const std::filesystem::path& recovery);

// The value of `key` in an entry's text file; "" when there is no such line.
std::string EntryField(const std::filesystem::path& entry, const std::string& key);

// The ways an entry can be spoilt.
enum class Spoil {
    TextCutShort,   // the text file ends halfway
    ShadowCutShort, // a shadow's BMP file ends halfway
    PictureMissing, // the picture's file is gone
    SizesDisagree,  // the text states a shadow size the zoom does not give
};
void SpoilEntry(const std::filesystem::path& entry, Spoil how);

} // namespace test_support
