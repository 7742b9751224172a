// Button pictures on real buttons (common controls 6): the shared image lists, the greyed disabled state,
// buttons that refuse an image list, and the plain-bitmap results.
#include "image/buttons/ButtonImages.h"

#include <gtest/gtest.h>

#include "tests/support/Canvas.h"

#include <utility>
#include <vector>

namespace {

constexpr uintptr_t kResourcePicture = 300; // ButtonImagesTest.rc: red, white, mask grey, black

// A 3 x 1 24-bit packed DIB: blue, green, the mask grey.
const std::vector<uint8_t>& PackedPicture() {
    static const std::vector<uint8_t> dib = [] {
        std::vector<uint8_t> d(40 + 12);
        BITMAPINFOHEADER h = {40, 3, 1, 1, 24, BI_RGB, 12, 0, 0, 0, 0};
        memcpy(d.data(), &h, 40);
        const uint8_t pixels[12] = {255, 0, 0, 0, 255, 0, 0xC0, 0xC0, 0xC0, 0, 0, 0};
        memcpy(d.data() + 40, pixels, 12);
        return d;
    }();
    return dib;
}
uintptr_t PackedSource() { return (uintptr_t)PackedPicture().data(); }

WNDPROC g_buttonProc;
LRESULT CALLBACK RefuseImageLists(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == BCM_SETIMAGELIST) return FALSE;
    return CallWindowProcA(g_buttonProc, w, m, wp, lp);
}

// A hidden window with push buttons; `refusing` ones turn image lists down.
struct Buttons {
    HWND parent;
    std::vector<HWND> button;
    explicit Buttons(int count, int refusing = 0) {
        parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
        for (int i = 0; i < count + refusing; ++i) {
            HWND b = CreateWindowExA(0, "BUTTON", "", WS_CHILD | BS_PUSHBUTTON, 0, 0, 40, 30, parent,
                                     (HMENU)(INT_PTR)(100 + i), nullptr, nullptr);
            if (i >= count) g_buttonProc = (WNDPROC)SetWindowLongPtrA(b, GWLP_WNDPROC, (LONG_PTR)RefuseImageLists);
            button.push_back(b);
        }
    }
    ~Buttons() {
        for (HWND b : button) DeleteButtonBitmap(b);
        DestroyWindow(parent);
        FreeButtonImageCache();
    }
};

HIMAGELIST ListOf(HWND button) {
    BUTTON_IMAGELIST info = {};
    return SendMessageA(button, BCM_GETIMAGELIST, 0, (LPARAM)&info) ? info.himl : nullptr;
}

HBITMAP PlainOf(HWND button) { return (HBITMAP)SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0); }

bool ThemesOn() {
    HMODULE uxtheme = LoadLibraryA("UxTheme.dll");
    auto active = (BOOL(WINAPI*)())(void*)GetProcAddress(uxtheme, "IsThemeActive");
    return active && active();
}

} // namespace

TEST(ButtonImages, GreyLevels) {
    // White, black, red, and the greys around the mask grey (which a greyed picture must not produce).
    const int kLevels[][4] = {{255, 255, 255, 208}, {0, 0, 0, 144},        {255, 0, 0, 162},
                              {192, 192, 192, 191}, {191, 191, 191, 191}, {193, 193, 193, 193}};
    for (const auto& l : kLevels) EXPECT_EQ(l[3], ButtonGreyLevel(l[0], l[1], l[2])) << l[0] << "," << l[1];

    // Palette images: the colour table; true colour: every pixel, the row padding left alone; 16 bits: nothing.
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD c[4];
    } palette = {{40, 2, 1, 1, 2, BI_RGB, 0, 0, 0, 3, 0},
                 {{255, 255, 255, 0}, {0xC0, 0xC0, 0xC0, 0}, {0, 0, 0, 0}, {9, 9, 9, 0}}};
    GreyButtonDib((BITMAPINFO*)&palette, nullptr);
    std::vector<int> greys; // the fourth entry is beyond the colours in use
    for (const RGBQUAD& q : palette.c) greys.insert(greys.end(), {q.rgbRed, q.rgbGreen, q.rgbBlue});
    EXPECT_EQ((std::vector<int>{208, 208, 208, 0xC0, 0xC0, 0xC0, 144, 144, 144, 9, 9, 9}), greys);
    for (WORD bits : {24, 32, 16}) {
        BITMAPINFO info = {{40, 3, -2, 1, bits, BI_RGB, 0, 0, 0, 0, 0}, {}};
        std::vector<uint8_t> pixels(2 * (((3 * bits + 31) / 32) * 4), 0xAB);
        const std::vector<uint8_t> before = pixels;
        GreyButtonDib(&info, pixels.data());
        if (bits == 16) {
            EXPECT_EQ(before, pixels);
            continue;
        }
        const size_t stride = pixels.size() / 2, bytes = bits / 8;
        const uint8_t grey = ButtonGreyLevel(0xAB, 0xAB, 0xAB);
        for (size_t row = 0; row < 2; ++row)
            for (size_t i = 0; i < stride; ++i) {
                const bool colour = i < 3 * bytes && (bytes == 3 || i % 4 != 3);
                EXPECT_EQ(colour ? grey : 0xAB, pixels[row * stride + i]) << bits << " " << row << " " << i;
            }
    }
}

TEST(ButtonImages, ButtonsShareOneListPerSource) {
    ASSERT_TRUE(ThemesOn());
    Buttons host(3);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(SetButtonBitmap(host.button[i], i < 2 ? PackedSource() : kResourcePicture));
    const HIMAGELIST shared = ListOf(host.button[0]);
    ASSERT_NE(nullptr, shared);
    EXPECT_EQ(shared, ListOf(host.button[1]));
    EXPECT_NE(shared, ListOf(host.button[2]));
    EXPECT_EQ(nullptr, PlainOf(host.button[0]));
    EXPECT_EQ(6, ImageList_GetImageCount(shared));
    int w = 0, h = 0;
    ImageList_GetIconSize(ListOf(host.button[2]), &w, &h);
    EXPECT_EQ(std::pair(4, 2), std::pair(w, h));

    // Normal, and disabled (image 3) greyed; the mask grey is transparent in both.
    Canvas c(20, 4);
    c.Clear(RGB(1, 2, 3));
    HIMAGELIST resource = ListOf(host.button[2]);
    ImageList_Draw(resource, 0, c.dc, 0, 0, ILD_TRANSPARENT);
    ImageList_Draw(resource, 3, c.dc, 10, 0, ILD_TRANSPARENT);
    const COLORREF kDrawn[][2] = {{RGB(255, 0, 0), RGB(162, 162, 162)}, {RGB(255, 255, 255), RGB(208, 208, 208)},
                                  {RGB(1, 2, 3), RGB(1, 2, 3)}};
    for (int x = 0; x < 3; ++x)
        for (int disabled = 0; disabled < 2; ++disabled)
            EXPECT_EQ(kDrawn[x][disabled], c.At(10 * disabled + x, x & 1)) << x << " " << disabled;
    EXPECT_EQ(RGB(144, 144, 144), c.At(13, 0));
}

TEST(ButtonImages, CacheHitOnARefusingButtonLeavesTheListAlone) {
    ASSERT_TRUE(ThemesOn());
    Buttons host(2, 2);
    ASSERT_TRUE(SetButtonBitmap(host.button[0], PackedSource()));
    const HIMAGELIST shared = ListOf(host.button[0]);
    // The refusing button gets a plain bitmap; the shared list and the cache stay whole.
    EXPECT_TRUE(SetButtonBitmap(host.button[2], PackedSource()));
    EXPECT_NE(nullptr, PlainOf(host.button[2]));
    EXPECT_EQ(6, ImageList_GetImageCount(shared));
    EXPECT_TRUE(SetButtonBitmap(host.button[1], PackedSource()));
    EXPECT_EQ(shared, ListOf(host.button[1]));
    // A new source first offered to a refusing button is not cached: the next button builds its own list.
    EXPECT_TRUE(SetButtonBitmap(host.button[3], kResourcePicture));
    EXPECT_NE(nullptr, PlainOf(host.button[3]));
    EXPECT_TRUE(SetButtonBitmap(host.button[1], kResourcePicture));
    EXPECT_NE(shared, ListOf(host.button[1]));
    EXPECT_EQ(6, ImageList_GetImageCount(ListOf(host.button[1])));
}

TEST(ButtonImages, PlainBitmapsReportWhatHappened) {
    Buttons host(0, 1);
    HWND button = host.button[0];
    EXPECT_EQ(FALSE, DeleteButtonBitmap(button));
    EXPECT_TRUE(SetButtonBitmap(button, kResourcePicture)); // the first picture: nothing came before it
    const HBITMAP first = PlainOf(button);
    EXPECT_NE(nullptr, first);
    EXPECT_TRUE(SetButtonBitmap(button, PackedSource()));
    EXPECT_NE(first, PlainOf(button));
    DeleteObject(first); // the replaced bitmap belongs to the caller
    EXPECT_TRUE(DeleteButtonBitmap(button));
    EXPECT_EQ(nullptr, PlainOf(button));
    EXPECT_EQ(FALSE, DeleteButtonBitmap(button));
    // No picture, or nothing that holds one.
    EXPECT_FALSE(SetButtonBitmap(button, 999));
    BITMAPCOREHEADER core = {sizeof core, 1, 1, 1, 24};
    EXPECT_FALSE(SetButtonBitmap(button, (uintptr_t)&core));
    HWND label = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, host.parent, nullptr, nullptr, nullptr);
    EXPECT_FALSE(SetButtonBitmap(label, kResourcePicture));
    EXPECT_FALSE(SetButtonBitmap(nullptr, kResourcePicture));
}
