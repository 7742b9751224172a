// The worker's part of a read: the subfolders the file list holds become the children of the job's item.
#pragma once

#include "treelist/foldertree/FolderTreeWorker.h"

// Children of the same text (letter case ignored) stay, new ones are inserted (natural order; shell
// entries in reading order), children no longer there are deleted, and the item is marked read with
// the number of its children. Unless the job is an expansion, the caret is kept in view. Stops without
// a change more when the worker is stopped or the job's read was stopped.
void FillChildren(FolderTreeContext& c, const FolderJob& job, UINT parentState);
