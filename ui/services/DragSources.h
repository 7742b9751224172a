// Starting an OLE drag of a file or a text.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/OleDataSource.h"

// Offers one file or folder as CF_HDROP (a DROPFILES block with the full ANSI path and two NULs) and
// drags it with copy, move and link allowed. 1 when the drag ran, 0 for a path that names nothing or
// whose full form has 260 characters or more.
int DragFileSource(const char* path);
// Offers a text (length -1: up to the NUL): mode 0 as CF_TEXT; mode 1 also as CF_UNICODETEXT; other
// modes take the text as UTF-8 and offer it converted to the ANSI code page as CF_TEXT. 1 when the drag
// ran, 0 for an empty text.
int DragTextSource(const char* text, int length, int mode);

// The data sources the drags offer (null when there is nothing to drag), for callers that run the drag
// themselves.
std::unique_ptr<COleDataSource> MakeFileDragSource(const char* path);
std::unique_ptr<COleDataSource> MakeTextDragSource(const char* text, int length, int mode);
