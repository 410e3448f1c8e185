// The server module as the component runtime and the regsvr tool see it: registration, the type
// library, the class factory, aggregation and unloading.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

#include "platform/com/ServerExports.h"
#include "platform/com/SharedLibrary.h"
#include "platform/com/TypeLib.h"
#include "platform/registry/Registry.h"
#include "tests/com/Kelrun/KelrunTestSupport.h"

namespace {

using kelrun_test::ComPtr;
using kelrun_test::CreateRuleBase;
using kelrun_test::IsLoaded;
using kelrun_test::kModule;
using platform::com::GuidToString;
using platform::registry::Registry;
using platform::registry::Root;
using platform::testing::ReadFile;
using platform::testing::RunProgram;

const std::string kClassKey = "CLSID\\{CACC0193-BEDF-11D5-94C0-00304F04DF79}";
const std::string kLibraryKey = "TypeLib\\{CACC0190-BEDF-11D5-94C0-00304F04DF79}";

std::string ValueOf(const std::string& key, const std::string& name = "") {
    const auto value = Registry().ReadValue(Root::ClassesRoot, key, name);
    return value ? value->text : "<missing>";
}

class KelrunModuleTest : public kelrun_test::ServerTest {};

TEST_F(KelrunModuleTest, RegistrationWritesTheClassItsProgIdAndTheTypeLibrary) {
    EXPECT_EQ(GuidToString(CLSID_RuleBaseCOM), "{CACC0193-BEDF-11D5-94C0-00304F04DF79}");
    EXPECT_EQ(ValueOf(kClassKey), "RuleBaseCOM");
    EXPECT_EQ(ValueOf(kClassKey + "\\InprocServer32"), kModule);
    EXPECT_EQ(ValueOf(kClassKey + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(ValueOf("Kelrun.RuleBaseCOM"), "RuleBaseCOM");
    EXPECT_EQ(ValueOf("Kelrun.RuleBaseCOM\\CLSID"), "{CACC0193-BEDF-11D5-94C0-00304F04DF79}");
    EXPECT_EQ(ValueOf(kClassKey + "\\ProgID"), "Kelrun.RuleBaseCOM");
    EXPECT_EQ(ValueOf(kClassKey + "\\Version"), "1.0");
    EXPECT_EQ(ValueOf(kClassKey + "\\Typelib"), "{CACC0190-BEDF-11D5-94C0-00304F04DF79}");
    EXPECT_EQ(ValueOf(kLibraryKey + "\\1.0"), "RuleBaseCOM Library");
    EXPECT_EQ(ValueOf(kLibraryKey + "\\1.0\\0\\win32"), kModule);
    EXPECT_EQ(ValueOf(kLibraryKey + "\\1.0\\HELPDIR"),
              std::filesystem::path(kModule).parent_path().string());
    EXPECT_EQ(ValueOf("Interface\\{CACC0191-BEDF-11D5-94C0-00304F04DF79}"), "IRuleBaseCOM");

    const std::string once = ReadFile(store_.File());
    ASSERT_EQ(RunProgram({TAVO_REGSVR, "-s", kModule}, store_.Directory()).exitCode, 0);
    EXPECT_EQ(ReadFile(store_.File()), once);

    ASSERT_EQ(RunProgram({TAVO_REGSVR, "-u", "-s", kModule}, store_.Directory()).exitCode, 0);
    const Registry registry;
    EXPECT_FALSE(registry.KeyExists(Root::ClassesRoot, kClassKey));
    EXPECT_FALSE(registry.KeyExists(Root::ClassesRoot, "Kelrun.RuleBaseCOM"));
    EXPECT_TRUE(registry.KeyExists(Root::ClassesRoot, kLibraryKey));
    ComPtr<IRuleBaseCOM> object;
    EXPECT_EQ(CreateRuleBase(object), REGDB_E_CLASSNOTREG);
}

TEST_F(KelrunModuleTest, TheEmbeddedTypeLibraryDescribesInterfaceAndClass) {
    ComPtr<ITypeLib> library;
    ASSERT_EQ(LoadTypeLib(kModule.c_str(), library.ReleaseAndGetAddressOf()), S_OK);
    TLIBATTR attributes{};
    ASSERT_EQ(library->GetLibAttr(&attributes), S_OK);
    EXPECT_EQ(attributes.guid, LIBID_Kelrun);
    EXPECT_EQ(attributes.wMajorVerNum, 1);
    EXPECT_EQ(attributes.wMinorVerNum, 0);
    ASSERT_EQ(library->GetTypeInfoCount(), 2u);
    const struct {
        GUID guid;
        TYPEKIND kind;
        const char* name;
        const char* help;
    } expected[] = {
        {LIBID_Kelrun, TKIND_INTERFACE, "Kelrun", "RuleBaseCOM Library"},
        {IID_IRuleBaseCOM, TKIND_INTERFACE, "IRuleBaseCOM", "Interface for RuleBaseCOM Object"},
        {CLSID_RuleBaseCOM, TKIND_COCLASS, "RuleBaseCOM", "RuleBaseCOM"}};
    for (int index = -1; index < 2; ++index) {
        const auto& entry = expected[index + 1];
        BSTR name = nullptr;
        BSTR help = nullptr;
        ASSERT_EQ(library->GetDocumentation(index, &name, &help), S_OK);
        const platform::com::UniqueBstr nameOwner(name), helpOwner(help);
        EXPECT_EQ(platform::com::BstrToUtf8(name), entry.name);
        EXPECT_EQ(platform::com::BstrToUtf8(help), entry.help);
        if (index < 0)
            continue;
        UINT found = 99;
        EXPECT_EQ(library->FindTypeInfoOfGuid(entry.guid, &found), S_OK);
        EXPECT_EQ(found, static_cast<UINT>(index));
        TYPEKIND kind{};
        EXPECT_EQ(library->GetTypeInfoType(index, &kind), S_OK);
        EXPECT_EQ(kind, entry.kind);
    }
}

TEST_F(KelrunModuleTest, ObjectsLiveWhileReferencedAndTheModuleUnloadsAfterThem) {
    EXPECT_FALSE(IsLoaded(kModule));
    ComPtr<IRuleBaseCOM> first;
    ASSERT_EQ(CreateRuleBase(first), S_OK);
    EXPECT_TRUE(IsLoaded(kModule));
    kelrun_test::LoadFile(*first.Get(), kelrun_test::Example("controller.rb"));

    ComPtr<IUnknown> unknown;
    ASSERT_EQ(first.As(IID_IUnknown, unknown), S_OK);
    ComPtr<IRuleBaseCOM> again;
    ASSERT_EQ(unknown.As(IID_IRuleBaseCOM, again), S_OK);
    EXPECT_EQ(again.Get(), first.Get());
    ComPtr<IUnknown> sameIdentity;
    ASSERT_EQ(again.As(IID_IUnknown, sameIdentity), S_OK);
    EXPECT_EQ(sameIdentity.Get(), unknown.Get());
    sameIdentity.Reset();
    ComPtr<IClassFactory> notThere;
    EXPECT_EQ(first.As(IID_IClassFactory, notThere), E_NOINTERFACE);
    EXPECT_FALSE(notThere);

    first.Reset();
    unknown.Reset();
    CoFreeUnusedLibraries();
    EXPECT_TRUE(IsLoaded(kModule));  // one reference is left
    EXPECT_EQ(again->NumInputVars(), 2);
    again.Reset();
    CoFreeUnusedLibraries();
    EXPECT_FALSE(IsLoaded(kModule));
}

TEST_F(KelrunModuleTest, TheClassFactoryServesOneClassAndHoldsTheModuleWhileLocked) {
    platform::com::SharedLibrary module(kModule);
    ASSERT_TRUE(module.IsLoaded()) << module.Error();
    const auto getClassObject =
        module.Entry<platform::com::DllGetClassObjectFunction>(platform::com::kDllGetClassObject);
    const auto canUnloadNow =
        module.Entry<platform::com::DllCanUnloadNowFunction>(platform::com::kDllCanUnloadNow);
    ASSERT_NE(getClassObject, nullptr);
    ASSERT_NE(canUnloadNow, nullptr);

    ComPtr<IClassFactory> factory;
    EXPECT_EQ(
        getClassObject(IID_IRuleBaseCOM, IID_IClassFactory, factory.ReleaseAndGetVoidAddressOf()),
        CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_FALSE(factory);
    EXPECT_EQ(canUnloadNow(), S_OK);

    ASSERT_EQ(
        getClassObject(CLSID_RuleBaseCOM, IID_IClassFactory, factory.ReleaseAndGetVoidAddressOf()),
        S_OK);
    EXPECT_EQ(canUnloadNow(), S_FALSE);  // a factory that is held
    EXPECT_EQ(factory->LockServer(1), S_OK);
    factory.Reset();
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(getClassObject(CLSID_RuleBaseCOM, IID_IUnknown, unknown.ReleaseAndGetVoidAddressOf()),
              S_OK);
    ASSERT_EQ(unknown.As(IID_IClassFactory, factory), S_OK);
    unknown.Reset();
    ComPtr<IRuleBaseCOM> object;
    ASSERT_EQ(
        factory->CreateInstance(nullptr, IID_IRuleBaseCOM, object.ReleaseAndGetVoidAddressOf()),
        S_OK);
    EXPECT_EQ(object->NumInputVars(), -1);
    EXPECT_EQ(factory->LockServer(0), S_OK);
    factory.Reset();
    EXPECT_EQ(canUnloadNow(), S_FALSE);  // the object
    object.Reset();
    EXPECT_EQ(canUnloadNow(), S_OK);
}

// An outer object that counts the references its aggregated object forwards to it.
class Outer final : public IUnknown {
  public:
    HRESULT QueryInterface(REFIID iid, void** object) noexcept override {
        ++queries;
        if (iid == IID_IUnknown) {
            *object = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() noexcept override { return ++references; }
    ULONG Release() noexcept override { return --references; }

    std::atomic<ULONG> references{1};
    int queries = 0;
};

TEST_F(KelrunModuleTest, AnAggregatedObjectLeavesItsIdentityToTheOuterObject) {
    Outer outer;
    ComPtr<IRuleBaseCOM> direct;
    EXPECT_EQ(CoCreateInstance(CLSID_RuleBaseCOM, &outer, CLSCTX_INPROC_SERVER, IID_IRuleBaseCOM,
                               direct.ReleaseAndGetVoidAddressOf()),
              CLASS_E_NOAGGREGATION);
    EXPECT_FALSE(direct);

    IUnknown* inner = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_RuleBaseCOM, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&inner)),
              S_OK);
    EXPECT_NE(inner, static_cast<IUnknown*>(&outer));
    EXPECT_EQ(outer.references, 1u);

    IRuleBaseCOM* object = nullptr;
    ASSERT_EQ(inner->QueryInterface(IID_IRuleBaseCOM, reinterpret_cast<void**>(&object)), S_OK);
    EXPECT_EQ(outer.references, 2u);  // counted by the outer object
    object->AddRef();
    EXPECT_EQ(outer.references, 3u);
    IUnknown* identity = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, static_cast<IUnknown*>(&outer));
    EXPECT_EQ(outer.queries, 1);
    identity->Release();
    kelrun_test::LoadFile(*object, kelrun_test::Example("triangles.rb"));
    EXPECT_EQ(object->NumInputVars(), 2);
    object->Release();
    object->Release();
    EXPECT_EQ(outer.references, 1u);

    EXPECT_EQ(inner->Release(), 0u);  // the outer object's hold ends the object
    CoFreeUnusedLibraries();
    EXPECT_FALSE(IsLoaded(kModule));
}

TEST_F(KelrunModuleTest, ARegisteredModuleThatIsMissingFailsClearly) {
    Registry().WriteString(Root::ClassesRoot, kClassKey + "\\InprocServer32", "",
                           (store_.Directory() / "gone" / "Kelrun.so").string());
    ComPtr<IRuleBaseCOM> object;
    EXPECT_EQ(CreateRuleBase(object), CO_E_DLLNOTFOUND);
    EXPECT_FALSE(object);
}

TEST_F(KelrunModuleTest, APathWithBlanksIsRegisteredAsItIs) {
    const std::filesystem::path module = store_.Directory() / "server modules" / "Kelrun copy.so";
    std::filesystem::create_directories(module.parent_path());
    std::filesystem::copy_file(kModule, module);
    ASSERT_EQ(RunProgram({TAVO_REGSVR, "-s", module.string()}, store_.Directory()).exitCode, 0);
    EXPECT_EQ(ValueOf(kClassKey + "\\InprocServer32"), module.string());

    ComPtr<IRuleBaseCOM> object;
    ASSERT_EQ(CreateRuleBase(object), S_OK);
    EXPECT_TRUE(IsLoaded(module.string()));
    EXPECT_FALSE(IsLoaded(kModule));
    kelrun_test::LoadFile(*object.Get(), kelrun_test::Example("singleton.rb"));
    EXPECT_EQ(object->NumInputVars(), 2);
    object.Reset();
    CoFreeUnusedLibraries();
    EXPECT_FALSE(IsLoaded(module.string()));
}

}  // namespace
