// The WM_COPYDATA protocol of the main frame: blocks from other programs, decoded with bounds.
#pragma once

#include <windows.h>

constexpr DWORD kCopyDataOpenFile = 0x27F50001;   // open the named document
constexpr DWORD kCopyDataText = 0x27F50002;       // keep the text
constexpr DWORD kCopyDataSamePath = 0x27F50003;   // 1 when the text names the active document's path
constexpr DWORD kCopyDataWide = 0x8000;           // bit 15: the text is UTF-16

struct CopyDataText {
    DWORD code = 0;         // with bit 15 cleared
    char text[260] = {};    // at most 259 characters, always terminated
};

// Reads at most cbData bytes of the block (a null or empty block is the empty text); UTF-16 text is converted
// to the ANSI code page and cut to 259 bytes.
CopyDataText DecodeCopyData(const COPYDATASTRUCT* block);
