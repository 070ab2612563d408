#pragma once

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "discovery/Registry.h"

namespace quorvel::test {

// A key tree under HKEY_LOCAL_MACHINE. Key names match without regard to case and subkeys are
// listed in name order, as the platform does; values keep the order they were set in. Records
// every path asked for and counts the keys held open.
class FakeRegistry : public Registry {
  public:
    // Sets a text value, creating the key and every key above it.
    void Set(const std::string& path, const std::string& name, const std::string& text) {
        Make(path).values.emplace_back(name, text);
    }
    // A key that is listed but cannot be opened.
    void Deny(const std::string& path) { Make(path).denied = true; }

    std::unique_ptr<RegistryKey> OpenLocalMachineKey(const std::string& path) override {
        opened.push_back(path);
        const auto node = nodes_.find(Lower(path));
        if (node == nodes_.end() || node->second.denied) return nullptr;
        return std::make_unique<Key>(*this, node->first);
    }

    std::vector<std::string> opened;  // every path asked for
    int keysOpen = 0;

  private:
    struct Node {
        std::string name;
        std::vector<std::pair<std::string, std::string>> values;
        bool denied = false;
    };

    // What a key held when it was opened: its subkeys' names in order, and its values.
    class Key : public RegistryKey {
      public:
        Key(FakeRegistry& owner, const std::string& path)
            : owner_(owner), values_(owner.nodes_[path].values) {
            ++owner_.keysOpen;
            for (const auto& [other, node] : owner.nodes_) {
                if (other.rfind(path + "\\", 0) == 0 &&
                    other.find('\\', path.size() + 1) == other.npos)
                    subkeys_.push_back(node.name);
            }
        }
        ~Key() override { --owner_.keysOpen; }

        std::uint32_t SubkeyCount() override { return static_cast<std::uint32_t>(subkeys_.size()); }
        std::uint32_t ValueCount() override { return static_cast<std::uint32_t>(values_.size()); }
        bool SubkeyName(std::uint32_t index, std::string* name) override {
            if (index < subkeys_.size()) *name = subkeys_[index];
            return index < subkeys_.size();
        }
        bool ValueName(std::uint32_t index, std::string* name) override {
            if (index < values_.size()) *name = values_[index].first;
            return index < values_.size();
        }
        bool ReadValueText(const std::string& name, std::string* text) override {
            for (const auto& [valueName, data] : values_) {
                if (Lower(valueName) != Lower(name)) continue;
                *text = data;
                return true;
            }
            return false;
        }

      private:
        FakeRegistry& owner_;
        std::vector<std::pair<std::string, std::string>> values_;
        std::vector<std::string> subkeys_;
    };

    static std::string Lower(std::string text) {
        for (char& c : text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    }
    Node& Make(const std::string& path) {
        const std::size_t parent = path.rfind('\\');
        if (parent != path.npos) Make(path.substr(0, parent));
        Node& node = nodes_[Lower(path)];
        node.name = path.substr(parent + 1);
        return node;
    }

    std::map<std::string, Node> nodes_;  // by lower-case path, so subkeys come in name order
};

}  // namespace quorvel::test
