// CObject and CRuntimeClass: class names, bases and factories known at run time.
#pragma once

#include <windows.h>

class CObject;

// An opaque iteration position of the framework's lists.
struct PositionTag;
typedef PositionTag* POSITION;

namespace fw {
// Positions over a vector: the index plus one, so that null means the end.
template <class Vector>
POSITION FirstPosition(const Vector& items) {
    return items.empty() ? nullptr : reinterpret_cast<POSITION>(1);
}
// The item at pos (null past the end); pos moves on to the next one.
template <class Vector>
typename Vector::value_type NextAt(const Vector& items, POSITION& pos) {
    size_t index = reinterpret_cast<size_t>(pos) - 1;
    if (index >= items.size()) {
        pos = nullptr;
        return nullptr;
    }
    pos = index + 1 < items.size() ? reinterpret_cast<POSITION>(index + 2) : nullptr;
    return items[index];
}
}  // namespace fw

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)();
    CRuntimeClass* m_pBaseClass;

    // A new object of the class, or null for classes that cannot be created dynamically.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* cls) const;

    static CRuntimeClass classCObject;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

namespace fw {
// A new object of cls when cls derives from base; null otherwise or when cls cannot be created dynamically.
CObject* CreateObjectOf(const CRuntimeClass* cls, const CRuntimeClass* base);
}  // namespace fw

#define RUNTIME_CLASS(className) (&className::class##className)

#define DECLARE_DYNAMIC(className)           \
public:                                      \
    static CRuntimeClass class##className;   \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(className) \
    DECLARE_DYNAMIC(className)       \
    static CObject* CreateObject();

#define WL_IMPLEMENT_RUNTIMECLASS(className, baseClassName, schema, factory)                               \
    CRuntimeClass className::class##className = {#className, (int)sizeof(className), (UINT)(schema), factory, \
                                                 RUNTIME_CLASS(baseClassName)};                             \
    CRuntimeClass* className::GetRuntimeClass() const { return RUNTIME_CLASS(className); }

#define IMPLEMENT_DYNAMIC(className, baseClassName) \
    WL_IMPLEMENT_RUNTIMECLASS(className, baseClassName, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(className, baseClassName)              \
    CObject* className::CreateObject() { return new className; } \
    WL_IMPLEMENT_RUNTIMECLASS(className, baseClassName, 0xFFFF, &className::CreateObject)

// Empty markers used in declarations of message handlers.
#define afx_msg
