#include "ui/ddx/DateTimeText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

namespace {

SYSTEMTIME At(WORD year, WORD month, WORD day, WORD hour = 12, WORD minute = 34, WORD second = 56) {
    return {year, month, 0, day, hour, minute, second, 0};
}

std::tuple<WORD, WORD, WORD> Fields(const DateRecord& d) { return {d.year, d.month, d.day}; }
std::tuple<WORD, WORD, WORD> Fields(const TimeRecord& t) { return {t.hour, t.minute, t.second}; }

std::vector<std::string> Tokens(const char* text, int max) {
    DateToken tokens[8];
    const int n = SplitDateTokens(text, tokens, max);
    return std::vector<std::string>(tokens, tokens + n);
}

}  // namespace

TEST(DateTimeText, SplitsAtEverySeparatorIntoSevenCharacterTokens) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Tokens("Mo 5.Jan.2026", 8), (V{"Mo", "5", "Jan", "2026"}));
    EXPECT_EQ(Tokens(" 1:2,3/4*5.6;7-8\t9\n0", 8), (V{"1", "2", "3", "4", "5", "6", "7", "8"}));
    EXPECT_EQ(Tokens("September 5", 8), (V{"Septemb", "er", "5"}));
    EXPECT_EQ(Tokens("5.March2024", 8), (V{"5", "March", "2024"}));  // where letters meet digits
    EXPECT_EQ(Tokens("1 2 3", 2), (V{"1", "2"}));
    EXPECT_EQ(Tokens("", 4), V{});
}

TEST(DateTimeText, MonthsByNumberOrUnambiguousName) {
    struct Case {
        const char* text;
        int month;
    } cases[] = {{"3", 3},     {"13", 13},    {"März", 3},   {"mär", 3},  {"MÄRZ", 3}, {"Mar", 3},   {"Ma", 0},
                 {"Ju", 0},    {"Jul", 7},    {"Juni", 6},   {"June", 6}, {"Okt", 10}, {"oct", 10},  {"Se", 9},
                 {"Januar", 1}, {"Dezembe", 12}, {"  Feb", 2}, {"Mayday", 0}, {"xyz", 0}, {"", 0},    {"Mo", 0}};
    for (const Case& c : cases) EXPECT_EQ(ParseMonth(c.text), c.month) << c.text;
}

TEST(DateTimeText, WeekdaysFrom1901To2099AndUnknownForInvalidDates) {
    struct Case {
        int day, month, year, weekday;
    } cases[] = {{1, 1, 2024, 0},  {5, 1, 2026, 0},  {29, 2, 2024, 3}, {1, 3, 2024, 4}, {1, 3, 2023, 2},
                 {31, 12, 2099, 3}, {1, 1, 1901, 1}, {1, 0, 2024, 0},  {1, 13, 2024, 7}, {0, 5, 2024, 7},
                 {32, 5, 2024, 7},  {1, -1, 2024, 7}};
    for (const Case& c : cases) EXPECT_EQ(DayOfWeek(c.day, c.month, c.year), c.weekday) << c.day << '.' << c.month;
}

TEST(DateTimeText, FormatsDatesWithTheirNamesAndStaysInsideTheBuffer) {
    char text[32];
    struct Case {
        DateRecord date;
        int format;
        const char* text;
    } cases[] = {
        {{2026, 1, 5}, 1, "Mo 5.Jan.2026"},       {{2024, 3, 5}, 0, "5.März 2024"},
        {{2024, 3, 5}, 2, "5.March2024"},         {{2024, 3, 5}, 3, "Tu 5.March2024"},
        {{2024, 3, 5}, 1, "Di 5.März 2024"},      {{2024, 9, 1}, 2, "1.Seb.2024"},
        {{2024, 13, 5}, 1, "?? 5.??? 2024"},      {{2024, 0, 0}, 1, "?? 0.??? 2024"},
        {{2024, 65535, 5}, 0, "5.??? 2024"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatDate(text, sizeof text, c.date, c.format), (int)strlen(c.text));
        EXPECT_STREQ(text, c.text);
    }
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(FormatDate(text, 6, {2026, 1, 5}, 1), 5);
    EXPECT_STREQ(text, "Mo 5.");
    EXPECT_EQ(text[6], 'x');
}

TEST(DateTimeText, FormatsTimesWithTwoDigitsEach) {
    struct Case { TimeRecord time; bool noSeconds; int size; const char* text; } cases[] = {
        {{9, 5, 7}, false, 16, "09:05:07"}, {{9, 5, 7}, true, 16, "09:05"}, {{25, 61, 600}, false, 16, "01:01:00"},
        {{9, 5, 7}, false, 4, "09:"}};
    for (const Case& c : cases) {
        char text[16];
        EXPECT_EQ(FormatTime(text, c.size, c.time, c.noSeconds), (int)strlen(c.text)) << c.text;
        EXPECT_STREQ(text, c.text);
    }
}

TEST(DateTimeText, ParsesDatesAgainstAnInjectedToday) {
    const SYSTEMTIME today = At(2025, 6, 15);
    struct Case {
        const char* text;
        int parts, used;
        DateRecord date;
    } cases[] = {
        {"5.3.24", 3, 3, {2024, 3, 5}},     {"5.3.75", 3, 3, {1975, 3, 5}},      {"2024-03-05", 3, 3, {2024, 3, 5}},
        {"März 5", 2, 2, {2025, 3, 5}},     {"5 märz", 2, 2, {2025, 3, 5}},      {"Mo 5.Jan.2026", 3, 4, {2026, 1, 5}},
        {"Di 5.3", 2, 3, {2025, 3, 5}},     {"", 0, 0, {2025, 6, 15}},           {"7", 1, 1, {2025, 6, 7}},
        {"3 25", 2, 2, {2025, 3, 25}},      {"29.1.29", 3, 3, {2029, 1, 29}},    {"1.1.30", 3, 3, {1930, 1, 1}},
        {"1.1.99", 3, 3, {1999, 1, 1}},     {"1.1.100", 3, 3, {100, 1, 1}},      {"1.1.0", 3, 3, {2000, 1, 1}},
        // Months stay 1..12 and days 1..31 whatever was typed (low-bit storage used to give 13-15 or 0).
        {"5.13.24", 3, 3, {2024, 12, 5}},   {"5.17.24", 3, 3, {2024, 12, 5}},    {"5.0.24", 3, 3, {2024, 1, 5}},
        {"0.5.24", 3, 3, {2024, 5, 1}},     {"32.5.24", 3, 3, {2024, 5, 31}},    {"40.5", 2, 2, {2025, 5, 31}},
        {"5 15", 2, 2, {2025, 5, 15}},      {"15 15", 2, 2, {2025, 12, 15}},     {"1.1.99999", 3, 3, {9999, 1, 1}},
        {"2024.3.31", 3, 3, {2024, 3, 31}},
    };
    for (const Case& c : cases) {
        DateRecord date = {};
        int used = -1;
        EXPECT_EQ(ParseDate(c.text, &date, today, &used), c.parts) << c.text;
        EXPECT_EQ(used, c.used) << c.text;
        EXPECT_EQ(Fields(date), Fields(c.date)) << c.text;
    }
}

TEST(DateTimeText, ParsesTimesAfterSkippedTokensAgainstAnInjectedNow) {
    const SYSTEMTIME now = At(2025, 6, 15, 12, 34, 56);
    struct Case {
        const char* text;
        int skip, parts;
        TimeRecord time;
    } cases[] = {
        {"9:05", 0, 2, {9, 5, 56}},         {"9:5:7", 0, 3, {9, 5, 7}},   {"25:61:75", 0, 3, {1, 1, 15}},
        {"5.3.2024 10:20:30", 3, 3, {10, 20, 30}}, {"", 0, 0, {12, 34, 56}}, {"5.3.2024", 3, 0, {12, 34, 56}},
        {"1 2 3", 99, 0, {12, 34, 56}},
    };
    for (const Case& c : cases) {
        TimeRecord time = {};
        EXPECT_EQ(ParseTime(c.text, &time, c.skip, now), c.parts) << c.text;
        EXPECT_EQ(Fields(time), Fields(c.time)) << c.text;
    }
}
