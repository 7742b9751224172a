// CWertlaufView: sound glue. The sounds, their slots and the mixer loop are in GameSounds; the view owns
// the mixer's flags (in the state it shares with the threads) and starts and stops the thread with its window.
#include "game/WertlaufView.h"

#include "game/GameSounds.h"

namespace {

game::SoundMixerFlags MixerFlags(game::ThreadShared& shared) { return {&shared.mixerRunning, &shared.mixerEnded}; }

}  // namespace

void CWertlaufView::LocateSounds() { game::LocateSounds(); }

bool CWertlaufView::StartSoundMixer() {
    return game::StartSoundMixer(MixerFlags(m_state.shared), SoundMixerThread, this);
}

void CWertlaufView::StopSoundMixer() { game::StopSoundMixer(MixerFlags(m_state.shared)); }

void CWertlaufView::QueueSound(game::GameSound sound) { game::QueueGameSound(sound); }

DWORD WINAPI CWertlaufView::SoundMixerThread(LPVOID view) {
    return game::RunSoundMixer(MixerFlags(static_cast<CWertlaufView*>(view)->m_state.shared));
}
