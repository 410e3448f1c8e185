#pragma once

#include "platform/com/Unknown.h"

// Class contexts: where a caller accepts the object to live. Only in-process servers exist here.
constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
constexpr DWORD CLSCTX_SERVER = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
constexpr DWORD CLSCTX_ALL = CLSCTX_SERVER | CLSCTX_INPROC_HANDLER;

extern "C" {
// Counts per thread: S_OK for the first call on a thread, S_FALSE for the ones after it; each
// successful call is matched by one CoUninitialize. reserved must be null.
TAVOCOM_API HRESULT CoInitialize(void* reserved) noexcept;
// The thread's last CoUninitialize also unloads the modules that agree (CoFreeUnusedLibraries).
TAVOCOM_API void CoUninitialize() noexcept;

// Creates an object of a class registered under HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32:
// loads that module (once; it stays loaded while it is in use), asks its DllGetClassObject for
// the class factory and the factory for the object.
// context must include CLSCTX_INPROC_SERVER; CLSCTX_LOCAL_SERVER and CLSCTX_INPROC_HANDLER may be
// given besides and are not used; CLSCTX_REMOTE_SERVER or an unknown flag gives E_INVALIDARG.
// Other failures: CO_E_NOTINITIALIZED (no CoInitialize on this thread), REGDB_E_CLASSNOTREG
// (no such class), REGDB_E_READREGDB (the store cannot be read), CO_E_DLLNOTFOUND (the module
// does not load), CO_E_ERRORINDLL (it exports no DllGetClassObject), or what the module answers.
TAVOCOM_API HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid,
                                     void** object) noexcept;

// Unloads every loaded module whose DllCanUnloadNow answers S_OK. A module without that entry
// point stays loaded.
TAVOCOM_API void CoFreeUnusedLibraries() noexcept;
}
