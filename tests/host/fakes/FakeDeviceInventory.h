#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "discovery/DeviceInventory.h"

namespace quorvel::test {

// An in-memory table of present devices per class, listed in the order added. It counts the
// lists it hands out, so a test can tell that each was released before the next was taken.
class FakeDeviceInventory : public DeviceInventory {
  public:
    void AddDevice(const std::string& classGuid, const std::string& friendlyName);
    // A device whose friendly name cannot be read.
    void AddUnreadableDevice(const std::string& classGuid);
    // An index at which enumeration fails with an error other than the end of the list.
    void AddEnumerationError(const std::string& classGuid);
    // No list of this class can be had.
    void RefuseLists(const std::string& classGuid);

    std::unique_ptr<DeviceList> PresentDevices(const char* classGuid) override;

    int ListsTaken() const { return listsTaken_; }
    int ListsOpen() const { return listsOpen_; }
    // Lists taken while an earlier one was still held.
    int ListsTakenWhileOneWasOpen() const { return overlappingLists_; }

    struct Entry {
        enum class Kind { kNamed, kUnreadable, kEnumerationError } kind;
        std::string name;
    };

  private:
    friend class FakeDeviceList;

    std::map<std::string, std::vector<Entry>> classes_;
    std::map<std::string, bool> refused_;
    int listsTaken_ = 0;
    int listsOpen_ = 0;
    int overlappingLists_ = 0;
};

}  // namespace quorvel::test
