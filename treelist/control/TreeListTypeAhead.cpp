// The type-ahead buffer's timing rules.
#include "treelist/control/TreeListTypeAhead.h"

namespace {

constexpr DWORD kHeldFor = 750;

}  // namespace

DWORD TypeAheadGap(int count) { return count <= 0 ? 500 : count <= 2 ? 750 : 1000; }

void TypeAheadAdd(TreeListTypeAhead* s, unsigned char character, DWORD now, UINT startRow) {
    if (s->count <= 0 || s->count >= TreeListTypeAhead::kMaxChars || now - s->lastTick > TypeAheadGap(s->count)) {
        s->count = 0;
        s->startRow = startRow;
    }
    s->text[s->count++] = static_cast<char>(TypeAheadUpper(character));
    s->text[s->count] = 0;
    s->lastTick = now;
}

int TypeAheadHeld(const TreeListTypeAhead& s, DWORD now) { return now - s.lastTick > kHeldFor ? 0 : s.count; }
