#include "ui/history/ComboHistory.h"

#include "system/Registry.h"
#include "ui/history/ListHistory.h"
#include "ui/history/ListHistoryMessages.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kMarker = 2;
constexpr int kMaxOutText = 2047;

struct ValueName {
    bool saveEmpty = false;  // "*"
    bool marker = false;     // "#" (or "*")
    const char* name = "";
};

ValueName ParseValueName(LPCSTR text) {
    ValueName v;
    if (!text) return v;
    if (*text == '*') {
        v.saveEmpty = true;
        ++text;
    }
    if (*text == '#') {
        v.marker = true;
        ++text;
    }
    v.name = text;
    return v;
}

BOOL OpenHistoryKey(CRegistry& registry, LPCSTR keyPath, int mode) {
    if (keyPath && keyPath[0] != '#') return registry.Open(HKEY_CURRENT_USER, keyPath, mode);
    if (!registry.Open(HKEY_CURRENT_USER, nullptr, mode)) return FALSE;
    if (keyPath && keyPath[1]) return registry.OpenSubKey(keyPath + 1, mode != REGMODE_CREATE);
    return TRUE;
}

// The strings of a stored multi-string, read only within its size: the value comes from
// outside the program.
std::vector<std::string> SplitStored(const char* data, DWORD size) {
    std::vector<std::string> out;
    const char* p = data;
    const char* end = data + size;
    while (p < end && *p) {
        const char* stop = static_cast<const char*>(memchr(p, 0, static_cast<size_t>(end - p)));
        if (!stop) stop = end;
        out.emplace_back(p, static_cast<size_t>(stop - p));
        p = stop + 1;
    }
    return out;
}

std::string JoinMulti(const std::vector<std::string>& entries) {
    std::string joined;
    for (const auto& e : entries) {
        joined += e;
        joined += '\0';
    }
    joined += '\0';
    return joined;
}

}  // namespace

int LoadComboHistoryFromKey(HWND dialog, int ctrlId, LPCSTR valueName, CRegistry& registry, CString* outText) {
    if (!registry.IsOpen()) return 0;
    ValueName v = ParseValueName(valueName);
    HWND combo = GetDlgItem(dialog, ctrlId);
    char* data = nullptr;
    DWORD size = 0;
    if (!combo || !registry.QueryValueAllocA(&data, v.name, REG_MULTI_SZ, &size) || !data) return 0;
    std::vector<std::string> stored = SplitStored(data, size);
    free(data);

    size_t firstEntry = 0;
    if (v.marker) {
        SendMessageA(combo, CB_RESETCONTENT, 0, 0);
        if (!stored.empty() && stored[0][0] == kMarker) {
            SetWindowTextA(combo, stored[0].c_str() + 1);
            firstEntry = 1;
        }
    } else {
        while (SendMessageA(combo, CB_DELETESTRING, 0, 0) >= 0) {
        }
    }
    if (outText) {
        std::string first = stored.empty() ? std::string() : stored[0];
        if (!first.empty() && first[0] == kMarker) first.erase(0, 1);
        if (first.size() > kMaxOutText) first.resize(kMaxOutText);
        *outText = first.c_str();
    }

    std::vector<std::string> entries(stored.begin() + static_cast<std::ptrdiff_t>(firstEntry), stored.end());
    if (!entries.empty() && entries[0][0] == kMarker) {
        // Saved with "#", read without: the marked text stands once, first. An empty marked text
        // is no entry: left in, it would end the multi-string before the real entries.
        entries[0].erase(0, 1);
        for (size_t i = entries.size() - 1; i >= 1; --i)
            if (entries[i] == entries[0]) entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i));
        if (entries[0].empty()) entries.erase(entries.begin());
    }
    std::string multi = JoinMulti(entries);
    return FillListFromText(combo, multi.c_str(), 0, FALSE);
}

int LoadComboHistory(HWND dialog, int ctrlId, LPCSTR valueName, LPCSTR keyPath, CString* outText) {
    CRegistry registry;
    if (!OpenHistoryKey(registry, keyPath, REGMODE_READ)) return 0;
    return LoadComboHistoryFromKey(dialog, ctrlId, valueName, registry, outText);
}

int SaveComboHistoryToKey(HWND dialog, int ctrlId, LPCSTR valueName, CRegistry& registry) {
    if (!registry.IsOpen()) return 0;
    ValueName v = ParseValueName(valueName);
    HWND combo = GetDlgItem(dialog, ctrlId);
    if (!combo) return 0;
    const ListMessages m = ListMessagesFor(combo);
    std::string text = GetWindowTextString(combo);
    LRESULT selection = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (text.empty() && selection >= 0) text = GetListEntryText(combo, m, static_cast<int>(selection));
    if (text.empty() && !v.saveEmpty) return 0;

    std::vector<std::string> entries;
    // An empty entry would end the multi-string early; the marker part keeps the empty text.
    if (!text.empty()) entries.push_back(text);
    int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count && static_cast<int>(entries.size()) < COMBO_HISTORY_MAX_ENTRIES; ++i) {
        std::string entry = GetListEntryText(combo, m, i);
        if (!entry.empty() && entry != text) entries.push_back(entry);
    }
    if (selection < 0) {
        // Show the new order; emptying the list also empties the edit, which keeps its text.
        std::string ordered = JoinMulti(entries);
        FillListFromText(combo, ordered.c_str(), 0, TRUE);
        SetWindowTextA(combo, text.c_str());
    }

    std::string value;
    if (v.marker || v.saveEmpty) {
        value += kMarker;
        value += text;
        value += '\0';
    }
    value += JoinMulti(entries);
    if (!registry.SetMultiString(value.c_str(), v.name)) return 0;
    return static_cast<int>(entries.size());
}

int SaveComboHistory(HWND dialog, int ctrlId, LPCSTR valueName, LPCSTR keyPath) {
    CRegistry registry;
    if (!OpenHistoryKey(registry, keyPath, REGMODE_CREATE)) return 0;
    return SaveComboHistoryToKey(dialog, ctrlId, valueName, registry);
}
