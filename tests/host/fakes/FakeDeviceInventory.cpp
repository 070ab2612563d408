#include "fakes/FakeDeviceInventory.h"

#include <cstring>

namespace quorvel::test {

// A snapshot of the class's devices at the time the list was taken.
class FakeDeviceList : public DeviceList {
  public:
    FakeDeviceList(FakeDeviceInventory& inventory, std::vector<FakeDeviceInventory::Entry> devices)
        : inventory_(inventory), devices_(std::move(devices)) {}
    ~FakeDeviceList() override { --inventory_.listsOpen_; }

    DeviceAt Enumerate(unsigned index) override {
        current_ = nullptr;
        if (index >= devices_.size()) return DeviceAt::kEndOfList;
        if (devices_[index].kind == FakeDeviceInventory::Entry::Kind::kEnumerationError)
            return DeviceAt::kError;
        current_ = &devices_[index];
        return DeviceAt::kDevice;
    }

    // Same contract as the platform's: the buffer is cleared, and a name that does not fit
    // with its terminator cannot be read.
    bool ReadFriendlyName(char* buffer, std::size_t size) override {
        std::memset(buffer, 0, size);
        if (current_ == nullptr || current_->kind != FakeDeviceInventory::Entry::Kind::kNamed)
            return false;
        if (current_->name.size() + 1 > size) return false;
        std::memcpy(buffer, current_->name.c_str(), current_->name.size() + 1);
        return true;
    }

  private:
    FakeDeviceInventory& inventory_;
    std::vector<FakeDeviceInventory::Entry> devices_;
    const FakeDeviceInventory::Entry* current_ = nullptr;
};

void FakeDeviceInventory::AddDevice(const std::string& classGuid, const std::string& friendlyName) {
    classes_[classGuid].push_back({Entry::Kind::kNamed, friendlyName});
}

void FakeDeviceInventory::AddUnreadableDevice(const std::string& classGuid) {
    classes_[classGuid].push_back({Entry::Kind::kUnreadable, ""});
}

void FakeDeviceInventory::AddEnumerationError(const std::string& classGuid) {
    classes_[classGuid].push_back({Entry::Kind::kEnumerationError, ""});
}

void FakeDeviceInventory::RefuseLists(const std::string& classGuid) {
    refused_[classGuid] = true;
}

std::unique_ptr<DeviceList> FakeDeviceInventory::PresentDevices(const char* classGuid) {
    if (refused_[classGuid]) return nullptr;
    ++listsTaken_;
    if (listsOpen_ > 0) ++overlappingLists_;
    ++listsOpen_;
    return std::make_unique<FakeDeviceList>(*this, classes_[classGuid]);
}

}  // namespace quorvel::test
