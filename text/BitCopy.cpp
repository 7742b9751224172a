#include "text/BitCopy.h"

#include <cstring>

void ShiftCopyBitsLeft(int bitOffset, int wordCount, const void* source, void* dest, int bitLength) {
    if (wordCount <= 0 || !dest) return;
    uint8_t* out = static_cast<uint8_t*>(dest);
    const int64_t destBits = (int64_t)wordCount * 32;
    if (bitOffset < 0) bitOffset = 0;
    if (bitLength < 0 || !source) bitLength = 0;
    if (bitLength > destBits) bitLength = (int)destBits;

    const uint8_t* in = static_cast<const uint8_t*>(source) + (bitOffset >> 3);
    const int shift = bitOffset & 7;
    const int fullBytes = bitLength >> 3;
    const int tailBits = bitLength & 7;
    // Index (relative to `in`) of the last source byte holding a copied bit.
    const int lastIn = bitLength ? (shift + bitLength - 1) >> 3 : -1;

    if (shift == 0) {
        memcpy(out, in, fullBytes);
    } else {
        for (int j = 0; j < fullBytes; ++j) {
            // Byte j+1 always holds copied bits here: (j+1)*8 < shift+bitLength.
            out[j] = (uint8_t)((in[j] << shift) | (in[j + 1] >> (8 - shift)));
        }
    }
    int written = fullBytes;
    if (tailBits) {
        int j = fullBytes;
        unsigned v = (unsigned)in[j] << shift;
        if (shift && j + 1 <= lastIn) v |= in[j + 1] >> (8 - shift);
        out[j] = (uint8_t)(v & (0xFFu << (8 - tailBits)));
        written++;
    }
    const int total = wordCount * 4;
    if (written < total) memset(out + written, 0, (size_t)(total - written));
}
