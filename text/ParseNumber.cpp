#include "text/ParseNumber.h"

namespace {
int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}
}  // namespace

uint32_t ParseHexNA(const char* text, int length) {
    if (!text) return 0;
    // A negative length means no limit; the NUL still ends the text.
    size_t limit = length < 0 ? (size_t)-1 : (size_t)length;
    size_t i = 0;
    while (i < limit && (text[i] == ' ' || text[i] == '\t')) ++i;
    uint32_t value = 0;
    for (; i < limit; ++i) {
        int d = DigitValue(text[i]);
        if (d > 15) break;
        value = (value << 4) | (uint32_t)d;
    }
    return value;
}

int32_t ParseInt32A(const char* text, int flags, int* consumedOut) {
    if (consumedOut) *consumedOut = 0;
    if (!text) return 0;
    int i = 0;
    while (text[i] == ' ' || text[i] == '\t') ++i;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
    int radix = flags & PI_RADIX_MASK;
    if (radix == 0) {
        radix = 10;
        if (text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') && DigitValue(text[i + 2]) < 16) {
            radix = 16;
            i += 2;
        } else if (text[i] == '0' && (text[i + 1] == 'b' || text[i + 1] == 'B') && DigitValue(text[i + 2]) < 2) {
            radix = 2;
            i += 2;
        }
    } else if (radix < 2 || radix > 36) {
        return 0;
    }
    int start = i;
    uint64_t value = 0;
    for (; DigitValue(text[i]) < radix; ++i) {
        value = value * (uint64_t)radix + (uint64_t)DigitValue(text[i]);
        if (value > 0xFFFFFFFFull) value = 0x100000000ull;  // saturated; keeps reading the digits
    }
    if (i == start) return 0;
    if (consumedOut) *consumedOut = i;
    if (radix == 10) {
        if (negative) return value >= 0x80000000ull ? INT32_MIN : -(int32_t)value;
        return value > 0x7FFFFFFFull ? INT32_MAX : (int32_t)value;
    }
    uint32_t bits = value > 0xFFFFFFFFull ? 0xFFFFFFFFu : (uint32_t)value;
    return negative ? (int32_t)(0u - bits) : (int32_t)bits;
}
