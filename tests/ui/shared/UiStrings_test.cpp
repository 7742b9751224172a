#include "ui/shared/UiStrings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

// The test program's allocations, which one thread may have refused.
static std::atomic<DWORD> g_refusingThread{0};
void* operator new(std::size_t size) {
    void* block = g_refusingThread.load() == GetCurrentThreadId() ? nullptr : std::malloc(size ? size : 1);
    if (!block) throw std::bad_alloc();
    return block;
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

// Without memory for the table, the UI strings are their defaults (the callers are message handlers).
TEST(UiStrings, DefaultsWhenTheTableCannotBeBuilt) {
    FreeUIStrings();
    int lengths[2] = {};
    std::pair<const char*, const wchar_t*> texts;
    {
        struct Refused {
            Refused() { g_refusingThread = GetCurrentThreadId(); }
            ~Refused() { g_refusingThread = 0; }
        } refused;
        texts = {GetUIStringA(nullptr, kUiDeselectAll, &lengths[0]), GetUIStringW(nullptr, kUiNever, &lengths[1])};
    }
    EXPECT_STREQ(texts.first, "&Alles abwählen");
    EXPECT_STREQ(texts.second, L"Niemals");
    EXPECT_EQ(std::pair(lengths[0], lengths[1]), std::pair(15, 7));
    EXPECT_STREQ(GetUIStringA(nullptr, kUiNever, nullptr), "Niemals");  // built once memory is there
}
