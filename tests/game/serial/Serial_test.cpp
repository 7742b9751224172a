// Serial driver against real ports: socat pty pairs mapped as COM ports by com_rig.py.
#include "tests/game/serial/ComPeer.h"
#include "tests/game/serial/PauseCounter.h"
#include "game/serial/Serial.h"
#include "game/serial/SerialSlot.h"
#include "tests/support/WaitUntil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

namespace {

constexpr int kNoHandshake = 0;

struct Rig {
    std::vector<ComPair> pairs = RigComPairs();
    // Driver-side port index (0-based) of pair i.
    int Port(size_t i) const { return pairs.at(i).device - 1; }
    int Peer(size_t i) const { return pairs.at(i).peer; }
};

class SerialTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_GE(rig.pairs.size(), 2u) << "run through com_rig.py";
        ASSERT_EQ(rig.pairs[0].device, 1) << "the first pair must put the driver on COM1";
        ASSERT_EQ(rig.pairs[1].device, 10) << "the second pair must put the driver on COM10";
    }
    // Opens port i of the rig at 9600 8N1.
    int Open(size_t i) { return SerialOpen(rig.Port(i), 9600, kParityNone, 0, 0, kNoHandshake); }
    Rig rig;
};

DWORD Elapsed(DWORD start) { return GetTickCount() - start; }

// Bound of waits for bytes to come through the rig: generous, a busy machine may hold them up for seconds.
constexpr DWORD kRigWaitMs = 10000;

// Waits (bounded) until count bytes sit in the slot's receive queue.
bool WaitQueued(int slot, int count) {
    return WaitUntil([&] { return SerialBytesWaiting(slot) >= count; }, kRigWaitMs, 2);
}

TEST_F(SerialTest, PortIndexNamesComPortAndDataReachesPeer) {
    // Port 0 is COM1 and port 9 is COM10: what is written arrives at that pair's far end.
    for (size_t i = 0; i < 2; ++i) {
        ComPeer peer(rig.Peer(i));
        ASSERT_TRUE(peer.IsOpen());
        const int slot = Open(i);
        ASSERT_GE(slot, 0) << "COM" << rig.pairs[i].device;
        EXPECT_EQ(SerialWrite(slot, "hello", 5), 5);
        EXPECT_EQ(peer.Read(5, kRigWaitMs), "hello");
        EXPECT_EQ(SerialDrain(slot, 1000), 1);
        EXPECT_EQ(SerialOutputPending(slot), 0);
        EXPECT_EQ(SerialClose(slot), 0);
    }
}

TEST_F(SerialTest, OpenRefusesBadArguments) {
    EXPECT_EQ(SerialOpen(-1, 9600, 0, 0, 0, 0), -1);
    EXPECT_EQ(SerialOpen(256, 9600, 0, 0, 0, 0), -1);
    EXPECT_EQ(SerialOpen(0, 0, 0, 0, 0, 0), -1);
    EXPECT_EQ(SerialOpen(0, -9600, 0, 0, 0, 0), -1);
    EXPECT_EQ(SerialOpen(98, 9600, 0, 0, 0, 0), -1);  // COM99 does not exist
}

TEST_F(SerialTest, ClosedAndFailedSlotsAreReused) {
    // Each close and each failed open must give its slot back; eight slots would run out otherwise.
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(SerialOpen(98, 9600, 0, 0, 0, 0), -1);
        const int slot = Open(0);
        ASSERT_GE(slot, 0) << "cycle " << i;
        EXPECT_EQ(SerialWaitReceive(slot, 3), 0);  // may leave the wait's read outstanding
        ASSERT_EQ(SerialClose(slot), 0) << "cycle " << i;
    }
    ComPeer peer(rig.Peer(0));
    const int slot = Open(0);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(SerialWrite(slot, "ok", 2), 2);
    EXPECT_EQ(peer.Read(2, kRigWaitMs), "ok");
    EXPECT_EQ(SerialClose(slot), 0);
}

TEST_F(SerialTest, EightSlotsAtMost) {
    ASSERT_GE(rig.pairs.size(), 5u);
    std::vector<int> slots;
    for (size_t i = 0; i < 4; ++i) {
        slots.push_back(SerialOpen(rig.pairs[i].device - 1, 9600, 0, 0, 0, 0));
        slots.push_back(SerialOpen(rig.pairs[i].peer - 1, 9600, 0, 0, 0, 0));
    }
    for (int s : slots) ASSERT_GE(s, 0);
    EXPECT_EQ(SerialOpen(rig.pairs[4].device - 1, 9600, 0, 0, 0, 0), -1) << "a ninth port has no slot";
    EXPECT_EQ(SerialClose(slots[3]), 0);
    const int again = SerialOpen(rig.pairs[4].device - 1, 9600, 0, 0, 0, 0);
    EXPECT_EQ(again, slots[3]);
    slots[3] = again;
    for (int s : slots) EXPECT_EQ(SerialClose(s), 0);
}

TEST_F(SerialTest, BadAndClosedSlotsGiveErrorValues) {
    const int closed = Open(0);
    ASSERT_GE(closed, 0);
    ASSERT_EQ(SerialClose(closed), 0);
    char buffer[8] = {};
    for (int slot : {-1, -100, 8, 1000, closed}) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(SerialClose(slot), -1);
        EXPECT_EQ(SerialIsAlive(slot), 0);
        EXPECT_EQ(SerialBytesWaiting(slot), -1);
        EXPECT_EQ(SerialModemStatus(slot), -1);
        EXPECT_EQ(SerialSetLines(slot, 0, 0), -1);
        EXPECT_EQ(SerialOutputPending(slot), -1);
        EXPECT_EQ(SerialDrain(slot, 10), 0);
        EXPECT_EQ(SerialGetByteTime(slot), -1);
        EXPECT_EQ(SerialWaitReceive(slot, 10), -1);
        EXPECT_EQ(SerialWrite(slot, "x", 1), -1);
        EXPECT_EQ(SerialRead(slot, buffer, 1), -1);
        EXPECT_EQ(SerialReadTimeout(slot, buffer, 1, 10), -1);
        EXPECT_EQ(SerialReadUntil(slot, buffer, 1, 10, '\r'), -1);
        EXPECT_EQ(SerialReconfigure(slot, 9600, -1, -1, -1, -1), -1);
    }
}

TEST_F(SerialTest, WaitReceiveReturnsAtOnceWithBytesAndAfterTimeoutWithout) {
    ComPeer peer(rig.Peer(0));
    const int slot = Open(0);
    ASSERT_GE(slot, 0);

    DWORD start = GetTickCount();
    EXPECT_EQ(SerialWaitReceive(slot, 300), 0);
    const DWORD empty = Elapsed(start);
    EXPECT_GE(empty, 290u);
    EXPECT_LT(empty, 1500u);

    ASSERT_TRUE(peer.Write("0D000003E8\r"));
    ASSERT_TRUE(WaitQueued(slot, 11));
    start = GetTickCount();
    EXPECT_EQ(SerialWaitReceive(slot, 5000), 1);
    EXPECT_LT(Elapsed(start), 100u);
    char frame[16] = {};
    EXPECT_EQ(SerialRead(slot, frame, 11), 11);
    EXPECT_EQ(std::string(frame), "0D000003E8\r");

    // Bytes that arrive during the wait end it early.
    std::thread writer([&] {
        Sleep(150);
        peer.Write("x");
    });
    start = GetTickCount();
    EXPECT_EQ(SerialWaitReceive(slot, 5000), 1);
    EXPECT_LT(Elapsed(start), 2000u);
    writer.join();
    EXPECT_EQ(SerialClose(slot), 0);
}

TEST_F(SerialTest, WaitingDoesNotSpinTheProcessor) {
    // Some systems end a comm-event wait on a pty at once without an event; the driver must then
    // poll gently instead of re-arming the wait in a tight loop. (Wine does so with RTS and DTR on.)
    const int slot = SerialOpen(rig.Port(0), 9600, kParityNone, 0, 0, kHandshakeRtsOn | kHandshakeDtrOn);
    ASSERT_GE(slot, 0);
    auto cpuMs = [] {
        FILETIME created, exited, kernel, user;
        GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
        auto ms = [](FILETIME t) { return (uint64_t{t.dwHighDateTime} << 32 | t.dwLowDateTime) / 10000; };
        return ms(kernel) + ms(user);
    };
    const uint64_t before = cpuMs();
    EXPECT_EQ(SerialWaitReceive(slot, 1000), 0);
    EXPECT_LT(cpuMs() - before, 300u);
    EXPECT_EQ(SerialClose(slot), 0);
}

TEST_F(SerialTest, IdlePortWakesTheWaitingThreadSeldom) {
    // The wait blocks in the system until a byte comes: two seconds of idle waits as the remote-control
    // reader makes them (100 ms each) take a pause per wait, not one per millisecond.
    ComPeer peer(rig.Peer(0));
    const int slot = Open(0);
    ASSERT_GE(slot, 0);
    SerialSetPauseCall(CountedSerialPause);
    gSerialPauses = 0;
    const DWORD start = GetTickCount();
    int waits = 0;
    while (Elapsed(start) < 2000) {
        EXPECT_EQ(SerialWaitReceive(slot, 100), 0);
        EXPECT_EQ(SerialBytesWaiting(slot), 0);
        ++waits;
    }
    const int pauses = gSerialPauses.load();
    SerialSetPauseCall(nullptr);
    EXPECT_LT(pauses, 50);
    EXPECT_LE(waits, 21);
    // The wait still ends as soon as a byte comes.
    ASSERT_TRUE(peer.Write("!"));
    EXPECT_EQ(SerialWaitReceive(slot, kRigWaitMs), 1);
    char byte = 0;
    EXPECT_EQ(SerialRead(slot, &byte, 1), 1);
    EXPECT_EQ(byte, '!');
    EXPECT_EQ(SerialClose(slot), 0);
}

TEST_F(SerialTest, BytesArrivingDuringWaitsAreReadInOrder) {
    ComPeer peer(rig.Peer(0));
    const int slot = Open(0);
    ASSERT_GE(slot, 0);
    std::string sent;
    for (int i = 0; i < 300; ++i) sent += static_cast<char>('!' + i % 90);

    // The reader's loop: wait, ask how many, read them; the writer sends in pieces of 1 to 23 bytes.
    std::thread writer([&] {
        for (size_t at = 0, n = 1; at < sent.size(); at += n, n = n % 23 + 1) {
            peer.Write(sent.substr(at, n));
            Sleep(static_cast<DWORD>(at % 7));
        }
    });
    std::string got;
    const DWORD start = GetTickCount();
    while (got.size() < sent.size() && Elapsed(start) < kRigWaitMs) {
        SerialWaitReceive(slot, 100);
        const int waiting = SerialBytesWaiting(slot);
        char bytes[32];
        const int r = waiting > 0 ? SerialRead(slot, bytes, std::min(waiting, 32)) : 0;
        EXPECT_GE(r, 0);
        if (r < 0) break;
        got.append(bytes, static_cast<size_t>(r));
    }
    writer.join();
    EXPECT_EQ(got, sent);

    // A wait that ran out leaves its read outstanding: what comes next is counted and read in order, by a
    // plain read as by a timed one.
    for (int timed = 0; timed < 2; ++timed) {
        EXPECT_EQ(SerialWaitReceive(slot, 30), 0);
        ASSERT_TRUE(peer.Write("abcde"));
        ASSERT_TRUE(WaitQueued(slot, 5));
        EXPECT_EQ(SerialBytesWaiting(slot), 5);
        char buffer[8] = {};
        EXPECT_EQ(timed ? SerialReadTimeout(slot, buffer, 5, 1000) : SerialRead(slot, buffer, 5), 5);
        EXPECT_EQ(std::string(buffer), "abcde");
    }
    EXPECT_EQ(SerialClose(slot), 0);
}

// The wait's read may take its byte from the port while the bytes are counted: the count never drops while
// nothing is read, however the two meet.
TEST_F(SerialTest, ACountWhileTheWaitsReadTakesItsByteMissesNothing) {
    ComPeer peer(rig.Peer(0));
    const int slot = Open(0);
    ASSERT_GE(slot, 0);
    // Busy threads beside the counting one, so that it is often interrupted between its steps. They end with
    // the test however it leaves (a failed ASSERT returns at once: a thread still joinable then ends the program).
    struct Spinners {
        std::atomic<bool> busy{true};
        std::vector<std::thread> threads;
        Spinners() {
            for (int i = 0; i < 4; ++i)
                threads.emplace_back([this] {
                    while (busy.load()) {
                    }
                });
        }
        ~Spinners() {
            busy = false;
            for (auto& thread : threads) thread.join();
        }
    } spinners;
    int drops = 0;
    for (int round = 0; round < 1000 && !HasFailure(); ++round) {
        EXPECT_EQ(SerialWaitReceive(slot, 0), 0);  // leaves the wait's read outstanding
        ASSERT_TRUE(peer.Write("ab"));
        int last = 0;
        ASSERT_TRUE(WaitUntil([&] {
            const int now = SerialBytesWaiting(slot);
            drops += now < last;
            last = std::max(last, now);
            return now >= 2;
        }, kRigWaitMs, 0));
        char bytes[2] = {};
        ASSERT_EQ(SerialRead(slot, bytes, 2), 2);
        EXPECT_EQ(std::string(bytes, 2), "ab");
    }
    EXPECT_EQ(drops, 0);
    EXPECT_EQ(SerialClose(slot), 0);
}

TEST_F(SerialTest, CloseCancelsAnOutstandingWait) {
    ComPeer peer(rig.Peer(0));
    const int slot = Open(0);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(SerialWaitReceive(slot, 30), 0);
    const DWORD start = GetTickCount();
    EXPECT_EQ(SerialClose(slot), 0);
    EXPECT_LT(Elapsed(start), 1000u);
    // The old wait takes nothing from the port any more: every byte reaches the next owner.
    const int again = Open(0);
    ASSERT_GE(again, 0);
    ASSERT_TRUE(peer.Write("qr"));
    char buffer[4] = {};
    EXPECT_EQ(SerialReadTimeout(again, buffer, 2, kRigWaitMs), 2);
    EXPECT_EQ(std::string(buffer), "qr");
    EXPECT_EQ(SerialClose(again), 0);
}

TEST_F(SerialTest, TimedOutWriteGivesMinusOne) {
    // The far end reads nothing: once the ptys and the rig hold all they can, a write runs into its time-out
    // (at 115200 baud 1 ms per byte + 2 ms) and must say -1, never 0.
    ComPeer peer(rig.Peer(0));
    const int slot = SerialOpen(rig.Port(0), 115200, kParityNone, 0, 0, kNoHandshake);
    ASSERT_GE(slot, 0);
    const std::string chunk(1024, 'w');
    int result = 0;
    for (int i = 0; i < 2000; ++i) {
        result = SerialWrite(slot, chunk.data(), static_cast<int>(chunk.size()));
        if (result != static_cast<int>(chunk.size())) break;
    }
    EXPECT_EQ(result, -1);
    EXPECT_EQ(SerialClose(slot), 0);
}

TEST_F(SerialTest, TimedReadsCollectSplitInput) {
    ComPeer peer(rig.Peer(0));
    const int slot = Open(0);
    ASSERT_GE(slot, 0);
    char buffer[32];

    std::thread writer([&] {
        peer.Write("abc");
        Sleep(60);
        peer.Write("defgh");
    });
    std::memset(buffer, 0, sizeof buffer);
    EXPECT_EQ(SerialReadTimeout(slot, buffer, 8, kRigWaitMs), 8);
    EXPECT_EQ(std::string(buffer), "abcdefgh");
    writer.join();

    // Fewer bytes than asked: what came, after the time-out.
    ASSERT_TRUE(peer.Write("12345"));
    ASSERT_TRUE(WaitQueued(slot, 5));
    std::memset(buffer, 0, sizeof buffer);
    DWORD start = GetTickCount();
    EXPECT_EQ(SerialReadTimeout(slot, buffer, 10, 300), 5);
    EXPECT_GE(Elapsed(start), 250u);
    EXPECT_EQ(std::string(buffer), "12345");

    // Nothing at all.
    EXPECT_EQ(SerialReadTimeout(slot, buffer, 4, 100), 0);
    EXPECT_EQ(SerialReadTimeout(slot, buffer, 4, 0), 0);
    EXPECT_EQ(SerialReadTimeout(slot, buffer, 0, 20), 0);

    // Up to the terminator: the read ends there, long before its time-out, and later bytes stay queued.
    // They come when the read is back, or after a while should it go on.
    HANDLE readBack = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread frames([&] {
        peer.Write("0D");
        Sleep(40);
        peer.Write("000003E8\r");
        WaitForSingleObject(readBack, kRigWaitMs / 2);
        peer.Write("zz");
    });
    std::memset(buffer, 0, sizeof buffer);
    start = GetTickCount();
    EXPECT_EQ(SerialReadUntil(slot, buffer, 32, 2 * kRigWaitMs, '\r'), 11);
    EXPECT_LT(Elapsed(start), kRigWaitMs / 2);
    SetEvent(readBack);
    EXPECT_EQ(std::string(buffer), "0D000003E8\r");
    frames.join();
    CloseHandle(readBack);
    ASSERT_TRUE(WaitQueued(slot, 2));
    std::memset(buffer, 0, sizeof buffer);
    EXPECT_EQ(SerialReadTimeout(slot, buffer, 2, 100), 2);
    EXPECT_EQ(std::string(buffer), "zz");
    EXPECT_EQ(SerialClose(slot), 0);
}

TEST_F(SerialTest, TimedOutReadLeavesNothingPending) {
    ComPeer peer(rig.Peer(0));
    const int slot = Open(0);
    ASSERT_GE(slot, 0);
    char stale[16];
    std::memset(stale, '#', sizeof stale);
    // Nothing queued: the read waits its limit (count x byte time + 1 s) and gives up.
    const int r = SerialRead(slot, stale, 4);
    if (r == 0) GTEST_SKIP() << "this system completes empty reads at once";
    EXPECT_EQ(r, -1);
    ASSERT_TRUE(peer.Write("wxyz"));
    ASSERT_TRUE(WaitQueued(slot, 4));
    Sleep(50);
    char fresh[16] = {};
    EXPECT_EQ(SerialRead(slot, fresh, 4), 4);
    EXPECT_EQ(std::string(fresh), "wxyz");
    EXPECT_EQ(std::string(stale, sizeof stale), std::string(sizeof stale, '#')) << "a late read landed in an old buffer";
    EXPECT_EQ(SerialClose(slot), 0);
}

TEST_F(SerialTest, LineSettingsAndModemStatus) {
    const int slot = Open(0);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(SerialGetByteTime(slot), 1066);
    EXPECT_EQ(SerialIsAlive(slot), 1);
    EXPECT_EQ(SerialModemStatus(slot), -1) << "a pty has no modem lines to read";
    EXPECT_EQ(SerialReconfigure(slot, 19200, kParityEven, 1, -1, -1), 0);
    EXPECT_EQ(SerialGetByteTime(slot), 12 * 1024000 / 19200);
    EXPECT_EQ(SerialReconfigure(slot, -1, kParityNone, 0, 1, -1), 0);
    EXPECT_EQ(SerialGetByteTime(slot), 9 * 1024000 / 19200);
    EXPECT_EQ(SerialReconfigure(slot, 0, -1, -1, -1, -1), -1);
    EXPECT_EQ(SerialGetByteTime(slot), 9 * 1024000 / 19200) << "a refused setting changes nothing";
    EXPECT_EQ(SerialSetLines(slot, kLineRts | kLineDtr, kLineRts | kLineDtr), 1);
    EXPECT_EQ(SerialClose(slot), 0);

    const int bare = SerialOpen(rig.Port(0), 9600, 0, 0, 0, kHandshakeNoModemLines | kHandshakeRtsFlow);
    ASSERT_GE(bare, 0);
    EXPECT_EQ(SerialModemStatus(bare), 3);
    EXPECT_EQ(SerialClose(bare), 0);
}

TEST(SerialArithmetic, ByteTimeFollowsLineSettings) {
    EXPECT_EQ(SerialByteTime(9600, kParityNone, 0, 0), 1066u);   // 8N1: 10 bits
    EXPECT_EQ(SerialByteTime(9600, kParityNone, 0, 1), 960u);    // 7N1: 9 bits
    EXPECT_EQ(SerialByteTime(9600, kParityOdd, 1, 0), 1280u);    // 8O2: 12 bits
    EXPECT_EQ(SerialByteTime(9600, 6, 0, 0), 1066u);             // indices 5-7 mean no parity
    EXPECT_EQ(SerialByteTime(300, kParityMark, 1, 0), 40960u);
    EXPECT_EQ(SerialByteTime(0, 0, 0, 0), 0u);
}

TEST(SerialArithmetic, DeadlinesSurviveTheTickWrap) {
    // A deadline computed just before the wrap lies ahead of a clock that has not wrapped yet ...
    EXPECT_EQ(SerialMsLeft(0x00000010u, 0xFFFFFFF0u), 32);
    // ... and has passed once the clock is beyond it.
    EXPECT_EQ(SerialMsLeft(0x00000010u, 0x00000020u), -16);
    EXPECT_EQ(SerialMsLeft(0xFFFFFFF0u, 0x00000010u), -32);
    // Spans of big writes at slow rates need 64 bits and stay below 2^30 ms.
    EXPECT_EQ(SerialSpanMs(40960, 1000), 40000u);
    EXPECT_EQ(SerialSpanMs(40960, 2000000), 80000000u);  // 8.2e10 overflows 32 bits
    EXPECT_EQ(SerialSpanMs(0xFFFFFFFFu, 0xFFFFFFFFu), 0x3FFFFFFFu);
}

}  // namespace
