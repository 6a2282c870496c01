/*
 * CFPlugInCOM.h: the component-object conventions of plug-ins. An interface
 * is a pointer to a table of functions whose first slot is reserved (NULL)
 * and whose next three are QueryInterface, AddRef and Release. Interface
 * IDs travel by value as the 16 bytes of a UUID. The status values are those
 * of CFPlugIn, not of Windows.
 */
#ifndef COREFOUNDATION_CFPLUGINCOM_H
#define COREFOUNDATION_CFPLUGINCOM_H

#include <CoreFoundation/CFPlugIn.h>

CF_EXTERN_C_BEGIN

typedef SInt32 HRESULT;
typedef UInt32 ULONG;
typedef void* LPVOID;
typedef CFUUIDBytes REFIID;

#define SUCCEEDED(status) ((HRESULT)(status) >= 0)
#define FAILED(status) ((HRESULT)(status) < 0)
#define IS_ERROR(status) ((unsigned long)(status) >> 31 == SEVERITY_ERROR)
#define HRESULT_CODE(hr) ((hr)&0xFFFF)
#define HRESULT_FACILITY(hr) (((hr) >> 16) & 0x1FFF)
#define HRESULT_SEVERITY(hr) (((hr) >> 31) & 0x1)
#define SEVERITY_SUCCESS 0
#define SEVERITY_ERROR 1
#define MAKE_HRESULT(sev, fac, code)                                                               \
    ((HRESULT)(((unsigned long)(sev) << 31) | ((unsigned long)(fac) << 16) |                       \
               ((unsigned long)(code))))

#define S_OK ((HRESULT)0x00000000)
#define S_FALSE ((HRESULT)0x00000001)
#define E_UNEXPECTED ((HRESULT)0x8000FFFF)
#define E_NOTIMPL ((HRESULT)0x80000001)
#define E_OUTOFMEMORY ((HRESULT)0x80000002)
#define E_INVALIDARG ((HRESULT)0x80000003)
#define E_NOINTERFACE ((HRESULT)0x80000004)
#define E_POINTER ((HRESULT)0x80000005)
#define E_HANDLE ((HRESULT)0x80000006)
#define E_ABORT ((HRESULT)0x80000007)
#define E_FAIL ((HRESULT)0x80000008)
#define E_ACCESSDENIED ((HRESULT)0x80000009)

/* Interface functions carry no special calling convention here. */
#define STDMETHODCALLTYPE

/* 00000000-0000-0000-C000-000000000046: the interface every object answers to. */
#define IUnknownUUID                                                                               \
    CFUUIDGetConstantUUIDWithBytes(kCFAllocatorSystemDefault, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  \
                                   0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)

/* The first four slots of every interface table. */
#define IUNKNOWN_C_GUTS                                                                            \
    void* _reserved;                                                                               \
    HRESULT(STDMETHODCALLTYPE* QueryInterface)(void* thisPointer, REFIID iid, LPVOID* ppv);        \
    ULONG(STDMETHODCALLTYPE* AddRef)(void* thisPointer);                                           \
    ULONG(STDMETHODCALLTYPE* Release)(void* thisPointer)

typedef struct IUnknownVTbl {
    IUNKNOWN_C_GUTS;
} IUnknownVTbl;

CF_EXTERN_C_END

#endif /* COREFOUNDATION_CFPLUGINCOM_H */
