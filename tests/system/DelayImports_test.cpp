// System libraries the program loads at the first call into them (cmake/DelayImports.cmake): none is loaded
// with the program, and the first call loads it and reaches the function.
#include <windows.h>
#include <commdlg.h>
#include <lm.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <functional>

TEST(DelayImports, LibrariesLoadAtTheFirstCallIntoThem) {
    const struct {
        const char* dll;
        std::function<bool()> call;  // true when the function answered as it does
    } cases[] = {
        {"comdlg32.dll", [] { return CommDlgExtendedError() == 0; }},
        {"netapi32.dll", [] { return NetApiBufferFree(nullptr) == NERR_Success; }},
        {"winmm.dll", [] { return waveOutGetNumDevs() < 1000; }},
    };
    for (const auto& c : cases) EXPECT_EQ(GetModuleHandleA(c.dll), nullptr) << c.dll << " loaded with the program";
    for (const auto& c : cases) {
        EXPECT_TRUE(c.call()) << c.dll;
        EXPECT_NE(GetModuleHandleA(c.dll), nullptr) << c.dll;
    }
}
