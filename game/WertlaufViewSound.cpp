// CWertlaufView: sound-mixer glue. Until the mixer is attached the view plays no sounds.
#include "game/WertlaufView.h"

void CWertlaufView::LocateSounds() {}

bool CWertlaufView::StartSoundMixer() { return false; }

void CWertlaufView::StopSoundMixer() {}

void CWertlaufView::QueueSound(game::GameSound) {}

DWORD WINAPI CWertlaufView::SoundMixerThread(LPVOID) { return 0; }
