// The fuzz engine: deterministic mutations of valid seed inputs, each input handed to a target right in front
// of an inaccessible page, and a report of the failing input as hex (for a regression case) when a target
// faults, hangs or finds a broken property.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace fuzz {

using Bytes = std::vector<uint8_t>;

struct Target {
    const char* name;
    Bytes::size_type ciCount;             // inputs of the suite's bounded run
    std::vector<Bytes> (*seeds)();         // valid inputs the mutations start from
    // Feeds one input to the reader; true when the reader took it (counted for the report). A broken
    // property ends the run through FUZZ_CHECK.
    bool (*run)(const uint8_t* data, size_t size);
    std::vector<const char*> regressions;  // inputs (as hex) of earlier findings, run first
};

// Registers a target at start-up: `static fuzz::Registration r{{...}};` in the target's file.
struct Registration {
    explicit Registration(const Target& target);
};

const std::vector<Target>& Targets();

// Mutations of the seeds, driven by a fixed seed: bit flips, bytes set to edge values, truncation, 16- and 32-bit
// length fields set to 0, -1 and huge values (either byte order), chunks repeated, cut out or taken from another seed.
class Mutator {
public:
    explicit Mutator(uint64_t seed) : m_state(seed) {}
    Bytes Next(const std::vector<Bytes>& seeds);
    uint64_t Random();
    size_t Below(size_t n) { return n ? static_cast<size_t>(Random() % n) : 0; }

private:
    void MutateOnce(Bytes& data, const std::vector<Bytes>& seeds);
    uint64_t m_state;
};

// Runs the target's regression inputs and then count mutated inputs; prints a summary line.
// Returns the process exit code (0 = nothing found).
int Run(const Target& target, size_t count, uint64_t seed);

// Ends the run: prints what broke, the target, the input as hex, and exits with code 1.
[[noreturn]] void Fail(const char* what, const char* file, int line);

std::string ToHex(const uint8_t* data, size_t size);
Bytes FromHex(const char* hex);

// Little-endian helpers for building seeds.
void Put16(Bytes& out, uint32_t value);
void Put32(Bytes& out, uint32_t value);
void PutText(Bytes& out, const char* text);
// Seeds made of texts (without their NULs).
std::vector<Bytes> TextSeeds(std::initializer_list<const char*> texts);

// The bytes of a resource of this program (seeds made from the program's artwork and sounds); a null name
// takes the first resource of the type.
Bytes ResourceBytes(LPCSTR name, LPCSTR type);

}  // namespace fuzz

#define FUZZ_CHECK(condition) \
    do { \
        if (!(condition)) ::fuzz::Fail("check failed: " #condition, __FILE__, __LINE__); \
    } while (0)
