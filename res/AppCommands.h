// Command and resource ids of the application and its main frame, shared by the code and res/app.rc.
// Plain #defines: the resource compiler reads this file too.
#pragma once

#define IDR_MAINFRAME          128
#define IDD_ABOUTBOX           100
#define IDD_KEY_HELP           145
#define IDC_ABOUT_VERSION      1001

#define ID_VIEW_ON_TOP         32771  // "Fenster fixieren"
#define ID_VIEW_FLAT_TOOLBAR   32772
#define ID_VIEW_FULL_SCREEN    32802  // F10, also posted by the -z switch
#define ID_HELP_KEYS           33042

// Framework commands the menu and the accelerators use (the framework defines the same values).
#ifndef ID_APP_ABOUT
#define ID_APP_ABOUT           0xE140
#endif
#ifndef ID_APP_EXIT
#define ID_APP_EXIT            0xE141
#endif
#ifndef ID_FILE_SAVE
#define ID_FILE_SAVE           0xE103
#endif
#ifndef ID_EDIT_COPY
#define ID_EDIT_COPY           0xE122
#endif
#ifndef ID_EDIT_CUT
#define ID_EDIT_CUT            0xE123
#endif
#ifndef ID_EDIT_PASTE
#define ID_EDIT_PASTE          0xE125
#endif
#ifndef ID_EDIT_UNDO
#define ID_EDIT_UNDO           0xE12B
#endif
#ifndef ID_VIEW_TOOLBAR
#define ID_VIEW_TOOLBAR        0xE800
#endif
#ifndef ID_VIEW_STATUS_BAR
#define ID_VIEW_STATUS_BAR     0xE801
#endif
#ifndef ID_INDICATOR_CAPS
#define ID_INDICATOR_CAPS      0xE701
#endif
#ifndef ID_INDICATOR_NUM
#define ID_INDICATOR_NUM       0xE702
#endif
#ifndef ID_INDICATOR_SCRL
#define ID_INDICATOR_SCRL      0xE703
#endif
#ifndef AFX_IDS_APP_TITLE
#define AFX_IDS_APP_TITLE      0xE000
#endif
#ifndef AFX_IDS_IDLEMESSAGE
#define AFX_IDS_IDLEMESSAGE    0xE001
#endif

// Left from the toolkit's viewer programs: bound to keys, handled by nobody.
#define ID_LEGACY_CTRL_D       32779
#define ID_LEGACY_CTRL_F       32799
