#include "serial/EchoOffHandshake.h"

#include "serial/ReplyPolling.h"
#include "serial/SerialPort.h"

namespace quorvel {

bool EchoOffHandshake(ComDevice& device, Clock& clock) {
    SerialPort port(device, clock);
    // A failed write is not looked at: the card then stays silent and the window runs out.
    port.Write(kEchoOffCommand, sizeof kEchoOffCommand - 1);
    ResponseBuffer response;
    const bool answered =
        AwaitReply(port, clock, response, kHandshakeReplyRules) == ReplyVerdict::kOk;
    port.Close();
    return answered;
}

}  // namespace quorvel
