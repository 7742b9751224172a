// Combo-box histories stored as multi-strings by another program: input byte 0 picks the value type and
// the name's prefixes, the rest is the stored value. The same bytes also go to the list filler directly.
#include "tests/fuzz/FuzzEngine.h"
#include "tests/fuzz/FuzzKey.h"
#include "tests/support/GuardPage.h"

#include "system/Registry.h"
#include "ui/history/ComboHistory.h"
#include "ui/history/ListHistory.h"

#include <string>

namespace {

constexpr int kComboId = 100;

HWND Dialog() {
    static HWND dialog = [] {
        HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
        CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWN, 0, 0, 180, 200, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kComboId)), nullptr, nullptr);
        return parent;
    }();
    return dialog;
}

std::vector<fuzz::Bytes> Seeds() {
    static const char kPlain[] = "C:\\Fragen\0D:\\Abend\0E:\\Test\0\0";
    static const char kMarked[] = "\x02" "Suchtext\0eins\0zwei\0Suchtext\0\0";
    static const char kEmptyMark[] = "\x02\0erster\0\0";
    std::vector<fuzz::Bytes> seeds;
    uint8_t mode = 0;
    for (const auto& [text, size] : {std::pair{kPlain, sizeof kPlain}, {kMarked, sizeof kMarked},
                                     {kEmptyMark, sizeof kEmptyMark}}) {
        for (int i = 0; i < 2; ++i, ++mode) {
            fuzz::Bytes seed{static_cast<uint8_t>(mode * 4)};
            seed.insert(seed.end(), text, text + size);
            seeds.push_back(seed);
        }
    }
    return seeds;
}

bool Run(const uint8_t* data, size_t size) {
    if (size < 1) return false;
    HWND dialog = Dialog();
    HWND combo = GetDlgItem(dialog, kComboId);
    FUZZ_CHECK(combo != nullptr);
    static const char* kNames[] = {"H", "#H", "*#H", "*H"};
    const DWORD type = data[0] & 3 ? REG_MULTI_SZ : REG_BINARY;
    const char* name = kNames[(data[0] >> 2) & 3];
    if (!fuzz::WriteFuzzValue(nullptr, "H", type, data + 1, size - 1)) return false;
    CRegistry key;
    FUZZ_CHECK(key.Open(HKEY_CURRENT_USER, fuzz::FuzzKeyPath().c_str(), REGMODE_READ));
    CString first;
    const int added = LoadComboHistoryFromKey(dialog, kComboId, name, key, &first);
    FUZZ_CHECK(added >= 0 && added <= SendMessageA(combo, CB_GETCOUNT, 0, 0));
    FUZZ_CHECK(first.GetLength() <= 2047);

    // The filler over the bytes as a text that ends in two NULs, the second against the guard.
    fuzz::Bytes text(data + 1, data + size);
    text.insert(text.end(), {0, 0});
    GuardedBytes guarded(text.data(), text.size());
    for (char separator : {'\0', ';'}) {
        const int filled = FillListFromText(combo, guarded.Data(), separator, TRUE);
        FUZZ_CHECK(filled >= 0 && filled == SendMessageA(combo, CB_GETCOUNT, 0, 0));
    }
    return added > 0;
}

fuzz::Registration registration{{"History", 8000, Seeds, Run, {}}};

}  // namespace
