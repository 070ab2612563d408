#include "RawComPort.h"

namespace quorvel::test {

namespace {

constexpr DWORD kIoTimeoutMs = 2000;

bool SetLine(HANDLE handle) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle, &dcb)) return false;
    dcb.BaudRate = CBR_115200;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fOutxCtsFlow = dcb.fOutxDsrFlow = dcb.fDsrSensitivity = dcb.fOutX = dcb.fInX = 0;
    return SetCommState(handle, &dcb) != 0;
}

// Finishes an overlapped transfer that did not complete at once; false on failure.
bool Finish(HANDLE handle, OVERLAPPED& overlapped, BOOL started, DWORD& done) {
    if (started) return GetOverlappedResult(handle, &overlapped, &done, FALSE) != 0;
    if (GetLastError() != ERROR_IO_PENDING) return false;
    DWORD start = GetTickCount();
    while (!GetOverlappedResult(handle, &overlapped, &done, FALSE)) {
        if (GetLastError() != ERROR_IO_INCOMPLETE || GetTickCount() - start > kIoTimeoutMs) {
            CancelIo(handle);
            return false;
        }
        Sleep(10);
    }
    return true;
}

}  // namespace

RawComPort::RawComPort(const std::string& devicePath) {
    handle_ = CreateFileA(devicePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                          OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    openError_ = GetLastError();
    if (IsOpen() && !SetLine(handle_)) {
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
}

RawComPort::~RawComPort() {
    if (IsOpen()) CloseHandle(handle_);
}

bool RawComPort::Write(const std::string& bytes) {
    OVERLAPPED overlapped{};
    DWORD written = 0;
    BOOL started =
        WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, &overlapped);
    return Finish(handle_, overlapped, started, written) && written == bytes.size();
}

DWORD RawComPort::Queued() {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(handle_, &errors, &status)) return 0;
    return status.cbInQue;
}

std::string RawComPort::ReadArrived() {
    DWORD queued = Queued();
    if (queued == 0) return "";
    std::string bytes(queued, '\0');
    OVERLAPPED overlapped{};
    DWORD got = 0;
    BOOL started = ReadFile(handle_, bytes.data(), queued, &got, &overlapped);
    if (!Finish(handle_, overlapped, started, got)) return "";
    bytes.resize(got);
    return bytes;
}

std::string RawComPort::ReadUntil(const std::string& expected, DWORD timeoutMs) {
    std::string bytes;
    DWORD start = GetTickCount();
    while (bytes.find(expected) == std::string::npos && GetTickCount() - start < timeoutMs) {
        std::string arrived = ReadArrived();
        if (arrived.empty()) Sleep(20);
        bytes += arrived;
    }
    return bytes;
}

}  // namespace quorvel::test
