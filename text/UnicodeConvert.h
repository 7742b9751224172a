// Bounded conversions between UTF-8, UTF-16 and Latin-1 texts.
#pragma once

// All take (output buffer, input, output size in characters, input length; -1 = up to the NUL),
// write at most outSize - 1 characters plus a NUL (nothing when outSize <= 0), never read past the
// input length, and return the number of characters written (without the NUL).

// Invalid or truncated UTF-8 sequences become U+FFFD; a surrogate pair is never split.
int Utf8ToUtf16N(wchar_t* out, const char* in, int outSize, int inLength);
// Characters above 255 become '?'.
int Utf16ToLatin1N(char* out, const wchar_t* in, int outSize, int inLength);
// Unpaired surrogates become U+FFFD; a multi-byte sequence is never split.
int Utf16ToUtf8N(char* out, const wchar_t* in, int outSize, int inLength);
int Latin1ToUtf16N(wchar_t* out, const char* in, int outSize, int inLength);
