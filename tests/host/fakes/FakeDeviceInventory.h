#pragma once

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "discovery/DeviceInventory.h"

namespace quorvel::test {

// Stand-ins in a table for an index that fails to enumerate, and a name that cannot be read.
inline constexpr char kEnumerationError[] = "<enumeration error>";
inline constexpr char kUnreadableName[] = "<unreadable name>";

// The present devices by class, in table order. Counts the lists it hands out and those held at
// once, so a test sees each released before the next is taken.
class FakeDeviceInventory : public DeviceInventory {
  public:
    std::unique_ptr<DeviceList> PresentDevices(DeviceClass deviceClass) override {
        ++listsTaken;
        ++held;
        return std::make_unique<List>(*this, present[deviceClass]);
    }

    std::map<DeviceClass, std::vector<std::string>> present;
    int listsTaken = 0;
    int held = 0;  // lists not yet released

  private:
    class List : public DeviceList {
      public:
        List(FakeDeviceInventory& owner, std::vector<std::string> names)
            : owner_(owner), names_(std::move(names)) {}
        ~List() override { --owner_.held; }

        DeviceAt Enumerate(unsigned index) override {
            current_ = index < names_.size() ? &names_[index] : nullptr;
            if (current_ == nullptr) return DeviceAt::kEndOfList;
            return *current_ == kEnumerationError ? DeviceAt::kError : DeviceAt::kDevice;
        }
        // As the platform does: the buffer is cleared, and a name that leaves no room for its
        // terminator cannot be read.
        bool ReadFriendlyName(char* buffer, std::size_t size) override {
            std::memset(buffer, 0, size);
            if (!current_ || *current_ == kUnreadableName || current_->size() >= size) return false;
            current_->copy(buffer, size);
            return true;
        }

      private:
        FakeDeviceInventory& owner_;
        std::vector<std::string> names_;
        const std::string* current_ = nullptr;
    };
};

}  // namespace quorvel::test
