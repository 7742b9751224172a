#include "system/Registry.h"

#include "framework/WinApp.h"

#include "tests/system/TestKey.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {
// Writes a raw value with the system's own call, as another program (or a damaged file) would.
void PutRaw(const char* path, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), 0);
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, (const BYTE*)data, size), 0);
    RegCloseKey(key);
}
bool KeyExists(const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != 0) return false;
    RegCloseKey(key);
    return true;
}
}  // namespace

TEST(Registry, DwordAndStringRoundTripThroughSubKey) {
    TestKey tk;
    {
        CRegistry reg;
        ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, tk.Path(), REGMODE_CREATE));
        ASSERT_TRUE(reg.OpenSubKey("Settings"));
        DWORD v = 1234;
        EXPECT_TRUE(reg.SetValueA(&v, 4, "Left", REG_DWORD));
        EXPECT_TRUE(reg.SetValueA("C:\\Quiz", 7, "HtmPath", REG_SZ));  // characters without terminator
    }
    CRegistry reg;
    ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, tk.Path(), REGMODE_READ));
    ASSERT_TRUE(reg.OpenSubKey("Settings", TRUE));
    DWORD v = 0;
    EXPECT_TRUE(reg.QueryValueA(&v, 4, "Left", REG_DWORD));
    EXPECT_EQ(v, 1234u);
    CString s;
    EXPECT_TRUE(reg.QueryString(s, "HtmPath"));
    EXPECT_EQ(s, "C:\\Quiz");
    char buf[8];
    EXPECT_TRUE(reg.QueryValueA(buf, 8, "HtmPath", REG_SZ));
    EXPECT_STREQ(buf, "C:\\Quiz");
    // A read-only chain writes nothing.
    EXPECT_FALSE(reg.SetValueA(&v, 4, "Left", REG_DWORD));
    EXPECT_EQ(reg.GetError(), REGERR_WRITE_FAILED);
    // Read mode creates no keys.
    EXPECT_FALSE(reg.OpenSubKey("Missing"));
    EXPECT_EQ(reg.GetError(), REGERR_OPEN_FAILED);
    EXPECT_FALSE(KeyExists(std::string(tk.Path()) + "\\Settings\\Missing"));
}

TEST(Registry, WrongTypeOrSizeLeavesTheCallersDefault) {
    TestKey tk;
    uint16_t shortVal = 7;
    uint64_t longVal = 9;
    DWORD dword = 5;
    PutRaw(tk.Path(), "Short", REG_DWORD, &shortVal, 2);
    PutRaw(tk.Path(), "Binary4", REG_BINARY, &dword, 4);
    PutRaw(tk.Path(), "Long", REG_BINARY, &longVal, 8);
    PutRaw(tk.Path(), "Text", REG_SZ, "abcdefgh", 9);
    PutRaw(tk.Path(), "Dword", REG_DWORD, &dword, 4);

    CRegistry reg;
    ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, tk.Path(), REGMODE_READ));
    DWORD v = 0xDEFA;
    EXPECT_FALSE(reg.QueryValueA(&v, 4, "Short", REG_DWORD));
    EXPECT_EQ(reg.GetError(), REGERR_WRONG_SIZE);
    EXPECT_FALSE(reg.QueryValueA(&v, 4, "Binary4", REG_DWORD));
    EXPECT_EQ(reg.GetError(), REGERR_WRONG_TYPE);
    EXPECT_FALSE(reg.QueryValueA(&v, 4, "Missing", REG_DWORD));
    EXPECT_EQ(reg.GetError(), REGERR_NOT_FOUND);
    EXPECT_EQ(reg.GetSystemError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(reg.QueryValueA(&v, 4, "Binary4", REG_DWORD));
    EXPECT_EQ(reg.GetSystemError(), 0);  // nothing left over from the failure before
    EXPECT_FALSE(reg.QueryValueA(&v, 4, "Long", REG_BINARY));  // 8 bytes into a 4-byte buffer
    EXPECT_EQ(v, 0xDEFAu);

    char text[8] = "default";
    EXPECT_FALSE(reg.QueryValueA(text, 8, "Text", REG_SZ));  // 8 characters need 9 bytes
    EXPECT_STREQ(text, "default");
    CString s("keep");
    EXPECT_FALSE(reg.QueryString(s, "Dword"));
    EXPECT_FALSE(reg.QueryString(s, "Missing"));
    EXPECT_EQ(s, "keep");
    char* block = (char*)1;
    EXPECT_FALSE(reg.QueryValueAllocA(&block, "Text", REG_MULTI_SZ));
    EXPECT_EQ(block, nullptr);
    EXPECT_TRUE(reg.QueryValueA(&v, 4, "Dword", REG_DWORD));
    EXPECT_EQ(v, 5u);
}

TEST(Registry, MultiStringRoundTrip) {
    TestKey tk;
    CRegistry reg;
    ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, tk.Path(), REGMODE_CREATE));
    EXPECT_TRUE(reg.SetMultiString("C:\\a\0D:\\b c\0\x02marker\0", "HtmlPaths"));
    char* block = nullptr;
    DWORD size = 0;
    ASSERT_TRUE(reg.QueryValueAllocA(&block, "HtmlPaths", REG_MULTI_SZ, &size));
    EXPECT_EQ(size, 21u);
    EXPECT_EQ(memcmp(block, "C:\\a\0D:\\b c\0\x02marker\0\0", 21), 0);
    free(block);

    // An empty list, and a stored list without its final NUL, still read double-NUL-terminated.
    EXPECT_TRUE(reg.SetMultiString("\0", "Empty"));
    ASSERT_TRUE(reg.QueryValueAllocA(&block, "Empty", REG_MULTI_SZ));
    EXPECT_EQ(block[0], 0);
    EXPECT_EQ(block[1], 0);
    free(block);
    PutRaw(tk.Path(), "Cut", REG_MULTI_SZ, "ab", 2);
    ASSERT_TRUE(reg.QueryValueAllocA(&block, "Cut", REG_MULTI_SZ));
    EXPECT_EQ(memcmp(block, "ab\0\0", 4), 0);
    free(block);
    EXPECT_FALSE(reg.QueryValueAllocA(&block, "Missing", REG_MULTI_SZ));
}

TEST(Registry, ChainHoldsTwelveKeys) {
    TestKey tk;
    CRegistry reg;
    ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, tk.Path(), REGMODE_CREATE));
    for (int i = 1; i < CRegistry::kMaxDepth; ++i) ASSERT_TRUE(reg.OpenSubKey("L")) << i;
    EXPECT_EQ(reg.GetDepth(), 12);
    EXPECT_FALSE(reg.OpenSubKey("L"));
    EXPECT_EQ(reg.GetError(), REGERR_STACK_FULL);
    DWORD v = 12;
    EXPECT_TRUE(reg.SetValueA(&v, 4, "Deep", REG_DWORD));
    EXPECT_TRUE(reg.CloseSubKey());
    EXPECT_EQ(reg.GetDepth(), 11);
    EXPECT_TRUE(reg.OpenSubKey("L"));
    reg.Close();
    EXPECT_FALSE(reg.IsOpen());
    EXPECT_FALSE(reg.CloseSubKey());
    EXPECT_FALSE(reg.QueryValueA(&v, 4, "Deep", REG_DWORD));
    EXPECT_EQ(reg.GetError(), REGERR_NOT_OPEN);
    std::string deep = tk.Path();
    for (int i = 1; i < 12; ++i) deep += "\\L";
    EXPECT_TRUE(KeyExists(deep));
}

TEST(Registry, NullPathIsTheApplicationKey) {
    TestKey tk;
    // The framework names the application; here the test's own name keeps parallel runs apart.
    SetRegistryAppKey("WertlaufTests", tk.Name().c_str());
    EXPECT_EQ(GetRegistryAppKeyPath(), CString(tk.Path()));
    {
        CRegistry reg;
        ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, nullptr, REGMODE_CREATE));
        DWORD v = 3;
        EXPECT_TRUE(reg.SetValueA(&v, 4, "StarSize", REG_DWORD));
    }
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, tk.Path(), 0, KEY_READ, &key), 0);
    DWORD v = 0, size = 4;
    EXPECT_EQ(RegQueryValueExA(key, "StarSize", nullptr, nullptr, (BYTE*)&v, &size), 0);
    EXPECT_EQ(v, 3u);
    RegCloseKey(key);
    SetRegistryAppKey("VQ", "");
    // Without a name the program file's base name stands in.
    EXPECT_EQ(GetRegistryAppKeyPath(), CString("Software\\VQ\\system_tests"));
}

TEST(Registry, OpenFailuresAndBadArguments) {
    TestKey tk;
    CRegistry reg;
    EXPECT_FALSE(reg.Open(HKEY_CURRENT_USER, tk.Path(), REGMODE_READ));
    EXPECT_EQ(reg.GetError(), REGERR_OPEN_FAILED);
    EXPECT_FALSE(reg.Open(HKEY_CURRENT_USER, tk.Path(), REGMODE_WRITE));
    EXPECT_FALSE(KeyExists(tk.Path()));
    EXPECT_FALSE(reg.Open(HKEY_CURRENT_USER, tk.Path(), 7));
    EXPECT_EQ(reg.GetError(), REGERR_BAD_ARGUMENT);
    EXPECT_FALSE(reg.OpenSubKey("x"));
    EXPECT_EQ(reg.GetError(), REGERR_NOT_OPEN);
    ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, tk.Path(), REGMODE_CREATE));
    EXPECT_FALSE(reg.SetMultiString(nullptr, "x"));
    EXPECT_FALSE(reg.QueryValueA(nullptr, 4, "x", REG_DWORD));
}

// Without an explicit name the application's own profile key is the default key.
TEST(Registry, NullPathFollowsTheApplicationsRegistryKey) {
    struct ProbeApp : CWinApp {
        ProbeApp() : CWinApp("Probe") {}
    };
    SetRegistryAppKey("VQ", "");
    ProbeApp app;
    app.m_pszRegistryKey = "WertlaufTests";
    app.m_pszProfileName = "AppKeyProbe";
    EXPECT_EQ(GetRegistryAppKeyPath(), CString("Software\\WertlaufTests\\AppKeyProbe"));
    SetRegistryAppKey(nullptr, "Override");
    EXPECT_EQ(GetRegistryAppKeyPath(), CString("Software\\VQ\\Override"));
    SetRegistryAppKey("VQ", "");
}
