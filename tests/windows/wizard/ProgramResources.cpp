#include "ProgramResources.h"

#include <cstring>

#include "WinePaths.h"

namespace quorvel::test {

namespace {

constexpr WORD kChineseSimplified = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
// Offsets in a DLGTEMPLATEEX: dlgVer, signature, helpID, exStyle, style, cDlgItems, x, y, cx, cy.
constexpr std::size_t kSignatureAt = 2;
constexpr std::size_t kExStyleAt = 8;
constexpr std::size_t kStyleAt = 12;
constexpr std::size_t kItemCountAt = 16;
constexpr std::size_t kRectAt = 18;
constexpr std::size_t kMenuAt = 26;

INT_PTR CALLBACK IdleDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

template <typename T>
T At(const std::vector<unsigned char>& bytes, std::size_t offset) {
    T value{};
    if (offset + sizeof value <= bytes.size()) std::memcpy(&value, &bytes[offset], sizeof value);
    return value;
}

// A name-or-ordinal field: 0 for none, 0xFFFF and an ordinal, or a terminated UTF-16 text.
// Returns the offset after it, and the text when it is one.
std::size_t SkipNameOrOrdinal(const std::vector<unsigned char>& bytes, std::size_t at,
                              std::wstring* text = nullptr) {
    const WORD first = At<WORD>(bytes, at);
    if (first == 0) return at + 2;
    if (first == 0xFFFF) return at + 4;
    std::wstring read;
    for (WORD c; at + 2 <= bytes.size() && (c = At<WORD>(bytes, at)) != 0; at += 2)
        read += static_cast<wchar_t>(c);
    if (text != nullptr) *text = read;
    return at + 2;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return "";
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), size,
                        nullptr, nullptr);
    return utf8;
}

}  // namespace

ProgramResources::ProgramResources()
    : module_(LoadLibraryExA(UnixToWindowsPath(Environment("QUORVEL_EXE")).c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE)) {}

ProgramResources::~ProgramResources() {
    if (module_ != nullptr) FreeLibrary(module_);
}

std::string ProgramResources::String(int id, bool* exists) const {
    char text[1024];
    std::memset(text, '#', sizeof text);  // guard bytes: the text must come back terminated
    const int length = LoadStringA(module_, static_cast<UINT>(id), text, sizeof text);
    if (exists != nullptr) *exists = length > 0;
    if (length <= 0 || length >= static_cast<int>(sizeof text) || text[length] != '\0') return "";
    return std::string(text, static_cast<std::size_t>(length));
}

std::vector<unsigned char> ProgramResources::Bytes(LPCSTR type, int id) const {
    HRSRC found = FindResourceA(module_, MAKEINTRESOURCEA(id), type);
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(module_, found);
    const auto* data = static_cast<const unsigned char*>(LockResource(loaded));
    if (data == nullptr) return {};
    return std::vector<unsigned char>(data, data + SizeofResource(module_, found));
}

bool ProgramResources::IsChineseSimplified(LPCSTR type, int id) const {
    return FindResourceExA(module_, type, MAKEINTRESOURCEA(id), kChineseSimplified) != nullptr;
}

bool ReadDialogHeader(const std::vector<unsigned char>& bytes, DialogHeader* header) {
    if (bytes.size() < kMenuAt || At<WORD>(bytes, 0) != 1 ||
        At<WORD>(bytes, kSignatureAt) != 0xFFFF)
        return false;
    header->exStyle = At<DWORD>(bytes, kExStyleAt);
    header->style = At<DWORD>(bytes, kStyleAt);
    header->itemCount = At<WORD>(bytes, kItemCountAt);
    const short x = At<short>(bytes, kRectAt);
    const short y = At<short>(bytes, kRectAt + 2);
    header->rect = {x, y, x + At<short>(bytes, kRectAt + 4), y + At<short>(bytes, kRectAt + 6)};
    std::size_t at = SkipNameOrOrdinal(bytes, kMenuAt);  // menu
    at = SkipNameOrOrdinal(bytes, at);                   // window class
    std::wstring caption;
    at = SkipNameOrOrdinal(bytes, at, &caption);
    header->caption = Utf8(caption);
    if (header->style & DS_SETFONT) {
        header->pointSize = At<WORD>(bytes, at);
        std::wstring font;
        SkipNameOrOrdinal(bytes, at + 6, &font);  // after point size, weight, italic, charset
        header->font = Utf8(font);
    }
    return true;
}

// The copy is made without WS_VISIBLE, so it never shows.
DialogUnits::DialogUnits(const std::vector<unsigned char>& templateBytes, HINSTANCE resources) {
    if (templateBytes.size() < kStyleAt + sizeof(DWORD)) return;
    std::vector<unsigned char> hidden = templateBytes;
    DWORD style = At<DWORD>(hidden, kStyleAt) & ~static_cast<DWORD>(WS_VISIBLE);
    std::memcpy(&hidden[kStyleAt], &style, sizeof style);
    dialog_ = CreateDialogIndirectParamW(
        resources, reinterpret_cast<const DLGTEMPLATE*>(hidden.data()), nullptr, IdleDialogProc, 0);
}

DialogUnits::~DialogUnits() {
    if (dialog_ != nullptr) DestroyWindow(dialog_);
}

// Position and size are mapped each on its own, as the dialog does when it places a control;
// mapping the right and bottom edges instead can be a pixel off.
RECT DialogUnits::ToPixels(int x, int y, int width, int height) const {
    RECT units = {x, y, width, height};
    MapDialogRect(dialog_, &units);
    return {units.left, units.top, units.left + units.right, units.top + units.bottom};
}

}  // namespace quorvel::test
