// Hosting ActiveX controls in place: the site that a control sees (client site, in-place site and
// frame, ambient properties); its events go through the sink (OleEventSink.h) to the container.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <oleidl.h>
#include <ocidl.h>

#include "framework/Types.h"

class CWnd;
namespace fw {
class EventSink;
}

// Initialises OLE (single-threaded apartment) on the calling thread, once; hosting controls and
// OLE drag and drop need it.
void AfxEnableControlContainer(void* pOccManager = nullptr);
BOOL AfxOleInit();

class COleControlSite : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame, public IDispatch {
public:
    COleControlSite(CWnd* pWndSite, HWND hWndContainer, UINT nID);

    // Creates the control, activates it in place at rect (container coordinates) and attaches the
    // site window object to the control's window.
    BOOL CreateControl(REFCLSID clsid, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect);
    // Deactivates and releases the control; the site object goes when the control lets go of it.
    void Close();
    // The site window's window was destroyed.
    void OnWindowGone() { Close(); }
    // The site window moved: tell the in-place object.
    void OnMoved();
    // Closes every control hosted in a container that is going away.
    static void CloseSitesOf(HWND hWndContainer);

    IUnknown* GetControlUnknown() const { return m_pObject; }
    IDispatch* GetControlDispatch();
    UINT GetID() const { return m_nID; }
    HWND GetContainerWindow() const { return m_hWndContainer; }
    // Hands an event of the control to the container's event-sink map.
    void FireEvent(DISPID dispid, DISPPARAMS* params);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IOleClientSite
    STDMETHODIMP SaveObject() override;
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** ppmk) override;
    STDMETHODIMP GetContainer(IOleContainer** ppContainer) override;
    STDMETHODIMP ShowObject() override;
    STDMETHODIMP OnShowWindow(BOOL) override;
    STDMETHODIMP RequestNewObjectLayout() override;
    // IOleWindow (shared by the in-place site and the frame)
    STDMETHODIMP GetWindow(HWND* phwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override;
    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override;
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc, LPRECT lprcPosRect,
                                  LPRECT lprcClipRect, LPOLEINPLACEFRAMEINFO lpFrameInfo) override;
    STDMETHODIMP Scroll(SIZE) override;
    STDMETHODIMP OnUIDeactivate(BOOL) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override;
    STDMETHODIMP DeactivateAndUndo() override;
    STDMETHODIMP OnPosRectChange(LPCRECT lprcPosRect) override;
    // IOleInPlaceUIWindow / IOleInPlaceFrame
    STDMETHODIMP GetBorder(LPRECT) override;
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override;
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override;
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR) override;
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override;
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override;
    STDMETHODIMP RemoveMenus(HMENU) override;
    STDMETHODIMP SetStatusText(LPCOLESTR) override;
    STDMETHODIMP EnableModeless(BOOL) override;
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override;
    // IDispatch: the ambient properties
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD wFlags, DISPPARAMS*, VARIANT* pVarResult, EXCEPINFO*,
                        UINT*) override;

private:
    virtual ~COleControlSite();
    void ConnectEvents();
    // Tells the control its place m_rect; a control that answers by moving its window is not told again.
    void PlaceControl();
    // Ambient properties the container does not answer itself.
    BOOL DefaultAmbient(DISPID dispid, VARIANT* pvar) const;

    LONG m_refs = 1;
    CWnd* m_pWndSite;        // the object over the control's window
    HWND m_hWndContainer;
    UINT m_nID;
    CRect m_rect;            // the control's place in the container
    IOleObject* m_pObject = nullptr;
    IOleInPlaceObject* m_pInPlaceObject = nullptr;
    IOleInPlaceActiveObject* m_pActiveObject = nullptr;
    IConnectionPoint* m_pEventPoint = nullptr;
    DWORD m_eventCookie = 0;
    fw::EventSink* m_pSink = nullptr;
    bool m_closed = false;
    bool m_moving = false;
};
