#include "serial/Win32ComPort.h"

#include <algorithm>

namespace quorvel {

namespace {

// Bytes already queued arrive at once and a command's few bytes leave at once; these bounds
// only matter for a driver that misbehaves, which is then cancelled rather than waited for.
constexpr DWORD kReadCompletionMilliseconds = 1000;
constexpr DWORD kWriteCompletionMilliseconds = 2000;

OVERLAPPED FreshRecord(HANDLE event) {
    OVERLAPPED io = {};
    io.hEvent = event;
    ResetEvent(event);
    return io;
}

}  // namespace

Win32ComPort::Win32ComPort()
    : writeEvent_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      readEvent_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

Win32ComPort::~Win32ComPort() {
    Close();
    CloseHandle(writeEvent_);
    CloseHandle(readEvent_);
}

bool Win32ComPort::Open(const std::string& devicePath) {
    Close();  // callers always close first; this only keeps a handle from leaking
    handle_ = CreateFileA(devicePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                          OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) {
        openError_ = GetLastError();
        return false;
    }
    SetCommMask(handle_, EV_RXCHAR);
    if (ConfigureLine()) return true;
    openError_ = GetLastError();
    CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return false;
}

// 115200 8N1 without flow control; every other setting stays as the driver has it.
bool Win32ComPort::ConfigureLine() {
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle_, &dcb)) return false;
    dcb.BaudRate = CBR_115200;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    return SetCommState(handle_, &dcb) != FALSE;
}

void Win32ComPort::Close() {
    if (!IsOpen()) return;
    SettlePendingWrite();
    CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

// A write that completes at once and one that completes while it is asked after both report
// their count through the record: the count WriteFile gives an overlapped write is not to be
// relied on.
std::size_t Win32ComPort::Write(const char* bytes, std::size_t length) {
    if (!IsOpen()) return 0;
    SettlePendingWrite();
    writeBytes_.assign(bytes, bytes + length);
    write_ = FreshRecord(writeEvent_);
    if (!WriteFile(handle_, writeBytes_.data(), static_cast<DWORD>(length), nullptr, &write_) &&
        GetLastError() != ERROR_IO_PENDING)
        return 0;
    DWORD written = 0;
    if (GetOverlappedResult(handle_, &write_, &written, FALSE)) return written;
    const DWORD error = GetLastError();
    writePending_ = error == ERROR_IO_INCOMPLETE || error == ERROR_IO_PENDING;
    return writePending_ ? kWriteInProgress : 0;
}

void Win32ComPort::ClearReceived() {
    if (IsOpen()) PurgeComm(handle_, PURGE_RXCLEAR);
}

std::size_t Win32ComPort::ReadArrived(char* buffer, std::size_t most) {
    if (!IsOpen()) return 0;
    DWORD errors = 0;
    COMSTAT status = {};
    if (!ClearCommError(handle_, &errors, &status)) return 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(status.cbInQue, most));
    if (wanted == 0) return 0;

    OVERLAPPED read = FreshRecord(readEvent_);
    DWORD taken = 0;
    if (ReadFile(handle_, buffer, wanted, &taken, &read)) return taken;
    if (GetLastError() != ERROR_IO_PENDING) return 0;
    return FinishOrCancel(read);
}

// An earlier write still in progress is given a moment to finish before its record and bytes
// are reused or the handle goes.
void Win32ComPort::SettlePendingWrite() {
    if (!writePending_) return;
    writePending_ = false;
    if (WaitForSingleObject(writeEvent_, kWriteCompletionMilliseconds) != WAIT_OBJECT_0) {
        CancelIoEx(handle_, &write_);
    }
    DWORD written = 0;
    GetOverlappedResult(handle_, &write_, &written, TRUE);
}

// Waits for a read of bytes already queued, or cancels it, so that nothing is left pending on
// a record that is about to go away. Returns the bytes it took.
DWORD Win32ComPort::FinishOrCancel(OVERLAPPED& io) {
    if (WaitForSingleObject(io.hEvent, kReadCompletionMilliseconds) != WAIT_OBJECT_0) {
        CancelIoEx(handle_, &io);
    }
    DWORD taken = 0;
    if (!GetOverlappedResult(handle_, &io, &taken, TRUE) &&
        GetLastError() != ERROR_OPERATION_ABORTED) {
        return 0;
    }
    return taken;
}

}  // namespace quorvel
