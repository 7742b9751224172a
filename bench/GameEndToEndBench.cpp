// Wertlauf.exe end to end under Wine against a bare Win32 program (BareFramePeer.exe: a 30 ms timer moving two
// 28 x 92 sprites through a DIB back buffer), both windowed at 1280 x 1024 in the same run:
//   - sweep: both pointers running (started by remote frames on the COM pair), processor time of the program,
//     the Wine server and the X server together; the pixels the X server receives per frame, against what the
//     game's frame invalidates (its board model at the view's size) and against the peer;
//   - rest: a question on the board and nothing moving, processor time of the main thread, and of program, Wine
//     server and X server together (the game's sound stream runs at rest too: what a sweep adds to rest is the
//     cost of drawing it);
//   - start-up: from CreateProcess to a shown main window that answers (median of 15, the programs taking turns:
//     start-up times swing with the machine's load, so the log adds the median of the turns' ratios); also
//     against BareThemedPeer.exe, the bare program as a program of the visual styles (as the game is);
//   - the same sweep and rest against BareSoundPeer.exe, the bare program running the game's sound stream (its
//     mixer thread and wave-out player, as the game runs them from start to end): what the game costs beyond
//     the stream. tools/bench.sh paces the sound sink as a sound card plays (88,200 bytes a second for the
//     game's 44100 Hz 16-bit mono stream); the log tells how fast the sink took it. Without that pace the
//     suite's file sink takes the stream as fast as Wine hands it over, about four times as fast.
// It needs the COM pair of com_rig.py (WL_COM_PAIRS: the game's remote port, then the far end) and the display
// watcher of tests/ui/dibwnd/display_rig.py (WL_DISPLAY_RIG):
//   python3 tests/game/serial/com_rig.py --pair 31:32 -- python3 tests/ui/dibwnd/display_rig.py --
//     wine build/bench/GameEndToEndBench.exe
// WL_BENCH_E2E_SECONDS (default 20) is the length of each measured stretch, WL_BENCH_E2E_RUNS (default 3) the
// number of runs; the figures are the medians of the runs.
#include "bench/BenchClock.h"
#include "bench/BenchFigure.h"
#include "bench/GameBoardModel.h"
#include "tests/game/serial/ComPeer.h"
#include "tests/ui/dibwnd/DisplayRig.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr LRESULT kProbeAnswer = 0x12345678;
constexpr int kWindowWidth = 1280, kWindowHeight = 1024;
constexpr DWORD kWaitMs = 60000;  // bound of every wait for a program: a busy machine may hold it up
constexpr int kStartups = 15;

int Setting(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value && std::atoi(value) > 0 ? std::atoi(value) : fallback;
}

std::string BesideBench(const char* relative) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    dir.resize(dir.find_last_of('\\') + 1);
    return dir + relative;
}

// ---- The display rig ----

std::vector<double> RigNumbers(const std::string& request) {
    std::vector<double> numbers;
    const std::string answer = DisplayRigRequest(request);
    const char* p = answer.c_str();
    char* end = nullptr;
    for (double v = std::strtod(p, &end); end != p; v = std::strtod(p, &end)) {
        numbers.push_back(v);
        p = end;
    }
    return numbers;
}

// Bytes the sound sink has taken so far (the file WL_AUDIO_CAPTURE), 0 without one.
double SinkBytes() {
    const char* capture = std::getenv("WL_AUDIO_CAPTURE");
    if (!capture) return 0;
    std::string path = std::string("Z:") + capture;
    for (char& c : path)
        if (c == '/') c = '\\';
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return double(data.nFileSizeHigh) * 4294967296.0 + data.nFileSizeLow;
}

// ---- The programs ----

struct Program {
    std::string exe;       // Windows path
    std::string rigName;   // how the rig finds its process
    const char* probe;     // registered message its main window answers
};

class Running {
public:
    Running(const Program& program, const char* arguments) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        std::string commandLine = "\"" + program.exe + "\" " + arguments;
        const double t0 = BenchNowMs();
        if (!CreateProcessA(program.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &m_process))
            return;
        m_frame = WaitForAnswer(RegisterWindowMessageA(program.probe));
        m_startupMs = BenchNowMs() - t0;
    }
    ~Running() {
        if (!m_process.hProcess) return;
        if (m_frame) PostMessageA(m_frame, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(m_process.hProcess, kWaitMs) != WAIT_OBJECT_0) TerminateProcess(m_process.hProcess, 1);
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

    HWND Frame() const { return m_frame; }
    double StartupMs() const { return m_startupMs; }
    std::string Title() const {
        char text[512] = {};
        SendMessageTimeoutA(m_frame, WM_GETTEXT, sizeof text, (LPARAM)text, SMTO_ABORTIFHUNG, 1000, nullptr);
        return text;
    }

private:
    struct Search {
        DWORD processId;
        UINT message;
        HWND found;
    };
    // Only a shown window counts: a thread also handles sent messages while it waits inside a call of its own
    // (the game opening its sound device as its view is made), so a hidden window under construction may
    // answer long before the program shows it and reaches its message loop.
    static BOOL CALLBACK Find(HWND wnd, LPARAM param) {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(wnd, &owner);
        DWORD_PTR answer = 0;
        if (owner != s->processId || !IsWindowVisible(wnd) ||
            !SendMessageTimeoutA(wnd, s->message, kProbeAnswer, 0, SMTO_ABORTIFHUNG, 1000, &answer) ||
            answer != (DWORD_PTR)kProbeAnswer)
            return TRUE;
        s->found = wnd;
        return FALSE;
    }
    // Asks every millisecond or so: the start-up time is taken when the answer comes.
    HWND WaitForAnswer(UINT message) {
        Search s{m_process.dwProcessId, message, nullptr};
        const DWORD start = GetTickCount();
        while (!s.found && GetTickCount() - start < kWaitMs) {
            EnumWindows(Find, reinterpret_cast<LPARAM>(&s));
            if (!s.found) Sleep(1);
        }
        return s.found;
    }

    PROCESS_INFORMATION m_process{};
    HWND m_frame = nullptr;
    double m_startupMs = 0;
};

// The game's remote control: frames written into the far end of its COM pair, stamped with this clock.
class Remote {
public:
    explicit Remote(int comNumber) : m_peer(comNumber) {}
    bool Press(char key) {
        char frame[16];
        std::snprintf(frame, sizeof frame, "%cD%08lX\r", key, GetTickCount());
        return m_peer.Write(frame);
    }

private:
    ComPeer m_peer;
};

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
    return true;
}

// The game's first question on the board: the remote's "next page" key until the title names it.
bool LoadFirstQuestion(const Running& game, Remote& remote) {
    for (int i = 0; i < 20; ++i) {
        if (!remote.Press('2')) return false;
        if (WaitFor([&] { return game.Title().find("Game001") != std::string::npos; }, 3000)) return true;
    }
    return false;
}

// ---- Measuring ----

struct Sweep {
    double cpuMs = 0;           // program + Wine server + X server over the stretch
    std::vector<double> partsMs;  // each of the three
    double pixelsPerFrame = 0;  // what the X server received per frame inside the window
    double invalidatedPerFrame = 0;
};

double Sum(const std::vector<double>& v) {
    double total = 0;
    for (double x : v) total += x;
    return total;
}


Sweep MeasureSweep(const Running& running, const Program& program, DWORD stretchMs) {
    Sweep sweep;
    Sleep(1000);  // settled: the pointers or sprites run
    const std::string names = program.rigName + " wineserver x " + program.rigName + ":main";
    const std::vector<double> before = RigNumbers("cpu " + names);
    const double sinkBefore = SinkBytes();
    Sleep(stretchMs);
    sweep.partsMs = RigNumbers("cpu " + names);
    const double sinkRate = (SinkBytes() - sinkBefore) * 1000 / stretchMs;
    if (sweep.partsMs.size() != 4 || before.size() != 4) return sweep;
    for (size_t i = 0; i < 4; ++i) sweep.partsMs[i] -= before[i];
    const double mainMs = sweep.partsMs[3];
    sweep.partsMs.pop_back();
    sweep.cpuMs = Sum(sweep.partsMs);
    std::printf("  %s sweep: program %.0f ms (main thread %.0f ms), wineserver %.0f ms, X %.0f ms; the sound sink "
                "took %.0f bytes/s\n",
                program.rigName.c_str(), sweep.partsMs[0], mainMs, sweep.partsMs[1], sweep.partsMs[2], sinkRate);
    RECT window;
    GetWindowRect(running.Frame(), &window);
    char watch[96];
    std::snprintf(watch, sizeof watch, "watch %ld %ld %ld %ld", window.left, window.top, window.right, window.bottom);
    DisplayRigRequest(watch);
    Sleep(3000);
    const std::vector<double> damage = RigNumbers("damage");  // pixels, rectangles, frames
    if (damage.size() == 3 && damage[2] > 0) sweep.pixelsPerFrame = damage[0] / damage[2];
    return sweep;
}

struct Rest {
    double mainMs = 0;   // the main thread over the stretch
    double totalMs = 0;  // program + Wine server + X server
};

Rest MeasureRest(const Program& program, DWORD stretchMs) {
    Sleep(1000);
    const std::string names = program.rigName + ":main " + program.rigName + " wineserver x";
    const std::vector<double> before = RigNumbers("cpu " + names);
    Sleep(stretchMs);
    std::vector<double> after = RigNumbers("cpu " + names);
    Rest rest;
    if (after.size() != 4 || before.size() != 4) return rest;
    for (size_t i = 0; i < 4; ++i) after[i] -= before[i];
    rest.mainMs = after[0];
    rest.totalMs = after[1] + after[2] + after[3];
    std::printf("  %s rest: main thread %.1f ms, program %.0f ms, wineserver %.0f ms, X %.0f ms\n",
                program.rigName.c_str(), after[0], after[1], after[2], after[3]);
    return rest;
}

// What the game's frame invalidates per frame while both pointers sweep, on a board of the view's size.
double InvalidatedPerFrame(HWND frame) {
    RECT client{};
    GetClientRect(GetDlgItem(frame, 0xE900), &client);
    Board board;
    if (!board.Setup(client.right, client.bottom)) return 0;
    board.state.stars.count[game::kRed] = board.state.stars.count[game::kBlue] = 0;
    uint32_t now = 100000;
    board.frame.Run(now);
    game::StartPlayer(board.state.shared, game::kRed, now);
    game::StartPlayer(board.state.shared, game::kBlue, now + 100);
    for (int i = 0; i < 50; ++i) board.frame.Run(now += 30);
    board.invalidatedArea = 0;
    const int frames = 1000;
    for (int i = 0; i < frames; ++i) board.frame.Run(now += 30);
    return double(board.invalidatedArea) / frames;
}

bool PrepareGameSettings(int comNumber) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\VQ\\Wertlauf\\Settings", 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const std::pair<const char*, DWORD> placement[] = {
        {"IsZoomed", 0}, {"LastPosX", 0}, {"LastPosY", 0}, {"LastSizeX", kWindowWidth}, {"LastSizeY", kWindowHeight}};
    bool ok = true;
    for (const auto& value : placement)
        ok &= RegSetValueExA(key, value.first, 0, REG_DWORD, (const BYTE*)&value.second, 4) == ERROR_SUCCESS;
    RegCloseKey(key);
    const DWORD port = DWORD(comNumber - 1);
    ok &= RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\VQ\\Wertlauf", "ComPort", REG_DWORD, &port, 4) ==
          ERROR_SUCCESS;
    return ok;
}

}  // namespace

int main() {
    const std::vector<ComPair> pairs = RigComPairs();
    if (pairs.empty() || !std::getenv("WL_DISPLAY_RIG")) {
        std::fprintf(stderr, "GameEndToEndBench: run it through com_rig.py and display_rig.py (see its header)\n");
        return 2;
    }
    if (!PrepareGameSettings(pairs[0].device)) return 2;
    const Program game{BesideBench("..\\bin\\Wertlauf.exe"), "Wertlauf.exe", "Wertlauf"};
    const Program peer{BesideBench("BareFramePeer.exe"), "BareFramePeer.exe", "WertlaufBenchPeer"};
    const Program soundPeer{BesideBench("BareSoundPeer.exe"), "BareSoundPeer.exe", "WertlaufBenchPeer"};
    const Program themedPeer{BesideBench("BareThemedPeer.exe"), "BareThemedPeer.exe", "WertlaufBenchPeer"};
    const DWORD stretchMs = DWORD(Setting("WL_BENCH_E2E_SECONDS", 20)) * 1000;
    const int runs = Setting("WL_BENCH_E2E_RUNS", 3);
    Remote remote(pairs[0].peer);
    bool trustworthy = true;

    std::vector<double> gameStart, peerStart, themedStart;
    for (int i = 0; i < kStartups; ++i) {
        {
            Running p(peer, "rest");
            trustworthy &= p.Frame() != nullptr;
            peerStart.push_back(p.StartupMs());
        }
        {
            Running p(themedPeer, "rest");
            trustworthy &= p.Frame() != nullptr;
            themedStart.push_back(p.StartupMs());
        }
        {
            Running g(game, "");
            trustworthy &= g.Frame() != nullptr;
            gameStart.push_back(g.StartupMs());
        }
    }

    std::vector<double> gameSweepCpu, peerSweepCpu, gamePixels, peerPixels, invalidated, gameRest, peerRest,
        gameRestTotal, peerRestTotal, soundSweepCpu, soundRestTotal;
    for (int run = 0; run < runs && trustworthy; ++run) {
        {
            Running p(peer, "sweep");
            trustworthy &= p.Frame() != nullptr;
            const Sweep s = MeasureSweep(p, peer, stretchMs);
            peerSweepCpu.push_back(s.cpuMs);
            peerPixels.push_back(s.pixelsPerFrame);
        }
        {
            Running g(game, "");
            trustworthy &= g.Frame() && LoadFirstQuestion(g, remote) && remote.Press('0') && remote.Press('1');
            if (!trustworthy) break;
            const Sweep s = MeasureSweep(g, game, stretchMs);
            gameSweepCpu.push_back(s.cpuMs);
            gamePixels.push_back(s.pixelsPerFrame);
            invalidated.push_back(InvalidatedPerFrame(g.Frame()));
        }
        {
            Running p(soundPeer, "sweep");
            trustworthy &= p.Frame() != nullptr;
            soundSweepCpu.push_back(MeasureSweep(p, soundPeer, stretchMs).cpuMs);
        }
        {
            Running p(soundPeer, "rest");
            trustworthy &= p.Frame() != nullptr;
            soundRestTotal.push_back(MeasureRest(soundPeer, stretchMs).totalMs);
        }
        {
            Running p(peer, "rest");
            trustworthy &= p.Frame() != nullptr;
            const Rest rest = MeasureRest(peer, stretchMs);
            peerRest.push_back(rest.mainMs);
            peerRestTotal.push_back(rest.totalMs);
        }
        {
            Running g(game, "");
            trustworthy &= g.Frame() && LoadFirstQuestion(g, remote);
            if (!trustworthy) break;
            const Rest rest = MeasureRest(game, stretchMs);
            gameRest.push_back(rest.mainMs);
            gameRestTotal.push_back(rest.totalMs);
        }
    }
    if (!trustworthy) {
        std::fprintf(stderr, "GameEndToEndBench: a program did not start, or the game did not load its question\n");
        return 1;
    }

    const double seconds = stretchMs / 1000.0;
    std::printf("GameEndToEndBench: 1280 x 1024 windows, %d runs of %.0f s, medians\n", runs, seconds);
    std::printf("  sweep, program + wineserver + X:  game %7.0f ms  peer %7.0f ms\n", Median(gameSweepCpu),
                Median(peerSweepCpu));
    std::printf("  sweep, pixels to X per frame:     game %7.0f     peer %7.0f    game invalidates %7.0f\n",
                Median(gamePixels), Median(peerPixels), Median(invalidated));
    std::printf("  rest, main thread:                game %7.1f ms  peer %7.1f ms\n", Median(gameRest),
                Median(peerRest));
    std::printf("  rest, program + wineserver + X:   game %7.0f ms  peer %7.0f ms (the game's sound stream runs)\n",
                Median(gameRestTotal), Median(peerRestTotal));
    std::vector<double> startRatios;
    for (size_t i = 0; i < gameStart.size() && i < peerStart.size(); ++i)
        if (peerStart[i] > 0) startRatios.push_back(gameStart[i] / peerStart[i]);
    std::printf("  start-up to an answering window:  game %7.1f ms  peer %7.1f ms  (median of the turns' ratios %.2f)\n",
                Median(gameStart), Median(peerStart), Median(startRatios));
    std::printf("  start-up of the bare window of a themed program: %.1f ms\n", Median(themedStart));
    std::printf("  bare program with the game's sound stream: sweep %.0f ms, rest %.0f ms (program + wineserver + X)\n",
                Median(soundSweepCpu), Median(soundRestTotal));
    char figure[96];
    std::snprintf(figure, sizeof figure, "sweep CPU, program + wineserver + X (%.0f s)", seconds);
    BenchFigure(figure, Median(gameSweepCpu) / 1000, Median(peerSweepCpu) / 1000, "s");
    BenchFigure("sweep pixels to X per frame (peer: the frame's invalidated pixels)", Median(gamePixels),
                Median(invalidated), "pixels");
    BenchFigure("sweep pixels to X per frame (peer: the bare program)", Median(gamePixels), Median(peerPixels),
                "pixels");
    // The game's sound stream runs at rest as while sweeping: what the sweep adds to rest is the drawing.
    std::snprintf(figure, sizeof figure, "sweep CPU above rest, program + wineserver + X (%.0f s)", seconds);
    BenchFigure(figure, (Median(gameSweepCpu) - Median(gameRestTotal)) / 1000,
                (Median(peerSweepCpu) - Median(peerRestTotal)) / 1000, "s");
    std::snprintf(figure, sizeof figure, "rest CPU, main thread (%.0f s)", seconds);
    BenchFigure(figure, Median(gameRest) / 1000, Median(peerRest) / 1000, "s");
    std::snprintf(figure, sizeof figure, "rest CPU, program + wineserver + X (%.0f s)", seconds);
    BenchFigure(figure, Median(gameRestTotal) / 1000, Median(peerRestTotal) / 1000, "s");
    BenchFigure("start-up to a window that answers (median of 15)", Median(gameStart), Median(peerStart), "ms");
    // Under Wine a program of the visual styles reads the whole style as it starts, before its first instruction.
    BenchFigure("start-up to a window that answers (median of 15; peer: bare window of a themed program)",
                Median(gameStart), Median(themedStart), "ms");
    // The game runs its sound stream from start to end; against a bare program that runs
    // the same stream, what is left is everything else the game does.
    std::snprintf(figure, sizeof figure, "sweep CPU, program + wineserver + X (%.0f s; peer: bare + the sound stream)",
                  seconds);
    BenchFigure(figure, Median(gameSweepCpu) / 1000, Median(soundSweepCpu) / 1000, "s");
    std::snprintf(figure, sizeof figure, "rest CPU, program + wineserver + X (%.0f s; peer: bare + the sound stream)",
                  seconds);
    BenchFigure(figure, Median(gameRestTotal) / 1000, Median(soundRestTotal) / 1000, "s");
    return 0;
}
