#pragma once

#include <string>

namespace quorvel {

// The few file operations the portable INI reader needs. Paths are Windows paths, joined with
// backslashes. Tests hand the reader files that exist only in memory.
class FileAccess {
  public:
    virtual ~FileAccess() = default;

    // The file's bytes exactly as stored. False when it cannot be read, a directory included.
    virtual bool ReadWholeFile(const std::string& path, std::string* content) = 0;

    // True for a file or a directory, as the platform's existence test answers.
    virtual bool Exists(const std::string& path) = 0;

    // The whole current directory, however long. False when it cannot be had.
    virtual bool CurrentDirectory(std::string* directory) = 0;
};

}  // namespace quorvel
