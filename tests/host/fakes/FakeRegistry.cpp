#include "fakes/FakeRegistry.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace quorvel::test {

namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const {
        return Lower(a) < Lower(b);
    }
};

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\') {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(part);
    return parts;
}

}  // namespace

struct FakeRegistry::Node {
    struct Value {
        std::string name;
        std::string text;
        bool readable = true;
    };

    std::map<std::string, std::unique_ptr<Node>, NoCaseLess> subkeys;
    std::vector<Value> values;
    bool denied = false;

    Value& ValueNamed(const std::string& name) {
        auto it = std::find_if(values.begin(), values.end(),
                               [&](const Value& v) { return Lower(v.name) == Lower(name); });
        if (it != values.end()) return *it;
        values.push_back({name, "", true});
        return values.back();
    }
};

class FakeRegistryKey : public RegistryKey {
  public:
    FakeRegistryKey(FakeRegistry& registry, FakeRegistry::Node& node)
        : registry_(registry), node_(node) {}
    ~FakeRegistryKey() override { --registry_.keysOpen_; }

    std::uint32_t SubkeyCount() override {
        return static_cast<std::uint32_t>(node_.subkeys.size());
    }
    std::uint32_t ValueCount() override { return static_cast<std::uint32_t>(node_.values.size()); }

    bool SubkeyName(std::uint32_t index, std::string* name) override {
        if (index >= node_.subkeys.size()) return false;
        const std::string& found = std::next(node_.subkeys.begin(), index)->first;
        if (found.size() + 1 > kSubkeyNameSize) return false;
        *name = found;
        return true;
    }

    bool ValueName(std::uint32_t index, std::string* name) override {
        if (index >= node_.values.size() || node_.values[index].name.size() + 1 > kValueNameSize)
            return false;
        *name = node_.values[index].name;
        return true;
    }

    // Text is stored with its terminator, so it fits when it leaves room for one.
    bool ReadValueText(const std::string& name, std::string* text) override {
        for (const FakeRegistry::Node::Value& value : node_.values) {
            if (Lower(value.name) != Lower(name)) continue;
            if (!value.readable || value.text.size() + 1 > kValueDataSize) return false;
            *text = value.text;
            return true;
        }
        return false;
    }

  private:
    FakeRegistry& registry_;
    FakeRegistry::Node& node_;
};

FakeRegistry::FakeRegistry() : root_(std::make_unique<Node>()) {}
FakeRegistry::~FakeRegistry() = default;

FakeRegistry::Node* FakeRegistry::Find(const std::string& path) const {
    Node* node = root_.get();
    for (const std::string& part : SplitPath(path)) {
        auto it = node->subkeys.find(part);
        if (it == node->subkeys.end()) return nullptr;
        node = it->second.get();
    }
    return node;
}

FakeRegistry::Node* FakeRegistry::Create(const std::string& path) {
    Node* node = root_.get();
    for (const std::string& part : SplitPath(path)) {
        std::unique_ptr<Node>& child = node->subkeys[part];
        if (!child) child = std::make_unique<Node>();
        node = child.get();
    }
    return node;
}

void FakeRegistry::AddKey(const std::string& path) {
    Create(path);
}

void FakeRegistry::SetValue(const std::string& path, const std::string& name,
                            const std::string& text) {
    Create(path)->ValueNamed(name).text = text;
}

void FakeRegistry::SetUnreadableValue(const std::string& path, const std::string& name) {
    Create(path)->ValueNamed(name).readable = false;
}

void FakeRegistry::DenyOpening(const std::string& path) {
    Create(path)->denied = true;
}

std::unique_ptr<RegistryKey> FakeRegistry::OpenLocalMachineKey(const std::string& path) {
    openAttempts_.push_back(path);
    Node* node = Find(path);
    if (node == nullptr || node->denied) return nullptr;
    ++keysOpen_;
    mostKeysOpen_ = std::max(mostKeysOpen_, keysOpen_);
    return std::make_unique<FakeRegistryKey>(*this, *node);
}

}  // namespace quorvel::test
