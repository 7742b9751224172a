#include "ui/msgbox/UiStrings.h"

#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>

namespace {

struct Default {
    UINT id;
    const wchar_t* text;
};

// In this order (1298 before 1297).
const Default kDefaults[] = {
    {kUiInformation, L"Information"},     {kUiQuestion, L"Frage"},           {kUiWarning, L"Warnung"},
    {kUiDeleteLine, L"Zeile löschen"},    {kUiCopyField, L"Feld kopieren"},  {kUiCopy, L"&Kopieren"},
    {kUiMarkAll, L"&Alles markieren"},    {kUiSelectAll, L"&Alles auswählen"}, {kUiDeselectAll, L"&Alles abwählen"},
    {kUiDeleteAll, L"&Alles löschen"},    {kUiAlways, L"Immer"},             {kUiNever, L"Niemals"},
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

// The ANSI form, sized by the conversion itself (a multibyte code page may need more than a byte a character).
std::string ToAnsi(const std::wstring& text) {
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                           nullptr);
    std::string ansi(size > 0 ? static_cast<size_t>(size) : 0, '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), ansi.data(), size, nullptr,
                              nullptr);
    return ansi;
}

std::unique_ptr<Table> Build(HINSTANCE instance) {
    if (!instance) instance = ::GetModuleHandleA(nullptr);
    auto table = std::make_unique<Table>();
    for (int i = 0; i < kCount; ++i) {
        const wchar_t* resource = nullptr;
        const int length = ::LoadStringW(instance, kDefaults[i].id, reinterpret_cast<LPWSTR>(&resource), 0);
        table->wide[i] = length > 0 && resource ? std::wstring(resource, static_cast<size_t>(length)) : kDefaults[i].text;
        table->ansi[i] = ToAnsi(table->wide[i]);
    }
    return table;
}

int IndexOf(UINT id) {
    for (int i = 0; i < kCount; ++i)
        if (kDefaults[i].id == id) return i;
    return -1;
}

// The table, built on first use.
Table& Strings(HINSTANCE instance) {
    std::lock_guard<std::mutex> hold(TableLock());
    std::unique_ptr<Table>& table = TheTable();
    if (!table) {
        table = Build(instance);
        static const bool registered = std::atexit(FreeUIStrings) == 0;
        (void)registered;
    }
    return *table;
}

}  // namespace

const char* GetUIStringA(HINSTANCE instance, UINT id, int* length) {
    const int i = IndexOf(id);
    if (i < 0) return nullptr;
    const std::string& text = Strings(instance).ansi[i];
    if (length) *length = static_cast<int>(text.size());
    return text.c_str();
}

const wchar_t* GetUIStringW(HINSTANCE instance, UINT id, int* length) {
    const int i = IndexOf(id);
    if (i < 0) return nullptr;
    const std::wstring& text = Strings(instance).wide[i];
    if (length) *length = static_cast<int>(text.size());
    return text.c_str();
}

void FreeUIStrings() {
    std::lock_guard<std::mutex> hold(TableLock());
    TheTable().reset();
}
