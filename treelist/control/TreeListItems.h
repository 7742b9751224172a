// Item storage of the "TreeList" control: the handle tables, the tree links, insert, delete, find and the
// range operations. All of it runs inside the per-window lock.
#pragma once

#include "treelist/control/TreeListData.h"

// --- tables and records (TreeListTables.cpp)
bool GrowItemTables(TreeListData* d);
ItemId NextFreeHandle(const TreeListData* d);
bool EnsureCellTable(TreeListData* d, int column);
void FreeCellTable(TreeListData* d, int column);
// The cell of an item, made empty when missing; null when the item or column is bad or memory runs out.
TreeListCell* EnsureCell(TreeListData* d, ItemId item, int column);
// The shared block of empty texts, and freeing a text that may be it.
char* EmptyText();
void FreeText(char* text);
// Replaces a heap text; false when memory runs out (the old text stays).
bool StoreText(char** text, UINT* length, const char* source);
// A new item record with its user data and, when not empty, its text in the same block (one allocation per
// item); null when memory runs out.
TreeListItem* NewItemRecord(TreeListData* d, const char* text);
// Gives an item whose text lies in its record a heap copy, which StoreText may replace; false when memory runs out.
bool DetachItemText(TreeListData* d, TreeListItem* it);
// Frees a record that is not in the table (and its text).
void FreeNewItemRecord(TreeListData* d, TreeListItem* it);
void FreeItemRecord(TreeListData* d, ItemId item);
void FreeAllTables(TreeListData* d);

// --- tree links and walks (TreeListLinks.cpp)
void LinkItem(TreeListData* d, ItemId item, ItemId parent, ItemId after);  // after 0: first child
void UnlinkItem(TreeListData* d, ItemId item);
ItemId FirstChildOf(const TreeListData* d, ItemId parent);  // parent 0: the first top-level item
ItemId LastChildOf(const TreeListData* d, ItemId parent);
// The next item in tree order (child, else next sibling, else an ancestor's next sibling); limit: 0 or the
// root of a subtree the walk must not leave.
ItemId NextInTree(const TreeListData* d, ItemId item, ItemId limit = 0);
ItemId PreviousInTree(const TreeListData* d, ItemId item);
ItemId LastDescendant(const TreeListData* d, ItemId item);
bool IsAncestor(const TreeListData* d, ItemId ancestor, ItemId item);
void SetLevels(TreeListData* d, ItemId item, int level);  // the item and its subtree

// --- insert (TreeListInsert.cpp)
ItemId InsertItem(TreeListData* d, const TreeListInsertRecord* record);
// Waits while another thread runs a sorted insert or a sort (as long as that makes progress); false when this
// thread runs it (a re-entrant change), when the window is going away or when the other thread is stuck.
bool MayChangeTree(TreeListData* d);
// Marks a sorted insert or a sort as running on this thread for its lifetime.
class SortRunning {
public:
    explicit SortRunning(TreeListData* d) : m_d(d) { d->sortThread = GetCurrentThreadId(); }
    ~SortRunning() { m_d->sortThread = 0; }
    SortRunning(const SortRunning&) = delete;
    SortRunning& operator=(const SortRunning&) = delete;

private:
    TreeListData* m_d;
};

// --- delete (TreeListDelete.cpp)
enum DeleteMode : int { kDeleteNormal, kDeleteNoRows, kDeleteChildren, kDeleteQueued, kDeleteChildrenQueued };
DeleteMode DeleteModeOf(WPARAM wParam);
BOOL DeleteItemMessage(TreeListData* d, WPARAM mode, ItemId item);
// Deletes the whole tree without notifications (WM_DESTROY).
void DeleteAllSilently(TreeListData* d);

// --- find and ranges (TreeListFind.cpp)
ItemId FindItem(TreeListData* d, ItemId start, const TVITEMA* key);
// TLM_COUNTRANGE / TLM_SETRANGE.
LRESULT CountRange(TreeListData* d, const TVITEMA* record);
LRESULT SetRange(TreeListData* d, TVITEMA* record);
