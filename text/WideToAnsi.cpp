#include "text/WideToAnsi.h"

#include <windows.h>

std::string WideToAnsi(const wchar_t* text, int length) {
    if (length <= 0) return std::string();
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string ansi(size > 0 ? static_cast<size_t>(size) : 0, '\0');
    if (size > 0) ::WideCharToMultiByte(CP_ACP, 0, text, length, ansi.data(), size, nullptr, nullptr);
    return ansi;
}
