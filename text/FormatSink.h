// The printf engine and its output sinks.
#pragma once

#include <cstdarg>

// A sink receives the engine's output in pieces; Put returns false to stop the formatting.
template <typename Ch>
class FormatSink {
public:
    virtual ~FormatSink() = default;
    virtual bool Put(const Ch* text, int length) = 0;
};
using FormatSinkA = FormatSink<char>;
using FormatSinkW = FormatSink<wchar_t>;

// Bounded buffer: keeps at most size - 1 characters, always NUL-terminated (when size > 0),
// and counts what did not fit.
template <typename Ch>
class BufferSink : public FormatSink<Ch> {
public:
    BufferSink(Ch* buffer, int size) : m_buffer(buffer), m_size(buffer && size > 0 ? size : 0) {
        if (m_size) m_buffer[0] = 0;
    }
    bool Put(const Ch* text, int length) override {
        int room = m_size ? m_size - 1 - m_length : 0;
        int n = length < room ? length : room;
        for (int i = 0; i < n; ++i) m_buffer[m_length + i] = text[i];
        m_length += n;
        if (m_size) m_buffer[m_length] = 0;
        if (n < length) m_truncated = true;
        return true;
    }
    int GetLength() const { return m_length; }
    bool IsTruncated() const { return m_truncated; }

private:
    Ch* m_buffer;
    int m_size;
    int m_length = 0;
    bool m_truncated = false;
};
using BufferSinkA = BufferSink<char>;
using BufferSinkW = BufferSink<wchar_t>;

// Formats like vsprintf into the sink: flags - + space # 0, width and precision (also *), the
// sizes hh h l ll L j z t I I32 I64, and the conversions d i u o x X c C s S p f F e E g G a A %.
// In the ANSI engine %s takes char texts and %S wide texts (converted to the ANSI code page); in the
// wide engine the other way round; %hs and %ls always take char and wide texts. %n writes nothing.
// Null texts show as "(null)". Returns the number of characters produced (given to the sink).
int FormatToSinkA(FormatSinkA& sink, const char* format, va_list args);
int FormatToSinkW(FormatSinkW& sink, const wchar_t* format, va_list args);
