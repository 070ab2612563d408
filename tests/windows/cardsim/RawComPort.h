#pragma once

#include <windows.h>

#include <string>

namespace quorvel::test {

// A COM port driven by plain Win32 calls the way the program drives one: opened for
// overlapped I/O, set to 115200 8N1, written and read without waiting on completion events.
// It checks the simulated card from the Windows side without the program's own serial code.
class RawComPort {
  public:
    explicit RawComPort(const std::string& devicePath);
    ~RawComPort();
    RawComPort(const RawComPort&) = delete;
    RawComPort& operator=(const RawComPort&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    // The error CreateFileA left when the open failed.
    DWORD OpenError() const { return openError_; }

    // Writes all the bytes and waits (bounded) for the write to finish.
    bool Write(const std::string& bytes);

    // How many received bytes wait in the driver, as ClearCommError tells it.
    DWORD Queued();

    // Takes the bytes that have arrived, without waiting for more.
    std::string ReadArrived();

    // Collects arriving bytes until they hold `expected` or `timeoutMs` has passed.
    std::string ReadUntil(const std::string& expected, DWORD timeoutMs);

  private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    DWORD openError_ = 0;
};

}  // namespace quorvel::test
