#include "serial/SerialPort.h"

#include <cstdio>
#include <cstring>

#include "card/WizardStatus.h"
#include "serial/ReplyPolling.h"

namespace quorvel {

SerialPort::SerialPort(ComDevice& device, Clock& clock) : device_(device), clock_(clock) {}

SerialPort::~SerialPort() = default;

bool SerialPort::Open(int portNumber) {
    char path[32];
    std::snprintf(path, sizeof path, "\\\\.\\COM%d", portNumber);
    devicePath_ = path;
    return device_.Open(devicePath_);
}

bool SerialPort::Close() {
    device_.Close();
    return true;
}

bool SerialPort::Write(const char* bytes, std::size_t length) {
    if (!device_.IsOpen()) return false;
    return device_.Write(bytes, length);
}

bool SerialPort::Read(char* buffer, std::size_t most, std::size_t* taken) {
    if (!device_.IsOpen()) return false;
    *taken = device_.ReadArrived(buffer, most);
    return true;
}

int SerialPort::SendAtCommand(const char* command, char* reply) {
    if (reply == nullptr) return kStatusNoAnswer;
    if (!Write(command, std::strlen(command))) return kStatusWriteFailed;

    ResponseBuffer response;
    if (AwaitReply(*this, clock_, response, kCommandReplyRules) != ReplyVerdict::kOk) {
        return kStatusNoAnswer;
    }
    std::memcpy(reply, response.Text(), response.Length() + 1);
    return kStatusSuccess;
}

}  // namespace quorvel
