#include "FuzzText.h"

namespace quorvel::fuzz {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::vector<std::string_view> SplitLines(std::string_view data) {
    std::vector<std::string_view> lines;
    while (!data.empty()) {
        const std::size_t end = data.find('\n');
        lines.push_back(data.substr(0, end));
        if (end == std::string_view::npos) break;
        data.remove_prefix(end + 1);
    }
    return lines;
}

std::string Unescape(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            bytes += text[i];
            continue;
        }
        const char code = text[i + 1];
        if (code == 'x' && i + 3 < text.size() && HexValue(text[i + 2]) >= 0 &&
            HexValue(text[i + 3]) >= 0) {
            bytes += static_cast<char>(HexValue(text[i + 2]) * 16 + HexValue(text[i + 3]));
            i += 3;
            continue;
        }
        switch (code) {
            case 'r':
                bytes += '\r';
                break;
            case 'n':
                bytes += '\n';
                break;
            case 't':
                bytes += '\t';
                break;
            case '0':
                bytes += '\0';
                break;
            case '\\':
                bytes += '\\';
                break;
            default:
                bytes += '\\';
                continue;
        }
        ++i;
    }
    return bytes;
}

void SplitWord(std::string_view line, std::string_view* word, std::string_view* rest) {
    const std::size_t blank = line.find(' ');
    *word = line.substr(0, blank);
    *rest = blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
}

std::size_t ReadCount(std::string_view text, std::size_t most, std::string_view* rest) {
    std::size_t count = 0;
    std::size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        count = count * 10 + static_cast<std::size_t>(text[i] - '0');
        if (count > most) count = most;
    }
    if (i < text.size() && text[i] == ' ') ++i;
    *rest = text.substr(i);
    return count;
}

}  // namespace quorvel::fuzz
