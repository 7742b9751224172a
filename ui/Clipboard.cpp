#include "ui/Clipboard.h"

#include <cstdlib>
#include <cstring>

namespace {

// The clipboard may be busy with another program for a moment.
bool OpenClipboardPatiently(HWND owner) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner)) return true;
        Sleep(10);
    }
    return false;
}

// Clipboard data comes from other programs: measure it within its block only.
char* CopyClipboardText(int* length) {
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) return nullptr;
    const char* text = static_cast<const char*>(GlobalLock(data));
    if (!text) return nullptr;
    SIZE_T blockSize = GlobalSize(data);
    size_t textLength = strnlen(text, blockSize);
    if (textLength > 0x7FFFFFF0) textLength = 0x7FFFFFF0;
    char* copy = nullptr;
    if (textLength > 0 && (copy = static_cast<char*>(malloc(textLength + 1)))) {
        memcpy(copy, text, textLength);
        copy[textLength] = 0;
        *length = static_cast<int>(textLength);
    }
    GlobalUnlock(data);
    return copy;
}

}  // namespace

char* GetClipboardTextAlloc(int* length) {
    int dummy;
    if (!length) length = &dummy;
    *length = 0;
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboardPatiently(nullptr)) return nullptr;
    char* copy = CopyClipboardText(length);
    CloseClipboard();
    return copy;
}

int GetClipboardText(char* buffer, int size) {
    if (!buffer || size < 1) return 0;
    buffer[0] = 0;
    int length = 0;
    char* text = GetClipboardTextAlloc(&length);
    if (!text) return 0;
    if (length > size - 1) length = size - 1;
    memcpy(buffer, text, static_cast<size_t>(length));
    buffer[length] = 0;
    free(text);
    return length;
}

int SetClipboardText(LPCSTR text, int length) {
    if (!text) return 0;
    if (length < 0) length = static_cast<int>(strnlen(text, 0x7FFFFFF0));
    if (length == 0) return 0;
    // The clipboard needs an owner window for SetClipboardData; a short-lived message
    // window serves, the data stays after it is gone.
    HWND owner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    int result = 0;
    if (OpenClipboardPatiently(owner)) {
        // Without emptying, the program would not own the clipboard and the old
        // content in other formats would stay beside the new text.
        EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(length) + 1);
        if (char* target = memory ? static_cast<char*>(GlobalLock(memory)) : nullptr) {
            memcpy(target, text, static_cast<size_t>(length));
            target[length] = 0;
            GlobalUnlock(memory);
            if (SetClipboardData(CF_TEXT, memory))
                result = length;
            else
                GlobalFree(memory);
        } else if (memory) {
            GlobalFree(memory);
        }
        CloseClipboard();
    }
    if (owner) DestroyWindow(owner);
    return result;
}
