#include "game/GameSettingsForm.h"

#include <atomic>

namespace {

std::atomic<GameSettingsDialogRunner> g_runner{nullptr};

}  // namespace

void SetGameSettingsDialogRunner(GameSettingsDialogRunner runner) { g_runner.store(runner); }

GameSettingsDialogRunner GetGameSettingsDialogRunner() { return g_runner.load(); }
