#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorvel {

// What Write returns for a write that the driver is still sending.
inline constexpr std::size_t kWriteInProgress = static_cast<std::size_t>(-1);

// The process's one COM port handle. Every SerialPort works through the same ComDevice, so a
// port opened through one SerialPort is used and closed through another.
class ComDevice {
  public:
    virtual ~ComDevice() = default;

    // Opens the device exclusively and sets 115200 baud, 8 data bits, no parity, one stop bit
    // and no flow control. On failure nothing is left open.
    virtual bool Open(const std::string& devicePath) = 0;

    // The platform's error number for the last Open that failed, for the trace.
    virtual std::uint32_t OpenError() const = 0;

    virtual bool IsOpen() const = 0;

    // Closes the port if one is open; afterwards none is.
    virtual void Close() = 0;

    // Sends the bytes and returns how many went out: fewer than `length` when the driver
    // completed the write short, 0 when it failed, and kWriteInProgress when the driver has
    // taken the write but not finished it.
    virtual std::size_t Write(const char* bytes, std::size_t length) = 0;

    // Drops whatever the driver has received and not handed over yet, however much that is.
    virtual void ClearReceived() = 0;

    // Takes at most `most` bytes of what has already arrived, without waiting for more, and
    // returns how many it took. Bytes beyond that count are left untouched in `buffer`.
    virtual std::size_t ReadArrived(char* buffer, std::size_t most) = 0;
};

}  // namespace quorvel
