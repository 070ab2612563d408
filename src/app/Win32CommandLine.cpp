#include "app/Win32CommandLine.h"

#include <windows.h>

#include <shellapi.h>  // needs <windows.h> first

#include <cstring>

namespace quorvel {

std::vector<std::wstring> SplitCommandLine(const char* commandLine) {
    const int length = static_cast<int>(std::strlen(commandLine));
    std::vector<wchar_t> wide(static_cast<std::size_t>(length) + 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, commandLine, length, wide.data(), length + 1);

    int count = 0;
    LPWSTR* pieces = CommandLineToArgvW(wide.data(), &count);
    if (pieces == nullptr) return {};
    std::vector<std::wstring> arguments(pieces, pieces + count);
    LocalFree(pieces);
    return arguments;
}

}  // namespace quorvel
