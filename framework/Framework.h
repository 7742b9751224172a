// The application framework: everything the toolkit and the game include.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <ole2.h>
#include <shellapi.h>

#include "framework/AfxIds.h"
#include "framework/ByteArray.h"
#include "framework/CString.h"
#include "framework/CmdTarget.h"
#include "framework/ControlBar.h"
#include "framework/Controls.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/FileDialog.h"
#include "framework/FrameWnd.h"
#include "framework/Gdi.h"
#include "framework/ImageList.h"
#include "framework/Menu.h"
#include "framework/MessageMap.h"
#include "framework/OleControlSite.h"
#include "framework/OleDataSource.h"
#include "framework/OleEventSink.h"
#include "framework/OleVariant.h"
#include "framework/RuntimeClass.h"
#include "framework/StatusBar.h"
#include "framework/Sync.h"
#include "framework/Time.h"
#include "framework/ToolBar.h"
#include "framework/Types.h"
#include "framework/View.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
