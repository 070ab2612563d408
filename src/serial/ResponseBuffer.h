#pragma once

#include <cstddef>
#include <string>

namespace quorvel {

// What a card has said in reply to one command, built up over the polls, seen two ways.
//
// The window the reply is judged on holds the newest 127 bytes, so a final "OK" after long or
// unsolicited output is still seen, and a reply that arrives in pieces is judged whole. A NUL
// keeps its place there: it separates what stands on either side of it, so "O\0K" is no "OK".
//
// The answer handed to the caller is the reply's lines without the empty ones, the command's
// echo (from a card that ignored ATE0) and the notices a card sends on its own ("^RSSI:17",
// "+CREG: 1", "RING"), each ended by "\r\n", NULs dropped. Whole lines are kept in the order
// they came until one does not fit in 127 bytes, so however many notices come, they neither
// push the answer out nor leave a piece of themselves in it.
class ResponseBuffer {
  public:
    static constexpr std::size_t kMaxLength = 127;

    // `command` as it was sent, with its carriage return.
    explicit ResponseBuffer(const char* command);

    void Append(const char* bytes, std::size_t count);

    // Plain, case-sensitive substring test on the window.
    bool Contains(const char* text) const;

    // The answer so far, the line still in progress taken as ended.
    std::string Answer() const;

  private:
    void AppendToWindow(const char* bytes, std::size_t count);
    void EndLine();
    bool IsAnswerLine(const std::string& line) const;
    void Keep(const std::string& line, std::string* answer, bool* full) const;

    char window_[kMaxLength] = {};
    std::size_t windowLength_ = 0;

    std::string echo_;     // the command without its carriage return
    std::string ownName_;  // what the command's own "+" lines begin with: "+CGMM" for AT+CGMM
    std::string line_;     // the line in progress, cut once it could no longer fit
    std::string answer_;
    bool answerFull_ = false;
};

}  // namespace quorvel
