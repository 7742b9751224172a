#include "ui/msgbox/UiStrings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

// The test program's allocations, refused for one thread while a test asks for it.
namespace {
std::atomic<DWORD> g_refusingThread{0};
struct RefusedAllocations {
    RefusedAllocations() { g_refusingThread = GetCurrentThreadId(); }
    ~RefusedAllocations() { g_refusingThread = 0; }
};
}  // namespace

void* operator new(std::size_t size) {
    if (g_refusingThread.load() == GetCurrentThreadId()) throw std::bad_alloc();
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

// Without memory for the table, the UI strings are their defaults (the callers are message handlers).
TEST(UiStrings, DefaultsWhenTheTableCannotBeBuilt) {
    FreeUIStrings();
    int ansiLength = 0, wideLength = 0;
    const char* ansi = nullptr;
    const wchar_t* wide = nullptr;
    {
        RefusedAllocations refused;
        ansi = GetUIStringA(nullptr, kUiDeselectAll, &ansiLength);
        wide = GetUIStringW(nullptr, kUiNever, &wideLength);
    }
    EXPECT_STREQ(ansi, "&Alles abwählen");
    EXPECT_STREQ(wide, L"Niemals");
    EXPECT_EQ(std::pair(ansiLength, wideLength), std::pair(15, 7));
    EXPECT_STREQ(GetUIStringA(nullptr, kUiNever, nullptr), "Niemals");  // built once memory is there
}
