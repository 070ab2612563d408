#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "config/FileAccess.h"

namespace quorvel::test {

// Files and directories that exist only in memory, under exact path texts, so a test sees the
// very path the code built. Records every file it was asked to read.
class InMemoryFiles : public FileAccess {
  public:
    void AddFile(const std::string& path, const std::string& content) { files_[path] = content; }
    void AddDirectory(const std::string& path) { directories_.insert(path); }
    // Unset: the current directory cannot be had.
    void SetCurrentDirectory(std::optional<std::string> directory) { current_ = directory; }

    bool ReadWholeFile(const std::string& path, std::string* content) override {
        reads_.push_back(path);
        const auto file = files_.find(path);
        if (file == files_.end()) return false;
        *content = file->second;
        return true;
    }

    bool Exists(const std::string& path) override {
        return files_.count(path) != 0 || directories_.count(path) != 0;
    }

    bool CurrentDirectory(std::string* directory) override {
        if (!current_) return false;
        *directory = *current_;
        return true;
    }

    const std::vector<std::string>& Reads() const { return reads_; }

  private:
    std::map<std::string, std::string> files_;
    std::set<std::string> directories_;
    std::optional<std::string> current_ = std::string("C:\\Cards");
    std::vector<std::string> reads_;
};

}  // namespace quorvel::test
