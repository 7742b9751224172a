// The printf engine behind StrPrintfA and every formatting sink.
#include "text/FormatSink.h"
#include "text/WideToAnsi.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

enum class Size { Default, Char, Short, Long, LongLong, Pointer, LongDouble };

struct Conversion {
    bool minus = false, plus = false, space = false, hash = false, zero = false;
    int width = 0;
    int precision = -1;
    Size size = Size::Default;
    bool wide = false;   // %ls / %lc / %C / %S in the ANSI engine (or %ls/%s in the wide engine)
    bool narrow = false;  // %hs / %hc
};

template <typename Ch>
class Writer {
public:
    explicit Writer(FormatSink<Ch>& sink) : m_sink(sink) {}
    void Put(const Ch* text, int n) {
        if (m_stopped || n <= 0) return;
        m_count += n;
        if (!m_sink.Put(text, n)) m_stopped = true;
    }
    void Fill(Ch c, int n) {
        Ch buf[32];
        for (auto& b : buf) b = c;
        while (n > 0 && !m_stopped) {
            int k = n < 32 ? n : 32;
            Put(buf, k);
            n -= k;
        }
    }
    // Left or right padding of a piece of the given length.
    void PadBefore(const Conversion& s, int length) {
        if (!s.minus && s.width > length) Fill(Ch(' '), s.width - length);
    }
    void PadAfter(const Conversion& s, int length) {
        if (s.minus && s.width > length) Fill(Ch(' '), s.width - length);
    }
    bool Stopped() const { return m_stopped; }
    int Count() const { return m_count; }

private:
    FormatSink<Ch>& m_sink;
    int m_count = 0;
    bool m_stopped = false;
};

template <typename Ch>
void PutPadded(Writer<Ch>& w, const Conversion& s, const Ch* text, int n) {
    w.PadBefore(s, n);
    w.Put(text, n);
    w.PadAfter(s, n);
}

// An integer argument as its magnitude and sign.
struct Integer {
    uint64_t magnitude;
    bool negative;
};

template <typename Ch>
void FormatInteger(Writer<Ch>& w, const Conversion& s, Integer n, int base, bool upper) {
    const uint64_t value = n.magnitude;
    Ch digits[72];
    int nd = 0;
    const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    for (uint64_t v = value; v; v /= (uint64_t)base) digits[sizeof(digits) / sizeof(Ch) - 1 - nd++] = Ch(set[v % base]);
    const Ch* first = digits + sizeof(digits) / sizeof(Ch) - nd;
    int minDigits = s.precision < 0 ? 1 : s.precision;
    if (base == 8 && s.hash && minDigits <= nd) minDigits = nd + 1;  // "%#o" always leads with 0
    if (value == 0 && s.precision == 0 && !(base == 8 && s.hash)) minDigits = 0;
    Ch prefix[2];
    int np = 0;
    if (n.negative) prefix[np++] = Ch('-');
    else if (s.plus) prefix[np++] = Ch('+');
    else if (s.space) prefix[np++] = Ch(' ');
    if (base == 16 && s.hash && value) {
        prefix[np++] = Ch('0');
        prefix[np++] = Ch(upper ? 'X' : 'x');
    }
    int zeros = minDigits > nd ? minDigits - nd : 0;
    int total = np + zeros + nd;
    if (s.zero && !s.minus && s.precision < 0 && s.width > total) {
        zeros += s.width - total;
        total = s.width;
    }
    w.PadBefore(s, total);
    w.Put(prefix, np);
    w.Fill(Ch('0'), zeros);
    w.Put(first, nd);
    w.PadAfter(s, total);
}

// An ANSI text in UTF-16, for the wide engine (WideToAnsi goes the other way).
std::wstring Widen(const char* text, int n) {
    std::wstring out;
    if (n <= 0) return out;
    int len = MultiByteToWideChar(CP_ACP, 0, text, n, nullptr, 0);
    out.resize((size_t)len);
    MultiByteToWideChar(CP_ACP, 0, text, n, out.data(), len);
    return out;
}

// Length of a text, looking at no more than `limit` characters (precision bounds the read).
template <typename T>
int BoundedLength(const T* text, int limit) {
    int n = 0;
    while ((limit < 0 || n < limit) && text[n]) ++n;
    return n;
}

template <typename Ch, typename T>
void FormatText(Writer<Ch>& w, const Conversion& s, const T* text) {
    static const T nullText[] = {T('('), T('n'), T('u'), T('l'), T('l'), T(')'), T(0)};
    if (!text) text = nullText;
    int n = BoundedLength(text, s.precision);
    if constexpr (sizeof(Ch) == sizeof(T)) {
        PutPadded(w, s, (const Ch*)text, n);
    } else if constexpr (sizeof(Ch) == 1) {
        std::string t = WideToAnsi(text, n);
        PutPadded(w, s, t.data(), (int)t.size());
    } else {
        std::wstring t = Widen(text, n);
        PutPadded(w, s, t.data(), (int)t.size());
    }
}

template <typename Ch>
void FormatFloat(Writer<Ch>& w, const Conversion& s, Ch conv, double value) {
    char fmt[16];
    int k = 0;
    fmt[k++] = '%';
    if (s.minus) fmt[k++] = '-';
    if (s.plus) fmt[k++] = '+';
    if (s.space) fmt[k++] = ' ';
    if (s.hash) fmt[k++] = '#';
    if (s.zero) fmt[k++] = '0';
    fmt[k++] = '*';
    fmt[k++] = '.';
    fmt[k++] = '*';
    fmt[k++] = (char)conv;
    fmt[k] = 0;
    int precision = s.precision < 0 ? 6 : s.precision;
    int len = snprintf(nullptr, 0, fmt, s.width, precision, value);
    if (len <= 0) return;
    std::string text((size_t)len + 1, '\0');
    snprintf(text.data(), text.size(), fmt, s.width, precision, value);
    for (int i = 0; i < len; ++i) {
        Ch c = Ch((unsigned char)text[(size_t)i]);
        w.Put(&c, 1);
    }
}

// Parsing of one conversion after its '%': flags, width, precision, size. A '*' takes its number from the
// arguments; a negative width means left-justified, a negative precision none.
template <typename Ch>
const Ch* ParseFlags(const Ch* p, Conversion& s) {
    for (;; ++p) {
        if (*p == Ch('-')) s.minus = true;
        else if (*p == Ch('+')) s.plus = true;
        else if (*p == Ch(' ')) s.space = true;
        else if (*p == Ch('#')) s.hash = true;
        else if (*p == Ch('0')) s.zero = true;
        else return p;
    }
}

template <typename Ch>
const Ch* ParseCount(const Ch* p, int& count) {
    for (; *p >= Ch('0') && *p <= Ch('9'); ++p)
        if (count < 100000000) count = count * 10 + (*p - Ch('0'));
    return p;
}

template <typename Ch>
const Ch* ParseWidth(const Ch* p, Conversion& s, va_list* args) {
    if (*p != Ch('*')) return ParseCount(p, s.width);
    s.width = va_arg(*args, int);
    if (s.width < 0) {
        s.minus = true;
        s.width = s.width == INT32_MIN ? 0 : -s.width;
    }
    return p + 1;
}

template <typename Ch>
const Ch* ParsePrecision(const Ch* p, Conversion& s, va_list* args) {
    if (*p != Ch('.')) return p;
    s.precision = 0;
    if (*++p != Ch('*')) return ParseCount(p, s.precision);
    s.precision = va_arg(*args, int);
    if (s.precision < 0) s.precision = -1;
    return p + 1;
}

template <typename Ch>
const Ch* ParseSize(const Ch* p, Conversion& s) {
    if (*p == Ch('h')) {
        s.narrow = true;
        s.size = Size::Short;
        if (*++p == Ch('h')) s.size = Size::Char, ++p;
    } else if (*p == Ch('l')) {
        s.wide = true;
        s.size = Size::Long;
        if (*++p == Ch('l')) s.size = Size::LongLong, ++p;
    } else if (*p == Ch('L')) {
        s.size = Size::LongDouble, ++p;
    } else if (*p == Ch('j') || *p == Ch('q')) {
        s.size = Size::LongLong, ++p;
    } else if (*p == Ch('z') || *p == Ch('t')) {
        s.size = Size::Pointer, ++p;
    } else if (*p == Ch('I')) {
        ++p;
        if (p[0] == Ch('6') && p[1] == Ch('4')) s.size = Size::LongLong, p += 2;
        else if (p[0] == Ch('3') && p[1] == Ch('2')) s.size = Size::Default, p += 2;
        else s.size = Size::Pointer;
    }
    return p;
}

// Returns the conversion character's position.
template <typename Ch>
const Ch* ParseConversion(const Ch* p, Conversion& s, va_list* args) {
    p = ParseWidth(ParseFlags(p, s), s, args);
    return ParseSize(ParsePrecision(p, s, args), s);
}

// Integer arguments: char, short and int travel as int; the size says how many low bits count.
int BitsOf(Size size) {
    switch (size) {
    case Size::Char: return 8;
    case Size::Short: return 16;
    case Size::Long: return (int)sizeof(long) * 8;
    case Size::LongLong: return 64;
    case Size::Pointer: return (int)sizeof(uintptr_t) * 8;
    default: return (int)sizeof(int) * 8;
    }
}

Integer FetchInteger(va_list* args, Size size, bool isSigned) {
    uint64_t v;
    switch (size) {
    case Size::Long: v = va_arg(*args, unsigned long); break;
    case Size::LongLong: v = va_arg(*args, unsigned long long); break;
    case Size::Pointer: v = va_arg(*args, uintptr_t); break;
    default: v = va_arg(*args, unsigned); break;
    }
    const int bits = BitsOf(size);
    const uint64_t high = bits < 64 ? ~uint64_t(0) << bits : 0;
    v &= ~high;
    const bool negative = isSigned && (v >> (bits - 1)) != 0;
    return negative ? Integer{0 - (v | high), true} : Integer{v, false};
}

double FetchFloat(va_list* args, Size size) {
    return size == Size::LongDouble ? (double)va_arg(*args, long double) : va_arg(*args, double);
}

// Unsigned conversions show no sign.
Conversion Unsigned(Conversion s) {
    s.plus = s.space = false;
    return s;
}

template <typename Ch>
void FormatPointer(Writer<Ch>& w, const Conversion& s, const void* value) {
    Conversion u;
    u.minus = s.minus;
    u.width = s.width;
    u.precision = (int)sizeof(void*) * 2;
    FormatInteger(w, u, Integer{(uintptr_t)value, false}, 16, true);
}

// %c of the engine's own width, or of the other (%lc / %C in the ANSI engine, %hc / %C in the wide one).
template <typename Ch>
void FormatChar(Writer<Ch>& w, const Conversion& s, Ch conv, int value) {
    const bool other = conv == Ch('C') || (sizeof(Ch) == 1 ? s.wide : s.narrow);
    if (!other) {
        Ch c = Ch(value);
        PutPadded(w, s, &c, 1);
        return;
    }
    const Conversion one{s.minus, false, false, false, false, s.width, 1};
    if constexpr (sizeof(Ch) == 1) {
        const wchar_t c = (wchar_t)value;
        FormatText<Ch>(w, one, &c);
    } else {
        const char c = (char)value;
        FormatText<Ch>(w, one, &c);
    }
}

// %s of the engine's own width, or of the other (%ls / %S in the ANSI engine, %hs / %S in the wide one).
template <typename Ch>
void FormatString(Writer<Ch>& w, const Conversion& s, Ch conv, va_list* args) {
    const bool wideText = sizeof(Ch) == 1 ? (s.wide || conv == Ch('S')) : !(s.narrow || conv == Ch('S'));
    if (wideText) FormatText<Ch>(w, s, va_arg(*args, const wchar_t*));
    else FormatText<Ch>(w, s, va_arg(*args, const char*));
}

// Writes the conversion whose text runs from start to end (conversion character included).
template <typename Ch>
void FormatConversion(Writer<Ch>& w, const Conversion& s, const Ch* start, const Ch* end, va_list* args) {
    static const Ch percent = Ch('%');
    const Ch conv = end[-1];
    switch ((int)conv) {
    case 'd': case 'i': FormatInteger(w, s, FetchInteger(args, s.size, true), 10, false); break;
    case 'u': FormatInteger(w, Unsigned(s), FetchInteger(args, s.size, false), 10, false); break;
    case 'o': FormatInteger(w, Unsigned(s), FetchInteger(args, s.size, false), 8, false); break;
    case 'x': FormatInteger(w, Unsigned(s), FetchInteger(args, s.size, false), 16, false); break;
    case 'X': FormatInteger(w, Unsigned(s), FetchInteger(args, s.size, false), 16, true); break;
    case 'p': FormatPointer(w, s, va_arg(*args, void*)); break;
    case 'c': case 'C': FormatChar(w, s, conv, va_arg(*args, int)); break;
    case 's': case 'S': FormatString(w, s, conv, args); break;
    case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': case 'a': case 'A':
        FormatFloat(w, s, conv, FetchFloat(args, s.size));
        break;
    case 'n': (void)va_arg(*args, void*); break;  // never written: a format must not write to memory
    case '%': w.Put(&percent, 1); break;
    default: w.Put(start, (int)(end - start)); break;  // unknown: shown as written
    }
}

template <typename Ch>
int Format(FormatSink<Ch>& sink, const Ch* format, va_list args) {
    Writer<Ch> w(sink);
    if (!format) return 0;
    va_list rest;
    va_copy(rest, args);
    for (const Ch* p = format; *p && !w.Stopped();) {
        const Ch* run = p;
        while (*p && *p != Ch('%')) ++p;
        w.Put(run, (int)(p - run));
        if (!*p) break;
        const Ch* start = p;
        Conversion s;
        p = ParseConversion(p + 1, s, &rest);
        if (!*p) {
            w.Put(start, (int)(p - start));  // unfinished at the end: shown as written
            break;
        }
        FormatConversion(w, s, start, ++p, &rest);
    }
    va_end(rest);
    return w.Count();
}

}  // namespace

int FormatToSinkA(FormatSinkA& sink, const char* format, va_list args) { return Format(sink, format, args); }

int FormatToSinkW(FormatSinkW& sink, const wchar_t* format, va_list args) { return Format(sink, format, args); }
