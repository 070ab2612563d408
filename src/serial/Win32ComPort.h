#pragma once

#include <windows.h>

#include <vector>

#include "serial/ComDevice.h"

namespace quorvel {

// The COM port through kernel32's overlapped I/O. The program keeps exactly one of these for
// the whole process; it stands for the process's one port handle.
class Win32ComPort : public ComDevice {
  public:
    Win32ComPort();
    ~Win32ComPort() override;
    Win32ComPort(const Win32ComPort&) = delete;
    Win32ComPort& operator=(const Win32ComPort&) = delete;

    bool Open(const std::string& devicePath) override;
    std::uint32_t OpenError() const override { return openError_; }
    bool IsOpen() const override { return handle_ != INVALID_HANDLE_VALUE; }
    void Close() override;
    std::size_t Write(const char* bytes, std::size_t length) override;
    void ClearReceived() override;
    std::size_t ReadArrived(char* buffer, std::size_t most) override;

  private:
    bool ConfigureLine();
    void SettlePendingWrite();
    DWORD FinishOrCancel(OVERLAPPED& io);

    HANDLE handle_ = INVALID_HANDLE_VALUE;
    DWORD openError_ = ERROR_SUCCESS;
    // A write the driver has not finished counts as sent, so its record and bytes must outlive
    // the call that started it; they live here until the next write or the close.
    OVERLAPPED write_ = {};
    std::vector<char> writeBytes_;
    bool writePending_ = false;
    HANDLE writeEvent_;
    HANDLE readEvent_;
};

}  // namespace quorvel
