// The page search over a question folder whose pages another program wrote: input byte 0 is the game number
// before the load, byte 1 how many numbers lie between it and the page, the rest the page itself.
#include "tests/fuzz/FuzzEngine.h"

#include "game/GameState.h"
#include "game/QuestionPages.h"

#include <cmath>
#include <string>

namespace {

std::string Folder() {
    static std::string folder;
    if (folder.empty()) {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        folder = std::string(base) + "wl_fuzz_pages_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    return folder;
}

std::vector<fuzz::Bytes> Seeds() {
    std::vector<fuzz::Bytes> seeds = fuzz::TextSeeds({
        "<!--MIN0--><!--MAX1000--><!--VAL347--><!--LOG0--><html><body>Frage</body></html>",
        "<!--FIN--><html>Ende</html>", "<!--MIN10--><!--MAX1e4--><!--VAL999--><!--LOG1-->", "<!--MIN0--><!--MAX10-->"});
    uint8_t gap = 0;
    for (fuzz::Bytes& seed : seeds) seed.insert(seed.begin(), {7, gap++});
    return seeds;
}

bool Run(const uint8_t* data, size_t size) {
    if (size < 2) return false;
    const std::string folder = Folder();
    game::GameState state;
    state.shared.gameNumber = data[0];
    const int32_t pageNumber = data[0] + 1 + data[1];
    const std::string directory = folder + "\\Game" + (pageNumber < 100 ? pageNumber < 10 ? "00" : "0" : "") +
                                  std::to_string(pageNumber);
    const std::string path = directory + "\\Info.html";
    CreateDirectoryA(directory.c_str(), nullptr);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    FUZZ_CHECK(file != INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, data + 2, static_cast<DWORD>(size - 2), &written, nullptr);
    CloseHandle(file);

    int shown = 0;
    const game::PageLoad load = game::LoadNextQuestion(state, folder.c_str(), [&](const CString&) { ++shown; });
    DeleteFileA(path.c_str());
    RemoveDirectoryA(directory.c_str());
    if (data[1] >= game::kPageSearchTries) {
        FUZZ_CHECK(load.outcome == game::PageLoad::kNotFound && shown == 0);
        return false;
    }
    FUZZ_CHECK(shown == 1 && _stricmp(load.page, path.c_str()) == 0);
    FUZZ_CHECK(load.outcome != game::PageLoad::kNotFound && load.outcome != game::PageLoad::kRefused);
    if (load.outcome == game::PageLoad::kFaulty) FUZZ_CHECK(load.ErrorText().GetLength() > 0);
    if (load.outcome != game::PageLoad::kLoaded) return false;
    const game::Question& question = state.question;
    FUZZ_CHECK(std::isfinite(question.minimum) && std::isfinite(question.maximum) && std::isfinite(question.solution));
    FUZZ_CHECK(state.round.roundActive == 1 && state.shared.gameNumber == pageNumber);
    return true;
}

fuzz::Registration registration{{"PageSearch", 2000, Seeds, Run, {}}};

}  // namespace
