#include "treelist/pathcombo/PathComboWorker.h"

#include <gtest/gtest.h>

#include <thread>

// The worker takes a word and clears its reader's stop flag before it reads. A word asked for must not be
// followed by the stop meant for the older read: this test takes the words itself (no thread of the
// worker) and counts the words it saw before their stop was set.
TEST(PathComboWorker, AnAskedWordComesAfterTheStopOfTheOlderRead) {
    constexpr uint32_t kWords = 40000;
    PathComboWorker worker(nullptr, nullptr);
    std::atomic<uint32_t> taken{0};
    int early = 0;
    std::thread taker([&] {
        for (uint32_t word = 1; word <= kWords; ++word) {
            while (worker.requested.load() != word) YieldProcessor();
            early += worker.files.AbortFlag().load() == 0;
            taken.store(word);
        }
    });
    for (uint32_t word = 1; word <= kWords; ++word) {
        while (taken.load() != word - 1) YieldProcessor();
        worker.files.AbortFlag().store(0);
        AskPathComboWorker(&worker, word);
    }
    taker.join();
    EXPECT_EQ(early, 0);
}
