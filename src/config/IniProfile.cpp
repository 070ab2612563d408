#include "config/IniProfile.h"

#include <algorithm>
#include <cstring>

#include "config/IniDocument.h"
#include "config/ProfileInteger.h"

namespace quorvel {

namespace {

// The platform reads an integer's text into a buffer this small before converting it, so
// longer text is cut first.
constexpr std::size_t kIntegerTextSize = 30;

IniDocument LoadDocument(FileAccess& files, const std::string& file) {
    std::string content;
    if (!files.ReadWholeFile(file, &content)) content.clear();
    return IniDocument::Parse(content);
}

// Trailing spaces of a default are dropped, though never its first character.
std::string TrimDefault(const std::string& defaultValue) {
    std::size_t end = defaultValue.size();
    while (end > 1 && defaultValue[end - 1] == ' ')
        --end;
    return defaultValue.substr(0, end);
}

bool IsQuoted(const std::string& text) {
    return text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0];
}

// Copies a value the platform's way: one pair of matching quotes around it goes, and the text
// is cut to the buffer. The platform copies the text with its closing quote, then drops the
// last character placed whenever the buffer is at least as long as that text; so a buffer
// that holds all but the closing quote loses a real character instead.
std::size_t CopyValue(const std::string& value, char* buffer, std::size_t size) {
    const bool quoted = IsQuoted(value);
    const std::string text = quoted ? value.substr(1) : value;
    std::size_t count = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), count);
    if (quoted && size >= text.size() && count > 0) --count;
    buffer[count] = '\0';
    return count;
}

}  // namespace

std::size_t IniProfile::ReadSectionNames(char* buffer, std::size_t size, const std::string& file) {
    if (size == 0) return 0;
    buffer[0] = '\0';
    if (size == 1) return 0;
    const IniDocument document = LoadDocument(files_, file);
    std::size_t position = 0;
    std::size_t room = size - 1;  // the list's closing zero is not counted
    for (const IniSection& section : document.Sections()) {
        if (section.name.empty()) continue;
        const std::size_t needed = section.name.size() + 1;
        if (needed >= room) {
            // Cut: as much of the name as fits, then two zeros, and the count is size - 2
            // even where the name itself was whole.
            std::memcpy(buffer + position, section.name.data(), room - 1);
            buffer[size - 2] = '\0';
            buffer[size - 1] = '\0';
            return size - 2;
        }
        std::memcpy(buffer + position, section.name.c_str(), needed);
        position += needed;
        room -= needed;
    }
    buffer[position] = '\0';
    return position;
}

int IniProfile::ReadInt(const std::string& section, const std::string& key, int defaultValue,
                        const std::string& file) {
    char text[kIntegerTextSize] = {};
    const std::size_t count = ReadString(section, key, "", text, sizeof text, file);
    if (count == 0) return defaultValue;
    return static_cast<int>(ParseProfileInteger(std::string(text, count)));
}

std::size_t IniProfile::ReadString(const std::string& section, const std::string& key,
                                   const std::string& defaultValue, char* buffer, std::size_t size,
                                   const std::string& file) {
    if (size == 0) return 0;
    const IniDocument document = LoadDocument(files_, file);
    const std::string* value = document.FindValue(section, key);
    return CopyValue(value ? *value : TrimDefault(defaultValue), buffer, size);
}

bool IniProfile::CurrentDirectory(std::string* directory) {
    return files_.CurrentDirectory(directory);
}

bool IniProfile::FileExists(const std::string& path) {
    return files_.Exists(path);
}

}  // namespace quorvel
