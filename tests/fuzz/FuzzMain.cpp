// fuzz_tests TARGET [COUNT [SEED]]   mutated inputs for one target (COUNT defaults to the suite's count)
// fuzz_tests TARGET --hex HEX        one input, for example a reported failure
// fuzz_tests --list                  the targets and their suite counts
#include "tests/fuzz/FuzzEngine.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr uint64_t kDefaultSeed = 0x5745525431415546ull;

const fuzz::Target* Find(const char* name) {
    for (const fuzz::Target& target : fuzz::Targets())
        if (_stricmp(target.name, name) == 0) return &target;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || strcmp(argv[1], "--list") == 0) {
        for (const fuzz::Target& target : fuzz::Targets()) printf("%s %zu\n", target.name, target.ciCount);
        return argc < 2 ? 2 : 0;
    }
    const fuzz::Target* target = Find(argv[1]);
    if (!target) {
        fprintf(stderr, "no fuzz target %s (--list names them)\n", argv[1]);
        return 2;
    }
    if (argc >= 4 && strcmp(argv[2], "--hex") == 0) {
        fuzz::Target single = *target;
        single.regressions = {argv[3]};
        return fuzz::Run(single, 0, kDefaultSeed);
    }
    const size_t count = argc >= 3 ? strtoull(argv[2], nullptr, 0) : target->ciCount;
    const uint64_t seed = argc >= 4 ? strtoull(argv[3], nullptr, 0) : kDefaultSeed;
    return fuzz::Run(*target, count, seed);
}
