#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "config/ProfileFile.h"

namespace quorvel::test {

// What the profile functions give for the files that exist: values by section and key, and
// the list of section names handed out as given. Not a reader of the file's text.
class FakeProfile : public ProfileFile {
  public:
    std::size_t ReadSectionNames(char* buffer, std::size_t size, const std::string& file) override {
        ++reads;
        // Cut as the platform cuts it: what fits before the list's two closing zero bytes.
        const std::size_t placed = files.count(file) ? std::min(sectionList.size(), size - 2) : 0;
        std::memcpy(buffer, sectionList.data(), placed);
        buffer[placed] = buffer[placed + 1] = '\0';
        return placed;
    }
    std::size_t ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue, char* buffer, std::size_t size,
                           const std::string& file) override {
        const std::string* value = Find(section, key, file);
        const std::size_t placed = (value ? *value : defaultValue).copy(buffer, size - 1);
        buffer[placed] = '\0';
        return placed;
    }
    bool CurrentDirectory(std::string* current) override {
        if (directory) *current = *directory;
        return directory.has_value();
    }
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }

    std::optional<std::string> directory = std::string("C:\\Cards");  // none: cannot be had
    std::set<std::string> files = {"C:\\Cards\\Quorvel.ini"};         // those that exist
    std::string sectionList;  // each name ended by a zero byte: {"K3000\0OTHER\0", 12}
    std::map<std::string, std::map<std::string, std::string>> values;
    int reads = 0;

  private:
    const std::string* Find(const std::string& section, const std::string& key,
                            const std::string& file) {
        ++reads;
        const auto keys = values.find(section);
        if (files.count(file) == 0 || keys == values.end()) return nullptr;
        const auto value = keys->second.find(key);
        return value == keys->second.end() ? nullptr : &value->second;
    }
};

}  // namespace quorvel::test
