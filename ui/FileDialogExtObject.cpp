// The framework side of the file-dialog extension.
#include "ui/FileDialogExtInternal.h"

void GetApplicationRegistryNames(const char** registryKey, const char** profileName) {
    *registryKey = nullptr;
    *profileName = nullptr;
}

bool AttachFileDlgExtObject(HWND) { return false; }
void DetachFileDlgExtObject(HWND) {}
void DeleteFileDialogExtObject() {}
