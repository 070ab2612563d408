#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "discovery/Registry.h"

namespace quorvel::test {

// A key tree under HKEY_LOCAL_MACHINE. Subkeys are listed in name order, as the platform does;
// values keep the order they were set in. Records every path asked for. Names match exactly:
// the code asks for names as they were listed.
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
        const auto node = nodes_.find(path);
        if (node == nodes_.end() || node->second.denied) return nullptr;
        return std::make_unique<Key>(*this, path);
    }

    std::vector<std::string> opened;  // every path asked for

  private:
    struct Node {
        std::vector<std::pair<std::string, std::string>> values;
        bool denied = false;
    };

    // What a key held when it was opened: its subkeys' names in order, and its values.
    class Key : public RegistryKey {
      public:
        Key(const FakeRegistry& owner, const std::string& path)
            : values_(owner.nodes_.at(path).values) {
            for (const auto& [other, node] : owner.nodes_) {
                if (other.rfind(path + "\\", 0) == 0 &&
                    other.find('\\', path.size() + 1) == other.npos)
                    subkeys_.push_back(other.substr(path.size() + 1));
            }
        }

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
            for (const auto& [valueName, data] : values_)
                if (valueName == name) {
                    *text = data;
                    return true;
                }
            return false;
        }

      private:
        std::vector<std::pair<std::string, std::string>> values_;
        std::vector<std::string> subkeys_;
    };

    Node& Make(const std::string& path) {
        const std::size_t parent = path.rfind('\\');
        if (parent != path.npos) Make(path.substr(0, parent));
        return nodes_[path];
    }

    std::map<std::string, Node> nodes_;  // by path, so subkeys come in name order
};

}  // namespace quorvel::test
