#include "ui/dialogs/NumberInputText.h"

#include <cstdlib>
#include <cstring>

namespace {

// Unsigned digits of value in a base (upper-case letters).
CString Digits(uint32_t value, unsigned base) {
    char buffer[40];
    char* p = buffer + sizeof buffer - 1;
    *p = 0;
    do {
        const unsigned digit = value % base;
        *--p = static_cast<char>(digit < 10 ? '0' + digit : 'A' + digit - 10);
        value /= base;
    } while (value);
    return CString(p);
}

size_t LeadingRun(const char* text, const char* set) { return std::strspn(text, set); }

}  // namespace

CString FormatNumberInput(int32_t value, int format) {
    const uint32_t pattern = static_cast<uint32_t>(value);
    switch (format) {
    case 0: return value < 0 ? "-" + Digits(0u - pattern, 10) : Digits(pattern, 10);
    case 1: return "0x" + Digits(pattern, 16);
    case 2: return "0b" + Digits(pattern, 2);
    case 3: return "0o" + Digits(pattern, 8);
    case 4: return Digits(pattern, 16) + "h";
    case 5: return Digits(pattern, 2) + "b";
    case 6: return Digits(pattern, 8) + "o";
    default: return Digits(pattern, 10);
    }
}

int32_t ParseNumberInput(const char* text) {
    if (!text) return 0;
    text += LeadingRun(text, " \t");
    bool negative = false;
    if (*text == '-' || *text == '+') {
        negative = *text == '-';
        ++text;
    }
    // strtoul's unsigned long is 32 bits here, so values beyond 32 bits saturate as the dialog promises.
    auto convert = [negative](const char* digits, int base) {
        const uint32_t magnitude = static_cast<uint32_t>(std::strtoul(digits, nullptr, base));
        return static_cast<int32_t>(negative ? 0u - magnitude : magnitude);
    };
    if (text[0] == '0') {
        switch (text[1]) {
        case 'x': case 'X': return convert(text + 2, 16);
        case 'o': case 'O': return convert(text + 2, 8);
        case 'b': case 'B': return convert(text + 2, 2);
        }
    }
    const size_t hex = LeadingRun(text, "0123456789abcdefABCDEF");
    const size_t octal = LeadingRun(text, "01234567");
    const size_t binary = LeadingRun(text, "01");
    int base = 10;
    if (hex > 0 && (text[hex] == 'h' || text[hex] == 'H'))
        base = 16;
    else if (octal > 0 && (text[octal] == 'o' || text[octal] == 'O'))
        base = 8;
    else if (binary > 0 && (text[binary] == 'b' || text[binary] == 'B'))
        base = 2;
    return convert(text, base);
}
