// A minimal in-process server for the runtime's tests: one class (Adder) behind IAdder, its
// factory, the four server entry points and an embedded type library.
#include <atomic>
#include <filesystem>
#include <string>

#include "platform/com/Bstr.h"
#include "platform/com/ComObject.h"
#include "platform/com/ErrorInfo.h"
#include "platform/com/SafeArray.h"
#include "platform/com/ServerExports.h"
#include "platform/com/SharedLibrary.h"
#include "platform/registry/Registry.h"
#include "tests/platform/com/testserver/Adder.h"

namespace {

// Live objects plus server locks: the module may be unloaded when it is 0.
std::atomic<long> moduleLocks{0};

// Holds the module while it lives: objects and class factories alike.
class ModuleLock {
  public:
    ModuleLock() noexcept { ++moduleLocks; }
    ModuleLock(const ModuleLock&) = delete;
    ModuleLock& operator=(const ModuleLock&) = delete;
    ~ModuleLock() { --moduleLocks; }
};

class Adder final : public platform::com::ComObject<Adder, IAdder, IID_IAdder> {
  public:
    double Add(double a, double b) noexcept override { return a + b; }

    HRESULT Sum(VARIANT values, double* sum) noexcept override {
        if (sum == nullptr)
            return E_POINTER;
        if ((values.vt & VT_ARRAY) == 0 || SafeArrayGetDim(values.parray) != 1) {
            return DISP_E_TYPEMISMATCH;
        }
        LONG lower = 0;
        LONG upper = -1;
        SafeArrayGetLBound(values.parray, 1, &lower);
        SafeArrayGetUBound(values.parray, 1, &upper);
        double total = 0;
        for (LONG i = lower; i <= upper; ++i) {
            double element = 0;
            const HRESULT status = platform::com::VariantArrayElementToDouble(values, i, element);
            if (FAILED(status))
                return status;
            total += element;
        }
        *sum = total;
        return S_OK;
    }

    BSTR Greet(BSTR name) noexcept override {
        try {
            return platform::com::Utf8ToBstr("Hello, " + platform::com::BstrToUtf8(name));
        } catch (...) {
            return nullptr;
        }
    }

  private:
    ModuleLock lock_;
};

class AdderFactory final
    : public platform::com::ComObject<AdderFactory, IClassFactory, IID_IClassFactory> {
  public:
    HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) noexcept override {
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        if (outer != nullptr)
            return CLASS_E_NOAGGREGATION;
        return Adder::Create(nullptr, iid, object);
    }
    HRESULT LockServer(BOOL lock) noexcept override {
        if (lock) {
            ++moduleLocks;
        } else {
            --moduleLocks;
        }
        return S_OK;
    }

  private:
    ModuleLock lock_;
};

const platform::com::TypeDescription kTypes[] = {
    {TKIND_INTERFACE, "IAdder", IID_IAdder, "Interface for Adder Object"},
    {TKIND_COCLASS, "Adder", CLSID_Adder, "Adder"},
};

std::string ClassKey() {
    return "CLSID\\" + platform::com::GuidToString(CLSID_Adder);
}

}  // namespace

extern "C" const platform::com::TypeLibDescription TavoTypeLib = {
    sizeof(platform::com::TypeLibDescription),
    "AdderLib",
    LIBID_AdderLib,
    1,
    0,
    "Adder Library",
    kTypes,
    2};

HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) noexcept {
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (clsid != CLSID_Adder)
        return CLASS_E_CLASSNOTAVAILABLE;
    return AdderFactory::Create(nullptr, iid, object);
}

HRESULT DllCanUnloadNow() noexcept {
    return moduleLocks == 0 ? S_OK : S_FALSE;
}

HRESULT DllRegisterServer() noexcept {
    try {
        using platform::registry::Root;
        const std::string path = platform::com::ModuleFileName(&moduleLocks);
        platform::registry::Registry registry;
        registry.WriteString(Root::ClassesRoot, ClassKey(), "", "Adder");
        registry.WriteString(Root::ClassesRoot, ClassKey() + "\\InprocServer32", "", path);
        registry.WriteString(Root::ClassesRoot, ClassKey() + "\\InprocServer32", "ThreadingModel",
                             "Apartment");
        ITypeLib* library = nullptr;
        HRESULT status = LoadTypeLib(path.c_str(), &library);
        if (FAILED(status))
            return status;
        status = RegisterTypeLib(library, path.c_str(),
                                 std::filesystem::path(path).parent_path().c_str());
        library->Release();
        return status;
    } catch (const std::exception& error) {
        platform::com::ReportError(GUID_NULL, "TestServer", error.what());
        return SELFREG_E_CLASS;
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}

HRESULT DllUnregisterServer() noexcept {
    try {
        platform::registry::Registry().DeleteKey(platform::registry::Root::ClassesRoot, ClassKey());
        return S_OK;
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}
