// The printf engine behind StrPrintfA and every formatting sink.
#include "text/FormatSink.h"

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

template <typename Ch>
void FormatInteger(Writer<Ch>& w, const Conversion& s, uint64_t value, bool negative, int base, bool upper) {
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
    if (negative) prefix[np++] = Ch('-');
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

// Converts between the ANSI code page and UTF-16 for the texts of the other width.
std::wstring Widen(const char* text, int n) {
    std::wstring out;
    if (n <= 0) return out;
    int len = MultiByteToWideChar(CP_ACP, 0, text, n, nullptr, 0);
    out.resize((size_t)len);
    MultiByteToWideChar(CP_ACP, 0, text, n, out.data(), len);
    return out;
}
std::string Narrow(const wchar_t* text, int n) {
    std::string out;
    if (n <= 0) return out;
    int len = WideCharToMultiByte(CP_ACP, 0, text, n, nullptr, 0, nullptr, nullptr);
    out.resize((size_t)len);
    WideCharToMultiByte(CP_ACP, 0, text, n, out.data(), len, nullptr, nullptr);
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
        std::string t = Narrow(text, n);
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

template <typename Ch>
int Format(FormatSink<Ch>& sink, const Ch* format, va_list args) {
    Writer<Ch> w(sink);
    if (!format) return 0;
    const Ch* p = format;
    while (*p && !w.Stopped()) {
        const Ch* run = p;
        while (*p && *p != Ch('%')) ++p;
        w.Put(run, (int)(p - run));
        if (!*p) break;
        const Ch* conversionStart = p++;
        Conversion s;
        for (;; ++p) {
            if (*p == Ch('-')) s.minus = true;
            else if (*p == Ch('+')) s.plus = true;
            else if (*p == Ch(' ')) s.space = true;
            else if (*p == Ch('#')) s.hash = true;
            else if (*p == Ch('0')) s.zero = true;
            else break;
        }
        if (*p == Ch('*')) {
            s.width = va_arg(args, int);
            if (s.width < 0) {
                s.minus = true;
                s.width = s.width == INT32_MIN ? 0 : -s.width;
            }
            ++p;
        } else {
            while (*p >= Ch('0') && *p <= Ch('9')) {
                if (s.width < 100000000) s.width = s.width * 10 + (*p - Ch('0'));
                ++p;
            }
        }
        if (*p == Ch('.')) {
            ++p;
            s.precision = 0;
            if (*p == Ch('*')) {
                s.precision = va_arg(args, int);
                if (s.precision < 0) s.precision = -1;
                ++p;
            } else {
                while (*p >= Ch('0') && *p <= Ch('9')) {
                    if (s.precision < 100000000) s.precision = s.precision * 10 + (*p - Ch('0'));
                    ++p;
                }
            }
        }
        // Sizes.
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
        Ch conv = *p;
        if (!conv) {
            w.Put(conversionStart, (int)(p - conversionStart));
            break;
        }
        ++p;
        switch ((int)conv) {
        case 'd':
        case 'i': {
            int64_t v;
            switch (s.size) {
            case Size::Char: v = (signed char)va_arg(args, int); break;
            case Size::Short: v = (short)va_arg(args, int); break;
            case Size::Long: v = va_arg(args, long); break;
            case Size::LongLong: v = va_arg(args, long long); break;
            case Size::Pointer: v = va_arg(args, intptr_t); break;
            default: v = va_arg(args, int); break;
            }
            uint64_t mag = v < 0 ? 0 - (uint64_t)v : (uint64_t)v;
            FormatInteger(w, s, mag, v < 0, 10, false);
            break;
        }
        case 'u':
        case 'o':
        case 'x':
        case 'X': {
            uint64_t v;
            switch (s.size) {
            case Size::Char: v = (unsigned char)va_arg(args, unsigned); break;
            case Size::Short: v = (unsigned short)va_arg(args, unsigned); break;
            case Size::Long: v = va_arg(args, unsigned long); break;
            case Size::LongLong: v = va_arg(args, unsigned long long); break;
            case Size::Pointer: v = va_arg(args, uintptr_t); break;
            default: v = va_arg(args, unsigned); break;
            }
            int base = conv == Ch('u') ? 10 : conv == Ch('o') ? 8 : 16;
            Conversion u = s;
            u.plus = u.space = false;
            FormatInteger(w, u, v, false, base, conv == Ch('X'));
            break;
        }
        case 'p': {
            Conversion u;
            u.minus = s.minus;
            u.width = s.width;
            u.precision = (int)sizeof(void*) * 2;
            FormatInteger(w, u, (uintptr_t)va_arg(args, void*), false, 16, true);
            break;
        }
        case 'c':
        case 'C': {
            int v = va_arg(args, int);
            bool other = sizeof(Ch) == 1 ? (s.wide || conv == Ch('C')) : (s.narrow || conv == Ch('C'));
            if (sizeof(Ch) == 1 && other) {
                wchar_t wc = (wchar_t)v;
                FormatText<Ch>(w, Conversion{s.minus, false, false, false, false, s.width, 1}, &wc);
            } else if (sizeof(Ch) != 1 && other) {
                char c = (char)v;
                FormatText<Ch>(w, Conversion{s.minus, false, false, false, false, s.width, 1}, &c);
            } else {
                Ch c = Ch(v);
                PutPadded(w, s, &c, 1);
            }
            break;
        }
        case 's':
        case 'S': {
            bool wideText = sizeof(Ch) == 1 ? (s.wide || conv == Ch('S')) : !(s.narrow || conv == Ch('S'));
            if (wideText) FormatText<Ch>(w, s, va_arg(args, const wchar_t*));
            else FormatText<Ch>(w, s, va_arg(args, const char*));
            break;
        }
        case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': case 'a': case 'A': {
            double v = s.size == Size::LongDouble ? (double)va_arg(args, long double) : va_arg(args, double);
            FormatFloat(w, s, conv, v);
            break;
        }
        case 'n':
            (void)va_arg(args, void*);  // never written: a format must not write to memory
            break;
        case '%': {
            Ch c = Ch('%');
            w.Put(&c, 1);
            break;
        }
        default:
            // Unknown conversion: shown as written.
            w.Put(conversionStart, (int)(p - conversionStart));
            break;
        }
    }
    return w.Count();
}

}  // namespace

int FormatToSinkA(FormatSinkA& sink, const char* format, va_list args) { return Format(sink, format, args); }

int FormatToSinkW(FormatSinkW& sink, const wchar_t* format, va_list args) { return Format(sink, format, args); }
