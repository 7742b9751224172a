// Wide texts in the ANSI code page.
#pragma once

#include <string>

// The first `length` characters of text (NULs included) in the ANSI code page, sized by the conversion itself
// (a multibyte code page may need more than a byte a character). A character the code page lacks becomes a
// like one or the default character '?', as the system maps it. length <= 0 gives the empty text (text may
// then be null).
std::string WideToAnsi(const wchar_t* text, int length);
inline std::string WideToAnsi(const std::wstring& text) {
    return WideToAnsi(text.c_str(), static_cast<int>(text.size()));
}
