// Event-sink maps: the events of hosted ActiveX controls, by control id and DISPID, go to member
// handlers whose parameters follow the VTS_ list of the entry.
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

namespace fw {

// One event argument, converted on demand to the type the handler takes. By-reference arguments
// (VTS_PBOOL) are written back when the handler returns.
class EventArg {
public:
    EventArg() = default;
    ~EventArg();
    EventArg(const EventArg&) = delete;
    EventArg& operator=(const EventArg&) = delete;
    void Set(char vts, VARIANT* arg);

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
    VARIANT* Deref(VARTYPE vt);
    long AsLong();
    char m_vts = 0;
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
BOOL CallEvent(const char* vts, DISPPARAMS* params, F f) {
    UINT count = params ? params->cArgs : 0;
    if (count != N) return FALSE;
    if constexpr (N == 0) {
        f();
    } else {
        EventArg args[N];
        for (size_t i = 0; i < N; ++i) args[i].Set(vts[i], &params->rgvarg[N - 1 - i]);
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
         return fw::CallEvent<sizeof(vtsParams) - 1>(vtsParams, params_,                         \
                                                     [self_](auto&... a_) { self_->pfnHandler(a_...); }); \
     }},
