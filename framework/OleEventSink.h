// Event-sink maps: the events of hosted ActiveX controls, by control id and DISPID, go to member
// handlers whose parameters follow the VTS_ list of the entry. The sink is the object the control
// fires its events at.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <utility>

#include "framework/CString.h"
#include "framework/CmdTarget.h"

struct EventSinkEntry {
    UINT ctrlId;
    DISPID dispid;
    BOOL (*thunk)(CCmdTarget* target, DISPPARAMS* params);
};

struct EventSinkMap {
    const EventSinkMap* (*base)();
    const EventSinkEntry* entries;
};

class COleControlSite;

namespace fw {

// The IDispatch a hosted control fires its events at (as its event interface iid); it hands them to
// the site, which looks them up in its container's event-sink map, until it is disconnected.
class EventSink final : public IDispatch {
public:
    EventSink(COleControlSite* site, REFIID iid) : m_site(site), m_iid(iid) {}
    void Disconnect() { m_site = nullptr; }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return (ULONG)InterlockedIncrement(&m_refs); }
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override;

private:
    ~EventSink() = default;
    LONG m_refs = 1;
    COleControlSite* m_site;
    IID m_iid;
};

// One event argument, converted on demand to the type the handler takes. By-reference arguments
// (VTS_PBOOL) are written back when the handler returns.
class EventArg {
public:
    EventArg() = default;
    ~EventArg();
    EventArg(const EventArg&) = delete;
    EventArg& operator=(const EventArg&) = delete;
    void Set(VARIANT* arg) { m_arg = arg; }

    operator LPCSTR();
    operator BSTR();
    operator long();
    operator int();  // BOOL
    operator short();
    operator double();
    operator float();
    operator IDispatch*();
    operator IUnknown*();
    operator VARIANT*();
    operator int*();  // BOOL*
    operator long*();
    operator IDispatch**();

private:
    // The argument, or the variant a by-reference variant argument points to.
    VARIANT* Deref();
    long AsLong();
    VARIANT* m_arg = nullptr;
    CString m_text;
    BOOL m_bool = FALSE;
    bool m_boolOut = false;
};

template <size_t... I, class F>
void CallWithArgs(EventArg* args, std::index_sequence<I...>, F& f) {
    f(args[I]...);
}

// Calls f with the N arguments of the event (given in reverse order in DISPPARAMS).
template <size_t N, class F>
BOOL CallEvent(DISPPARAMS* params, F f) {
    UINT count = params ? params->cArgs : 0;
    if (count != N) return FALSE;
    if constexpr (N == 0) {
        f();
    } else {
        EventArg args[N];
        for (size_t i = 0; i < N; ++i) args[i].Set(&params->rgvarg[N - 1 - i]);
        CallWithArgs(args, std::make_index_sequence<N>(), f);
    }
    return TRUE;
}

}  // namespace fw

#define DECLARE_EVENTSINK_MAP()                         \
protected:                                              \
    static const EventSinkMap* GetThisEventSinkMap();   \
    const EventSinkMap* GetEventSinkMap() const override;

#define BEGIN_EVENTSINK_MAP(theClass, baseClass)                                            \
    const EventSinkMap* theClass::GetEventSinkMap() const { return GetThisEventSinkMap(); } \
    const EventSinkMap* theClass::GetThisEventSinkMap() {                                   \
        using ThisClass [[maybe_unused]] = theClass;                                        \
        using TheBaseClass = baseClass;                                                     \
        static const EventSinkEntry entries[] = {

#define END_EVENTSINK_MAP()                                                           \
    {0, 0, nullptr}};                                                                 \
    static const EventSinkMap map = {&TheBaseClass::GetThisEventSinkMap, &entries[0]}; \
    return &map;                                                                      \
    }

// The handler must take as many parameters as vtsParams lists.
#define ON_EVENT(theClass, id, dispid, pfnHandler, vtsParams)                                   \
    {(UINT)(id), (DISPID)(dispid), [](CCmdTarget* target_, DISPPARAMS* params_) -> BOOL {        \
         ThisClass* self_ = static_cast<ThisClass*>(target_);                                    \
         return fw::CallEvent<sizeof(vtsParams) - 1>(params_,                                    \
                                                     [self_](auto&... a_) { self_->pfnHandler(a_...); }); \
     }},
