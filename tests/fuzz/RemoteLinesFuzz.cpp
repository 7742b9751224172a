// The remote control's line reader: bytes from the COM port, fed in pieces as the port hands them over.
#include "tests/fuzz/FuzzEngine.h"

#include "game/RemoteControl.h"

namespace {

class Recorder : public game::RemoteActions {
public:
    int actions = 0;
    void StartPlayer(int player, uint32_t) override { Player(player); }
    void StopPlayer(int player, uint32_t) override { Player(player); }
    void PostCommand(int commandId) override {
        bool known = false;
        for (int key = 2; key <= 7; ++key) known |= commandId == game::RemoteKeyCommand(key);
        FUZZ_CHECK(known);
        ++actions;
    }
    bool SingleMode() override { return single; }
    bool single = false;

private:
    void Player(int player) {
        FUZZ_CHECK(player == 0 || player == 1);
        ++actions;
    }
};

uint32_t g_clock = 0;
uint32_t Clock() { return g_clock += 37; }

std::vector<fuzz::Bytes> Seeds() {
    return fuzz::TextSeeds({"0D0000ABCD\r1D0000ABD0\r0U0000AC00\r", "2D00010000\n3D00010100\n7D0001F000\r\n",
                            "0S12345678\r0D12345700\r1D12345790\r", "xx0D0000ABCD\r\r\n5D0000FFFF\r1DFFFFFFFF\r"});
}

bool Run(const uint8_t* data, size_t size) {
    Recorder recorder;
    for (int pass = 0; pass < 2; ++pass) {
        recorder.single = pass == 1;
        game::RemoteFrameReader reader(recorder, Clock);
        // Pieces of 1 to 7 bytes in the first pass, as much as fits in the second.
        for (size_t at = 0, piece = 0; at < size; ++piece) {
            FUZZ_CHECK(reader.Room() > 0 && reader.Room() <= game::kRemoteBufferBytes);
            size_t take = pass == 0 ? 1 + piece % 7 : reader.Room();
            if (take > size - at) take = size - at;
            if (take > reader.Room()) take = reader.Room();
            reader.Feed(data + at, take);
            at += take;
        }
    }
    return recorder.actions > 0;
}

fuzz::Registration registration{{"RemoteLines", 150000, Seeds, Run, {}}};

}  // namespace
