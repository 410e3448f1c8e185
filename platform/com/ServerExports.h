#pragma once

#include "platform/com/TypeLib.h"
#include "platform/com/Unknown.h"

// The entry points that an in-process server module defines. Including this header where they
// are defined gives them the signatures the runtime calls and exports them from the module.
// None of them may throw.
extern "C" {
__attribute__((visibility("default"))) HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid,
                                                                 void** object) noexcept;
// S_OK when the module has no objects and no locks, else S_FALSE.
__attribute__((visibility("default"))) HRESULT DllCanUnloadNow() noexcept;
__attribute__((visibility("default"))) HRESULT DllRegisterServer() noexcept;
__attribute__((visibility("default"))) HRESULT DllUnregisterServer() noexcept;
// The module's type library, read by LoadTypeLib.
__attribute__((visibility("default"))) extern const platform::com::TypeLibDescription TavoTypeLib;
}

namespace platform::com {

using DllGetClassObjectFunction = HRESULT (*)(REFCLSID, REFIID, void**) noexcept;
using DllCanUnloadNowFunction = HRESULT (*)() noexcept;
using DllRegisterServerFunction = HRESULT (*)() noexcept;

inline constexpr char kDllGetClassObject[] = "DllGetClassObject";
inline constexpr char kDllCanUnloadNow[] = "DllCanUnloadNow";
inline constexpr char kDllRegisterServer[] = "DllRegisterServer";
inline constexpr char kDllUnregisterServer[] = "DllUnregisterServer";

}  // namespace platform::com
