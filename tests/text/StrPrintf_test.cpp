#include "text/StrPrintf.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstring>
#include <string>

TEST(StrPrintf, FormatsTheGamesNames) {
    char buf[260];
    EXPECT_EQ(StrPrintfA(buf, "%s\\Game%03i\\Info.html", "C:\\Quiz", 7), 25);
    EXPECT_STREQ(buf, "C:\\Quiz\\Game007\\Info.html");
    StrPrintfA(buf, "%s\\Main\\Info.html", "D:");
    EXPECT_STREQ(buf, "D:\\Main\\Info.html");
    StrPrintfA(buf, "COM%i", 3);
    EXPECT_STREQ(buf, "COM3");
    StrPrintfA(buf, "%i", -2147483647 - 1);
    EXPECT_STREQ(buf, "-2147483648");
}

TEST(StrPrintf, AgreesWithTheRuntimeOnFlagsWidthsAndPrecision) {
    struct Case {
        const char* format;
        long long value;
    } cases[] = {{"%5d|", 42}, {"%-5d|", 42}, {"%05d", -42}, {"%+d", 5}, {"% d", 5}, {"%.3d", 7},
                 {"%8.3d", -7}, {"%x", 255}, {"%#X", 255}, {"%#o", 8}, {"%#x", 0}, {"%.0d", 0},
                 {"%u", 4294967295LL}, {"%hhd", 300}, {"%hd", 70000}, {"%o", 511}};
    for (const Case& c : cases) {
        char ours[64], theirs[64];
        StrPrintfNA(ours, sizeof(ours), c.format, (int)c.value);
        snprintf(theirs, sizeof(theirs), c.format, (int)c.value);
        EXPECT_STREQ(ours, theirs) << c.format;
    }
    char buf[64];
    StrPrintfNA(buf, sizeof(buf), "%lld %I64u %llx", -5000000000LL, 18446744073709551615ULL, 0x123456789ALL);
    EXPECT_STREQ(buf, "-5000000000 18446744073709551615 123456789a");
    StrPrintfNA(buf, sizeof(buf), "[%*d] [%-*s] [%.*s]", 4, 1, 3, "a", 2, "xyz");
    EXPECT_STREQ(buf, "[   1] [a  ] [xy]");
    StrPrintfNA(buf, sizeof(buf), "%c%c %5.1f %e %g %%", 'o', 'k', 3.14159, 1500.0, 0.0001);
    EXPECT_STREQ(buf, "ok   3.1 1.500000e+03 0.0001 %");
    StrPrintfNA(buf, sizeof(buf), "%s|%S|%ls", "abc", L"wide", L"\u00e4");
    EXPECT_STREQ(buf, "abc|wide|\xe4");
    StrPrintfNA(buf, sizeof(buf), "%s %q!", (const char*)nullptr);
    EXPECT_STREQ(buf, "(null) %q!");
}

TEST(StrPrintf, BoundedFormattingTruncatesAndTerminates) {
    char buf[8];
    memset(buf, 'X', sizeof(buf));
    EXPECT_EQ(StrPrintfNA(buf, 6, "%s-%d", "abcdef", 12345), 5);
    EXPECT_STREQ(buf, "abcde");
    EXPECT_EQ(buf[6], 'X');
    EXPECT_EQ(StrPrintfNA(buf, 1, "%d", 5), 0);
    EXPECT_STREQ(buf, "");
    buf[0] = 'Q';
    EXPECT_EQ(StrPrintfNA(buf, 0, "%d", 5), 0);
    EXPECT_EQ(buf[0], 'Q');
    // A precision bounds the read of an unterminated text.
    char raw[3] = {'a', 'b', 'c'};
    EXPECT_EQ(StrPrintfNA(buf, sizeof(buf), "%.3s", raw), 3);
    EXPECT_STREQ(buf, "abc");
    // %n writes nothing.
    int n = 77;
    StrPrintfNA(buf, sizeof(buf), "ab%n", &n);
    EXPECT_EQ(n, 77);

    wchar_t wbuf[6];
    EXPECT_EQ(StrPrintfNW(wbuf, 6, L"%s=%hs", L"key", "value"), 5);
    EXPECT_STREQ(wbuf, L"key=v");
}

namespace {
// Collects what the engine writes; a stopping sink refuses more after the first piece.
template <typename Ch>
class CollectSink : public FormatSink<Ch> {
public:
    explicit CollectSink(bool stop = false) : m_stop(stop) {}
    bool Put(const Ch* text, int length) override {
        m_text.append(text, (size_t)length);
        return !m_stop;
    }
    const std::basic_string<Ch>& Text() const { return m_text; }

private:
    std::basic_string<Ch> m_text;
    bool m_stop;
};
int FormatTo(FormatSinkA& sink, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int n = FormatToSinkA(sink, format, args);
    va_end(args);
    return n;
}
int FormatToSink(FormatSinkA& sink, const char* format, va_list args) { return FormatToSinkA(sink, format, args); }
int FormatToSink(FormatSinkW& sink, const wchar_t* format, va_list args) { return FormatToSinkW(sink, format, args); }
template <typename Ch>
std::basic_string<Ch> Formatted(const Ch* format, ...) {
    CollectSink<Ch> sink;
    va_list args;
    va_start(args, format);
    FormatToSink(sink, format, args);
    va_end(args);
    return sink.Text();
}
}  // namespace

TEST(StrPrintf, SinkCanStopTheEngine) {
    CollectSink<char> sink(true);
    FormatTo(sink, "head %d tail %s", 1, "x");
    EXPECT_EQ(sink.Text(), "head ");
}

// Each conversion with each size, sign and flag, as the engine has always written it.
TEST(StrPrintf, EveryConversionKeepsItsOutput) {
    const struct {
        const char* call;
        std::string got, expected;
    } cases[] = {
#define CASE(expected, ...) {#__VA_ARGS__, Formatted(__VA_ARGS__), expected}
        CASE("-1 255 ff", "%hhd %hhu %hhx", 0x1FF, 0x1FF, -1),
        CASE("-32768 32768 177777", "%hd %hu %ho", 0x18000, 0x18000, -1),
        CASE("-7 4294967289 ABCDEF01", "%ld %lu %lX", -7L, -7L, 0xABCDEF01L),
        CASE("-9000000000 18446744073709551615", "%lld %llu", -9000000000LL, -1LL),
        CASE("-1 5 -3 -4 -5", "%jd %qd %zd %td %Id", -1LL, 5LL, (size_t)-3, (ptrdiff_t)-4, (intptr_t)-5),
        CASE("18446744073709551613 18446744073709551611 -6 4294967290 -7",
             "%zu %Iu %I32d %I32u %I64d", (size_t)-3, (uintptr_t)-5, -6, -6, -7LL),
        CASE("-2147483648 0 12", "%i %d %Ld", -2147483647 - 1, 0, 12),
        CASE("[   +3] [+3   ] [ 0003] [3] [3]", "[%+5d] [%-+5d] [% 05d] [%+u] [% x]", 3, 3, 3, 3u, 3u),
        CASE("[     005] [5       ] [0x00001a] [010] [0] [] [0]",
             "[%08.3d] [%-08d] [%#08x] [%#.3o] [%#o] [%.0x] [%#.0o]", 5, 5, 26, 8, 0, 0, 0),
        CASE("[1   ] [1   ] [7] [007]", "[%*d] [%-*d] [%.*d] [%.*d]", -4, 1, -4, 1, -2, 7, 3, 7),
        CASE("[1] [%5] [%!d]", "[%*d] [%5] [%!d]", -2147483647 - 1, 1, 2),
        CASE("[0000000000001234] [00000000000000AB    ] [    0000000000000000]",
             "[%p] [%-20p] [%020p]", (void*)0x1234, (void*)0xAB, (void*)nullptr),
        CASE("[a] [  b] [c  ] [\xE4] [x] [  y] [z]",
             "[%c] [%3c] [%-3c] [%lc] [%C] [%3lc] [%hc]", 'a', 'b', 'c', L'\u00e4', L'x', L'y', 'z'),
        CASE("[ab] [   ab] [ab   ] [ab] [h] [w] [\xFC] [x] [(null)]",
             "[%s] [%5s] [%-5s] [%.2s] [%hs] [%ls] [%S] [%.1ls] [%6S]", "ab", "ab", "ab", "abc", "h", L"w", L"\u00fc",
             L"xy", (const wchar_t*)nullptr),
        CASE("[1.500000] [-2.250000] [1.234568e+04] [1.200000E-04] [1e+20] [1E-20] [0x1.000000p+0] [0X1.000000P-1]",
             "[%f] [%F] [%e] [%E] [%g] [%G] [%a] [%A]", 1.5, -2.25, 12345.678, 0.00012, 1e20, 1e-20, 1.0, 0.5),
        CASE("[+1.00] [2.500e+00] [-0000003.2] [4.] [6.500000] [7.12]",
             "[%+.2f] [%-9.3e] [% 010.1f] [%#.0f] [%Lf] [%.*f]", 1.005, 2.5, -3.25, 4.0, (long double)6.5, 2, 7.125),
        CASE("[%] [] [%] [%k] [%ll] [%hhq]", "[%5%] [%n] [%%] [%k] [%ll] [%hhq]", (int*)nullptr),
        CASE("1 x %", "%d %s %", 1, "x"),
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.expected) << c.call;

    const struct {
        const char* call;
        std::wstring got, expected;
    } wide[] = {
        CASE(L"-1 4294967295 ff -3 0000000000000010", L"%d %u %x %lld %p", -1, -1, 255u, -3LL, (void*)0x10),
        CASE(L"[\xE4] [b] [c] [\xE4] [  d]", L"[%c] [%lc] [%hc] [%C] [%3hc]", L'\u00e4', L'b', 'c', '\xe4', 'd'),
        CASE(L"[w] [x] [n] [\xFC] [ab  ] [c] [(null)]",
             L"[%s] [%ls] [%hs] [%S] [%-4hs] [%.1S] [%s]", L"w", L"x", "n", "\xfc", "ab", "cd",
             (const wchar_t*)nullptr),
        CASE(L"[  3.14] [1.000000e+02] [%] [%q]", L"[%6.2f] [%e] [%5%] [%q]", 3.14159, 100.0),
    };
#undef CASE
    for (const auto& c : wide) EXPECT_EQ(c.got, c.expected) << c.call;
}
