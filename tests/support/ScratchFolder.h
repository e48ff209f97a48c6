// A scratch folder of the test's own: a fresh name under the system's temporary folder that no
// other test, no parallel run and no other checkout's run shares, removed with everything in it.
#pragma once

#include <filesystem>
#include <string>

namespace test_support {

class ScratchFolder {
  public:
    ScratchFolder();
    // Removes the folder whatever its contents and their permissions.
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    // The full path of `name` inside the folder.
    std::string Path(const std::string& name) const;

  private:
    std::filesystem::path root_;
};

} // namespace test_support
