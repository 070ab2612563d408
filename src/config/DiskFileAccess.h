#pragma once

#include "config/FileAccess.h"

namespace quorvel {

// Files on the real disk through the C++ library. A backslash in a path stands for the
// platform's separator, so the same Windows-style path works natively too.
class DiskFileAccess : public FileAccess {
  public:
    bool ReadWholeFile(const std::string& path, std::string* content) override;
    bool Exists(const std::string& path) override;
    bool CurrentDirectory(std::string* directory) override;
};

}  // namespace quorvel
