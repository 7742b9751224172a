// Wertlauf.exe with a remote control on a socat pty (com_rig.py) and its sound in a capture file
// (alsa_rig.py): frames load pages, run the red pointer and count stars; the port vanishes and
// comes back; the COM-port prompt moves the reader to another port.
#include "tests/game/sound/AudioCapture.h"
#include "tests/game/serial/ComPeer.h"
#include "tests/game/serial/GameProcess.h"
#include "game/GameSounds.h"
#include "tests/support/IdleComPort.h"
#include "tests/support/ScreenPixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

std::string ProgramPath() {
    std::string path = std::string("Z:") + WL_WERTLAUF_EXE;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

const char kProgramKey[] = "Software\\VQ\\Wertlauf";

DWORD ComPortSetting() {
    DWORD value = 0xFFFFFFFF, size = 4;
    RegGetValueA(HKEY_CURRENT_USER, kProgramKey, "ComPort", RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

// The samples of one of the program's WAVE resources.
std::vector<int16_t> ProgramSound(const char* name) {
    std::vector<int16_t> samples;
    HMODULE module = LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC resource = module ? FindResourceA(module, name, "WAVE") : nullptr;
    if (resource) {
        const void* image = LockResource(LoadResource(module, resource));
        const int16_t* first = nullptr;
        uint32_t count = 0;
        if (game::FindWaveSamples(image, SizeofResource(module, resource), &first, &count))
            samples.assign(first, first + count);
    }
    if (module) FreeLibrary(module);
    return samples;
}

// Bound of every wait for the program: generous, since a busy machine may hold it up for seconds.
constexpr DWORD kWaitMs = 20000;

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = kWaitMs) {
    for (DWORD waited = 0; waited <= timeoutMs; waited += 50) {
        if (done()) return true;
        Sleep(50);
    }
    return false;
}

// The remote control: frames of one key with a clock that moves on by a second per frame.
class Remote {
public:
    explicit Remote(int comNumber) : m_comNumber(comNumber) { Reconnect(); }
    void Reconnect() { m_peer = std::make_unique<ComPeer>(m_comNumber); }
    void Drop() { m_peer.reset(); }
    bool Press(char key) {
        m_clock += 1000;
        char frame[16];
        std::snprintf(frame, sizeof frame, "%cD%08X\r", key, m_clock);
        return m_peer && m_peer->Write(frame);
    }
    // For keys that may be pressed again without harm: presses until it shows.
    bool PressUntil(char key, const std::function<bool()>& done) {
        for (int i = 0; i < 20; ++i) {
            if (!Press(key)) return false;
            if (WaitFor(done, kWaitMs / 20)) return true;
        }
        return false;
    }

private:
    int m_comNumber;
    std::unique_ptr<ComPeer> m_peer;
    uint32_t m_clock = 0x10000;
};

class RemoteEndToEnd : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(pairs.size(), 2u) << "run through com_rig.py with COM1-COM2 and COM3-COM4";
        ASSERT_FALSE(AudioCapturePath().empty()) << "run through alsa_rig.py";
        ASSERT_TRUE(SetComPortSetting(kProgramKey, 0));
        ASSERT_TRUE(game.Start(ProgramPath()));
        ASSERT_TRUE(game.View());
    }
    // The red player's lowest star slot, above the scale band at the view's left edge.
    std::vector<COLORREF> RedStarSlot() const {
        RECT client;
        GetClientRect(game.View(), &client);
        const LONG top = client.bottom - 200;
        return ScreenPixels(game.View(), RECT{0, top - 136, 136, top}, 3);  // every third pixel each way
    }
    // An empty slot shows the plain board.
    static bool Plain(const std::vector<COLORREF>& pixels) {
        return !pixels.empty() && std::all_of(pixels.begin(), pixels.end(), [&](COLORREF c) { return c == pixels.front(); });
    }
    std::vector<ComPair> pairs = RigComPairs();
    GameProcess game;
};

TEST_F(RemoteEndToEnd, FramesDriveTheGameAndTheReaderOutlivesThePort) {
    Remote remote(pairs[0].peer);
    ASSERT_TRUE(remote.PressUntil('2', [&] { return game.Title().find("Game001") != std::string::npos; }))
        << "title: " << game.Title();

    // Red starts and stops: the stop chime goes into the sound stream.
    ASSERT_TRUE(remote.Press('0'));
    Sleep(400);
    ASSERT_TRUE(remote.Press('0'));

    // The picture reaches the screen a little after the program has drawn it: the empty slot first.
    std::vector<COLORREF> noStar;
    ASSERT_TRUE(WaitFor([&] { return Plain(noStar = RedStarSlot()); })) << "the red star slot is not empty";
    ASSERT_TRUE(remote.Press('5'));
    EXPECT_TRUE(WaitFor([&] { return RedStarSlot() != noStar; })) << "no red star appeared";

    // The line goes away and comes back: the reader finds it again by itself. The frame sent into the new
    // line waits there until the reader has opened it.
    remote.Drop();
    ASSERT_TRUE(RigComControl("down", pairs[0].device));
    Sleep(600);
    ASSERT_TRUE(RigComControl("up", pairs[0].device));
    remote.Reconnect();
    ASSERT_TRUE(remote.Press('4'));
    EXPECT_TRUE(WaitFor([&] { return RedStarSlot() == noStar; })) << "the star was not taken back";

    ASSERT_TRUE(game.Close());
    const std::vector<int16_t> chime = WithoutSilence(ProgramSound("CLING1"));
    ASSERT_GT(chime.size(), 1000u);
    EXPECT_GE(FindSamples(WithoutSilence(ReadAudioCapture()), chime), 0) << "CLING1 is not in the sound output";
}

TEST_F(RemoteEndToEnd, ComPortPromptMovesTheReader) {
    game.PostCommand(32818);
    HWND prompt = game.WaitForWindow("COM-Port", kWaitMs);
    ASSERT_TRUE(prompt);
    char shown[32] = {};
    GetDlgItemTextA(prompt, 1008, shown, sizeof shown);
    EXPECT_STREQ(shown, "COM1");
    SetDlgItemTextA(prompt, 1008, "com3");
    SendMessageA(GetDlgItem(prompt, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(prompt); }));

    Remote remote(pairs[1].peer);  // COM4, the far end of COM3
    EXPECT_TRUE(remote.PressUntil('2', [&] { return game.Title().find("Game001") != std::string::npos; }))
        << "title: " << game.Title();
    ASSERT_TRUE(game.Close());
    EXPECT_EQ(ComPortSetting(), 2u) << "the chosen port is stored when the program ends";
}

}  // namespace
