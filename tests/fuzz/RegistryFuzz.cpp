// Registry values of any type and size, read through CRegistry and by the game's settings readers: input
// byte 0 is the stored type, the rest the stored bytes. Every reader's buffer ends at the guard.
#include "tests/fuzz/FuzzEngine.h"
#include "tests/fuzz/FuzzKey.h"
#include "tests/support/GuardPage.h"

#include "game/GameState.h"
#include "game/MainFrameSettings.h"
#include "game/ViewSettings.h"
#include "system/Registry.h"

#include <cstdlib>
#include <cstring>

namespace {

fuzz::Bytes Value(DWORD type, const void* data, size_t size) {
    fuzz::Bytes out(1 + size);
    out[0] = static_cast<uint8_t>(type);
    memcpy(out.data() + 1, data, size);
    return out;
}

std::vector<fuzz::Bytes> Seeds() {
    const DWORD dword = 2;
    const uint64_t qword = 0x1122334455667788ull;
    static const char kText[] = "C:\\Fragen\\Abend";
    static const char kMulti[] = "eins\0zwei\0\0";
    return {Value(REG_DWORD, &dword, 4), Value(REG_QWORD, &qword, 8), Value(REG_SZ, kText, sizeof kText),
            Value(REG_SZ, kText, sizeof kText - 1), Value(REG_EXPAND_SZ, kText, sizeof kText),
            Value(REG_MULTI_SZ, kMulti, sizeof kMulti), Value(REG_BINARY, &qword, 8)};
}

// The readers of CRegistry, each into a buffer that ends at the guard.
void ReadThroughCRegistry(CRegistry& key, DWORD storedType, size_t storedSize) {
    for (DWORD size : {4u, 8u}) {
        GuardedBytes buffer(fuzz::Bytes(size).data(), size);
        const DWORD type = size == 4 ? REG_DWORD : REG_QWORD;
        if (key.QueryValueA(buffer.Data(), size, "V", type)) FUZZ_CHECK(storedType == type && storedSize == size);
    }
    for (DWORD size : {1u, 16u, 300u}) {
        const fuzz::Bytes fill(size, 'x');
        for (DWORD type : {REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_MULTI_SZ}) {
            GuardedBytes buffer(fill.data(), size);
            if (!key.QueryValueA(buffer.Data(), size, "V", type)) continue;
            FUZZ_CHECK(storedType == type);
            if (type == REG_SZ || type == REG_EXPAND_SZ) FUZZ_CHECK(memchr(buffer.Data(), 0, size) != nullptr);
        }
    }
    CString text;
    if (key.QueryString(text, "V")) FUZZ_CHECK(storedType == REG_SZ && static_cast<size_t>(text.GetLength()) <= storedSize);
    for (DWORD type : {REG_MULTI_SZ, REG_BINARY, REG_SZ}) {
        char* data = nullptr;
        DWORD size = 0;
        if (!key.QueryValueAllocA(&data, "V", type, &size)) continue;
        FUZZ_CHECK(data && data[size] == 0 && data[size + 1] == 0);
        free(data);
    }
}

bool Run(const uint8_t* data, size_t size) {
    if (size < 1) return false;
    // The settings readers find their values in the fuzz key.
    static const bool appKey = [] {
        SetRegistryAppKey("WertlaufFuzz", fuzz::FuzzKeyPath().substr(strlen("Software\\WertlaufFuzz\\")).c_str());
        return true;
    }();
    (void)appKey;
    const DWORD type = data[0] % 12;  // REG_NONE to REG_QWORD
    const uint8_t* bytes = data + 1;
    const size_t length = size - 1;
    if (!fuzz::WriteFuzzValue(nullptr, "V", type, bytes, length)) return false;
    CRegistry key;
    FUZZ_CHECK(key.Open(HKEY_CURRENT_USER, fuzz::FuzzKeyPath().c_str(), REGMODE_READ));
    ReadThroughCRegistry(key, type, length);

    // The game's settings and frame placement, every value of this type and content.
    static const char* kSettings[] = {"StarSize", "TimeLimith", "SingleMode", "AutoCount", "SameSide",
                                      "ScaleColor", "ComPort", "HtmPath"};
    static const char* kPlacement[] = {"IsZoomed", "LastPosX", "LastPosY", "LastSizeX", "LastSizeY", "LastMonitor"};
    for (const char* name : kSettings) fuzz::WriteFuzzValue(nullptr, name, type, bytes, length);
    for (const char* name : kPlacement) fuzz::WriteFuzzValue("Settings", name, type, bytes, length);
    game::GameState state;
    CString infoPath;
    game::LoadViewSettings(state, infoPath);
    FUZZ_CHECK(state.shared.comPort >= 0 && state.settings.timeLimit >= 0);
    ReadFramePlacement();
    return type == REG_DWORD || type == REG_SZ;
}

fuzz::Registration registration{{"Registry", 2000, Seeds, Run, {}}};

}  // namespace
