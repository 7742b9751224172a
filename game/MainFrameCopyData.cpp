// Decoding the frame's WM_COPYDATA blocks.
#include "game/MainFrameCopyData.h"

#include <algorithm>
#include <cstring>
#include <string>

CopyDataText DecodeCopyData(const COPYDATASTRUCT* block) {
    CopyDataText result;
    if (!block) return result;
    DWORD code = static_cast<DWORD>(block->dwData);
    DWORD size = block->cbData;
    const void* data = block->lpData;
    if (code & kCopyDataWide) {
        code &= ~kCopyDataWide;
        int chars = static_cast<int>(size / 2);
        if (data && chars > 0) {
            const auto* wide = static_cast<const wchar_t*>(data);
            int length = 0;
            while (length < chars && wide[length]) ++length;
            int bytes = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
            if (bytes > 0) {
                std::string ansi(bytes, '\0');
                WideCharToMultiByte(CP_ACP, 0, wide, length, ansi.data(), bytes, nullptr, nullptr);
                ansi.resize(std::min<size_t>(ansi.size(), sizeof(result.text) - 1));
                memcpy(result.text, ansi.data(), ansi.size());
            }
        }
    } else if (data) {
        const auto* bytes = static_cast<const char*>(data);
        DWORD limit = std::min<DWORD>(size, sizeof(result.text) - 1);
        DWORD length = 0;
        while (length < limit && bytes[length]) ++length;
        memcpy(result.text, bytes, length);
    }
    result.code = code;
    return result;
}
