#include "base/Trace.h"

#include <cstdio>
#include <cstring>

namespace quorvel {

namespace {

constexpr char kCutMark[] = "...";

void AppendEscaped(std::string& out, unsigned char c) {
    switch (c) {
        case '\r':
            out += "\\r";
            return;
        case '\n':
            out += "\\n";
            return;
        case '\t':
            out += "\\t";
            return;
        case '"':
            out += "\\\"";
            return;
        case '\\':
            out += "\\\\";
            return;
        default:
            break;
    }
    if (c >= 0x20 && c < 0x7F) {
        out += static_cast<char>(c);
        return;
    }
    const char octal[] = {'\\', static_cast<char>('0' + (c >> 6)),
                          static_cast<char>('0' + ((c >> 3) & 7)),
                          static_cast<char>('0' + (c & 7))};
    out.append(octal, sizeof octal);
}

}  // namespace

TraceLine::TraceLine(Trace& trace) : trace_(trace) {
    try {
        line_ = kTraceLead;
    } catch (...) {
    }
}

TraceLine::~TraceLine() {
    try {
        if (line_.size() > kTraceLineLimit) line_.replace(kTraceLineLimit, line_.npos, kCutMark);
        line_ += '\n';
        trace_.Write(line_);
    } catch (...) {
    }
}

TraceLine& TraceLine::operator<<(const char* text) {
    return Append(text, std::strlen(text));
}

TraceLine& TraceLine::operator<<(const std::string& text) {
    return Append(text.data(), text.size());
}

TraceLine& TraceLine::operator<<(std::int64_t number) {
    char digits[24];
    const int length = std::snprintf(digits, sizeof digits, "%lld", static_cast<long long>(number));
    return Append(digits, static_cast<std::size_t>(length));
}

TraceLine& TraceLine::Append(const char* text, std::size_t length) {
    try {
        line_.append(text, length);
    } catch (...) {
    }
    return *this;
}

std::string Quoted(const char* bytes, std::size_t length) {
    std::string out = "\"";
    for (std::size_t i = 0; i < length; ++i)
        AppendEscaped(out, static_cast<unsigned char>(bytes[i]));
    return out += '"';
}

std::string Quoted(const std::string& text) {
    return Quoted(text.data(), text.size());
}

std::string Quoted(const std::wstring& text) {
    std::string out = "\"";
    for (wchar_t c : text) {
        const auto code = static_cast<unsigned long>(c);
        if (code < 0x80) {
            AppendEscaped(out, static_cast<unsigned char>(code));
            continue;
        }
        char escape[12];
        std::snprintf(escape, sizeof escape, code > 0xFFFF ? "\\U%08lX" : "\\u%04lX", code);
        out += escape;
    }
    return out += '"';
}

}  // namespace quorvel
