#pragma once

#include <cstddef>
#include <string>

namespace quorvel {

// The configuration file as the platform's profile functions read it, and the folders it may
// be in. Paths are UTF-16 as the system gives them, so a folder named in any script names the
// file; section names, keys and values are 8-bit text in the ANSI code page, as the labels
// show them. Every read is a request of its own; nothing is cached.
class ProfileFile {
  public:
    virtual ~ProfileFile() = default;

    // All section names in file order, each ended by a zero byte and the list by a further
    // one, cut to `size` bytes. Returns the count of characters placed; 0 when there are none.
    virtual std::size_t ReadSectionNames(char* buffer, std::size_t size,
                                         const std::wstring& file) = 0;

    // The key's text value, or `defaultValue` when the section or key is missing, cut to
    // `size` with its terminator. Returns the count of characters placed, 0 for a key that is
    // present with an empty value.
    virtual std::size_t ReadString(const std::string& section, const std::string& key,
                                   const std::string& defaultValue, char* buffer, std::size_t size,
                                   const std::wstring& file) = 0;

    // The whole current directory, however long. False when it cannot be had.
    virtual bool CurrentDirectory(std::wstring* directory) = 0;

    // The folder that holds the program, without the backslash that ends it. False when it
    // cannot be had whole: a cut path would name another folder.
    virtual bool ProgramDirectory(std::wstring* directory) = 0;

    // Whether a file (not a folder) of that path exists.
    virtual bool FileExists(const std::wstring& path) = 0;
};

}  // namespace quorvel
