// Wave-out player: streaming from a file or a reader, on the calling thread or a thread of its own.
#include "game/sound/WaveOut.h"
#include "game/sound/WavePlayer.h"

#include <io.h>

namespace {

struct StreamJob {
    void* context;
    WaveStreamReader reader;
    int fileHandle;  // the context of ReadHandle
};

int ReadHandle(void* context, void* buffer, int bytes) {
    return _read(*static_cast<int*>(context), buffer, static_cast<unsigned>(bytes));
}

int ReadStdioFile(void* context, void* buffer, int bytes) {
    return static_cast<int>(fread(buffer, 1, static_cast<size_t>(bytes), static_cast<FILE*>(context)));
}

int StreamLoop(void* context, WaveStreamReader reader) {
    WavePlayer& p = Player();
    int total = 0;
    while (p.running.load() && !p.stopFlag.load()) {
        void* buffer = WaveOutGetBuffer();
        if (!buffer) break;
        const int got = reader(context, buffer, static_cast<int>(p.bufferBytes));
        if (got <= 0 || p.stopFlag.load()) break;
        // Every block handed over counts, also one that a stalled device made the player drop.
        const int result = WaveOutWrite(got);
        total += got;
        if (result != kWaveWriteOk && result != kWaveWriteWaitFailed) break;
    }
    return total;
}

DWORD WINAPI StreamThread(void* param) {
    StreamJob* job = static_cast<StreamJob*>(param);
    void* context = job->reader == ReadHandle ? &job->fileHandle : job->context;
    StreamLoop(context, job->reader);
    delete job;
    Player().threadFinished.store(true);
    return 0;
}

int StartStreamThread(StreamJob* job) {
    WavePlayer& p = Player();
    if (!p.device.load()) {
        delete job;
        return -1;
    }
    WaveStopStreamThread();
    p.stopFlag.store(false);
    p.threadFinished.store(false);
    p.streamThread = CreateThread(nullptr, 1024, StreamThread, job, 0, nullptr);
    if (!p.streamThread) {
        delete job;
        return -1;
    }
    return 0;
}

int StreamHere(void* context, WaveStreamReader reader) {
    WavePlayer& p = Player();
    if (!p.device.load()) return -1;
    p.stopFlag.store(false);
    return StreamLoop(context, reader);
}

}  // namespace

void WaveStopStreamThread() {
    WavePlayer& p = Player();
    if (!p.streamThread) return;
    p.stopFlag.store(true);
    if (p.freeEvent) {
        EnterCriticalSection(&p.lock);
        SignalFree(p, true);  // a stream waiting for a buffer looks at the flag
        LeaveCriticalSection(&p.lock);
    }
    for (int i = 0; i < 10 && !p.threadFinished.load(); ++i) Sleep(100);
    if (!p.threadFinished.load()) {
        TerminateThread(p.streamThread, 1);
        Sleep(100);
    }
    CloseHandle(p.streamThread);
    p.streamThread = nullptr;
}

int WaveOutStreamHandle(int fileHandle) { return StreamHere(&fileHandle, ReadHandle); }

int WaveOutStreamFile(FILE* file) { return file ? StreamHere(file, ReadStdioFile) : -1; }

int WaveOutStartStreamHandle(int fileHandle) { return StartStreamThread(new StreamJob{nullptr, ReadHandle, fileHandle}); }

int WaveOutStartStreamFile(FILE* file) { return file ? StartStreamThread(new StreamJob{file, ReadStdioFile, -1}) : -1; }

int WaveOutStartStream(void* context, WaveStreamReader reader) {
    return reader ? StartStreamThread(new StreamJob{context, reader, -1}) : -1;
}
