// CWertlaufView: sound glue. The sounds, their slots and the mixer loop are in GameSounds. The mixer thread gets
// no view: it owns the mixer's flags (in the state shared with the threads) jointly with the view, which waits
// for it only up to a bound when its window goes.
#include "game/WertlaufView.h"

#include "game/GameSounds.h"

#include <memory>

namespace {

game::SoundMixerFlags MixerFlags(game::ThreadShared& shared) { return {&shared.mixerRunning, &shared.mixerEnded}; }

DWORD WINAPI MixerThread(LPVOID param) {
    const std::unique_ptr<std::shared_ptr<game::ThreadShared>> share(static_cast<std::shared_ptr<game::ThreadShared>*>(param));
    return game::RunSoundMixer(MixerFlags(**share));
}

}  // namespace

void CWertlaufView::LocateSounds() { game::LocateSounds(); }

bool CWertlaufView::StartSoundMixer() {
    auto* share = new std::shared_ptr<game::ThreadShared>(m_state.ShareWithThread());
    if (game::StartSoundMixer(MixerFlags(m_state.shared), MixerThread, share)) return true;
    delete share;
    return false;
}

void CWertlaufView::StopSoundMixer() { game::StopSoundMixer(MixerFlags(m_state.shared)); }

void CWertlaufView::QueueSound(game::GameSound sound) { game::QueueGameSound(sound); }
