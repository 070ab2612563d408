#include "serial/ReplyPolling.h"

namespace quorvel {

ReplyVerdict JudgeCommandReply(const ResponseBuffer& response) {
    if (response.Contains("OK")) return ReplyVerdict::kOk;
    if (response.Contains("ERROR")) return ReplyVerdict::kFailed;
    if (response.Contains("COMMAND NOT SUPPORTED")) return ReplyVerdict::kFailed;
    return ReplyVerdict::kPending;
}

ReplyVerdict JudgeHandshakeReply(const ResponseBuffer& response) {
    if (response.Contains("OK")) return ReplyVerdict::kOk;
    if (response.Contains("ERROR")) return ReplyVerdict::kFailed;
    return ReplyVerdict::kPending;
}

ReplyVerdict PollReply(SerialPort& port, ResponseBuffer& response, ReplyJudge judge) {
    ReplyVerdict verdict = ReplyVerdict::kPending;
    for (int chunk = 0; chunk < kMaxChunksPerPoll; ++chunk) {
        char arrived[ResponseBuffer::kMaxLength];
        std::size_t taken = 0;
        port.Read(arrived, sizeof arrived, &taken);
        response.Append(arrived, taken);
        verdict = judge(response);
        if (verdict != ReplyVerdict::kPending || taken < sizeof arrived) break;
    }
    return verdict;
}

namespace {

bool WithinWindow(std::int64_t elapsedSeconds, const ReplyRules& rules) {
    return rules.windowIncludesLastSecond ? elapsedSeconds <= kReplyWindowSeconds
                                          : elapsedSeconds < kReplyWindowSeconds;
}

}  // namespace

ReplyVerdict AwaitReply(SerialPort& port, Clock& clock, ResponseBuffer& response,
                        const ReplyRules& rules) {
    const std::int64_t start = clock.NowSeconds();
    std::int64_t now = start;
    while (WithinWindow(now - start, rules)) {
        const ReplyVerdict verdict = PollReply(port, response, rules.judge);
        if (verdict != ReplyVerdict::kPending) return verdict;
        clock.SleepMilliseconds(kPollIntervalMilliseconds);
        now = clock.NowSeconds();
    }
    return ReplyVerdict::kFailed;
}

}  // namespace quorvel
