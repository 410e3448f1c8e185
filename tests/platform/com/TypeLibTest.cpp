#include "platform/com/TypeLib.h"

#include <gtest/gtest.h>

#include "platform/com/Bstr.h"
#include "platform/com/ComPtr.h"
#include "platform/registry/Registry.h"
#include "tests/platform/PlatformTestSupport.h"
#include "tests/platform/com/testserver/Adder.h"

namespace {

using platform::com::BstrToUtf8;
using platform::com::ComPtr;
using platform::com::GuidToString;
using platform::registry::Registry;
using platform::registry::Root;
using platform::testing::TemporaryDirectory;
using platform::testing::TemporaryStore;
using platform::testing::WriteFile;

ComPtr<ITypeLib> Load(const std::string& file, HRESULT expected = S_OK) {
    ITypeLib* library = nullptr;
    EXPECT_EQ(LoadTypeLib(file.c_str(), &library), expected) << file;
    return ComPtr<ITypeLib>::Attach(library);
}

std::pair<std::string, std::string> Documentation(ITypeLib& library, INT index) {
    BSTR name = nullptr;
    BSTR help = nullptr;
    EXPECT_EQ(library.GetDocumentation(index, &name, &help), S_OK);
    const platform::com::UniqueBstr nameOwner(name);
    const platform::com::UniqueBstr helpOwner(help);
    return {BstrToUtf8(name), BstrToUtf8(help)};
}

void ExpectAdderLibrary(ITypeLib& library) {
    TLIBATTR attributes{};
    ASSERT_EQ(library.GetLibAttr(&attributes), S_OK);
    EXPECT_EQ(attributes.guid, LIBID_AdderLib);
    EXPECT_EQ(attributes.wMajorVerNum, 1);
    EXPECT_EQ(attributes.wMinorVerNum, 0);
    EXPECT_EQ(Documentation(library, -1),
              (std::pair<std::string, std::string>{"AdderLib", "Adder Library"}));
    ASSERT_EQ(library.GetTypeInfoCount(), 2u);
    UINT index = 99;
    ASSERT_EQ(library.FindTypeInfoOfGuid(CLSID_Adder, &index), S_OK);
    TYPEKIND kind{};
    EXPECT_EQ(library.GetTypeInfoType(index, &kind), S_OK);
    EXPECT_EQ(kind, TKIND_COCLASS);
    EXPECT_EQ(Documentation(library, static_cast<INT>(index)),
              (std::pair<std::string, std::string>{"Adder", "Adder"}));
    ASSERT_EQ(library.FindTypeInfoOfGuid(IID_IAdder, &index), S_OK);
    GUID guid{};
    EXPECT_EQ(library.GetTypeInfoGuid(index, &guid), S_OK);
    EXPECT_EQ(guid, IID_IAdder);
    EXPECT_EQ(library.GetTypeInfoType(index, &kind), S_OK);
    EXPECT_EQ(kind, TKIND_INTERFACE);
    EXPECT_EQ(Documentation(library, static_cast<INT>(index)),
              (std::pair<std::string, std::string>{"IAdder", "Interface for Adder Object"}));
    EXPECT_EQ(library.FindTypeInfoOfGuid(LIBID_AdderLib, &index), TYPE_E_ELEMENTNOTFOUND);
    BSTR name = nullptr;
    EXPECT_EQ(library.GetDocumentation(2, &name, nullptr), TYPE_E_ELEMENTNOTFOUND);
    EXPECT_EQ(library.GetDocumentation(-2, &name, nullptr), TYPE_E_ELEMENTNOTFOUND);
    EXPECT_EQ(name, nullptr);
}

const std::string kAdderText =
    "Tavo TypeLib 1\n"
    "; the same library as the test server embeds\n"
    "library \"AdderLib\" {5E0C1A00-7A1D-4C2B-9E11-2F610AB35501} 1.0 \"Adder Library\"\n"
    "\n"
    "interface \"IAdder\" {5E0C1A01-7A1D-4C2B-9E11-2F610AB35501} \"Interface for Adder Object\"\n"
    "coclass \"Adder\" {5E0C1A02-7A1D-4C2B-9E11-2F610AB35501} \"Adder\"\n";

TEST(TypeLib, IsReadFromTheDescriptionAServerEmbeds) {
    const ComPtr<ITypeLib> library = Load(TAVO_TEST_SERVER);
    ASSERT_TRUE(library);
    ExpectAdderLibrary(*library.Get());
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(library.As(IID_IUnknown, unknown), S_OK);
    ComPtr<IClassFactory> notThere;
    EXPECT_EQ(library.As(IID_IClassFactory, notThere), E_NOINTERFACE);
}

TEST(TypeLib, FallsBackToATextFileOfTheSameNameWithTlb) {
    const TemporaryDirectory directory;
    WriteFile(directory.Path() / "Adder.tlb", kAdderText);
    const ComPtr<ITypeLib> fromModuleName = Load((directory.Path() / "Adder.so").string());
    ASSERT_TRUE(fromModuleName);
    ExpectAdderLibrary(*fromModuleName.Get());
    const ComPtr<ITypeLib> direct = Load((directory.Path() / "Adder.tlb").string());
    ASSERT_TRUE(direct);
    ExpectAdderLibrary(*direct.Get());
}

TEST(TypeLib, ReportsWhatItCannotFindOrRead) {
    const TemporaryDirectory directory;
    Load((directory.Path() / "none.so").string(), TYPE_E_CANTLOADLIBRARY);
    Load(TAVO_COM_LIBRARY, TYPE_E_CANTLOADLIBRARY);  // a module without a type library
    ITypeLib* library = nullptr;
    EXPECT_EQ(LoadTypeLib(nullptr, &library), E_INVALIDARG);
    EXPECT_EQ(LoadTypeLib("", &library), E_INVALIDARG);
    EXPECT_EQ(LoadTypeLib("x.tlb", nullptr), E_POINTER);

    const char* malformed[] = {
        "Tavo TypeLib 1\n",  // no library line
        "Tavo TypeLib 1\nlibrary \"L\" {5E0C1A00-7A1D-4C2B-9E11-2F610AB35501} 1.0\n",
        "Tavo TypeLib 1\nlibrary \"L\" {5E0C1A00-7A1D-4C2B-9E11-2F610AB3550} 1.0 \"h\"\n",
        "Tavo TypeLib 1\nlibrary \"L\" {5E0C1A00-7A1D-4C2B-9E11-2F610AB35501} 1.70000 \"h\"\n",
        "Tavo TypeLib 1\ninterface \"I\" {5E0C1A01-7A1D-4C2B-9E11-2F610AB35501} \"h\"\n",
        "Tavo TypeLib 1\nlibrary \"L\" {5E0C1A00-7A1D-4C2B-9E11-2F610AB35501} 1.0 \"h\" extra\n",
        "Tavo TypeLib 1\nlibrary \"L\" {5E0C1A00-7A1D-4C2B-9E11-2F610AB35501} 1.0 \"h\\q\"\n",
        "Tavo TypeLib 1\nlibrary \"L\" {5E0C1A00-7A1D-4C2B-9E11-2F610AB35501} 1.0 \"h\"\n"
        "dispinterface \"D\" {5E0C1A01-7A1D-4C2B-9E11-2F610AB35501} \"h\"\n",
    };
    for (const char* text : malformed) {
        WriteFile(directory.Path() / "bad.tlb", text);
        Load((directory.Path() / "bad.so").string(), TYPE_E_INVDATAREAD);
    }
}

TEST(TypeLib, RegistrationWritesTheLibraryAndItsInterfaces) {
    const TemporaryStore store;
    const ComPtr<ITypeLib> library = Load(TAVO_TEST_SERVER);
    ASSERT_TRUE(library);
    ASSERT_EQ(RegisterTypeLib(library.Get(), "/srv/com/Adder.so", nullptr), S_OK);
    const Registry registry;
    const auto text = [&](const std::string& key, const std::string& name = "") {
        const auto value = registry.ReadValue(Root::ClassesRoot, key, name);
        return value ? value->text : "<missing " + key + ">";
    };
    const std::string libraryKey = "TypeLib\\" + GuidToString(LIBID_AdderLib) + "\\1.0";
    EXPECT_EQ(text(libraryKey), "Adder Library");
    EXPECT_EQ(text(libraryKey + "\\0\\win32"), "/srv/com/Adder.so");
    EXPECT_EQ(text(libraryKey + "\\FLAGS"), "0");
    EXPECT_EQ(text(libraryKey + "\\HELPDIR"), "/srv/com");
    const std::string interfaceKey = "Interface\\" + GuidToString(IID_IAdder);
    EXPECT_EQ(text(interfaceKey), "IAdder");
    EXPECT_EQ(text(interfaceKey + "\\ProxyStubClsid32"), "{00020424-0000-0000-C000-000000000046}");
    EXPECT_EQ(text(interfaceKey + "\\TypeLib"), GuidToString(LIBID_AdderLib));
    EXPECT_EQ(text(interfaceKey + "\\TypeLib", "Version"), "1.0");
    // Coclasses are the server's to register.
    EXPECT_FALSE(registry.KeyExists(Root::ClassesRoot, "Interface\\" + GuidToString(CLSID_Adder)));

    ASSERT_EQ(RegisterTypeLib(library.Get(), "/srv/com/Adder.so", "/srv/help"), S_OK);
    EXPECT_EQ(text(libraryKey + "\\HELPDIR"), "/srv/help");
    EXPECT_EQ(RegisterTypeLib(nullptr, "/srv/com/Adder.so", nullptr), E_INVALIDARG);

    WriteFile(store.File(), "damaged");
    EXPECT_EQ(RegisterTypeLib(library.Get(), "/srv/com/Adder.so", nullptr), TYPE_E_REGISTRYACCESS);
}

}  // namespace
