#include "text/StrPrintf.h"

#include <gtest/gtest.h>

#include <cstring>

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
// A sink that stops after the first piece.
class StopSink : public FormatSinkA {
public:
    bool Put(const char* text, int length) override {
        got.append(text, (size_t)length);
        return false;
    }
    std::string got;
};
int FormatTo(FormatSinkA& sink, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int n = FormatToSinkA(sink, format, args);
    va_end(args);
    return n;
}
}  // namespace

TEST(StrPrintf, SinkCanStopTheEngine) {
    StopSink sink;
    FormatTo(sink, "head %d tail %s", 1, "x");
    EXPECT_EQ(sink.got, "head ");
}
