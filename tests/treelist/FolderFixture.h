// The folder trees of the folder widgets' tests, made once per test run in the temporary folder (the
// test processes share them).
#pragma once

#include "tests/support/TimeBound.h"

#include <windows.h>
#include <shlobj.h>

#include <string>

namespace foldertest {

inline std::string TempFolder() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return temp;
}

// Makes a tree under name once (guarded by a named mutex across processes); make(root) builds it.
template <typename Make>
std::string MadeOnce(const char* name, Make make) {
    const std::string root = TempFolder() + name;
    HANDLE mutex = CreateMutexA(nullptr, FALSE, (std::string("WertlaufTestTree-") + name).c_str());
    WaitForSingleObject(mutex, Bound(120000));
    const std::string done = root + "\\fertig.txt";
    if (GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES) {
        CreateDirectoryA(root.c_str(), nullptr);
        make(root);
        CloseHandle(
            CreateFileA(done.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    ReleaseMutex(mutex);
    CloseHandle(mutex);
    return root;
}

// wl-pfadbaum:
//   Viele\      5,000 folders "Ordner 0000" ... "Ordner 4999"
//   Umlaute\    "ähnlich", "Ärger" (with "Tief" inside), "Öl", "Übung", "Zebra"
//   NurDateien\ three files, no folder
inline std::string TreeRoot() {
    return MadeOnce("wl-pfadbaum", [](const std::string& root) {
        for (const char* dir : {"\\Viele", "\\Umlaute", "\\NurDateien"})
            CreateDirectoryA((root + dir).c_str(), nullptr);
        char name[32];
        for (int i = 0; i < 5000; ++i) {
            wsprintfA(name, "\\Viele\\Ordner %04d", i);
            CreateDirectoryA((root + name).c_str(), nullptr);
        }
        for (const char* dir : {"\xe4hnlich", "\xc4rger", "\xc4rger\\Tief", "\xd6l", "\xdc" "bung", "Zebra"})
            CreateDirectoryA((root + "\\Umlaute\\" + dir).c_str(), nullptr);
        for (const char* file : {"a.txt", "b.txt", "c.txt"})
            CloseHandle(CreateFileA((root + "\\NurDateien\\" + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    });
}

// wl-kette: a chain of 33 folders "k" inside each other.
constexpr int kChainDepth = 33;
inline std::string ChainRoot() {
    return MadeOnce("wl-kette", [](const std::string& root) {
        std::string path = root;
        for (int i = 0; i < kChainDepth; ++i) CreateDirectoryA((path += "\\k").c_str(), nullptr);
    });
}

// A CF_HDROP block of one file, as the shell drops it.
inline HGLOBAL DropBlock(const std::string& file) {
    HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + file.size() + 2);
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), file.c_str(), file.size());
    GlobalUnlock(drop);
    return drop;
}

}  // namespace foldertest
