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
    std::size_t ReadSectionNames(char* buffer, std::size_t size,
                                 const std::wstring& file) override {
        ++reads;
        lastFile = file;
        // Cut as the platform cuts it: what fits before the list's two closing zero bytes.
        const std::size_t placed = files.count(file) ? std::min(sectionList.size(), size - 2) : 0;
        std::memcpy(buffer, sectionList.data(), placed);
        buffer[placed] = buffer[placed + 1] = '\0';
        return placed;
    }
    std::size_t ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue, char* buffer, std::size_t size,
                           const std::wstring& file) override {
        const std::string* value = Find(section, key, file);
        const std::size_t placed = (value ? *value : defaultValue).copy(buffer, size - 1);
        buffer[placed] = '\0';
        return placed;
    }
    bool CurrentDirectory(std::wstring* current) override { return Give(directory, current); }
    bool ProgramDirectory(std::wstring* folder) override { return Give(programDirectory, folder); }
    bool FileExists(const std::wstring& path) override { return files.count(path) != 0; }

    // None: cannot be had.
    std::optional<std::wstring> directory = std::wstring(L"C:\\Cards");
    std::optional<std::wstring> programDirectory = std::wstring(L"C:\\Program Files\\Quorvel");
    std::set<std::wstring> files = {L"C:\\Cards\\Quorvel.ini"};  // those that exist
    std::string sectionList;  // each name ended by a zero byte: {"K3000\0OTHER\0", 12}
    std::map<std::string, std::map<std::string, std::string>> values;
    int reads = 0;
    std::wstring lastFile;  // the file the last read asked for

  private:
    static bool Give(const std::optional<std::wstring>& folder, std::wstring* out) {
        if (folder) *out = *folder;
        return folder.has_value();
    }
    const std::string* Find(const std::string& section, const std::string& key,
                            const std::wstring& file) {
        ++reads;
        lastFile = file;
        const auto keys = values.find(section);
        if (files.count(file) == 0 || keys == values.end()) return nullptr;
        const auto value = keys->second.find(key);
        return value == keys->second.end() ? nullptr : &value->second;
    }
};

}  // namespace quorvel::test
