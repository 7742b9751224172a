#include "tests/fuzz/FuzzEngine.h"

#include "tests/support/GuardPage.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <exception>

namespace fuzz {

namespace {

constexpr size_t kMaxInput = 1 << 20;
constexpr DWORD kHangSeconds = 60;  // one input this long is taken as a hang

std::vector<Target>& Registry() {
    static std::vector<Target> targets;
    return targets;
}

// What a failure report needs: the running target and its current input (read by the crash handler and the
// watchdog thread while the input stands still).
struct Current {
    const char* target = "";
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t index = 0;
};
Current g_current;
std::atomic<uint64_t> g_progress{0};
std::atomic<bool> g_reporting{false};

void PrintInput() {
    const std::string hex = ToHex(g_current.data, g_current.size);
    for (size_t at = 0; at < hex.size(); at += 128) fprintf(stderr, "  %.128s\n", hex.c_str() + at);
}

[[noreturn]] void Report(const char* what, const char* where) {
    // One report, even when a fault meets a check or the watchdog.
    if (g_reporting.exchange(true)) {
        for (;;) Sleep(INFINITE);
    }
    fprintf(stderr, "FUZZ FAILURE in %s, input %zu (%zu bytes): %s%s%s\nInput as hex (for a regression case):\n",
            g_current.target, g_current.index, g_current.size, what, where[0] ? " at " : "", where);
    PrintInput();
    fflush(stderr);
    fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 1);
    for (;;) Sleep(INFINITE);
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info) {
    char what[96];
    snprintf(what, sizeof what, "exception 0x%08lx at %p", info->ExceptionRecord->ExceptionCode,
             info->ExceptionRecord->ExceptionAddress);
    Report(what, "");
}

void OnTerminate() {
    Report("std::terminate (an exception left a noexcept function or a thread)", "");
}

DWORD WINAPI Watchdog(LPVOID) {
    uint64_t seen = g_progress.load();
    DWORD still = 0;
    for (;;) {
        Sleep(1000);
        const uint64_t now = g_progress.load();
        still = now == seen ? still + 1 : 0;
        seen = now;
        if (still >= kHangSeconds) Report("no answer within 60 s (a hang)", "");
    }
}

void InstallHandlers() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    SetUnhandledExceptionFilter(OnUnhandledException);
    std::set_terminate(OnTerminate);
    // Not a failure path of the program's: Windows' own error boxes would wait for a click.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    CloseHandle(CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));
}

bool Feed(const Target& target, const Bytes& input, size_t index) {
    GuardedBytes guarded(input.data(), input.size());
    g_current.data = reinterpret_cast<const uint8_t*>(guarded.Data());
    g_current.size = input.size();
    g_current.index = index;
    bool taken = false;
    try {
        taken = target.run(g_current.data, g_current.size);
    } catch (const std::exception& e) {
        Report("exception thrown: ", e.what());
    } catch (...) {
        Report("unknown exception thrown", "");
    }
    ++g_progress;
    return taken;
}

}  // namespace

Registration::Registration(const Target& target) { Registry().push_back(target); }

const std::vector<Target>& Targets() { return Registry(); }

uint64_t Mutator::Random() {
    // splitmix64
    uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

Bytes Mutator::Next(const std::vector<Bytes>& seeds) {
    Bytes data = seeds[Below(seeds.size())];
    const size_t steps = 1 + Below(4);
    for (size_t i = 0; i < steps; ++i) MutateOnce(data, seeds);
    if (data.size() > kMaxInput) data.resize(kMaxInput);
    return data;
}

void Mutator::MutateOnce(Bytes& data, const std::vector<Bytes>& seeds) {
    const size_t size = data.size();
    switch (Below(9)) {
    case 0:  // bit flips
        for (size_t i = 1 + Below(8); size && i > 0; --i) data[Below(size)] ^= static_cast<uint8_t>(1u << Below(8));
        break;
    case 1: {  // a byte at an edge value
        static const uint8_t kEdges[] = {0x00, 0xFF, 0x7F, 0x80, 0x01};
        if (size) data[Below(size)] = Below(6) < 5 ? kEdges[Below(5)] : static_cast<uint8_t>(Random());
        break;
    }
    case 2:  // truncation, often by a little
        data.resize(Below(2) ? Below(size + 1) : size - std::min(size, 1 + Below(16)));
        break;
    case 3:
    case 4: {  // a length field: 0, -1 or huge
        const size_t width = Below(2) ? 4 : 2;
        if (size < width) break;
        size_t at = Below(size - width + 1);
        if (Below(2)) at &= ~(width - 1);
        const uint32_t kValues[] = {0u, 0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x10000u, 0xFFFFu, 0x7FFFu, 0x8000u,
                                    static_cast<uint32_t>(size), static_cast<uint32_t>(size + 1),
                                    static_cast<uint32_t>(size * 2), static_cast<uint32_t>(Random())};
        const uint32_t value = kValues[Below(std::size(kValues))];
        const bool bigEndian = Below(4) == 0;
        for (size_t i = 0; i < width; ++i) {
            const size_t shift = 8 * (bigEndian ? width - 1 - i : i);
            data[at + i] = static_cast<uint8_t>(value >> shift);
        }
        break;
    }
    case 5: {  // a chunk repeated, mostly right behind itself
        if (!size) break;
        const size_t from = Below(size), length = 1 + Below(std::min<size_t>(size - from, 512));
        const Bytes chunk(data.begin() + from, data.begin() + from + length);
        const size_t to = Below(2) ? from + length : Below(size + 1);
        for (size_t times = 1 + Below(3); times > 0; --times) data.insert(data.begin() + to, chunk.begin(), chunk.end());
        break;
    }
    case 6: {  // a chunk cut out
        if (!size) break;
        const size_t from = Below(size), length = 1 + Below(std::min<size_t>(size - from, 256));
        data.erase(data.begin() + from, data.begin() + from + length);
        break;
    }
    case 7: {  // a piece of another seed written over
        const Bytes& other = seeds[Below(seeds.size())];
        if (!size || other.empty()) break;
        const size_t from = Below(other.size()), to = Below(size);
        const size_t length = std::min({other.size() - from, size - to, 1 + Below(64)});
        std::copy(other.begin() + from, other.begin() + from + length, data.begin() + to);
        break;
    }
    default: {  // random bytes put in
        Bytes extra(1 + Below(16));
        for (uint8_t& b : extra) b = static_cast<uint8_t>(Random());
        data.insert(data.begin() + Below(size + 1), extra.begin(), extra.end());
        break;
    }
    }
}

int Run(const Target& target, size_t count, uint64_t seed) {
    InstallHandlers();
    g_current.target = target.name;
    const std::vector<Bytes> seeds = target.seeds();
    if (seeds.empty()) {
        fprintf(stderr, "fuzz %s: no seed inputs\n", target.name);
        return 1;
    }
    size_t index = 0, taken = 0;
    for (const char* hex : target.regressions) taken += Feed(target, FromHex(hex), index++);
    for (const Bytes& input : seeds) taken += Feed(target, input, index++);
    Mutator mutator(seed);
    for (size_t i = 0; i < count; ++i) taken += Feed(target, mutator.Next(seeds), index++);
    printf("fuzz %s: %zu inputs (%zu regression cases, %zu seeds, %zu mutated with seed 0x%llx), %zu taken by the "
           "reader, nothing found\n",
           target.name, index, target.regressions.size(), seeds.size(), count,
           static_cast<unsigned long long>(seed), taken);
    fflush(stdout);
    return 0;
}

void Fail(const char* what, const char* file, int line) {
    char where[300];
    snprintf(where, sizeof where, "%s:%d", file, line);
    Report(what, where);
}

std::string ToHex(const uint8_t* data, size_t size) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(size * 2);
    for (size_t i = 0; i < size; ++i) {
        out += kDigits[data[i] >> 4];
        out += kDigits[data[i] & 15];
    }
    return out;
}

Bytes FromHex(const char* hex) {
    Bytes out;
    int high = -1;
    for (; *hex; ++hex) {
        const char c = *hex;
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0) continue;  // spaces and line breaks of a pasted report
        if (high < 0) {
            high = digit;
        } else {
            out.push_back(static_cast<uint8_t>(high << 4 | digit));
            high = -1;
        }
    }
    return out;
}

void Put16(Bytes& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(Bytes& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutText(Bytes& out, const char* text) { out.insert(out.end(), text, text + strlen(text)); }

std::vector<Bytes> TextSeeds(std::initializer_list<const char*> texts) {
    std::vector<Bytes> seeds;
    for (const char* text : texts) seeds.emplace_back(text, text + strlen(text));
    return seeds;
}

Bytes ResourceBytes(LPCSTR name, LPCSTR type) {
    HMODULE module = GetModuleHandleA(nullptr);
    if (!name) {
        EnumResourceNamesA(
            module, type,
            [](HMODULE, LPCSTR, LPSTR found, LONG_PTR param) -> BOOL {
                *reinterpret_cast<LPCSTR*>(param) = found;  // numeric ids only: a string would not outlive the call
                return FALSE;
            },
            reinterpret_cast<LONG_PTR>(&name));
        if (!name || !IS_INTRESOURCE(name)) return Bytes();
    }
    HRSRC resource = FindResourceA(module, name, type);
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const uint8_t* data = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
    return data ? Bytes(data, data + SizeofResource(module, resource)) : Bytes();
}

}  // namespace fuzz
