#pragma once

#include <string>
#include <vector>

namespace quorvel::test {

// A directory of its own inside the test's prefix, made the process's current directory for
// as long as this object lives: the program reads its configuration file from there. The
// earlier current directory comes back, and the directory and the files written into it go,
// when this object does.
class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    // True once the directory is made and is the current one.
    bool Entered() const { return entered_; }

    // Writes `text` as the file `name` in the directory, byte for byte.
    bool WriteFile(const std::string& name, const std::string& text);

    // The directory's Windows path, as GetCurrentDirectoryA gives it.
    const std::string& Path() const { return path_; }

  private:
    std::string previous_;
    std::string path_;
    std::vector<std::string> written_;
    bool entered_ = false;
};

}  // namespace quorvel::test
