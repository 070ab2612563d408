#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quorvel::test {

// QuorvelTool.exe's resources, read from the file as data: the program is not run for this.
class ProgramResources {
  public:
    // Loads $QUORVEL_EXE as a data file.
    ProgramResources();
    ~ProgramResources();
    ProgramResources(const ProgramResources&) = delete;
    ProgramResources& operator=(const ProgramResources&) = delete;

    bool Loaded() const { return module_ != nullptr; }
    HMODULE Module() const { return module_; }

    // A string-table text as LoadStringA gives it; `exists` tells an empty text from none.
    std::string String(int id, bool* exists = nullptr) const;

    // The raw bytes of a resource in any language; empty when there is none.
    std::vector<unsigned char> Bytes(LPCSTR type, int id) const;

    // True when the resource exists in Chinese (Simplified, PRC).
    bool IsChineseSimplified(LPCSTR type, int id) const;

  private:
    HMODULE module_ = nullptr;
};

// The header of an extended dialog template.
struct DialogHeader {
    DWORD style = 0;
    DWORD exStyle = 0;
    int itemCount = 0;
    RECT rect{};  // x, y, x + width, y + height in dialog units
    std::string caption;
    int pointSize = 0;
    std::string font;  // UTF-8
};

// Reads the header of a DLGTEMPLATEEX; false when the bytes are not one.
bool ReadDialogHeader(const std::vector<unsigned char>& bytes, DialogHeader* header);

// Maps dialog units to pixels the way a dialog made from `templateBytes` does: it makes a
// hidden copy of that dialog in this process (same font, same machine) and asks it.
class DialogUnits {
  public:
    DialogUnits(const std::vector<unsigned char>& templateBytes, HINSTANCE resources);
    ~DialogUnits();
    DialogUnits(const DialogUnits&) = delete;
    DialogUnits& operator=(const DialogUnits&) = delete;

    bool Ready() const { return dialog_ != nullptr; }
    // A rectangle given as x, y, width and height in dialog units, in pixels.
    RECT ToPixels(int x, int y, int width, int height) const;

  private:
    HWND dialog_ = nullptr;
};

}  // namespace quorvel::test
