#include "ui/history/ListHistory.h"

#include "ui/history/ListHistoryMessages.h"

#include <cstring>
#include <string>

namespace {

constexpr int kMaxPieceLength = 255;

bool SameText(const std::string& entry, LPCSTR text, BOOL caseSensitive) {
    return caseSensitive ? strcmp(entry.c_str(), text) == 0 : _stricmp(entry.c_str(), text) == 0;
}

}  // namespace

int InsertListHistoryString(HWND hwnd, LPCSTR text, int maxIndex, BOOL caseSensitive) {
    if (!text) text = "";
    const ListMessages m = ListMessagesFor(hwnd);
    bool hadSelection = SendMessageA(hwnd, m.getCurSel, 0, 0) >= 0;
    SendMessageA(hwnd, m.insertString, 0, reinterpret_cast<LPARAM>(text));
    int position = 1;
    while (position < static_cast<int>(SendMessageA(hwnd, m.getCount, 0, 0))) {
        bool remove = position > maxIndex || SameText(GetListEntryText(hwnd, m, position), text, caseSensitive);
        if (!remove) {
            ++position;
        } else if (SendMessageA(hwnd, m.deleteString, position, 0) < 0) {
            break;  // a list that refuses to shrink must not hold us here
        }
    }
    if (hadSelection) SendMessageA(hwnd, m.setCurSel, 0, 0);
    return 0;
}

int FillListFromText(HWND hwnd, LPCSTR text, char separator, BOOL clear) {
    const ListMessages m = ListMessagesFor(hwnd);
    LRESULT selection = SendMessageA(hwnd, m.getCurSel, 0, 0);
    if (clear) SendMessageA(hwnd, m.resetContent, 0, 0);
    int added = 0;
    if (text) {
        const char* piece = text;
        for (;;) {
            const char* end = piece;
            while (*end && *end != separator) ++end;
            size_t length = static_cast<size_t>(end - piece);
            if (length > 0) {
                std::string entry(piece, length > kMaxPieceLength ? kMaxPieceLength : length);
                if (SendMessageA(hwnd, m.addString, 0, reinterpret_cast<LPARAM>(entry.c_str())) >= 0) ++added;
            }
            if (separator == 0) {
                if (length == 0) break;  // the second NUL ends a multi-string
            } else if (*end == 0) {
                break;
            }
            piece = end + 1;
        }
    }
    if (selection >= 0) SendMessageA(hwnd, m.setCurSel, clear ? 0 : selection, 0);
    return added;
}
