#include "text/TextList.h"
#include "treelist/shared/TypeAhead.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

TEST(TypeAhead, BufferRestartsAfterItsPause) {
    TypeAheadState state;
    // One character waits 750 ms, two 500 ms, three or more 1,000 ms.
    const struct { char c; uint32_t at; const char* prefix; bool step; } steps[] = {
        {'b', 1000, "B", true},  {'r', 1700, "BR", false}, {'i', 2150, "BRI", false}, {'e', 3100, "BRIE", false},
        {'x', 4200, "X", true},  {'x', 4900, "X", true},   {'y', 5500, "Y", true},    {'\xe4', 5600, "Y\xc4", false},
    };
    for (const auto& s : steps) {
        TypeAheadSearch search = FeedTypeAhead(state, s.c, s.at);
        EXPECT_EQ(std::pair(std::string(search.prefix, search.length), search.step),
                  std::pair(std::string(s.prefix), s.step))
            << s.at;
    }
    for (int i = 0; i < 20; ++i) FeedTypeAhead(state, (char)('a' + i), 6000);
    EXPECT_EQ(state.length, 16);
}

TEST(TypeAhead, FindsByFoldedPrefixAndStepsThroughRepeats) {
    CTextList list;
    for (const char* text : {"Apfel", "\xc4rger", "Birne", "brief", "Banane"}) list.InsertItem(text);
    const struct { TypeAheadSearch search; int from, found; } cases[] = {
        {{"B", 1, true}, 2, 3}, {{"B", 1, true}, 4, 2},  // wraps around
        {{"BR", 2, false}, 3, 3}, {{"\xc4", 1, true}, -1, 1}, {{"Q", 1, true}, 0, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindTypeAhead(list, c.from, c.search), c.found) << c.search.prefix << " " << c.from;
    EXPECT_EQ(std::pair(FoldTypeAheadChar('\xf6'), FoldTypeAheadChar('\xff')), std::pair('\xd6', '\xff'));
}

}  // namespace
