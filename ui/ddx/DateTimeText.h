// Dates and times typed freely as text ("5.3.24", "2024-03-05", "März 5", "9:05") and their display forms
// ("Mo 5.März 2024", "09:05:07"). Pure functions: the parsers take "now" from the caller.
#pragma once

#include <windows.h>

#include <cstddef>

struct DateRecord {
    WORD year;
    WORD month;
    WORD day;
};

struct TimeRecord {
    WORD hour;
    WORD minute;
    WORD second;
};

struct DateTimeRecord {
    DateRecord date;
    TimeRecord time;
};

// FormatDate format bits.
constexpr int kDateWithWeekday = 1;
constexpr int kDateEnglishNames = 2;

// A token holds at most 7 characters; longer runs spill into the next token.
constexpr int kDateTokenSize = 8;
using DateToken = char[kDateTokenSize];

// Splits at blanks, line feeds, tabs and : , / * . ; - and where digits follow letters into at most maxTokens
// tokens. Returns their number.
int SplitDateTokens(const char* text, DateToken* tokens, int maxTokens);

// A number 1-12, or a German or English month name (case-insensitive, any unambiguous beginning such as "Mär",
// "Okt", "Dec"; an abbreviated name also matches the longer word). 0 when nothing or more than one month fits.
int ParseMonth(const char* text);

// 0 Monday .. 6 Sunday for the years 1901-2099; month 0 counts as January. 7 (the "?? " name) when the month
// is above 12 or the day is not 1..31.
int DayOfWeek(int day, int month, int year);

// Weekday name (index 0-7) and month name (index 0-15; 0 and 13-15 are "??? "), trailing blank or period
// included; other indices give the unknown entries.
const char* WeekdayName(int index, bool english);
const char* MonthName(int index, bool english);

// "[weekday ]day.monthyear", for example "Mo 5.Jan.2026" or "5.März 2024". Writes at most size - 1
// characters and a NUL; returns the length written.
int FormatDate(char* text, size_t size, const DateRecord& date, int format);
// "hh:mm:ss" or "hh:mm" (hour taken mod 24, minute and second mod 60). Returns the length written (8 or 5
// when the buffer holds 9 or 6 characters).
int FormatTime(char* text, size_t size, const TimeRecord& time, bool noSeconds);

// Reads at most four tokens: a leading weekday name is dropped; with fewer than three parts the rest comes
// from `today`; "März 5" and "2024-03-05" are understood; two-digit years become 2000-2029 or 1930-1999.
// Months are kept in 1..12 and days in 1..31. Returns the number of parts found (0-3); tokensUsed (optional)
// receives the tokens the date took, weekday name included. A month word that names no month (or several)
// gives -1 and leaves the record and tokensUsed alone.
int ParseDate(const char* text, DateRecord* date, const SYSTEMTIME& today, int* tokensUsed = nullptr);
// Hours, minutes and seconds from the tokens after the first skipTokens; with fewer than three parts the
// rest comes from `now`. Returns the number of parts found (0-3).
int ParseTime(const char* text, TimeRecord* time, int skipTokens, const SYSTEMTIME& now);

// Today in local time (the "now" of the dialog fields).
SYSTEMTIME LocalNow();
