#include "ui/ddx/DecimalText.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int kMaxGroupBlanks = 4;

int64_t PowerOfTen(int exponent) {
    int64_t result = 1;
    while (exponent-- > 0) result *= 10;
    return result;
}

// Digits of value with a blank before every third digit from the right, at most four blanks.
CString GroupedDigits(uint64_t value) {
    char digits[24];
    const int length = std::snprintf(digits, sizeof digits, "%llu", static_cast<unsigned long long>(value));
    int blanks = (length - 1) / 3;
    if (blanks > kMaxGroupBlanks) blanks = kMaxGroupBlanks;
    const int head = length - 3 * blanks;
    CString text(digits, head);
    for (int group = 0; group < blanks; ++group) {
        text += ' ';
        text += CString(digits + head + 3 * group, 3);
    }
    return text;
}

// Adds a digit to a magnitude that must stay within limit; false on overflow.
bool AddDigit(uint64_t* magnitude, int digit, uint64_t limit) {
    if (*magnitude > (limit - static_cast<uint64_t>(digit)) / 10) return false;
    *magnitude = *magnitude * 10 + static_cast<uint64_t>(digit);
    return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

CString FormatDecimal(double value, int decimals) {
    if (decimals < 0) decimals = 0;
    if (decimals > kMaxDecimals) decimals = kMaxDecimals;
    const int64_t scale = PowerOfTen(decimals);
    const double scaled = std::fabs(value) * static_cast<double>(scale) + 0.4999999;
    int64_t n = 0;
    if (scaled >= 9223372036854775807.0)
        n = INT64_MAX;
    else if (scaled >= 0)  // false for NaN
        n = static_cast<int64_t>(scaled);
    CString text = value < 0 ? "-" : "";
    text += GroupedDigits(static_cast<uint64_t>(n / scale));
    if (decimals >= 1) {
        char fraction[24];
        const int length = std::snprintf(fraction, sizeof fraction, "%lld", static_cast<long long>(scale + n % scale));
        text += '.';
        text += fraction + length - decimals;
    }
    return text;
}

bool ParseDecimal(const char* text, int decimals, double* value) {
    if (decimals < 0) decimals = 0;
    if (decimals > kMaxDecimals) decimals = kMaxDecimals;
    if (!text) text = "";
    auto skipBlanks = [&text] {
        while (*text == ' ') ++text;
    };
    skipBlanks();
    const bool negative = *text == '-';
    if (negative) ++text;
    uint64_t integer = 0;
    for (skipBlanks(); IsDigit(*text); skipBlanks()) {
        if (!AddDigit(&integer, *text++ - '0', INT64_MAX)) return false;
    }
    int64_t fraction = 0;
    int fractionDigits = 0;
    if (*text == '.' || *text == ',') {
        ++text;
        for (skipBlanks(); fractionDigits < decimals && IsDigit(*text); skipBlanks()) {
            fraction = fraction * 10 + (*text++ - '0');
            ++fractionDigits;
        }
    }
    const double result = static_cast<double>(fraction) / static_cast<double>(PowerOfTen(fractionDigits)) +
                          static_cast<double>(integer);
    *value = negative ? -result : result;
    return true;
}

bool ParseWholeNumber(const char* text, int64_t min, int64_t max, int64_t* value) {
    if (!text) text = "";
    while (*text == ' ' || *text == '\t') ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    // The magnitude may reach 2^63 for the most negative value.
    const uint64_t limit = negative ? static_cast<uint64_t>(INT64_MAX) + 1 : static_cast<uint64_t>(INT64_MAX);
    uint64_t magnitude = 0;
    for (; IsDigit(*text); ++text) {
        if (!AddDigit(&magnitude, *text - '0', limit)) return false;
    }
    const int64_t result = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    if (result < min || result > max) return false;
    *value = result;
    return true;
}
