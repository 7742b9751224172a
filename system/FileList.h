// CFileList: reads a folder, the drive list or the network into a list of entries.
#pragma once

#include "framework/CString.h"
#include "text/TextList.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

// Flags of Read and SetLocation.
enum : int {
    FL_SORTED = 0x100,        // entries come sorted (by the sort mode in force)
    FL_FIRST_ONLY = 0x200,    // stop after the first entry
    FL_NETWORK = 0x400,       // network paths: the network place in the drive list, servers, shares
    FL_FOLDERS_ONLY = 0x8000, // folders only
};
// How the last read ended (the list's first byte).
enum : uint8_t { FL_END_COMPLETE = 0, FL_END_FIRST_ONLY = 1, FL_END_ABORTED = 2, FL_END_FAILED = 3 };
// Forms of NextEntry.
enum : int { FL_FORM_NAME = 0, FL_FORM_PATH = 1 };
// Sort modes.
enum : int { FL_SORT_NATURAL = 0x2000 };

// Header flags of an entry.
enum : uint32_t {
    FLE_DRIVE = 0x4000,  // a drive of the drive list ("C:")
    FLE_SHELL = 0x8000,  // a shell entry: the network place, a server or a share
};

// One entry; its name is the list item's text.
struct FileListEntry {
    uint32_t headerFlags;
    uint32_t attributes;  // FILE_ATTRIBUTE_* bits
    uint64_t size;
    int64_t created;      // seconds since 1970 (UTC)
    int64_t accessed;
    int64_t written;
    const char* name;
    int32_t nameLength;
    int32_t extraLength;
    char* extraText;      // network path of a shell entry, else null
    int32_t icon;         // cached icon index for iconFlags; -1 none yet
    int32_t iconFlags;
};

class CFileList {
public:
    // Sets the location (no read yet).
    explicit CFileList(const char* path = nullptr, int flags = 0, const char* include = nullptr,
                       const char* exclude = nullptr);
    ~CFileList();
    CFileList(const CFileList&) = delete;
    CFileList& operator=(const CFileList&) = delete;

    // The abort flag (second byte): set from any thread to stop a running read. Each read clears it
    // when it starts.
    std::atomic<uint8_t>& AbortFlag() { return m_abort; }
    void Abort() { m_abort.store(1); }
    // How the last read ended (first byte): FL_END_*.
    uint8_t GetEndCode() const { return m_endCode.load(); }

    // Sets what the next read lists: a folder, a folder with a wildcard pattern ("C:\x\*.txt"),
    // ":" for the drives, or a network path ("\\", "\\server", "\\server\share\..." with FL_NETWORK).
    // include and exclude are wildcard patterns separated by ';' (null: all files, none excluded);
    // include applies to files, exclude to files and folders.
    void SetLocation(const char* path, int flags, const char* include = nullptr, const char* exclude = nullptr);
    // Reads a location into the list (replacing its entries). A null path reads the location set
    // before; flags -1 and null patterns take the stored ones. Returns the number of entries, or -1
    // when the read failed or was stopped by the abort flag.
    int Read(const char* path = nullptr, int flags = -1, const char* include = nullptr, const char* exclude = nullptr);
    // Removes all entries.
    void Clear();
    // Sorts by name: mode FL_SORT_NATURAL for natural order, else case-insensitive; flags 1 reverses.
    // Drives stay before files and folders, shell entries after them. The mode also applies to
    // later reads with FL_SORTED.
    void Sort(int mode, int flags = 0);

    int GetCount() const { return m_entries.GetCount(); }
    // The entry at index, null when out of range.
    const FileListEntry* GetEntry(int index) const;
    // Next entry in reading order (form FL_FORM_NAME: its name, FL_FORM_PATH: directory + name); null
    // at the end. entryOut (may be null) receives the entry. A read or sort starts over.
    const char* NextEntry(int form, int* lengthOut, const FileListEntry** entryOut = nullptr);
    void RewindEntries() { m_cursor = 0; }
    // Directory + name of entry index (relative: the name alone; a drive "C:\", a shell entry its
    // network path); null when out of range. Valid until the next call.
    const char* GetEntryPath(int index, int* lengthOut, BOOL relative);
    // System icon index of an entry; flags are SHGFI_SMALLICON (1), SHGFI_OPENICON (2) and
    // SHGFI_USEFILEATTRIBUTES (0x10, no disk access). -1 when there is none.
    int GetEntryIcon(const FileListEntry* entry, int flags);
    // The side text of a shell entry (its network path), else null.
    const char* GetEntryExtraText(const FileListEntry* entry, int* lengthOut) const;
    // The directory of the last read, ending in a separator ("" for the drive list).
    const char* GetDirectory() const { return m_directory; }

private:
    bool Aborted();
    bool Accept(const char* name, uint32_t attributes) const;
    // Adds an entry; false when the read must stop (first-only).
    bool Add(const char* name, uint32_t headerFlags, uint32_t attributes, uint64_t size, const int64_t* times,
             const char* extraText);
    uint8_t ReadDirectory(const char* location);
    uint8_t ReadDrives();
    uint8_t ReadServers();
    uint8_t ReadShares(const char* server);
    // Adds shell entries named names with the network paths prefix + name.
    uint8_t AddNetworkEntries(const std::vector<std::string>& names, const std::string& prefix);
    void FreeEntryTexts();

    // The first two bytes: end code and abort flag.
    std::atomic<uint8_t> m_endCode{FL_END_COMPLETE};
    std::atomic<uint8_t> m_abort{0};
    int m_flags = 0;
    int m_readFlags = 0;
    int m_sortMode = 0;
    int m_cursor = 0;
    CString m_location, m_include, m_exclude;
    CString m_directory;
    CString m_pathBuffer;
    CTextList m_entries;
};
