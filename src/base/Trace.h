#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorvel {

// Every line starts with this, so that a listener that sees every program's debug output can
// pick out ours.
inline constexpr char kTraceLead[] = "QuorvelTool: ";

// A longer line is cut to this many characters and ends in "...": a 1023-character label
// would otherwise fill the listener's window.
inline constexpr std::size_t kTraceLineLimit = 500;

// What the program did, one event a line, for whoever has to find out why a card was not
// switched. It writes no file and changes nothing the program does; nobody need listen.
class Trace {
  public:
    virtual ~Trace() = default;

    // One whole line: the lead, the event and "\n".
    virtual void Write(const std::string& line) = 0;
};

// Builds one event and hands it to the trace, lead, cut and line end added, when it goes out
// of scope. A line that fails (memory running out) is lost, and nothing else is.
class TraceLine {
  public:
    explicit TraceLine(Trace& trace);
    ~TraceLine();
    TraceLine(const TraceLine&) = delete;
    TraceLine& operator=(const TraceLine&) = delete;

    TraceLine& operator<<(const char* text);
    TraceLine& operator<<(const std::string& text);
    TraceLine& operator<<(std::int64_t number);
    TraceLine& operator<<(int number) { return *this << std::int64_t{number}; }
    TraceLine& operator<<(unsigned number) { return *this << std::int64_t{number}; }

  private:
    TraceLine& Append(const char* text, std::size_t length);

    Trace& trace_;
    std::string line_;
};

// `bytes` in double quotes, every byte that is not printable ASCII, and the quote and the
// backslash, written as a C escape: \r, \n, \t, \", \\, the rest as three octal digits (\000),
// which no digit that follows can lengthen. Text from the card or a file may hold any byte;
// the line must stay one line of plain text, and a NUL must not end it early.
std::string Quoted(const char* bytes, std::size_t length);
std::string Quoted(const std::string& text);
// The same for wide text: ASCII as above, every other character as \uXXXX.
std::string Quoted(const std::wstring& text);

}  // namespace quorvel
