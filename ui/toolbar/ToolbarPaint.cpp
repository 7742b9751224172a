// Painting of the toolbar control. Each button keeps a strip of six look frames (one for a separator), drawn
// again only when the button asks for it; a paint copies the right frame of each button, fills the background
// around them and draws the insert mark and the labels.
#include "ui/toolbar/ToolbarMessages.h"

#include "ui/toolbar/ToolbarFrameGlyphs.h"
#include "image/DibRecord.h"
#include "image/DibRecordLoad.h"
#include "image/DibRecordStretch.h"
#include "image/OwnerDraw.h"
#include "image/Theme.h"

#include <algorithm>

namespace {

constexpr int kPaintSite = 8088;
constexpr COLORREF kNoColor = 0xFFFFFFFE;

void Fill(HDC dc, int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top) return;
    RECT r = {left, top, right, bottom};
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void FillColor(HDC dc, const RECT& r, COLORREF color) {
    COLORREF old = SetBkColor(dc, color);
    Fill(dc, r.left, r.top, r.right, r.bottom);
    SetBkColor(dc, old);
}

// The effective look of frame k: a button may refuse the checked, disabled or hot look.
int EffectiveLook(const ToolbarButton* b, int k) {
    int e = k;
    if (b->extra & TBXF_NOCHECKLOOK) e &= ~1;
    if (b->extra & TBXF_NODISABLEDLOOK) e &= ~4;
    if (b->extra & TBXF_NOHOTLOOK) e &= ~2;
    return e;
}

void DrawText(HDC dc, const ToolbarButton* b, const ToolbarString* text, RECT r, UINT format, bool disabled) {
    if (!text || !text->length) return;
    if (b->fsStyle & BTNS_NOPREFIX) format |= DT_NOPREFIX;
    if (disabled) {
        DWORD flags = ((format & DT_CENTER) ? kDisabledCentreX : 0) | ((format & DT_VCENTER) ? kDisabledCentreY : 0) |
                      ((format & DT_NOPREFIX) ? kDisabledShowAmpersand : 0);
        DrawDisabledTextW(dc, text->text, text->length, &r, flags);
    } else {
        DrawTextW(dc, text->text, text->length, &r, format);
    }
}

// Everything a frame-drawing step needs about one button.
struct FrameContext {
    ToolbarState* s;
    ToolbarButton* b;
    HDC dc;
    const ToolbarString* text;
    int W, H;       // laid-out size
    int gx, gy;     // content origin in a frame
    int Wc, Hc;     // content size
    int mask;       // the frames to draw, bit k for frame k
    BYTE* pixels;   // of the strip
};

bool Wanted(const FrameContext& f, int k) { return (f.mask >> k) & 1; }

void DrawSeparator(const FrameContext& f) {
    FillColor(f.dc, {0, 0, f.W, f.H}, f.s->colors[0]);
    COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    if (f.W > f.H) {
        int y = (f.H - 1) / 2, x = f.s->gap / 2;
        FillColor(f.dc, {x, y, x + f.W - f.s->gap, y + 1}, shadow);
        FillColor(f.dc, {x, y + 1, x + f.W - f.s->gap, y + 2}, 0xFFFFFF);
    } else {
        int x = (f.W - 1) / 2, y = f.s->gap2 / 2;
        FillColor(f.dc, {x, y, x + 1, y + f.H - f.s->gap2}, shadow);
        FillColor(f.dc, {x + 1, y, x + 2, y + f.H - f.s->gap2}, 0xFFFFFF);
    }
}

void DrawChildCaption(const FrameContext& f) {
    for (int k = 0; k < 6; ++k) {
        if (!Wanted(f, k)) continue;
        int y0 = k * f.H + f.gy + f.Hc - f.s->lineHeight - 1;
        DrawText(f.dc, f.b, f.text, {f.gx, y0, f.gx + f.Wc, y0 + f.Hc}, DT_CENTER | DT_SINGLELINE,
                 EffectiveLook(f.b, k) & 4);
    }
}

int BandHeight(const FrameContext& f) {
    bool stackedFollower = (f.b->look & kLookStacked) && !(f.b->look & kLookStackHead);
    return (f.b->look & kLookBand) && !stackedFollower ? f.s->lineHeight + 1 : 0;
}

void DrawGlyphButton(const FrameContext& f) {
    SIZE glyph = {13, 13};
    GetCheckGlyphSize(0, &glyph);
    int area = f.Hc - BandHeight(f);
    static const DWORD kStates[6] = {1, 5, 2, 6, 4, 8};
    for (int k = 0; k < 6; ++k) {
        if (!Wanted(f, k)) continue;
        int e = EffectiveLook(f.b, k);
        int top = k * f.H + f.gy;
        RECT box = {f.gx, top + (area - glyph.cy) / 2, f.gx + glyph.cx, top + (area - glyph.cy) / 2 + glyph.cy};
        if (f.b->extra & TBXF_CHECK) DrawCheckItem(f.dc, nullptr, &box, kStates[e], 0);
        else DrawRadioItem(f.dc, nullptr, &box, kStates[e], 0);
        DrawText(f.dc, f.b, f.text, {box.right + 2, top, f.gx + f.Wc, top + area}, DT_VCENTER | DT_SINGLELINE, e >= 4);
    }
}

void DrawTextButton(const FrameContext& f) {
    int area = f.Hc - ((f.b->look & kLookBand) ? f.s->lineHeight + 1 : 0);
    for (int k = 0; k < 6; ++k) {
        if (!Wanted(f, k)) continue;
        int e = EffectiveLook(f.b, k);
        int top = k * f.H + f.gy;
        RECT face = {f.gx, top, f.gx + f.Wc, top + area};
        DWORD state = (e & 1) ? 3 : e == 4 ? 4 : e == 2 ? 2 : 1;
        DrawPushButton(f.dc, nullptr, &face, state, 0);
        DrawText(f.dc, f.b, f.text, face, DT_CENTER | DT_VCENTER | DT_SINGLELINE, e >= 4);
    }
}

// A working image of the state, kept for the next button of the same size.
BITMAPINFOHEADER* ScratchImage(ToolbarState* s, int slot, int w, int h, int depth, void** bits, HDC dc) {
    BITMAPINFOHEADER*& image = s->scratch[slot];
    if (image && image->biWidth == w && image->biHeight == h && image->biBitCount == depth) {
        *bits = s->scratchBits[slot];
        return image;
    }
    if (image) FreeDib(image);
    image = CreateDib(dc, w, h, (DWORD)depth, bits);
    s->scratchBits[slot] = (BYTE*)*bits;
    return image;
}

// Where the parts of an image button go inside a frame.
struct ImagePlacement {
    int IW, IH;      // image area (the frame glyph covers it)
    int TW, T, X;    // text width (overlapping text), text top, text left
    int arrow;       // drop-down arrow width
    int x, yOffset;  // the image's position
};

ImagePlacement PlaceImage(const FrameContext& f, int dw, int dh) {
    ToolbarState* s = f.s;
    ToolbarButton* b = f.b;
    ImagePlacement p = {f.Wc, f.Hc, 0, 0, 0, 0, 0, 0};
    int line = s->lineHeight + 1;
    bool overlap = (b->extra & TBXF_TEXTOVERLAP) != 0;
    if (b->look & kLookTextBelow) {
        p.T = f.gy + f.Hc - line;
        if (overlap) p.T -= s->padY - s->padY / 2;
        else p.IH = f.Hc - line;
    } else if (b->look & kLookBand) {
        p.IH = f.Hc - line;
    }
    if (b->look & kLookTextRight) {
        p.X = s->padX + dw + f.gx + 2;
        p.T = (p.IH - s->lineHeight) / 2 + f.gy;
        if (overlap) {
            p.X -= s->padX - s->padX / 2;
            p.TW = f.Wc - s->padX - dw;
        } else {
            p.IW = s->padX + dw;
        }
    }
    int content = f.gx + p.IW;
    if (b->fsStyle & BTNS_DROPDOWN) {
        p.arrow = DropArrowWidth(dh);
        if (!(b->look & kLookTextRight)) {
            p.IW -= p.arrow;
        } else if (!overlap) {
            content += p.arrow;
            p.X += p.arrow;
        } else {
            p.IW -= p.arrow;
            p.TW -= p.arrow;
        }
    }
    b->content = PackButtonContent(content, p.arrow);
    p.x = f.gx + (p.IW - dw - p.TW) / 2;
    p.yOffset = (p.IH - dh) / 2;
    return p;
}

// Recolours the picture into B for frame k (even): system greys, the key made transparent, value colours,
// the disabled wash; then scales it into A.
void PrepareImage(const FrameContext& f, const ToolbarImageRef& ref, int k, bool hasAlpha, COLORREF key,
                  BITMAPINFOHEADER* B, void* bBits, BITMAPINFOHEADER* A, void* aBits, int dw, int dh) {
    ToolbarState* s = f.s;
    ToolbarButton* b = f.b;
    ToolbarBitmap* bm = ref.bitmap;
    DrawDibPartIntoDib((const BITMAPINFO*)bm->image, bm->pixels, 0, 0, ref.x, ref.y, ref.width, ref.height, B);
    GdiFlush();
    if (!hasAlpha) {
        MapDibSysColors((BITMAPINFO*)B, bBits);
        ReplaceDibColor((BITMAPINFO*)B, bBits, key | 0x40000000u, s->colors[k == 2 ? 3 : 0]);
    }
    if (b->extra & TBXF_VALUE) {
        if (b->extra & TBXF_TWOCOLORS) {
            for (int c = 0; c < 2; ++c) {
                DWORD v = (DWORD)(b->dwData >> (16 * c)) & 0xFFFF;
                COLORREF color = RGB((v & 0xF800) >> 8, (v & 0x07E0) >> 3, (v & 0x001F) << 3);
                ReplaceDibColor((BITMAPINFO*)B, bBits, s->keyColors[c], color);
            }
        } else {
            ReplaceDibColor((BITMAPINFO*)B, bBits, s->keyColors[0], (COLORREF)b->dwData | 0xFF000000u);
        }
    }
    if (EffectiveLook(b, k) & 4) MakeDisabledDib((BITMAPINFO*)B, bBits, s->colors[0], 0x20000000);
    if (A != B) StretchDib((BITMAPINFO*)A, aBits, (const BITMAPINFO*)B, bBits, 0, 0, ref.width, ref.height, 0, 0, dw, dh);
}

// The button's picture and the size it is drawn in; false when it has none to draw.
bool ButtonPicture(ToolbarState* s, const ToolbarButton* b, ToolbarImageRef* ref, int* dw, int* dh, bool* scaled) {
    if (!FindButtonImage(s, b->iBitmap, ref) || ref->width < 1 || ref->height < 1) return false;
    *scaled = ScaledImageSize(s, *ref, dw, dh);
    return *dw >= 1 && *dh >= 1;
}

FrameContext ContextOf(ToolbarState* s, ToolbarButton* b, HDC dc, int mask) {
    int W = b->rect.right - b->rect.left, H = b->rect.bottom - b->rect.top;
    FrameContext f = {s, b, dc, ButtonString(s, b), W, H, s->gap / 2, s->gap2 / 2, W - s->gap, H - s->gap2, mask,
                      b->stripPixels};
    if ((b->look & kLookStacked) && !(b->look & kLookStackHead)) f.Hc += f.gy;
    return f;
}

// Frames of a button with an image (and perhaps text and a drop-down arrow).
void DrawImageButton(const FrameContext& f) {
    ToolbarState* s = f.s;
    ToolbarButton* b = f.b;
    ToolbarImageRef ref;
    int dw, dh;
    bool scaled;
    if (!ButtonPicture(s, b, &ref, &dw, &dh, &scaled)) return;
    ToolbarBitmap* bm = ref.bitmap;
    ImagePlacement p = PlaceImage(f, dw, dh);

    bool hasAlpha = ToolbarImageHasAlpha(ref);
    COLORREF key = hasAlpha ? 0 : MapSysColor(GetDibCornerColor((const BITMAPINFO*)bm->image, bm->pixels));
    int depth = s->deep ? 32 : ToolbarPaintDepth();
    void* bBits = nullptr;
    BITMAPINFOHEADER* B = ScratchImage(s, 0, ref.width, ref.height, depth, &bBits, f.dc);
    void* aBits = bBits;
    BITMAPINFOHEADER* A = scaled ? ScratchImage(s, 1, dw, dh, depth, &aBits, f.dc) : B;
    if (!B || !A) return;
    bool flat = (s->style & TBSTYLE_FLAT) != 0;
    bool rest = (b->extra & TBXF_RESTFRAME) || (!flat && !(b->extra & TBXF_NOFRAME));
    bool dropDown = (b->fsStyle & BTNS_DROPDOWN) != 0;
    bool overlap = (b->extra & TBXF_TEXTOVERLAP) != 0;
    int prepared = -1;
    for (int k = 0; k < 6; ++k) {
        if (!Wanted(f, k)) continue;
        int e = EffectiveLook(b, k);
        int frameY = k * f.H + f.gy;
        // An odd frame shows the recoloured picture of the even frame before it.
        if (prepared != (k & ~1)) {
            prepared = k & ~1;
            PrepareImage(f, ref, prepared, hasAlpha, key, B, bBits, A, aBits, dw, dh);
        }
        int imageX = p.x, imageY = frameY + p.yOffset;
        int kind = e + (dropDown ? 8 : 0);
        GdiFlush();
        if (e & 1) {
            if (s->deep) DrawFrameGlyph(b->strip, f.pixels, f.gx, frameY, p.IW, p.IH, kind, s->colors[4]);
            else Draw3dFrame(f.dc, f.gx, frameY, p.IW, p.IH, kFrameSunken | kFrameFill | ((e & 2) ? kFrameFillLight : 0));
            if (s->padX > 4) ++imageX;
            if (s->padY > 4) ++imageY;
        } else if ((e & 2) || rest) {
            if (s->deep) DrawFrameGlyph(b->strip, f.pixels, f.gx, frameY, p.IW, p.IH, kind, s->colors[4]);
            else Draw3dFrame(f.dc, f.gx, frameY, p.IW, p.IH, (DWORD)((e | 1) * 2));
        }
        if (dropDown) {
            RECT r = {f.gx + p.IW, frameY, f.gx + p.IW + p.arrow, frameY + p.IH};
            if (s->deep) {
                static const int kGlyphKinds[6] = {0x10, 0x10, 0x12, 0x13, 0x14, 0x15};
                static const DWORD kArrowFlags[6] = {0x421, 0x421, 0x422, 0x423, 0x424, 0x424};
                if (k != 0 || rest)
                    DrawFrameGlyph(b->strip, f.pixels, r.left, r.top, p.arrow, p.IH, kGlyphKinds[k], s->colors[4]);
                GdiFlush();
                DrawCheckGlyph(f.dc, &r, kArrowFlags[k], 1);
            } else {
                static const UINT kControl[6] = {0, 0, DFCS_HOT, DFCS_HOT | DFCS_PUSHED, DFCS_INACTIVE, DFCS_INACTIVE};
                static const DWORD kFrame[6] = {0, 0, 0, 1, 0, 0};
                DrawFrameControl(f.dc, &r, DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_FLAT | kControl[k]);
                DWORD frame = k == 0 ? (rest ? 0 : kFrameKeepColor) : kFrame[k];
                Draw3dFrame(f.dc, r.left, r.top, p.arrow, p.IH, frame);
            }
        }
        GdiFlush();
        if (s->deep) {
            AlphaBlendDib((BITMAPINFO*)b->strip, f.pixels, imageX, imageY, (const BITMAPINFO*)A, aBits, 0, 0, dw, dh);
            if (bm->image->biBitCount == 4) {
                int grow = s->padX > 4 ? 1 : 0, growY = s->padY > 4 ? 1 : 0;
                SmoothDibRect((const BITMAPINFO*)b->strip, f.pixels, imageX - grow, imageY - growY, dw + 2 * grow,
                              dh + 2 * growY);
            }
        } else {
            SetDIBitsToDevice(f.dc, imageX, imageY, dw, dh, 0, 0, 0, dh, aBits, (const BITMAPINFO*)A, DIB_RGB_COLORS);
        }
        if (b->look & kLookTextBelow) {
            int top = p.T + k * f.H;
            DrawText(f.dc, b, f.text, {f.gx, top, f.gx + f.Wc, top + f.Hc}, DT_CENTER | DT_SINGLELINE, e & 4);
        } else if (b->look & kLookTextRight) {
            int top = p.T + k * f.H, left = p.X;
            if ((e & 1) && overlap) {
                if (s->padX > 4) left += 2;
                if (s->padY > 4) top += 1;
            }
            DrawText(f.dc, b, f.text, {left, top, f.W - s->gap, top + s->lineHeight}, DT_VCENTER | DT_SINGLELINE,
                     e & 4);
        }
    }
}

// The caption of a group is the text of the separator that closes it, centred across the group's bottom band;
// each button draws its slice.
void DrawGroupCaption(const FrameContext& f, int index) {
    ToolbarState* s = f.s;
    int before = 0;
    for (int i = index - 1; i >= 0; --i) {
        const ToolbarButton* b = s->buttons[i];
        if (!IsButtonVisible(b)) continue;
        if (IsSeparator(b) || (b->fsState & TBSTATE_WRAP)) break;
        before += b->laidW;
    }
    if (f.b->fsState & TBSTATE_WRAP) return;
    int after = 0;
    const ToolbarString* caption = nullptr;
    for (int i = index + 1; i < s->buttonCount; ++i) {
        const ToolbarButton* b = s->buttons[i];
        if (!IsButtonVisible(b)) continue;
        if (IsSeparator(b)) {
            caption = ButtonString(s, b);
            break;
        }
        if (b->fsState & TBSTATE_WRAP) return;
        after += b->laidW;
    }
    if (!caption || !caption->length) return;
    int bottom = f.gy + f.H - s->gap2;
    RECT r = {-before, bottom - s->lineHeight, f.W + after, bottom};
    COLORREF old = SetTextColor(f.dc, s->colors[1]);
    for (int k = 0; k < 6; ++k, OffsetRect(&r, 0, f.H))
        if (Wanted(f, k)) DrawTextW(f.dc, caption->text, caption->length, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetTextColor(f.dc, old);
}

// The frames a drop-down button shows for its look: one for the main part, one for the arrow part.
void DropDownFrames(const ToolbarState* s, int look, int* main, int* arrow) {
    if (look >= 6) *main = look - 4, *arrow = s->dropPressed ? 3 : 2;
    else if (look >= 4) *main = *arrow = look;
    else *main = look, *arrow = look >= 2 ? 1 : 0;
}

// The frames a paint copies for the button's look.
int NeededFrames(const ToolbarState* s, const ToolbarButton* b) {
    if (IsSeparator(b)) return 1;
    int look = b->look & kLookMask;
    if (!(b->fsStyle & BTNS_DROPDOWN)) return 1 << std::min(look, 5);
    int main, arrow;
    DropDownFrames(s, look, &main, &arrow);
    return (1 << main) | (1 << arrow);
}

void PositionLabel(ToolbarState* s, HDC dc, ToolbarLabel* label) {
    label->flags &= ~kLabelRecompute;
    RECT size = {};
    DrawTextW(dc, label->text, -1, &size, DT_CALCRECT);
    int tw = size.right - size.left, th = size.bottom - size.top;
    const ToolbarButton* b = ButtonAt(s, ResolveButtonIndex(s, label->key));
    int h = b ? (label->flags & 3) : 3, v = b ? ((label->flags >> 2) & 3) : 3;
    RECT r = b ? b->rect : RECT{};
    int x = h == 0 ? r.left : h == 1 ? (r.left + r.right + tw + 2) / 2 : h == 2 ? r.right - tw - 2 : 0;
    int y = v == 0 ? r.top : v == 1 ? (r.top + r.bottom + th) / 2 : v == 2 ? r.bottom - th : 0;
    label->x = (short)(x + label->dx);
    label->y = (short)(y + label->dy);
}

void BlitButton(const ToolbarState* s, HDC dc, HDC stripDC, const ToolbarButton* b) {
    const RECT& r = b->rect;
    int w = r.right - r.left, h = r.bottom - r.top;
    int look = b->look & kLookMask;
    if (IsSeparator(b)) {
        BitBlt(dc, r.left, r.top, w, h, stripDC, 0, 0, SRCCOPY);
    } else if (b->fsStyle & BTNS_DROPDOWN) {
        int main = std::clamp(ButtonContentEnd(b) - ButtonArrowWidth(b), 0, w);
        int f1, f2;
        DropDownFrames(s, look, &f1, &f2);
        BitBlt(dc, r.left, r.top, main, h, stripDC, 0, f1 * h, SRCCOPY);
        BitBlt(dc, r.left + main, r.top, w - main, h, stripDC, main, f2 * h, SRCCOPY);
    } else {
        BitBlt(dc, r.left, r.top, w, h, stripDC, 0, std::min(look, 5) * h, SRCCOPY);
    }
}

}  // namespace

void UpdateButtonContent(ToolbarState* s, int index) {
    ToolbarButton* b = ButtonAt(s, index);
    if (!b || IsSeparator(b) || (b->extra & TBXF_WINDOW)) return;
    FrameContext f = ContextOf(s, b, nullptr, 0);
    if (b->extra & (TBXF_RADIO | TBXF_CHECK)) {
        SIZE glyph = {13, 13};
        GetCheckGlyphSize(0, &glyph);
        b->content = PackButtonContent(f.gx + glyph.cx, 0);
        return;
    }
    ToolbarImageRef ref;
    int dw, dh;
    bool scaled;
    if ((b->look & kLookHasImage) && ButtonPicture(s, b, &ref, &dw, &dh, &scaled)) PlaceImage(f, dw, dh);
    else if (!(b->look & kLookHasImage)) b->content = PackButtonContent(f.gx + f.Wc, 0);
}

void FreeButtonStrip(ToolbarButton* b) {
    if (b->strip) FreeDib(b->strip);
    b->strip = nullptr;
    b->stripBitmap = nullptr;
    b->stripPixels = nullptr;
}

// Draws the frames of mask that the strip does not hold yet. A paint asks only for the frames it copies, so
// each frame is drawn once per change, when it is first shown.
void RenderButtonFrames(ToolbarState* s, int index, HDC dc, int mask) {
    ToolbarButton* b = ButtonAt(s, index);
    if (!b) return;
    int W = b->rect.right - b->rect.left, H = b->rect.bottom - b->rect.top;
    int frames = IsSeparator(b) ? 1 : 6;
    const ToolbarString* text = ButtonString(s, b);
    if (b->strip && (b->strip->biWidth != W || b->strip->biHeight != frames * H)) FreeButtonStrip(b);
    if (b->look & kLookRerender) b->framesDone = 0;
    if ((b->extra & TBXF_WINDOW) && (!text || text->length == 0)) {
        b->look &= ~kLookRerender;
        return;
    }
    if (!b->strip) {
        void* bits = nullptr;
        b->framesDone = 0;
        b->strip = CreateDib(dc, W, frames * H, s->deep ? 32 : ToolbarPaintDepth(), &bits);
        if (!b->strip) {
            // An empty separator never gets a strip; any other button tries again at the next paint.
            if (IsSeparator(b) && (W == 0 || H == 0)) b->look &= ~kLookRerender;
            return;
        }
        b->stripBitmap = GetDibBitmap(b->strip);
        b->stripPixels = (BYTE*)bits;
    }
    b->look &= ~kLookRerender;
    mask &= (1 << frames) - 1;
    mask &= ~b->framesDone;
    if (!mask) return;
    HGDIOBJ oldBitmap = SelectObject(dc, b->stripBitmap);
    if (!oldBitmap) return;
    HGDIOBJ oldFont = SelectObject(dc, ToolbarFont(s));
    SetTextColor(dc, s->colors[2]);
    SetBkMode(dc, TRANSPARENT);
    FrameContext f = ContextOf(s, b, dc, mask);
    UpdateButtonContent(s, index);
    if (IsSeparator(b)) {
        DrawSeparator(f);
    } else {
        for (int k = 0; k < 6; ++k)
            if (Wanted(f, k)) FillColor(dc, {0, k * H, W, (k + 1) * H}, s->colors[0]);
        if (b->extra & TBXF_WINDOW) DrawChildCaption(f);
        else if (b->extra & (TBXF_RADIO | TBXF_CHECK)) DrawGlyphButton(f);
        else if (b->look & kLookHasImage) DrawImageButton(f);
        else DrawTextButton(f);
        if (b->look & kLookGroupCaption) DrawGroupCaption(f, index);
    }
    b->framesDone |= (BYTE)mask;
    GdiFlush();
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
}

void FreeToolbarScratch(ToolbarState* s) {
    for (BITMAPINFOHEADER*& image : s->scratch) {
        if (image) FreeDib(image);
        image = nullptr;
    }
}

void DrawToolbarLabel(ToolbarState* s, HDC hdc, int x, int y, const WCHAR* text) {
    bool background = s->colors[6] != kNoColor;
    int oldMode = SetBkMode(hdc, background ? OPAQUE : TRANSPARENT);
    COLORREF oldBk = SetBkColor(hdc, s->colors[6]);
    COLORREF oldText = SetTextColor(hdc, s->colors[7]);
    DWORD size = TabbedTextOutW(hdc, x, y, text, lstrlenW(text), 0, nullptr, 0);
    int cx = LOWORD(size), cy = HIWORD(size);
    if (background) Fill(hdc, x + cx, y, x + cx + 1, y + cy);
    if (s->colors[8] != kNoColor) {
        const RECT sides[4] = {{x, y - 1, x + cx + 1, y},
                               {x, y + cy, x + cx + 1, y + cy + 1},
                               {x - 1, y, x, y + cy},
                               {x + cx + 1, y, x + cx + 2, y + cy}};
        for (const RECT& side : sides) FillColor(hdc, side, s->colors[8]);
    }
    SetTextColor(hdc, oldText);
    SetBkColor(hdc, oldBk);
    SetBkMode(hdc, oldMode);
}

void PaintToolbarState(ToolbarState* s, HDC hdc, const RECT* rect) {
    ToolbarLock lock(s, kPaintSite);
    RECT client = {0, 0, s->clientWidth, s->clientHeight};
    if (s->wnd) GetClientRect(s->wnd, &client);
    int width = client.right, height = client.bottom;
    RECT area = rect ? *rect : client;
    EnsureToolbarLayout(s);
    HDC stripDC = CreateCompatibleDC(hdc);
    COLORREF oldBk = SetBkColor(hdc, GetSysColor(COLOR_BTNFACE));
    if (s->indent > 0 && area.left < s->indent) Fill(hdc, 0, 0, s->indent, height);
    // Buttons outside what is painted get no strip: a long bar keeps strips only for what is shown.
    RECT shown = area, clip;
    if (GetClipBox(hdc, &clip) != ERROR) IntersectRect(&shown, &shown, &clip);
    RECT last = {};
    for (int i = 0; i < s->buttonCount; ++i) {
        ToolbarButton* b = s->buttons[i];
        if (!IsButtonVisible(b)) continue;
        RECT overlap;
        bool painted = IntersectRect(&overlap, &b->rect, &shown) != FALSE;
        if (painted) RenderButtonFrames(s, i, stripDC, NeededFrames(s, b));
        if (painted && !b->strip) {
            Fill(hdc, b->rect.left, b->rect.top, b->rect.right, b->rect.bottom);
            continue;
        }
        if (last.top < b->rect.top && last.right < width) {
            Fill(hdc, last.right, last.top, width, last.bottom);
            last.right = width;
        }
        if (painted) {
            HGDIOBJ old = SelectObject(stripDC, b->stripBitmap);
            BlitButton(s, hdc, stripDC, b);
            SelectObject(stripDC, old);
        }
        if (!IsRectEmpty(&b->rect)) last = b->rect;
    }
    Fill(hdc, last.right, last.top, width, last.bottom);
    Fill(hdc, s->indent, last.bottom, width, height);
    if (ButtonAt(s, s->markIndex)) {
        SetBkColor(hdc, s->colors[5]);
        const RECT& m = s->markRect;
        if (s->markFlags & 2) {
            Fill(hdc, m.left, m.top + 2, m.right, m.top + 4);
            Fill(hdc, m.left, m.top, m.left + 2, m.top + 6);
            Fill(hdc, m.right - 2, m.top, m.right, m.top + 6);
        } else {
            Fill(hdc, m.left + 2, m.top, m.left + 4, m.bottom);
            Fill(hdc, m.left, m.top, m.left + 6, m.top + 2);
            Fill(hdc, m.left, m.bottom - 2, m.left + 6, m.bottom);
        }
    }
    SetBkColor(hdc, oldBk);
    if (s->labels) {
        HGDIOBJ oldFont = SelectObject(hdc, GetStockObject(ANSI_VAR_FONT));
        for (ToolbarLabel* label = s->labels; label; label = label->next) {
            if (label->flags & kLabelRecompute) PositionLabel(s, hdc, label);
            DrawToolbarLabel(s, hdc, label->x, label->y, label->text);
        }
        SelectObject(hdc, oldFont);
    }
    DeleteDC(stripDC);
}

void PaintToolbar(HWND wnd, HDC hdc, const RECT* rect) {
    ToolbarState* s = GetToolbarState(wnd);
    if (hdc) {
        if (s) PaintToolbarState(s, hdc, rect);
        return;
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    if (s && dc) PaintToolbarState(s, dc, rect ? rect : &ps.rcPaint);
    EndPaint(wnd, &ps);
}

LRESULT OnPaint(ToolbarState* s, HDC hdc) {
    PaintToolbar(s->wnd, hdc, nullptr);
    return 0;
}
