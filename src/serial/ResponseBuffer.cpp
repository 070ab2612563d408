#include "serial/ResponseBuffer.h"

#include <cstring>
#include <string_view>

namespace quorvel {

ResponseBuffer::ResponseBuffer(const char* command) : echo_(command) {
    if (!echo_.empty() && echo_.back() == '\r') echo_.pop_back();
    // "AT+CGMM" is answered "+CGMM: ..." by a card that names what it answers.
    ownName_ = echo_.substr(echo_.size() < 2 ? echo_.size() : 2);
    ownName_ = ownName_.substr(0, ownName_.find('='));
}

void ResponseBuffer::Append(const char* bytes, std::size_t count) {
    AppendToWindow(bytes, count);
    for (std::size_t i = 0; i < count && !answerFull_; ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            EndLine();
        } else if (bytes[i] != '\0' && line_.size() <= kMaxLength) {
            line_ += bytes[i];
        }
    }
}

void ResponseBuffer::AppendToWindow(const char* bytes, std::size_t count) {
    // Only the newest kMaxLength of the new bytes can stay.
    if (count > kMaxLength) {
        bytes += count - kMaxLength;
        count = kMaxLength;
    }
    const std::size_t kept =
        windowLength_ + count > kMaxLength ? kMaxLength - count : windowLength_;
    std::memmove(window_, window_ + windowLength_ - kept, kept);
    std::memcpy(window_ + kept, bytes, count);
    windowLength_ = kept + count;
}

bool ResponseBuffer::Contains(const char* text) const {
    return std::string_view(window_, windowLength_).find(text) != std::string_view::npos;
}

std::string ResponseBuffer::Answer() const {
    std::string answer = answer_;
    bool full = answerFull_;
    Keep(line_, &answer, &full);
    return answer;
}

void ResponseBuffer::EndLine() {
    Keep(line_, &answer_, &answerFull_);
    line_.clear();
}

// Only a line's start tells a notice or the echo, so a line cut short is still told right.
bool ResponseBuffer::IsAnswerLine(const std::string& line) const {
    if (line.empty() || line.compare(0, echo_.size(), echo_) == 0) return false;
    if (line[0] == '^' || line == "RING") return false;
    return line[0] != '+' || line.compare(0, ownName_.size(), ownName_) == 0;
}

// Once a line does not fit, no later one is kept either: the answer keeps its order.
void ResponseBuffer::Keep(const std::string& line, std::string* answer, bool* full) const {
    if (*full || !IsAnswerLine(line)) return;
    *full = answer->size() + line.size() + 2 > kMaxLength;
    if (!*full) *answer += line + "\r\n";
}

}  // namespace quorvel
