// Internal: the maps from window handles to their permanent objects, and the temporary objects that
// FromHandle makes for handles without one.
#pragma once

#include <windows.h>

#include "framework/RuntimeClass.h"

class CString;
class CWnd;

namespace fw {

// A window whose messages pass through AfxWndProc (super = the procedure it had before), or one that is
// only attached to an object (super null).
struct WndRecord {
    CWnd* wnd;
    WNDPROC super;
};

bool LookupWnd(HWND hWnd, WndRecord* out);
// Sets the object of a window, keeping its previous procedure.
void SetPermanent(HWND hWnd, CWnd* wnd);
void SetSuperProc(HWND hWnd, WNDPROC super);
// Forgets the object; the record stays while the window is subclassed.
void ClearPermanent(HWND hWnd);
void RemoveWnd(HWND hWnd);
// Gives a window routed through AfxWndProc back its previous procedure; false (and nothing changed) when
// there is none or another subclass sits on top of ours by now.
bool RestoreSuperProc(HWND hWnd, WNDPROC super);

// Temporary objects, one per handle and class, freed once their handle is gone.
struct TempKind {
    BOOL (*alive)(void* handle);
    void (*release)(CObject* object);  // lets go of the handle, then deletes
};
CObject* FindTemp(const TempKind* kind, void* handle, const CRuntimeClass* cls);
CObject* AddTemp(const TempKind* kind, void* handle, const CRuntimeClass* cls, CObject* object);

// The temporary object of class cls for a handle: the one made before, else a new one from the
// class's factory with its handle member set (null when the class has no factory).
template <class T, class H>
T* TempObject(const TempKind* kind, H handle, const CRuntimeClass* cls, H T::*member) {
    if (!handle) return nullptr;
    if (CObject* temp = FindTemp(kind, handle, cls)) return static_cast<T*>(temp);
    T* object = static_cast<T*>(cls->CreateObject());
    if (!object) return nullptr;
    object->*member = handle;
    return static_cast<T*>(AddTemp(kind, handle, cls, object));
}
// TempKind::release for objects whose handle is the member Member.
template <class T, class H, H T::*Member>
void ReleaseTemp(CObject* object) {
    T* temp = static_cast<T*>(object);
    temp->*Member = nullptr;
    delete temp;
}
// Frees the temporaries whose handles have died (called when the thread is idle).
void PurgeTemps();

// The message being handled on this thread (for Default and reflection).
MSG& CurrentMessage();

// Creation hook: the next window created on this thread is attached to `wnd` before its first message.
void BeginCreating(CWnd* wnd, HWND parent, UINT id);
// TRUE when the window was attached (its creation went as far as HCBT_CREATEWND).
bool EndCreating();
// A window of `parent` with the control id `id` that is still inside its CreateWindowEx.
CWnd* FindCreatingChild(HWND parent, UINT id);

// Registers a window class (DefWindowProc as procedure) once; the returned name stays valid.
LPCSTR RegisterClassOnce(LPCSTR name, UINT style, HCURSOR cursor, HBRUSH background, HICON icon);

// The window itself when it is not a child window, else its nearest ancestor that is not (null for null).
HWND TopLevelOf(HWND hWnd);

// The whole text of any window (empty when it has none).
void ReadWindowText(HWND hWnd, CString& out);

// Sends a message straight to an object's WindowProc, as AfxWndProc would.
LRESULT CallWndProc(CWnd* wnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace fw
