#include "text/UnicodeConvert.h"

#include <cstdint>

namespace {

template <typename Ch>
size_t InputLimit(const Ch* in, int inLength) {
    if (!in) return 0;
    if (inLength >= 0) return (size_t)inLength;
    size_t n = 0;
    while (in[n]) ++n;
    return n;
}

// Decodes one code point at in[i] (i < n); advances i. Returns 0xFFFD for a bad sequence.
uint32_t DecodeUtf8(const unsigned char* in, size_t n, size_t& i) {
    unsigned c = in[i++];
    if (c < 0x80) return c;
    int extra;
    uint32_t cp, min;
    if (c >= 0xC2 && c <= 0xDF) { extra = 1; cp = c & 0x1F; min = 0x80; }
    else if (c >= 0xE0 && c <= 0xEF) { extra = 2; cp = c & 0x0F; min = 0x800; }
    else if (c >= 0xF0 && c <= 0xF4) { extra = 3; cp = c & 0x07; min = 0x10000; }
    else return 0xFFFD;
    for (int k = 0; k < extra; ++k) {
        if (i >= n || (in[i] & 0xC0) != 0x80) return 0xFFFD;  // the bad byte is read again as a start
        cp = (cp << 6) | (in[i++] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0xFFFD;
    return cp;
}

}  // namespace

int Utf8ToUtf16N(wchar_t* out, const char* in, int outSize, int inLength) {
    if (!out || outSize <= 0) return 0;
    size_t n = InputLimit(in, inLength);
    const unsigned char* s = (const unsigned char*)in;
    int room = outSize - 1, w = 0;
    for (size_t i = 0; i < n;) {
        size_t at = i;
        uint32_t cp = DecodeUtf8(s, n, i);
        if (cp >= 0x10000) {
            if (w + 2 > room) { i = at; break; }
            cp -= 0x10000;
            out[w++] = (wchar_t)(0xD800 + (cp >> 10));
            out[w++] = (wchar_t)(0xDC00 + (cp & 0x3FF));
        } else {
            if (w + 1 > room) break;
            out[w++] = (wchar_t)cp;
        }
    }
    out[w] = 0;
    return w;
}

int Utf16ToLatin1N(char* out, const wchar_t* in, int outSize, int inLength) {
    if (!out || outSize <= 0) return 0;
    size_t n = InputLimit(in, inLength);
    int w = 0;
    for (size_t i = 0; i < n && w < outSize - 1; ++i) out[w++] = in[i] > 255 ? '?' : (char)in[i];
    out[w] = 0;
    return w;
}

int Utf16ToUtf8N(char* out, const wchar_t* in, int outSize, int inLength) {
    if (!out || outSize <= 0) return 0;
    size_t n = InputLimit(in, inLength);
    int room = outSize - 1, w = 0;
    for (size_t i = 0; i < n;) {
        uint32_t cp = (uint16_t)in[i++];
        if (cp >= 0xD800 && cp <= 0xDBFF && i < n && in[i] >= 0xDC00 && in[i] <= 0xDFFF)
            cp = 0x10000 + ((cp - 0xD800) << 10) + ((uint16_t)in[i++] - 0xDC00);
        else if (cp >= 0xD800 && cp <= 0xDFFF)
            cp = 0xFFFD;
        int len = cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
        if (w + len > room) break;
        if (len == 1) {
            out[w++] = (char)cp;
        } else {
            static const unsigned char lead[5] = {0, 0, 0xC0, 0xE0, 0xF0};
            for (int k = len - 1; k > 0; --k) out[w + k] = (char)(0x80 | (cp & 0x3F)), cp >>= 6;
            out[w] = (char)(lead[len] | cp);
            w += len;
        }
    }
    out[w] = 0;
    return w;
}

int Latin1ToUtf16N(wchar_t* out, const char* in, int outSize, int inLength) {
    if (!out || outSize <= 0) return 0;
    size_t n = InputLimit(in, inLength);
    int w = 0;
    for (size_t i = 0; i < n && w < outSize - 1; ++i) out[w++] = (wchar_t)(unsigned char)in[i];
    out[w] = 0;
    return w;
}
