// WM_COPYDATA blocks from other programs: input bytes 0-3 are dwData, the rest the block.
#include "tests/fuzz/FuzzEngine.h"

#include "game/MainFrameCopyData.h"

#include <cstring>

namespace {

fuzz::Bytes Block(DWORD code, const void* data, size_t size) {
    fuzz::Bytes out;
    fuzz::Put32(out, code);
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    out.insert(out.end(), bytes, bytes + size);
    return out;
}

std::vector<fuzz::Bytes> Seeds() {
    static const char kPath[] = "C:\\Spiele\\Wertlauf\\Das Spiel";
    static const wchar_t kWide[] = L"C:\\Spiele\\Gr\u00f6\u00dfe \u20ac\\Das Spiel";
    std::string longPath(300, 'p');
    return {Block(kCopyDataSamePath, kPath, sizeof kPath), Block(kCopyDataText, kPath, sizeof kPath - 1),
            Block(kCopyDataSamePath | kCopyDataWide, kWide, sizeof kWide),
            Block(kCopyDataOpenFile | kCopyDataWide, kWide, sizeof kWide - 2),
            Block(kCopyDataText, longPath.data(), longPath.size())};
}

bool Run(const uint8_t* data, size_t size) {
    if (size < 4) return false;
    COPYDATASTRUCT block;
    DWORD code;
    memcpy(&code, data, 4);
    block.dwData = code;
    block.cbData = static_cast<DWORD>(size - 4);
    block.lpData = size > 4 ? const_cast<uint8_t*>(data + 4) : nullptr;
    const CopyDataText decoded = DecodeCopyData(&block);
    FUZZ_CHECK(decoded.code == (code & ~kCopyDataWide));
    FUZZ_CHECK(memchr(decoded.text, 0, sizeof decoded.text) != nullptr);
    return decoded.text[0] != 0;
}

fuzz::Registration registration{{"CopyData", 150000, Seeds, Run, {}}};

}  // namespace
