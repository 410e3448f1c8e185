#include "platform/com/Runtime.h"

#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string>

#include "platform/com/ComPtr.h"
#include "platform/com/ServerExports.h"
#include "platform/com/SharedLibrary.h"
#include "platform/registry/Registry.h"

namespace {

using platform::com::ComPtr;
using platform::com::SharedLibrary;
using platform::registry::Registry;
using platform::registry::RegistryError;
using platform::registry::Root;

constexpr DWORD kUsableContexts =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;

// How many CoInitialize calls of this thread are not yet matched by CoUninitialize.
thread_local int initializeCount = 0;

struct LoadedModule {
    SharedLibrary library;
    platform::com::DllGetClassObjectFunction getClassObject = nullptr;
    platform::com::DllCanUnloadNowFunction canUnloadNow = nullptr;
    // Creations under way: between loading and the new object's return the module has no
    // object yet, so DllCanUnloadNow would wrongly allow unloading it.
    int creating = 0;
};

// The modules this process has loaded for CoCreateInstance, by registered path. One table per
// process, as there is one process-wide dynamic loader.
class ModuleTable {
  public:
    ~ModuleTable() {
        // At exit, objects held by other static objects may still call into their modules.
        for (auto& entry : modules_)
            entry.second->library.Detach();
    }

    // Loads the module (once) and marks a creation under way; Finish ends it.
    HRESULT Begin(const std::string& path, LoadedModule*& module) {
        const std::lock_guard lock(mutex_);
        auto found = modules_.find(path);
        if (found == modules_.end()) {
            auto loaded = std::make_unique<LoadedModule>();
            loaded->library = SharedLibrary(path);
            if (!loaded->library.IsLoaded())
                return CO_E_DLLNOTFOUND;
            loaded->getClassObject =
                loaded->library.Entry<platform::com::DllGetClassObjectFunction>(
                    platform::com::kDllGetClassObject);
            if (loaded->getClassObject == nullptr)
                return CO_E_ERRORINDLL;
            loaded->canUnloadNow = loaded->library.Entry<platform::com::DllCanUnloadNowFunction>(
                platform::com::kDllCanUnloadNow);
            found = modules_.emplace(path, std::move(loaded)).first;
        }
        module = found->second.get();
        ++module->creating;
        return S_OK;
    }

    void Finish(LoadedModule& module) {
        const std::lock_guard lock(mutex_);
        --module.creating;
    }

    void FreeUnused() {
        const std::lock_guard lock(mutex_);
        std::erase_if(modules_, [](const auto& entry) {
            const LoadedModule& module = *entry.second;
            return module.creating == 0 && module.canUnloadNow != nullptr &&
                   module.canUnloadNow() == S_OK;
        });
    }

  private:
    std::mutex mutex_;
    std::map<std::string, std::unique_ptr<LoadedModule>> modules_;
};

ModuleTable& Modules() {
    static ModuleTable table;
    return table;
}

class CreationScope {
  public:
    explicit CreationScope(LoadedModule& module) : module_(module) {}
    CreationScope(const CreationScope&) = delete;
    CreationScope& operator=(const CreationScope&) = delete;
    ~CreationScope() { Modules().Finish(module_); }

  private:
    LoadedModule& module_;
};

HRESULT FindInprocServer(REFCLSID clsid, std::string& path) {
    try {
        const Registry registry;
        const auto value = registry.ReadValue(
            Root::ClassesRoot, "CLSID\\" + platform::com::GuidToString(clsid) + "\\InprocServer32",
            "");
        if (!value || value->type != platform::registry::ValueType::String || value->text.empty()) {
            return REGDB_E_CLASSNOTREG;
        }
        path = value->text;
        return S_OK;
    } catch (const RegistryError&) {
        return REGDB_E_READREGDB;
    }
}

HRESULT CreateFromModule(REFCLSID clsid, IUnknown* outer, REFIID iid, void** object) {
    std::string path;
    HRESULT status = FindInprocServer(clsid, path);
    if (FAILED(status))
        return status;
    LoadedModule* module = nullptr;
    status = Modules().Begin(path, module);
    if (FAILED(status))
        return status;
    const CreationScope scope(*module);
    ComPtr<IClassFactory> factory;
    status = module->getClassObject(clsid, IID_IClassFactory, factory.ReleaseAndGetVoidAddressOf());
    if (FAILED(status))
        return status;
    if (!factory)
        return E_UNEXPECTED;
    return factory->CreateInstance(outer, iid, object);
}

}  // namespace

extern "C" {

HRESULT CoInitialize(void* reserved) noexcept {
    if (reserved != nullptr)
        return E_INVALIDARG;
    return initializeCount++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() noexcept {
    if (initializeCount == 0)
        return;
    if (--initializeCount == 0)
        CoFreeUnusedLibraries();
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid,
                         void** object) noexcept {
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (initializeCount == 0)
        return CO_E_NOTINITIALIZED;
    if ((context & CLSCTX_INPROC_SERVER) == 0 || (context & ~kUsableContexts) != 0) {
        return E_INVALIDARG;
    }
    try {
        return CreateFromModule(clsid, outer, iid, object);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

void CoFreeUnusedLibraries() noexcept {
    try {
        Modules().FreeUnused();
    } catch (...) {
        // Nothing to report through: a module that cannot be unloaded now stays loaded.
    }
}

}  // extern "C"
