// Word-wise letter-case normalisation of names for display.
#pragma once

// Flags of NormalizeCaseA.
enum : unsigned {
    NC_ONLY_CAPITALS = 0x0200,  // change a name only when it holds no small letter (stored all in capitals)
    NC_WORDS = 0x2000,          // each word: first letter capital, the others small
    NC_LATIN1 = 0x8000,         // letters above 127 (Ä, é, ...) count as letters too
};

// Copies source into target (which may be source itself and needs room for its length + 1),
// normalising letter case by flags. Without NC_WORDS the letters become small. Words are runs of
// letters, digits and apostrophes. Returns the length.
int NormalizeCaseA(char* target, const char* source, unsigned flags);
