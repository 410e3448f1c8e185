// The server module: the class factory of RuleBaseCOM, the four server entry points, the
// registration of the class and the type library the module embeds.
#include <filesystem>
#include <new>
#include <string>

#include "com/Kelrun/Kelrun_tlb.h"
#include "com/Kelrun/RuleBaseCOMImpl.h"
#include "com/Kelrun/ServerModule.h"
#include "platform/com/Bstr.h"
#include "platform/com/ComObject.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ErrorInfo.h"
#include "platform/com/ServerExports.h"
#include "platform/com/SharedLibrary.h"
#include "platform/registry/Registry.h"

namespace {

using platform::com::ComPtr;
using platform::com::GuidToString;
using platform::registry::Registry;
using platform::registry::RegistryError;
using platform::registry::Root;

constexpr char kProgId[] = "Kelrun.RuleBaseCOM";

class RuleBaseCOMFactory final
    : public platform::com::ComObject<RuleBaseCOMFactory, IClassFactory, IID_IClassFactory> {
  public:
    HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) noexcept override {
        return TRuleBaseCOMImpl::Create(outer, iid, object);
    }

    HRESULT LockServer(BOOL lock) noexcept override {
        if (lock) {
            kelrun::LockModule();
        } else {
            kelrun::UnlockModule();
        }
        return S_OK;
    }

  private:
    // A factory a client still holds keeps its code loaded.
    kelrun::ModuleLock moduleLock_;
};

const platform::com::TypeDescription kTypes[] = {
    {TKIND_INTERFACE, "IRuleBaseCOM", IID_IRuleBaseCOM, "Interface for RuleBaseCOM Object"},
    {TKIND_COCLASS, "RuleBaseCOM", CLSID_RuleBaseCOM, "RuleBaseCOM"},
};

std::string ClassKey() {
    return "CLSID\\" + GuidToString(CLSID_RuleBaseCOM);
}

std::string ModulePath() {
    return platform::com::ModuleFileName(&TavoTypeLib);
}

// The coclass's help string, which serves as the class's description.
HRESULT ClassDescription(ITypeLib& library, std::string& description) {
    UINT index = 0;
    HRESULT status = library.FindTypeInfoOfGuid(CLSID_RuleBaseCOM, &index);
    if (FAILED(status))
        return status;
    BSTR help = nullptr;
    status = library.GetDocumentation(static_cast<INT>(index), nullptr, &help);
    const platform::com::UniqueBstr owner(help);
    if (SUCCEEDED(status))
        description = platform::com::BstrToUtf8(help);
    return status;
}

HRESULT Register() {
    const std::string path = ModulePath();
    ComPtr<ITypeLib> library;
    HRESULT status = LoadTypeLib(path.c_str(), library.ReleaseAndGetAddressOf());
    if (FAILED(status))
        return status;
    std::string description;
    status = ClassDescription(*library.Get(), description);
    if (FAILED(status))
        return status;
    TLIBATTR attributes{};
    status = library->GetLibAttr(&attributes);
    if (FAILED(status))
        return status;

    Registry registry;
    const std::string classKey = ClassKey();
    const std::string clsid = GuidToString(CLSID_RuleBaseCOM);
    registry.WriteString(Root::ClassesRoot, classKey, "", description);
    // Written as it is, blanks and all: there is no short form of a path to fall back on.
    registry.WriteString(Root::ClassesRoot, classKey + "\\InprocServer32", "", path);
    registry.WriteString(Root::ClassesRoot, classKey + "\\InprocServer32", "ThreadingModel",
                         "Apartment");
    registry.WriteString(Root::ClassesRoot, kProgId, "", description);
    registry.WriteString(Root::ClassesRoot, std::string(kProgId) + "\\CLSID", "", clsid);
    registry.WriteString(Root::ClassesRoot, classKey + "\\ProgID", "", kProgId);
    registry.WriteString(
        Root::ClassesRoot, classKey + "\\Version", "",
        std::to_string(attributes.wMajorVerNum) + "." + std::to_string(attributes.wMinorVerNum));
    registry.WriteString(Root::ClassesRoot, classKey + "\\Typelib", "",
                         GuidToString(attributes.guid));

    return RegisterTypeLib(library.Get(), path.c_str(),
                           std::filesystem::path(path).parent_path().c_str());
}

template <class Action>
HRESULT Guarded(Action action) noexcept {
    try {
        return action();
    } catch (const RegistryError& error) {
        platform::com::ReportError(GUID_NULL, "Kelrun", error.what());
        return REGDB_E_WRITEREGDB;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace

extern "C" const platform::com::TypeLibDescription TavoTypeLib = {
    sizeof(platform::com::TypeLibDescription),
    "Kelrun",
    LIBID_Kelrun,
    1,
    0,
    "RuleBaseCOM Library",
    kTypes,
    2};

HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) noexcept {
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (clsid != CLSID_RuleBaseCOM)
        return CLASS_E_CLASSNOTAVAILABLE;
    return RuleBaseCOMFactory::Create(nullptr, iid, object);
}

HRESULT DllCanUnloadNow() noexcept {
    return kelrun::IsModuleLocked() ? S_FALSE : S_OK;
}

HRESULT DllRegisterServer() noexcept {
    return Guarded(Register);
}

// The type library stays registered.
HRESULT DllUnregisterServer() noexcept {
    return Guarded([] {
        Registry registry;
        registry.DeleteKey(Root::ClassesRoot, ClassKey());
        registry.DeleteKey(Root::ClassesRoot, kProgId);
        return S_OK;
    });
}
