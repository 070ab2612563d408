#include "ProfileComparison.h"

#include <cstdio>

namespace quorvel::test {

namespace {

constexpr std::size_t kGuardSize = 16;
constexpr char kGuardByte = '\xCC';

std::string ClearedBuffer(std::size_t size) {
    std::string buffer(size + kGuardSize, kGuardByte);
    buffer.replace(0, size, size, '\0');
    return buffer;
}

// Printable, and short enough to read in a failure report.
std::string Shown(const std::string& bytes) {
    std::string shown;
    for (char c : bytes.substr(0, 120)) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F && c != '\\') {
            shown += c;
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", u);
            shown += escaped;
        }
    }
    return bytes.size() > 120 ? shown + "...(" + std::to_string(bytes.size()) + " bytes)" : shown;
}

}  // namespace

void ProfileComparison::CompareSectionNames(std::size_t size, const std::string& file) {
    Answer answers[2];
    ProfileFile* readers[2] = {&platform_, &portable_};
    for (int i = 0; i < 2; ++i) {
        answers[i].bytes = ClearedBuffer(size);
        answers[i].count = readers[i]->ReadSectionNames(&answers[i].bytes[0], size, file);
    }
    Record("section names into " + std::to_string(size), answers[0], answers[1]);
}

std::size_t ProfileComparison::CompareString(const std::string& section, const std::string& key,
                                             const std::string& defaultValue, std::size_t size,
                                             const std::string& file) {
    Answer answers[2];
    ProfileFile* readers[2] = {&platform_, &portable_};
    for (int i = 0; i < 2; ++i) {
        answers[i].bytes = ClearedBuffer(size);
        answers[i].count =
            readers[i]->ReadString(section, key, defaultValue, &answers[i].bytes[0], size, file);
    }
    Record("string [" + Shown(section) + "] " + Shown(key) + " default \"" + Shown(defaultValue) +
               "\" into " + std::to_string(size),
           answers[0], answers[1]);
    return answers[0].count;
}

void ProfileComparison::CompareInt(const std::string& section, const std::string& key,
                                   int defaultValue, const std::string& file) {
    const Answer platform{0, std::to_string(platform_.ReadInt(section, key, defaultValue, file))};
    const Answer portable{0, std::to_string(portable_.ReadInt(section, key, defaultValue, file))};
    Record(
        "int [" + Shown(section) + "] " + Shown(key) + " default " + std::to_string(defaultValue),
        platform, portable);
}

void ProfileComparison::Record(const std::string& query, const Answer& platform,
                               const Answer& portable) {
    ++queries_;
    if (platform.count == portable.count && platform.bytes == portable.bytes) return;
    differences_.push_back(query + ": platform " + std::to_string(platform.count) + " \"" +
                           Shown(platform.bytes) + "\", portable " +
                           std::to_string(portable.count) + " \"" + Shown(portable.bytes) + "\"");
}

}  // namespace quorvel::test
