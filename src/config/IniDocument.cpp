#include "config/IniDocument.h"

#include <cstddef>

namespace quorvel {

namespace {

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Ctrl-Z counts as a blank: old editors ended files with it.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n' || c == '\x1a';
}

std::string TrimLeft(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start]))
        ++start;
    return text.substr(start);
}

std::string TrimRight(const std::string& text) {
    std::size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1]))
        --end;
    return text.substr(0, end);
}

std::string Trim(const std::string& text) {
    return TrimRight(TrimLeft(text));
}

// The platform keeps names and values as zero-terminated text, so a zero byte ends them.
std::string CutAtZero(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

IniKey ParseKey(const std::string& line) {
    IniKey key;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) {
        key.name = CutAtZero(line);
        return key;
    }
    key.name = CutAtZero(TrimRight(line.substr(0, equals)));
    key.hasValue = true;
    key.value = CutAtZero(TrimLeft(line.substr(equals + 1)));
    return key;
}

}  // namespace

IniDocument IniDocument::Parse(const std::string& text) {
    IniDocument document;
    document.sections_.push_back(IniSection{});
    std::size_t position = 0;
    while (position < text.size()) {
        std::size_t end = position;
        while (end < text.size() && !IsLineEnd(text[end]))
            ++end;
        document.AddLine(text.substr(position, end - position));
        position = end;
        while (position < text.size() && IsLineEnd(text[position]))
            ++position;
    }
    return document;
}

void IniDocument::AddLine(const std::string& rawLine) {
    const std::string line = Trim(rawLine);
    if (line.empty()) return;
    const std::size_t close = line.rfind(']');
    if (line[0] == '[' && close != std::string::npos && close > 0) {
        sections_.push_back(IniSection{CutAtZero(Trim(line.substr(1, close - 1))), {}});
        return;
    }
    sections_.back().keys.push_back(ParseKey(line));
}

const std::string* IniDocument::FindValue(const std::string& section,
                                          const std::string& key) const {
    const std::string sectionName = Trim(CutAtZero(section));
    const std::string keyName = Trim(CutAtZero(key));
    for (const IniSection& candidate : sections_) {
        if (!SameName(candidate.name, sectionName)) continue;
        for (const IniKey& entry : candidate.keys) {
            if (SameName(entry.name, keyName)) return entry.hasValue ? &entry.value : nullptr;
        }
        return nullptr;
    }
    return nullptr;
}

}  // namespace quorvel
