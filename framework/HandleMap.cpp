#include "framework/HandleMap.h"

#include <map>
#include <tuple>
#include <unordered_map>

#include "framework/Wnd.h"

namespace fw {
namespace {

// One lock for both maps: windows of several threads may look each other up.
struct Maps {
    SRWLOCK lock = SRWLOCK_INIT;
    std::unordered_map<HWND, WndRecord> windows;
    using TempKey = std::tuple<const TempKind*, void*, const CRuntimeClass*>;
    std::map<TempKey, CObject*> temps;
};

// Never destroyed: objects with static lifetime may still detach their windows at exit.
Maps& TheMaps() {
    static Maps* maps = new Maps;
    return *maps;
}

struct Exclusive {
    SRWLOCK& l;
    explicit Exclusive(SRWLOCK& lock) : l(lock) { AcquireSRWLockExclusive(&l); }
    ~Exclusive() { ReleaseSRWLockExclusive(&l); }
};
struct Shared {
    SRWLOCK& l;
    explicit Shared(SRWLOCK& lock) : l(lock) { AcquireSRWLockShared(&l); }
    ~Shared() { ReleaseSRWLockShared(&l); }
};

}  // namespace

bool LookupWnd(HWND hWnd, WndRecord* out) {
    if (!hWnd) return false;
    Maps& m = TheMaps();
    Shared guard(m.lock);
    auto it = m.windows.find(hWnd);
    if (it == m.windows.end()) return false;
    if (out) *out = it->second;
    return true;
}

void SetPermanent(HWND hWnd, CWnd* wnd) {
    Maps& m = TheMaps();
    Exclusive guard(m.lock);
    m.windows[hWnd].wnd = wnd;
}

void SetSuperProc(HWND hWnd, WNDPROC super) {
    Maps& m = TheMaps();
    Exclusive guard(m.lock);
    m.windows[hWnd].super = super;
}

void ClearPermanent(HWND hWnd) {
    Maps& m = TheMaps();
    Exclusive guard(m.lock);
    auto it = m.windows.find(hWnd);
    if (it == m.windows.end()) return;
    if (it->second.super)
        it->second.wnd = nullptr;
    else
        m.windows.erase(it);
}

void RemoveWnd(HWND hWnd) {
    Maps& m = TheMaps();
    Exclusive guard(m.lock);
    m.windows.erase(hWnd);
}

bool RestoreSuperProc(HWND hWnd, WNDPROC super) {
    if (!super || reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC)) != &AfxWndProc) return false;
    ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super));
    return true;
}

CObject* FindTemp(const TempKind* kind, void* handle, const CRuntimeClass* cls) {
    Maps& m = TheMaps();
    Shared guard(m.lock);
    auto it = m.temps.find({kind, handle, cls});
    return it == m.temps.end() ? nullptr : it->second;
}

CObject* AddTemp(const TempKind* kind, void* handle, const CRuntimeClass* cls, CObject* object) {
    Maps& m = TheMaps();
    CObject* loser = nullptr;
    CObject* result;
    {
        Exclusive guard(m.lock);
        auto [it, added] = m.temps.emplace(Maps::TempKey{kind, handle, cls}, object);
        if (!added) loser = object;  // another thread was quicker
        result = it->second;
    }
    if (loser) kind->release(loser);
    return result;
}

void PurgeTemps() {
    Maps& m = TheMaps();
    std::map<Maps::TempKey, CObject*> dead;
    {
        Exclusive guard(m.lock);
        for (auto it = m.temps.begin(); it != m.temps.end();) {
            if (!std::get<0>(it->first)->alive(std::get<1>(it->first))) {
                dead.insert(*it);
                it = m.temps.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& t : dead) std::get<0>(t.first)->release(t.second);
}

}  // namespace fw
