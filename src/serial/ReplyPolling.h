#pragma once

#include "serial/Clock.h"
#include "serial/ResponseBuffer.h"
#include "serial/SerialPort.h"

namespace quorvel {

enum class ReplyVerdict { kPending, kOk, kFailed };

using ReplyJudge = ReplyVerdict (*)(const ResponseBuffer& response);

// A command's final result: "OK" anywhere wins, even beside "ERROR"; then "ERROR", then
// "COMMAND NOT SUPPORTED". Plain, case-sensitive substring tests in that order.
ReplyVerdict JudgeCommandReply(const ResponseBuffer& response);

// The echo-off handshake knows only "OK" and "ERROR".
ReplyVerdict JudgeHandshakeReply(const ResponseBuffer& response);

// How a reply is waited for. A command's window includes its last second (about 31 looks at
// the port); the handshake's ends just before it (about 30).
struct ReplyRules {
    ReplyJudge judge;
    bool windowIncludesLastSecond;
};

inline constexpr ReplyRules kCommandReplyRules{JudgeCommandReply, true};
inline constexpr ReplyRules kHandshakeReplyRules{JudgeHandshakeReply, false};

// A flood could keep one look at the port going for ever; it takes no more than this many
// chunks before the next pause.
inline constexpr int kMaxChunksPerPoll = 64;

// One look at the port: adds what has arrived to `response`, a chunk at a time, until the
// port has nothing more or the judge gives a verdict.
ReplyVerdict PollReply(SerialPort& port, ResponseBuffer& response, ReplyJudge judge);

// Looks at the port at once and then after every pause of kPollIntervalMilliseconds until a
// verdict comes or kReplyWindowSeconds of calendar time have passed (kFailed).
ReplyVerdict AwaitReply(SerialPort& port, Clock& clock, ResponseBuffer& response,
                        const ReplyRules& rules);

}  // namespace quorvel
