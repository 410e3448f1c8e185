#include "platform/com/Runtime.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <thread>

#include "platform/com/Bstr.h"
#include "platform/com/ComPtr.h"
#include "platform/com/SafeArray.h"
#include "platform/registry/Registry.h"
#include "tests/platform/PlatformTestSupport.h"
#include "tests/platform/com/testserver/Adder.h"

namespace {

using platform::com::BstrToUtf8;
using platform::com::ComPtr;
using platform::com::GuidToString;
using platform::com::UniqueBstr;
using platform::registry::Registry;
using platform::registry::Root;
using platform::testing::RunProgram;
using platform::testing::TemporaryStore;
using platform::testing::WriteFile;

const std::string kServer = TAVO_TEST_SERVER;
const std::string kClassKey = "CLSID\\" + GuidToString(CLSID_Adder);

// Asks the loader without loading: a module really unloaded is not found.
bool IsLoaded(const std::string& module) {
    void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle != nullptr)
        ::dlclose(handle);
    return handle != nullptr;
}

HRESULT Create(ComPtr<IAdder>& adder, DWORD context = CLSCTX_INPROC_SERVER) {
    return CoCreateInstance(CLSID_Adder, nullptr, context, IID_IAdder,
                            adder.ReleaseAndGetVoidAddressOf());
}

TEST(ComInitialization, CountsPerThread) {
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    std::thread other([] {
        ComPtr<IAdder> adder;
        EXPECT_EQ(Create(adder), CO_E_NOTINITIALIZED);
        EXPECT_EQ(CoInitialize(nullptr), S_OK);
        CoUninitialize();
    });
    other.join();
    CoUninitialize();
    CoUninitialize();
    CoUninitialize();  // one too many does no harm
    ComPtr<IAdder> adder;
    EXPECT_EQ(Create(adder), CO_E_NOTINITIALIZED);
    EXPECT_EQ(CoInitialize(reinterpret_cast<void*>(1)), E_INVALIDARG);
}

class ComRuntimeTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(CoInitialize(nullptr), S_OK); }
    void TearDown() override { CoUninitialize(); }

    void RegisterClassAt(const std::string& module) {
        Registry().WriteString(Root::ClassesRoot, kClassKey + "\\InprocServer32", "", module);
    }

    TemporaryStore store_;
};

TEST_F(ComRuntimeTest, ClassesThatCannotBeServedGiveClearFailures) {
    ComPtr<IAdder> adder;
    EXPECT_EQ(Create(adder), REGDB_E_CLASSNOTREG);
    Registry().CreateKey(Root::ClassesRoot, kClassKey + "\\InprocServer32");
    EXPECT_EQ(Create(adder), REGDB_E_CLASSNOTREG);  // a key without a module name
    RegisterClassAt((store_.Directory() / "missing.so").string());
    EXPECT_EQ(Create(adder), CO_E_DLLNOTFOUND);
    RegisterClassAt(TAVO_COM_LIBRARY);  // loads, but is no server
    EXPECT_EQ(Create(adder), CO_E_ERRORINDLL);
    WriteFile(store_.File(), "damaged");
    EXPECT_EQ(Create(adder), REGDB_E_READREGDB);
    EXPECT_FALSE(adder);
    EXPECT_EQ(CoCreateInstance(CLSID_Adder, nullptr, CLSCTX_INPROC_SERVER, IID_IAdder, nullptr),
              E_POINTER);
}

TEST_F(ComRuntimeTest, ContextsOtherThanInProcessAreRefused) {
    RegisterClassAt(kServer);
    ComPtr<IAdder> adder;
    EXPECT_EQ(Create(adder, CLSCTX_SERVER), E_INVALIDARG);
    EXPECT_EQ(Create(adder, CLSCTX_ALL), E_INVALIDARG);
    EXPECT_EQ(Create(adder, CLSCTX_LOCAL_SERVER), E_INVALIDARG);
    EXPECT_EQ(Create(adder, CLSCTX_INPROC_SERVER | 0x100), E_INVALIDARG);
    // Local servers accepted besides in-process ones: served in process.
    EXPECT_EQ(Create(adder, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER), S_OK);
    EXPECT_TRUE(adder);
}

TEST_F(ComRuntimeTest, ARegisteredServerIsCreatedUsedAndUnloaded) {
    const auto registration = RunProgram({TAVO_REGSVR, "-s", kServer}, store_.Directory());
    ASSERT_EQ(registration.exitCode, 0) << registration.err;
    const Registry registry;
    EXPECT_EQ(registry.ReadValue(Root::ClassesRoot, kClassKey + "\\InprocServer32", "")->text,
              kServer);
    EXPECT_EQ(
        registry.ReadValue(Root::ClassesRoot, kClassKey + "\\InprocServer32", "ThreadingModel")
            ->text,
        "Apartment");
    EXPECT_FALSE(IsLoaded(kServer));

    ComPtr<IAdder> adder;
    // As an automation client does: everywhere first, then in-process or local.
    ASSERT_EQ(Create(adder, CLSCTX_SERVER), E_INVALIDARG);
    ASSERT_EQ(Create(adder, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER), S_OK);
    ASSERT_TRUE(adder);
    EXPECT_TRUE(IsLoaded(kServer));
    EXPECT_EQ(adder->Add(2, 0.5), 2.5);

    VARIANT inputs;
    VariantInit(&inputs);
    inputs.vt = VT_ARRAY | VT_R8;
    inputs.parray = SafeArrayCreateVector(VT_R8, 0, 3);
    for (LONG i = 0; i < 3; ++i) {
        const double value = i + 0.25;
        SafeArrayPutElement(inputs.parray, &i, &value);
    }
    double sum = 0;
    EXPECT_EQ(adder->Sum(inputs, &sum), S_OK);
    EXPECT_EQ(sum, 3.75);
    VariantClear(&inputs);

    const UniqueBstr name(platform::com::Utf8ToBstr("Žofie"));
    const UniqueBstr greeting(adder->Greet(name.get()));  // freed here, allocated there
    EXPECT_EQ(BstrToUtf8(greeting.get()), "Hello, Žofie");

    ComPtr<IUnknown> unknown;
    EXPECT_EQ(adder.As(IID_IUnknown, unknown), S_OK);
    ComPtr<IClassFactory> notThere;
    EXPECT_EQ(adder.As(IID_IClassFactory, notThere), E_NOINTERFACE);
    ComPtr<IAdder> aggregated;
    EXPECT_EQ(CoCreateInstance(CLSID_Adder, unknown.Get(), CLSCTX_INPROC_SERVER, IID_IUnknown,
                               aggregated.ReleaseAndGetVoidAddressOf()),
              CLASS_E_NOAGGREGATION);

    CoFreeUnusedLibraries();
    EXPECT_TRUE(IsLoaded(kServer));  // objects are alive
    adder.Reset();
    CoFreeUnusedLibraries();
    EXPECT_TRUE(IsLoaded(kServer));  // one reference is left
    unknown.Reset();
    CoFreeUnusedLibraries();
    EXPECT_FALSE(IsLoaded(kServer));

    const auto removal = RunProgram({TAVO_REGSVR, "-u", "-s", kServer}, store_.Directory());
    ASSERT_EQ(removal.exitCode, 0) << removal.err;
    EXPECT_FALSE(registry.KeyExists(Root::ClassesRoot, kClassKey));
    EXPECT_TRUE(registry.KeyExists(Root::ClassesRoot, "TypeLib\\" + GuidToString(LIBID_AdderLib)));
    EXPECT_EQ(Create(adder), REGDB_E_CLASSNOTREG);
}

TEST_F(ComRuntimeTest, AModulePathMayHoldBlanks) {
    const std::filesystem::path module = store_.Directory() / "server modules" / "adder server.so";
    std::filesystem::create_directories(module.parent_path());
    std::filesystem::copy_file(kServer, module);
    RegisterClassAt(module.string());
    ComPtr<IAdder> adder;
    ASSERT_EQ(Create(adder), S_OK);
    EXPECT_EQ(adder->Add(1, 2), 3);
    EXPECT_TRUE(IsLoaded(module.string()));
    adder.Reset();
    CoFreeUnusedLibraries();
    EXPECT_FALSE(IsLoaded(module.string()));
}

TEST_F(ComRuntimeTest, TheLastUninitializeUnloadsUnusedModules) {
    RegisterClassAt(kServer);
    ComPtr<IAdder> adder;
    ASSERT_EQ(Create(adder), S_OK);
    ASSERT_EQ(CoInitialize(nullptr), S_FALSE);
    adder.Reset();
    CoUninitialize();
    EXPECT_TRUE(IsLoaded(kServer));  // not the last one
    CoUninitialize();
    EXPECT_FALSE(IsLoaded(kServer));
    ASSERT_EQ(CoInitialize(nullptr), S_OK);  // for TearDown
}

}  // namespace
