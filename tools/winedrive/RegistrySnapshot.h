#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace quorvel::winedrive {

// Every key and value under the registry trees a program could write to, so that a run that
// must only read can be shown to have changed nothing.
class RegistrySnapshot {
  public:
    static RegistrySnapshot Take();

    // One line per key or value that was added, removed or changed since `before`.
    std::vector<std::string> ChangesSince(const RegistrySnapshot& before) const;
    std::size_t Size() const { return entries_.size(); }

  private:
    void AddTree(HKEY root, const std::string& rootName, const std::string& path);

    // "root\path" for a key, "root\path\\name" for a value; a value maps to its type and data.
    std::map<std::string, std::string> entries_;
};

}  // namespace quorvel::winedrive
