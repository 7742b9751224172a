#include "ui/ddx/DateTimeText.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char* const kWeekdaysGerman[8] = {"Mo ", "Di ", "Mi ", "Do ", "Fr ", "Sa ", "So ", "?? "};
const char* const kWeekdaysEnglish[8] = {"Mo ", "Tu ", "We ", "Th ", "Fr ", "Sa ", "So ", "?? "};
const char* const kMonthsGerman[16] = {"??? ", "Jan.",  "Feb.", "März ", "April ", "Mai ", "Juni ", "Juli ",
                                       "Aug.", "Sep.",  "Okt.", "Nov.",  "Dez.",   "??? ", "??? ",  "??? "};
const char* const kMonthsEnglish[16] = {"??? ", "Jan.",  "Feb.", "March", "April ", "May ", "June ", "July ",
                                        "Aug.", "Seb.",  "Oct.", "Nov.",  "Dec.",   "??? ", "??? ", "??? "};
constexpr int kMonthLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool IsSeparator(char c) { return c && std::strchr(" \n\t:,/*.;-", c); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Case folding for ASCII and the Windows-1252 accented letters (Ä to ä and so on).
unsigned char Fold(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) return u + 0x20;
    return u;
}

bool IsNameLetter(char c) { return c && c != ' ' && c != '.'; }

// The typed word fits the name: it is a beginning of the name's letters, or the name is abbreviated (ends
// in ".") and its letters begin the typed word.
bool WordFitsName(const char* typed, const char* name) {
    int i = 0;
    while (IsNameLetter(typed[i]) && IsNameLetter(name[i]) && Fold(typed[i]) == Fold(name[i])) ++i;
    if (!IsNameLetter(typed[i])) return true;
    return !IsNameLetter(name[i]) && name[i] == '.';
}

int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

void Swap(DateToken& a, DateToken& b) {
    DateToken t;
    std::memcpy(t, a, sizeof t);
    std::memcpy(a, b, sizeof t);
    std::memcpy(b, t, sizeof t);
}

int ExpandYear(int year) {
    if (year < 100) return year < 30 ? 2000 + year : 1900 + year;
    return year;
}

int Written(int length, size_t size) {
    if (length < 0 || size == 0) return 0;
    return static_cast<size_t>(length) < size ? length : static_cast<int>(size - 1);
}

}  // namespace

int SplitDateTokens(const char* text, DateToken* tokens, int maxTokens) {
    int count = 0;
    if (!text) return 0;
    while (count < maxTokens) {
        while (IsSeparator(*text)) ++text;
        if (!*text) break;
        int length = 0;
        // A word ends where digits follow its letters ("March2024").
        while (*text && !IsSeparator(*text) && length < kDateTokenSize - 1 &&
               !(length && IsDigit(*text) && !IsDigit(text[-1])))
            tokens[count][length++] = *text++;
        tokens[count++][length] = 0;
    }
    return count;
}

int ParseMonth(const char* text) {
    if (!text) return 0;
    const int number = std::atoi(text);
    if (number) return number;
    while (*text == ' ') ++text;
    if (!IsNameLetter(*text)) return 0;
    int found = 0;
    for (int month = 1; month <= 12; ++month) {
        if (!WordFitsName(text, kMonthsGerman[month]) && !WordFitsName(text, kMonthsEnglish[month])) continue;
        if (found) return 0;
        found = month;
    }
    return found;
}

int DayOfWeek(int day, int month, int year) {
    if (month < 0 || month > 12 || day < 1 || day > 31) return 7;
    int days = (year + 3) / 4 + year + 4;  // weekday of 1 January
    for (int m = 1; m < month; ++m) days += kMonthLengths[m - 1] + (m == 2 && year % 4 == 0 ? 1 : 0);
    const int weekday = (days + day - 1) % 7;
    return weekday < 0 ? weekday + 7 : weekday;
}

const char* WeekdayName(int index, bool english) {
    if (index < 0 || index > 7) index = 7;
    return english ? kWeekdaysEnglish[index] : kWeekdaysGerman[index];
}

const char* MonthName(int index, bool english) {
    if (index < 0 || index > 15) index = 0;
    return english ? kMonthsEnglish[index] : kMonthsGerman[index];
}

int FormatDate(char* text, size_t size, const DateRecord& date, int format) {
    if (!text || size == 0) return 0;
    const bool english = (format & kDateEnglishNames) != 0;
    const char* weekday =
        (format & kDateWithWeekday) ? WeekdayName(DayOfWeek(date.day, date.month, date.year), english) : "";
    return Written(std::snprintf(text, size, "%s%u.%s%u", weekday, date.day, MonthName(date.month, english), date.year),
                   size);
}

int FormatTime(char* text, size_t size, const TimeRecord& time, bool noSeconds) {
    if (!text || size == 0) return 0;
    const int length = noSeconds ? std::snprintf(text, size, "%02u:%02u", time.hour % 24u, time.minute % 60u)
                                 : std::snprintf(text, size, "%02u:%02u:%02u", time.hour % 24u, time.minute % 60u,
                                                 time.second % 60u);
    return Written(length, size);
}

int ParseDate(const char* text, DateRecord* date, const SYSTEMTIME& today, int* tokensUsed) {
    DateToken storage[4];
    DateToken* tokens = storage;
    int count = SplitDateTokens(text, storage, 4);
    int dropped = 0;
    // A weekday name in front (not a month name: "März 5" is a date).
    if (count > 0 && !IsDigit(tokens[0][0]) && ParseMonth(tokens[0]) == 0) {
        ++tokens;
        --count;
        dropped = 1;
    }
    if (count > 3) count = 3;
    int day = today.wDay, month = today.wMonth, year = today.wYear;
    if (count == 2 && !IsDigit(tokens[0][0]) && IsDigit(tokens[1][0])) Swap(tokens[0], tokens[1]);
    if (count == 3 && std::atoi(tokens[0]) >= 1000 && std::atoi(tokens[2]) < 32) Swap(tokens[0], tokens[2]);
    if (count >= 1) day = std::atoi(tokens[0]);
    if (count >= 2) {
        month = ParseMonth(tokens[1]);
        // A name that fits no month (or more than one) is no date.
        if (!month && !IsDigit(tokens[1][0])) return -1;
        if (count == 2 && month >= 13 && day < 13) {
            const int swapped = day;
            day = month;
            month = swapped;
        }
    }
    if (count == 3) year = ExpandYear(std::atoi(tokens[2]));
    date->day = static_cast<WORD>(Clamp(day, 1, 31));
    date->month = static_cast<WORD>(Clamp(month, 1, 12));
    date->year = static_cast<WORD>(Clamp(year, 1, 9999));
    if (tokensUsed) *tokensUsed = dropped + count;
    return count;
}

int ParseTime(const char* text, TimeRecord* time, int skipTokens, const SYSTEMTIME& now) {
    if (skipTokens < 0) skipTokens = 0;
    if (skipTokens > 8) skipTokens = 8;
    DateToken tokens[11];
    const int count = SplitDateTokens(text, tokens, skipTokens + 3) - skipTokens;
    const DateToken* parts = tokens + skipTokens;
    int values[3] = {now.wHour, now.wMinute, now.wSecond};
    for (int i = 0; i < count; ++i) values[i] = std::atoi(parts[i]);
    time->hour = static_cast<WORD>(values[0] % 24);
    time->minute = static_cast<WORD>(values[1] % 60);
    time->second = static_cast<WORD>(values[2] % 60);
    return count > 0 ? count : 0;
}

SYSTEMTIME LocalNow() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return now;
}
