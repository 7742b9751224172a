#include "ui/shared/UiStrings.h"

#include "text/WideToAnsi.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <memory>
#include <mutex>
#include <new>
#include <string>

namespace {

struct Default {
    UINT id;
    const wchar_t* text;
    const char* ansi;  // what is shown when the table cannot be built
};

// In this order (1298 before 1297).
const Default kDefaults[] = {
    {kUiInformation, L"Information", "Information"},         {kUiQuestion, L"Frage", "Frage"},
    {kUiWarning, L"Warnung", "Warnung"},                     {kUiDeleteLine, L"Zeile löschen", "Zeile löschen"},
    {kUiCopyField, L"Feld kopieren", "Feld kopieren"},       {kUiCopy, L"&Kopieren", "&Kopieren"},
    {kUiMarkAll, L"&Alles markieren", "&Alles markieren"},   {kUiSelectAll, L"&Alles auswählen", "&Alles auswählen"},
    {kUiDeselectAll, L"&Alles abwählen", "&Alles abwählen"}, {kUiDeleteAll, L"&Alles löschen", "&Alles löschen"},
    {kUiAlways, L"Immer", "Immer"},                          {kUiNever, L"Niemals", "Niemals"},
};
constexpr int kCount = sizeof kDefaults / sizeof kDefaults[0];

struct Table {
    std::wstring wide[kCount];
    std::string ansi[kCount];
};

std::mutex& TableLock() {
    static std::mutex lock;
    return lock;
}

std::unique_ptr<Table>& TheTable() {
    static std::unique_ptr<Table> table;
    return table;
}

std::unique_ptr<Table> Build(HINSTANCE instance) {
    if (!instance) instance = ::GetModuleHandleA(nullptr);
    auto table = std::make_unique<Table>();
    for (int i = 0; i < kCount; ++i) {
        const wchar_t* resource = nullptr;
        const int length = ::LoadStringW(instance, kDefaults[i].id, reinterpret_cast<LPWSTR>(&resource), 0);
        table->wide[i] = length > 0 && resource ? std::wstring(resource, static_cast<size_t>(length)) : kDefaults[i].text;
        table->ansi[i] = WideToAnsi(table->wide[i]);
    }
    return table;
}

int IndexOf(UINT id) {
    for (int i = 0; i < kCount; ++i)
        if (kDefaults[i].id == id) return i;
    return -1;
}

// The table, built on first use; null when there is no memory for it (the next call tries again).
const Table* Strings(HINSTANCE instance) {
    std::lock_guard<std::mutex> hold(TableLock());
    std::unique_ptr<Table>& table = TheTable();
    if (!table) {
        try {
            table = Build(instance);
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
        static const bool registered = std::atexit(FreeUIStrings) == 0;
        (void)registered;
    }
    return table.get();
}

template <typename Char>
const Char* Answer(const Char* text, size_t size, int* length) {
    if (length) *length = static_cast<int>(size);
    return text;
}

}  // namespace

const char* GetUIStringA(HINSTANCE instance, UINT id, int* length) {
    const int i = IndexOf(id);
    if (i < 0) return nullptr;
    const Table* table = Strings(instance);
    if (!table) return Answer(kDefaults[i].ansi, std::strlen(kDefaults[i].ansi), length);
    return Answer(table->ansi[i].c_str(), table->ansi[i].size(), length);
}

const wchar_t* GetUIStringW(HINSTANCE instance, UINT id, int* length) {
    const int i = IndexOf(id);
    if (i < 0) return nullptr;
    const Table* table = Strings(instance);
    if (!table) return Answer(kDefaults[i].text, std::wcslen(kDefaults[i].text), length);
    return Answer(table->wide[i].c_str(), table->wide[i].size(), length);
}

void FreeUIStrings() {
    std::lock_guard<std::mutex> hold(TableLock());
    TheTable().reset();
}
