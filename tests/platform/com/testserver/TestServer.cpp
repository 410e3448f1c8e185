// A minimal in-process server for the runtime's tests: one class (Adder) behind IAdder, its
// factory, the four server entry points and an embedded type library.
#include <atomic>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/com/Bstr.h"
#include "platform/com/SafeArray.h"
#include "platform/com/ServerExports.h"
#include "platform/com/SharedLibrary.h"
#include "platform/registry/Registry.h"
#include "tests/platform/com/testserver/Adder.h"

namespace {

// Live objects plus server locks: the module may be unloaded when it is 0.
std::atomic<long> moduleLocks{0};

class Adder final : public IAdder {
  public:
    Adder() { ++moduleLocks; }
    Adder(const Adder&) = delete;
    Adder& operator=(const Adder&) = delete;
    ~Adder() { --moduleLocks; }

    HRESULT QueryInterface(REFIID iid, void** object) noexcept override {
        if (object == nullptr)
            return E_POINTER;
        if (iid != IID_IUnknown && iid != IID_IAdder) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IAdder*>(this);
        AddRef();
        return S_OK;
    }
    ULONG AddRef() noexcept override { return ++references_; }
    ULONG Release() noexcept override {
        const ULONG remaining = --references_;
        if (remaining == 0) {
            const std::unique_ptr<Adder> last(this);
        }
        return remaining;
    }

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
    std::atomic<ULONG> references_{1};
};

class AdderFactory final : public IClassFactory {
  public:
    HRESULT QueryInterface(REFIID iid, void** object) noexcept override {
        if (object == nullptr)
            return E_POINTER;
        if (iid != IID_IUnknown && iid != IID_IClassFactory) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    // The factory is a static object of the module: references do not decide its life.
    ULONG AddRef() noexcept override { return 2; }
    ULONG Release() noexcept override { return 1; }

    HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) noexcept override {
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        if (outer != nullptr)
            return CLASS_E_NOAGGREGATION;
        try {
            auto adder = std::make_unique<Adder>();
            const HRESULT status = adder->QueryInterface(iid, object);
            adder.release()->Release();  // the object now lives by the caller's reference, if any
            return status;
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }
    HRESULT LockServer(BOOL lock) noexcept override {
        if (lock) {
            ++moduleLocks;
        } else {
            --moduleLocks;
        }
        return S_OK;
    }
};

AdderFactory factory;

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
    return factory.QueryInterface(iid, object);
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
