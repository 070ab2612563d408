#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "discovery/Registry.h"

namespace quorvel::test {

// An in-memory key tree under HKEY_LOCAL_MACHINE. Key names compare without regard to case
// and subkeys are listed in name order, as the platform does; values are listed in the order
// they were first set. It keeps the platform's size limits, records every attempt to open a
// key, and counts the keys still open.
class FakeRegistry : public Registry {
  public:
    FakeRegistry();
    ~FakeRegistry() override;

    // Creates the key and any missing keys above it.
    void AddKey(const std::string& path);
    void SetValue(const std::string& path, const std::string& name, const std::string& text);
    // A value that is listed but whose data cannot be read.
    void SetUnreadableValue(const std::string& path, const std::string& name);
    // A key that is listed but cannot be opened.
    void DenyOpening(const std::string& path);

    std::unique_ptr<RegistryKey> OpenLocalMachineKey(const std::string& path) override;

    // Every path asked for, in order, whether or not it could be opened.
    const std::vector<std::string>& OpenAttempts() const { return openAttempts_; }
    int KeysOpen() const { return keysOpen_; }
    int MostKeysOpenAtOnce() const { return mostKeysOpen_; }

    struct Node;

  private:
    friend class FakeRegistryKey;

    Node* Find(const std::string& path) const;
    Node* Create(const std::string& path);

    std::unique_ptr<Node> root_;
    std::vector<std::string> openAttempts_;
    int keysOpen_ = 0;
    int mostKeysOpen_ = 0;
};

}  // namespace quorvel::test
