// The board's pictures: star images, pointer sprites built from their templates, and the two bitmap fonts.
#pragma once

#include "image/DibImage.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace game {

constexpr int kSpriteWidth = 28;
constexpr int kSpriteHeight = 92;

// A pointer sprite template: a packed 32-bit bottom-up DIB of 28 x 92 pixels.
struct SpriteTemplate {
    const uint8_t* pixels = nullptr;  // 2576 BGRA words, bottom row first; null = none
};

struct BoardArt {
    CDibImage starLarge, starMedium, starSmall;  // bitmaps 149, 150, 151
    CDibImage starCurrent;                       // a copy of the one the star size chooses
    CDibImage sprite[3];
    uint32_t spriteColour[3] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};  // colour each sprite was last built in
    SpriteTemplate playerTemplate, solutionTemplate;
    const uint8_t* scaleFont = nullptr;  // bitmap-font blobs; null = none
    const uint8_t* labelFont = nullptr;
};

// Loads the stars, sprite templates and fonts from the module's resources; what is missing or malformed
// stays empty. Returns whether everything was found.
bool LoadBoardArt(BoardArt& art, HMODULE module);

// Checks a packed DIB resource as a sprite template.
SpriteTemplate ParseSpriteTemplate(const void* data, size_t size);
// Checks a bitmap-font blob (short or long header): everything the text engine reads must lie inside it.
bool IsValidBitmapFont(const void* data, size_t size);

// Builds sprite index (0 red, 1 blue, 2 solution) in colour; the player template is recoloured, the solution
// template taken as it is. Index 3 or more does nothing; the same colour again is not rebuilt.
void BuildPointerSprite(BoardArt& art, int index, uint32_t colour);

// Makes the current star image a copy of the one the star size shows.
void SelectStarImage(BoardArt& art, int32_t starSize);

}  // namespace game
