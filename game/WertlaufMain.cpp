// Wertlauf.exe: the one application object. The framework's WinMain starts it.
#include "game/WertlaufApp.h"

CWertlaufApp theApp;
