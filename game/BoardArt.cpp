#include "game/BoardArt.h"

#include "game/RoundControl.h"
#include "image/BitmapFont.h"
#include "res/ViewCommands.h"

#include <cstring>

namespace game {

namespace {

constexpr size_t kSpritePixels = size_t(kSpriteWidth) * kSpriteHeight;

const uint8_t* FindData(HMODULE module, const char* name, size_t* size) {
    HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!found) return nullptr;
    HGLOBAL loaded = ::LoadResource(module, found);
    if (!loaded) return nullptr;
    *size = SizeofResource(module, found);
    return static_cast<const uint8_t*>(LockResource(loaded));
}

uint32_t Read32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

}  // namespace

SpriteTemplate ParseSpriteTemplate(const void* data, size_t size) {
    SpriteTemplate result;
    BITMAPINFOHEADER header;
    if (!data || size < sizeof header + kSpritePixels * 4) return result;
    std::memcpy(&header, data, sizeof header);
    if (header.biSize != sizeof header || header.biWidth != kSpriteWidth || header.biHeight != kSpriteHeight ||
        header.biBitCount != 32 || header.biCompression != BI_RGB)
        return result;
    result.pixels = static_cast<const uint8_t*>(data) + sizeof header;
    return result;
}

bool IsValidBitmapFont(const void* data, size_t size) { return BitmapFontFits(data, size); }

bool LoadBoardArt(BoardArt& art, HMODULE module) {
    if (!module) module = GetModuleHandleA(nullptr);
    bool complete = art.starLarge.LoadResource(MAKEINTRESOURCEA(IDB_STAR_LARGE), module);
    complete &= art.starMedium.LoadResource(MAKEINTRESOURCEA(IDB_STAR_MEDIUM), module);
    complete &= art.starSmall.LoadResource(MAKEINTRESOURCEA(IDB_STAR_SMALL), module);

    size_t size = 0;
    const uint8_t* data = FindData(module, IDR_POINTER_PLAYER, &size);
    art.playerTemplate = ParseSpriteTemplate(data, size);
    data = FindData(module, IDR_POINTER_SOLUTION, &size);
    art.solutionTemplate = ParseSpriteTemplate(data, size);
    complete &= art.playerTemplate.pixels && art.solutionTemplate.pixels;

    data = FindData(module, IDR_SCALE_FONT, &size);
    art.scaleFont = IsValidBitmapFont(data, size) ? data : nullptr;
    data = FindData(module, IDR_LABEL_FONT, &size);
    art.labelFont = IsValidBitmapFont(data, size) ? data : nullptr;
    return complete && art.scaleFont && art.labelFont;
}

void BuildPointerSprite(BoardArt& art, int index, uint32_t colour) {
    if (index < 0 || index >= 3) return;
    if (art.spriteColour[index] == colour && art.sprite[index].HasPixels()) return;
    const SpriteTemplate& source = index == 2 ? art.solutionTemplate : art.playerTemplate;
    CDibImage& sprite = art.sprite[index];
    if (!source.pixels || !sprite.Create(32, kSpriteWidth, kSpriteHeight, 0)) return;
    for (int y = 0; y < kSpriteHeight; ++y) {
        const uint8_t* row = source.pixels + size_t(kSpriteHeight - 1 - y) * kSpriteWidth * 4;
        for (int x = 0; x < kSpriteWidth; ++x) {
            const uint8_t* p = row + x * 4;  // blue, green, red, alpha
            uint32_t value = Read32(p);
            if (index != 2) {
                const uint32_t r = p[2], a = p[3];
                uint32_t s = p[1];
                if (s + r > 255) s = 255 - r;
                const uint32_t blue = s + r * (colour & 0xFF) / 255;
                const uint32_t green = s + r * ((colour >> 8) & 0xFF) / 255;
                const uint32_t red = s + r * ((colour >> 16) & 0xFF) / 255;
                value = a << 24 | red << 16 | green << 8 | blue;
            }
            sprite.SetPixel(x, y, value);
        }
    }
    art.spriteColour[index] = colour;
}

void SelectStarImage(BoardArt& art, int32_t starSize) {
    switch (StarSizeFor(starSize).resourceId) {
    case IDB_STAR_MEDIUM: art.starCurrent.Copy(art.starMedium); break;
    case IDB_STAR_SMALL: art.starCurrent.Copy(art.starSmall); break;
    default: art.starCurrent.Copy(art.starLarge); break;
    }
}

}  // namespace game
