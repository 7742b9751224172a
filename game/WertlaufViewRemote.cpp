// CWertlaufView: remote-control glue. Until the reader is attached the view reads no remote control.
#include "game/WertlaufView.h"

bool CWertlaufView::StartRemoteReader() { return false; }

void CWertlaufView::StopRemoteReader() {}

DWORD WINAPI CWertlaufView::RemoteControlThread(LPVOID) { return 0; }

void CWertlaufView::OnSelectComPort() {}
