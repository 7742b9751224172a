// CObject and CRuntimeClass: class names, bases and factories known at run time.
#pragma once

#include <windows.h>

class CObject;

// An opaque iteration position of the framework's lists.
struct PositionTag;
typedef PositionTag* POSITION;

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
