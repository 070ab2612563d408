#include "winedrive/RegistrySnapshot.h"

namespace quorvel::winedrive {

namespace {

struct Tree {
    HKEY root;
    const char* rootName;
    const char* path;
};

// The devices, their driver keys, and the software settings of the machine and the user. The
// file-type and COM class registrations under Software\Classes are left out: they are large,
// and a program that only reads could not have reason to touch them. So is Software\Wine, where
// Wine itself keeps state for any program that makes a window.
const Tree kTrees[] = {
    {HKEY_LOCAL_MACHINE, "HKLM", "System\\CurrentControlSet\\Enum"},
    {HKEY_LOCAL_MACHINE, "HKLM", "System\\CurrentControlSet\\Control\\Class"},
    {HKEY_LOCAL_MACHINE, "HKLM", "Software"},
    {HKEY_CURRENT_USER, "HKCU", "Software"},
};

bool LeftOut(const std::string& path) {
    return path == "Software\\Classes" || path == "Software\\Wow6432Node\\Classes" ||
           path == "Software\\Wine";
}

std::string ValueText(DWORD type, const std::vector<BYTE>& data, DWORD size) {
    return std::to_string(type) + ":" +
           std::string(reinterpret_cast<const char*>(data.data()), size);
}

}  // namespace

RegistrySnapshot RegistrySnapshot::Take() {
    RegistrySnapshot snapshot;
    for (const Tree& tree : kTrees)
        snapshot.AddTree(tree.root, tree.rootName, tree.path);
    return snapshot;
}

void RegistrySnapshot::AddTree(HKEY root, const std::string& rootName, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    const std::string keyName = rootName + "\\" + path;
    entries_[keyName] = "key";

    std::vector<char> name(16384);
    std::vector<BYTE> data(1 << 16);
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        const LONG result = RegEnumValueA(key, index, name.data(), &nameSize, nullptr, &type,
                                          data.data(), &dataSize);
        if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) break;
        entries_[keyName + "\\\\" + std::string(name.data(), nameSize)] =
            result == ERROR_SUCCESS ? ValueText(type, data, dataSize) : "too large to compare";
    }
    std::vector<std::string> subkeys;
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        const LONG result =
            RegEnumKeyExA(key, index, name.data(), &nameSize, nullptr, nullptr, nullptr, nullptr);
        if (result != ERROR_SUCCESS) break;
        subkeys.emplace_back(name.data(), nameSize);
    }
    RegCloseKey(key);
    for (const std::string& subkey : subkeys) {
        const std::string subpath = path + "\\" + subkey;
        if (!LeftOut(subpath)) AddTree(root, rootName, subpath);
    }
}

std::vector<std::string> RegistrySnapshot::ChangesSince(const RegistrySnapshot& before) const {
    std::vector<std::string> changes;
    for (const auto& [name, value] : entries_) {
        auto old = before.entries_.find(name);
        if (old == before.entries_.end())
            changes.push_back("added " + name);
        else if (old->second != value)
            changes.push_back("changed " + name);
    }
    for (const auto& [name, value] : before.entries_) {
        if (entries_.count(name) == 0) changes.push_back("removed " + name);
    }
    return changes;
}

}  // namespace quorvel::winedrive
