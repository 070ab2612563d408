#include "Escapes.h"

namespace quorvel::cardsim {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Decodes the escape whose letter is at text[at]; `at` ends on its last character.
bool DecodeOne(const std::string& text, std::size_t& at, std::string& bytes) {
    switch (text[at]) {
        case 'r':
            bytes += '\r';
            return true;
        case 'n':
            bytes += '\n';
            return true;
        case 't':
            bytes += '\t';
            return true;
        case '\\':
            bytes += '\\';
            return true;
        case 'x': {
            if (at + 2 >= text.size()) return false;
            int high = HexValue(text[at + 1]);
            int low = HexValue(text[at + 2]);
            if (high < 0 || low < 0) return false;
            bytes += static_cast<char>(high * 16 + low);
            at += 2;
            return true;
        }
        default:
            return false;
    }
}

}  // namespace

bool DecodeEscapes(const std::string& text, std::string& bytes) {
    bytes.clear();
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '\\') {
            bytes += text[at];
            continue;
        }
        if (++at == text.size() || !DecodeOne(text, at, bytes)) return false;
    }
    return true;
}

std::string EscapeBytes(const std::string& bytes) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (char c : bytes) {
        auto byte = static_cast<unsigned char>(c);
        if (byte == '\r') {
            text += "\\r";
        } else if (byte == '\n') {
            text += "\\n";
        } else if (byte == '\\') {
            text += "\\\\";
        } else if (byte < 0x20 || byte > 0x7E) {
            text += "\\x";
            text += kHex[byte >> 4];
            text += kHex[byte & 0x0F];
        } else {
            text += c;
        }
    }
    return text;
}

}  // namespace quorvel::cardsim
