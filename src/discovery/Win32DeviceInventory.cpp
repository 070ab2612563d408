#include "discovery/Win32DeviceInventory.h"

// setupapi.h needs the types of windows.h declared first.
#include <windows.h>

#include <setupapi.h>

#include <cstring>

namespace quorvel {

namespace {

// {4D36E978-E325-11CE-BFC1-08002BE10318} and {4D36E96D-E325-11CE-BFC1-08002BE10318}.
constexpr GUID kPortsClass = {
    0x4D36E978, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
constexpr GUID kModemClass = {
    0x4D36E96D, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

class Win32DeviceList : public DeviceList {
  public:
    explicit Win32DeviceList(HDEVINFO list) : list_(list) {}
    ~Win32DeviceList() override { SetupDiDestroyDeviceInfoList(list_); }

    Win32DeviceList(const Win32DeviceList&) = delete;
    Win32DeviceList& operator=(const Win32DeviceList&) = delete;

    DeviceAt Enumerate(unsigned index) override {
        std::memset(&device_, 0, sizeof device_);
        device_.cbSize = sizeof device_;
        // Cleared first so that a failure which sets no code reads as 0, the end of the list.
        SetLastError(ERROR_SUCCESS);
        if (SetupDiEnumDeviceInfo(list_, index, &device_)) return DeviceAt::kDevice;
        DWORD error = GetLastError();
        if (error == ERROR_NO_MORE_ITEMS || error == ERROR_SUCCESS) return DeviceAt::kEndOfList;
        return DeviceAt::kError;
    }

    bool ReadFriendlyName(char* buffer, std::size_t size) override {
        std::memset(buffer, 0, size);
        if (!SetupDiGetDeviceRegistryPropertyA(list_, &device_, SPDRP_FRIENDLYNAME, nullptr,
                                               reinterpret_cast<PBYTE>(buffer),
                                               static_cast<DWORD>(size), nullptr))
            return false;
        // Data stored without a terminator can fill the buffer; such a name does not fit.
        return std::memchr(buffer, '\0', size) != nullptr;
    }

  private:
    HDEVINFO list_;
    SP_DEVINFO_DATA device_{};
};

}  // namespace

std::unique_ptr<DeviceList> Win32DeviceInventory::PresentDevices(DeviceClass deviceClass) {
    const GUID& guid = deviceClass == DeviceClass::kModem ? kModemClass : kPortsClass;
    HDEVINFO list = SetupDiGetClassDevsA(&guid, nullptr, nullptr, DIGCF_PRESENT);
    if (list == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32DeviceList>(list);
}

}  // namespace quorvel
