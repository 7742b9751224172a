// Text forms of the dialog number fields: decimals with grouped digits, and whole numbers in a range.
#pragma once

#include "framework/CString.h"

#include <cstdint>

// Most decimals a field shows.
constexpr int kMaxDecimals = 9;

// value with `decimals` (clamped to 0..9) decimals after a ".", the integer digits grouped by single blanks
// (1 234 567.89). Rounds with 0.4999999, so 2.25 with one decimal gives "2.2"; values beyond 64 bits show as
// the largest 64-bit integer, NaN as 0.
CString FormatDecimal(double value, int decimals);

// Reads what the user typed: blanks anywhere are skipped, one leading "-" negates, "." or "," starts at most
// `decimals` fraction digits; anything else ends the number (no digits give 0). False when the integer part
// does not fit 64 bits (value untouched).
bool ParseDecimal(const char* text, int decimals, double* value);

// Reads a whole number as atoi would (leading blanks, a sign, digits; none give 0). False when it lies outside
// [min, max] (value untouched), so that a reader never stores a wrapped value.
bool ParseWholeNumber(const char* text, int64_t min, int64_t max, int64_t* value);
