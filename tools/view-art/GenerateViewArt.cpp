// Host-side generator of the game view's artwork (res/view/):
//   star-large.bmp, star-medium.bmp, star-small.bmp   the star bitmaps for cells of 136, 102 and 68 pixels
//   pointer-player.dib, pointer-solution.dib           28 x 92 pointer sprite templates (packed 32-bit DIBs)
//   scale-font.bin, label-font.bin                     bitmap fonts for the scale (36 rows) and the value labels (55 rows)
//   sample-page.bmp                                    the picture of a question page in the file-format help
// Fonts are rendered from DejaVu with FreeType. Build and run it with tools/view-art/make-view-art.sh.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint32_t v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
void Put32(Bytes& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

void WriteFile(const std::string& path, const Bytes& data) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(data.data(), 1, data.size(), f) != data.size()) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
    std::fclose(f);
    std::printf("wrote %s (%zu bytes)\n", path.c_str(), data.size());
}

// An RGB raster, top row first, colours 0xRRGGBB.
struct Raster {
    int width, height;
    std::vector<uint32_t> pixels;
    Raster(int w, int h, uint32_t fill) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    uint32_t& At(int x, int y) { return pixels[size_t(y) * width + x]; }
};

Bytes BitmapInfoHeader(int width, int height, int bits) {
    Bytes b;
    const uint32_t stride = ((width * bits / 8) + 3) & ~3u;
    Put32(b, 40);
    Put32(b, width);
    Put32(b, height);  // bottom-up
    Put16(b, 1);
    Put16(b, bits);
    Put32(b, 0);  // BI_RGB
    Put32(b, stride * height);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, 0);
    Put32(b, 0);
    return b;
}

void WriteBmp24(const std::string& path, Raster& r) {
    const uint32_t stride = (r.width * 3 + 3) & ~3u;
    Bytes info = BitmapInfoHeader(r.width, r.height, 24);
    Bytes b = {'B', 'M'};
    Put32(b, 14 + 40 + stride * r.height);
    Put32(b, 0);
    Put32(b, 14 + 40);
    b.insert(b.end(), info.begin(), info.end());
    for (int y = r.height - 1; y >= 0; --y) {
        for (int x = 0; x < r.width; ++x) {
            const uint32_t c = r.At(x, y);
            b.push_back(c & 0xFF);
            b.push_back((c >> 8) & 0xFF);
            b.push_back((c >> 16) & 0xFF);
        }
        for (uint32_t pad = r.width * 3; pad < stride; ++pad) b.push_back(0);
    }
    WriteFile(path, b);
}

// ---------------------------------------------------------------------------------------------------------------
// Stars: a five-pointed gold star on black, anti-aliased by 4 x 4 supersampling.

bool InsidePolygon(const std::vector<std::pair<double, double>>& poly, double x, double y) {
    bool inside = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const double xi = poly[i].first, yi = poly[i].second, xj = poly[j].first, yj = poly[j].second;
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
    }
    return inside;
}

std::vector<std::pair<double, double>> StarPolygon(double cx, double cy, double outer, double inner) {
    std::vector<std::pair<double, double>> poly;
    for (int i = 0; i < 10; ++i) {
        const double angle = -M_PI / 2 + i * M_PI / 5;
        const double radius = i % 2 ? inner : outer;
        poly.push_back({cx + radius * std::cos(angle), cy + radius * std::sin(angle)});
    }
    return poly;
}

uint32_t Mix(uint32_t a, uint32_t b, double t) {
    auto channel = [&](int shift) {
        const double va = (a >> shift) & 0xFF, vb = (b >> shift) & 0xFF;
        return uint32_t(std::lround(va + (vb - va) * t)) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}

void MakeStar(const std::string& path, int size) {
    Raster r(size, size, 0x000000);
    const double c = size / 2.0, outer = size * 0.49, inner = outer * 0.40;
    // The star is shifted down a little so that its points look centred.
    const auto shape = StarPolygon(c, c + size * 0.035, outer, inner);
    const auto core = StarPolygon(c, c + size * 0.035, outer * 0.80, inner * 0.80);
    const int samples = 4;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double red = 0, green = 0, blue = 0;
            for (int sy = 0; sy < samples; ++sy)
                for (int sx = 0; sx < samples; ++sx) {
                    const double px = x + (sx + 0.5) / samples, py = y + (sy + 0.5) / samples;
                    if (!InsidePolygon(shape, px, py)) continue;
                    // Gold, lighter towards the upper left; a darker rim outside the inner star.
                    const double light = std::clamp(1.0 - ((px - c) + (py - c)) / (2.2 * outer), 0.0, 1.0);
                    uint32_t colour = Mix(0xC07800, 0xFFE860, light);
                    if (!InsidePolygon(core, px, py)) colour = Mix(colour, 0x804000, 0.45);
                    red += (colour >> 16) & 0xFF;
                    green += (colour >> 8) & 0xFF;
                    blue += colour & 0xFF;
                }
            const double n = samples * samples;
            r.At(x, y) = uint32_t(std::lround(red / n)) << 16 | uint32_t(std::lround(green / n)) << 8 |
                         uint32_t(std::lround(blue / n));
        }
    WriteBmp24(path, r);
}

// ---------------------------------------------------------------------------------------------------------------
// Pointer sprites, 28 x 92, 32-bit bottom-up BGRA. The player template keeps grey shading in green and the
// weight of the player's colour in red; the program mixes in the colour. The solution template is green already.

constexpr int kSpriteW = 28, kSpriteH = 92;

struct SpritePixel {
    uint8_t shade;   // grey
    uint8_t weight;  // colour weight
    uint8_t alpha;
};

// An upward arrow: a head 26 pixels wide and 30 rows high, then a shaft 12 pixels wide down to the bottom.
std::vector<SpritePixel> PointerShape() {
    std::vector<SpritePixel> px(kSpriteW * kSpriteH, {0, 0, 0});
    const double mid = kSpriteW / 2.0;
    const int samples = 4;
    for (int y = 0; y < kSpriteH; ++y)
        for (int x = 0; x < kSpriteW; ++x) {
            int hits = 0;
            double edge = 1e9;
            for (int sy = 0; sy < samples; ++sy)
                for (int sx = 0; sx < samples; ++sx) {
                    const double fx = x + (sx + 0.5) / samples, fy = y + (sy + 0.5) / samples;
                    double half;  // half width of the shape at this row
                    if (fy < 30)
                        half = 1.0 + fy * 12.0 / 30.0;
                    else
                        half = 6.0;
                    const double d = half - std::fabs(fx - mid);
                    if (d > 0 && fy > 0.5 && fy < kSpriteH - 0.5) {
                        ++hits;
                        edge = std::min(edge, d);
                    }
                }
            if (!hits) continue;
            SpritePixel& p = px[y * kSpriteW + x];
            const double cover = hits / double(samples * samples);
            // Light from the left: the left half is brighter; the rim is darker.
            const double side = (x + 0.5 - mid) / mid;  // -1 .. 1
            double shade = 70 - 60 * side;
            double weight = 185;
            if (edge < 1.5) {
                shade *= 0.4;
                weight *= 0.75;
            }
            const double fade = 0.85 + 0.15 * (1.0 - double(y) / kSpriteH);
            p.shade = uint8_t(std::clamp(shade * cover, 0.0, 255.0));
            p.weight = uint8_t(std::clamp(weight * cover * fade, 0.0, 255.0));
            p.alpha = 255;
        }
    return px;
}

Bytes PackedDib32(const std::vector<uint32_t>& bgra) {
    Bytes b = BitmapInfoHeader(kSpriteW, kSpriteH, 32);
    for (int y = kSpriteH - 1; y >= 0; --y)
        for (int x = 0; x < kSpriteW; ++x) Put32(b, bgra[y * kSpriteW + x]);
    return b;
}

// The recolouring the program applies (kept here so the solution template matches a player sprite).
uint32_t Recolour(const SpritePixel& p, uint32_t colour) {
    uint32_t s = p.shade;
    if (s + p.weight > 255) s = 255 - p.weight;
    const uint32_t blue = s + p.weight * (colour & 0xFF) / 255;
    const uint32_t green = s + p.weight * ((colour >> 8) & 0xFF) / 255;
    const uint32_t red = s + p.weight * ((colour >> 16) & 0xFF) / 255;
    return uint32_t(p.alpha) << 24 | red << 16 | green << 8 | blue;
}

void MakeSprites(const std::string& dir) {
    const auto shape = PointerShape();
    std::vector<uint32_t> player(shape.size()), solution(shape.size());
    for (size_t i = 0; i < shape.size(); ++i) {
        const SpritePixel& p = shape[i];
        player[i] = uint32_t(p.alpha) << 24 | uint32_t(p.weight) << 16 | uint32_t(p.shade) << 8;
        solution[i] = Recolour(p, 0x00FF00);
    }
    WriteFile(dir + "/pointer-player.dib", PackedDib32(player));
    WriteFile(dir + "/pointer-solution.dib", PackedDib32(solution));
}

// ---------------------------------------------------------------------------------------------------------------
// Bitmap fonts: short header (first 0, last 255), 256 offsets, glyphs of width, height and bottom-up rows of
// (width + 7) / 8 bytes, leftmost pixel in the top bit, a clear bit is ink.

struct FontLayout {
    const char* file;
    int rows;
    int minWidth, maxWidth;
    int digitWidth, blankWidth, minusWidth;
    int inkMargin;  // blank columns a digit, '.' or '-' keeps free in its cell
};

// Unicode of the Windows-1252 codes 128..159 (0 = unused).
const uint16_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                  0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

uint32_t Cp1252ToUnicode(int code) {
    if (code < 32) return 0;
    if (code >= 128 && code < 160) return kCp1252High[code - 128];
    return code;
}

FT_Face LoadFace(FT_Library lib, const char* file, int pixels) {
    FT_Face face;
    if (FT_New_Face(lib, file, 0, &face)) {
        std::fprintf(stderr, "cannot load %s\n", file);
        std::exit(1);
    }
    FT_Set_Pixel_Sizes(face, 0, pixels);
    return face;
}

// The largest pixel size whose digits, '.' and '-' leave inkMargin columns free in their cells and whose ascent and
// descent fit the rows. The label font keeps two free columns on each side of every such glyph, so that its halo
// and soft edge (two pixels each way) never reach a neighbouring glyph: labels can then be put together glyph by
// glyph with the same pixels as the whole string.
int FitPixelSize(FT_Library lib, const FontLayout& layout) {
    int best = 8;
    const struct {
        char ch;
        int cell;
    } checks[] = {{'0', layout.digitWidth}, {'1', layout.digitWidth}, {'2', layout.digitWidth}, {'3', layout.digitWidth},
                  {'4', layout.digitWidth}, {'5', layout.digitWidth}, {'6', layout.digitWidth}, {'7', layout.digitWidth},
                  {'8', layout.digitWidth}, {'9', layout.digitWidth}, {'-', layout.minusWidth}, {'.', layout.blankWidth}};
    for (int px = 8; px < 200; ++px) {
        FT_Face face = LoadFace(lib, layout.file, px);
        bool fits = (face->size->metrics.ascender - face->size->metrics.descender) / 64 <= layout.rows;
        for (const auto& check : checks) {
            if (!fits) break;
            FT_Load_Char(face, check.ch, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO);
            fits = int(face->glyph->bitmap.width) <= check.cell - layout.inkMargin;
        }
        FT_Done_Face(face);
        if (!fits) break;
        best = px;
    }
    return best;
}

Bytes MakeGlyph(FT_Face face, uint32_t unicode, int width, int rows, int baseline, bool forced) {
    std::vector<uint8_t> ink(size_t(width) * rows, 0);
    if (unicode && FT_Load_Char(face, unicode, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) == 0) {
        const FT_GlyphSlot g = face->glyph;
        const FT_Bitmap& bm = g->bitmap;
        // Forced widths centre the ink; free widths use the font's own bearing.
        const int left = forced ? (width - int(bm.width)) / 2 : std::max(0, int(g->bitmap_left));
        for (unsigned y = 0; y < bm.rows; ++y)
            for (unsigned x = 0; x < bm.width; ++x) {
                const bool on = bm.buffer[y * bm.pitch + (x >> 3)] & (0x80 >> (x & 7));
                const int tx = left + int(x), ty = baseline - g->bitmap_top + int(y);
                if (on && tx >= 0 && tx < width && ty >= 0 && ty < rows) ink[size_t(ty) * width + tx] = 1;
            }
    }
    Bytes b = {uint8_t(width), uint8_t(rows)};
    const int rowBytes = (width + 7) / 8;
    for (int y = rows - 1; y >= 0; --y)  // bottom row first
        for (int byte = 0; byte < rowBytes; ++byte) {
            uint8_t bits = 0;
            for (int bit = 0; bit < 8; ++bit) {
                const int x = byte * 8 + bit;
                if (x >= width || !ink[size_t(y) * width + x]) bits |= 0x80 >> bit;  // set = background
            }
            b.push_back(bits);
        }
    return b;
}

void MakeFont(FT_Library lib, const FontLayout& layout, const std::string& path) {
    const int px = FitPixelSize(lib, layout);
    FT_Face face = LoadFace(lib, layout.file, px);
    const int ascent = int(face->size->metrics.ascender / 64);
    const int descent = int(-face->size->metrics.descender / 64);
    const int baseline = ascent + (layout.rows - ascent - descent) / 2;
    std::printf("%s: %d rows, %d px, baseline row %d\n", path.c_str(), layout.rows, px, baseline);

    Bytes blob = {0, 255};
    const size_t tableAt = blob.size();
    blob.resize(tableAt + 256 * 4);
    uint32_t emptyAt = 0;
    for (int code = 0; code < 256; ++code) {
        const uint32_t unicode = Cp1252ToUnicode(code);
        if (!unicode || FT_Get_Char_Index(face, unicode) == 0) {
            if (!emptyAt) {  // one blank glyph of the smallest width serves every code without a picture
                emptyAt = uint32_t(blob.size());
                const Bytes g = MakeGlyph(face, 0, layout.minWidth, layout.rows, baseline, true);
                blob.insert(blob.end(), g.begin(), g.end());
            }
            const uint32_t at = emptyAt;
            for (int i = 0; i < 4; ++i) blob[tableAt + code * 4 + i] = (at >> (8 * i)) & 0xFF;
            continue;
        }
        int width;
        bool forced = true;
        if (code >= '0' && code <= '9')
            width = layout.digitWidth;
        else if (code == ' ' || code == '.')
            width = layout.blankWidth;
        else if (code == '-')
            width = layout.minusWidth;
        else {
            FT_Load_Char(face, unicode, FT_LOAD_DEFAULT);
            width = std::clamp(int((face->glyph->advance.x + 32) / 64), layout.minWidth, layout.maxWidth);
            forced = false;
        }
        const uint32_t at = uint32_t(blob.size());
        for (int i = 0; i < 4; ++i) blob[tableAt + code * 4 + i] = (at >> (8 * i)) & 0xFF;
        const Bytes g = MakeGlyph(face, unicode, width, layout.rows, baseline, forced);
        blob.insert(blob.end(), g.begin(), g.end());
    }
    FT_Done_Face(face);
    WriteFile(path, blob);
}

// ---------------------------------------------------------------------------------------------------------------
// The picture of a sample question page for the file-format help: the start of two pages in a text editor look.

void DrawText(FT_Face face, Raster& r, int x, int baseline, const std::string& text, uint32_t colour) {
    for (unsigned char ch : text) {
        if (FT_Load_Char(face, ch, FT_LOAD_RENDER)) continue;
        const FT_GlyphSlot g = face->glyph;
        for (unsigned y = 0; y < g->bitmap.rows; ++y)
            for (unsigned gx = 0; gx < g->bitmap.width; ++gx) {
                const int tx = x + g->bitmap_left + int(gx), ty = baseline - g->bitmap_top + int(y);
                if (tx < 0 || ty < 0 || tx >= r.width || ty >= r.height) continue;
                const double a = g->bitmap.buffer[y * g->bitmap.pitch + gx] / 255.0;
                r.At(tx, ty) = Mix(r.At(tx, ty), colour, a);
            }
        x += int(g->advance.x / 64);
    }
}

void FillBox(Raster& r, int x0, int y0, int x1, int y1, uint32_t colour) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) r.At(x, y) = colour;
}

void FrameBox(Raster& r, int x0, int y0, int x1, int y1, uint32_t colour) {
    for (int x = x0; x < x1; ++x) r.At(x, y0) = r.At(x, y1 - 1) = colour;
    for (int y = y0; y < y1; ++y) r.At(x0, y) = r.At(x1 - 1, y) = colour;
}

void MakeSamplePage(FT_Library lib, const std::string& mono, const std::string& sans, const std::string& path) {
    Raster r(520, 184, 0xF0F0F0);
    FT_Face code = LoadFace(lib, mono.c_str(), 13);
    FT_Face title = LoadFace(lib, sans.c_str(), 12);
    struct Page {
        int x;
        const char* name;
        std::vector<std::pair<std::string, uint32_t>> lines;
    } pages[2] = {
        {8,
         "Game001\\Info.html",
         {{"<!--MIN 0-->", 0x006000},
          {"<!--MAX 1000-->", 0x006000},
          {"<!--VAL 828-->", 0x006000},
          {"<!--LOG 0-->", 0x006000},
          {"<!DOCTYPE html>", 0x000080},
          {"<html>", 0x000080},
          {"<h1>Wie hoch ist ...?</h1>", 0x000000},
          {"...", 0x000000}}},
        {268,
         "Game015\\Info.html",
         {{"<!--FIN-->", 0x006000},
          {"<!DOCTYPE html>", 0x000080},
          {"<html>", 0x000080},
          {"<h1>Ende</h1>", 0x000000},
          {"...", 0x000000}}},
    };
    for (const Page& page : pages) {
        FillBox(r, page.x, 8, page.x + 244, 30, 0x2C4A7C);
        DrawText(title, r, page.x + 8, 24, page.name, 0xFFFFFF);
        FillBox(r, page.x, 30, page.x + 244, 176, 0xFFFFFF);
        FrameBox(r, page.x, 8, page.x + 244, 176, 0x808080);
        int baseline = 48;
        for (const auto& line : page.lines) {
            DrawText(code, r, page.x + 10, baseline, line.first, line.second);
            baseline += 16;
        }
    }
    FT_Done_Face(code);
    FT_Done_Face(title);
    WriteBmp24(path, r);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <output dir> <DejaVu font dir>\n", argv[0]);
        return 2;
    }
    const std::string out = argv[1], fonts = argv[2];
    MakeStar(out + "/star-large.bmp", 128);
    MakeStar(out + "/star-medium.bmp", 96);
    MakeStar(out + "/star-small.bmp", 64);
    MakeSprites(out);

    FT_Library lib;
    if (FT_Init_FreeType(&lib)) return 1;
    const std::string bold = fonts + "/DejaVuSans-Bold.ttf";
    MakeFont(lib, {bold.c_str(), 36, 6, 32, 18, 9, 11, 1}, out + "/scale-font.bin");
    MakeFont(lib, {bold.c_str(), 55, 9, 50, 27, 13, 16, 4}, out + "/label-font.bin");
    MakeSamplePage(lib, fonts + "/DejaVuSansMono.ttf", fonts + "/DejaVuSans-Bold.ttf", out + "/sample-page.bmp");
    FT_Done_FreeType(lib);
    return 0;
}
