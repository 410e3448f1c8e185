#pragma once

#include "platform/com/Unknown.h"

enum TYPEKIND : int { TKIND_INTERFACE = 3, TKIND_COCLASS = 5 };

struct TLIBATTR {
    GUID guid;
    WORD wMajorVerNum;
    WORD wMinorVerNum;
};

// A loaded type library: the library's identity and, for each interface and coclass in it,
// kind, name, GUID and help string. Index -1 of GetDocumentation is the library itself.
class ITypeLib : public IUnknown {
  public:
    virtual UINT GetTypeInfoCount() noexcept = 0;
    virtual HRESULT GetTypeInfoType(UINT index, TYPEKIND* kind) noexcept = 0;
    virtual HRESULT GetTypeInfoGuid(UINT index, GUID* guid) noexcept = 0;
    // TYPE_E_ELEMENTNOTFOUND when no type of the library has that GUID.
    virtual HRESULT FindTypeInfoOfGuid(REFGUID guid, UINT* index) noexcept = 0;
    // Copies the attributes; there is nothing to release afterwards.
    virtual HRESULT GetLibAttr(TLIBATTR* attributes) noexcept = 0;
    // Either out-parameter may be null; the caller frees the BSTRs it gets.
    virtual HRESULT GetDocumentation(INT index, BSTR* name, BSTR* helpString) noexcept = 0;

  protected:
    ~ITypeLib() = default;
};

inline constexpr IID IID_ITypeLib{0x00020402, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

namespace platform::com {

// The type library as a server embeds it: a constant exported under the name TavoTypeLib
// (declared in ServerExports.h). Help strings may be null.
struct TypeDescription {
    TYPEKIND kind;
    const char* name;
    GUID guid;
    const char* helpString;
};

struct TypeLibDescription {
    // sizeof(TypeLibDescription): a description of another layout is refused.
    std::uint32_t structSize;
    const char* name;
    GUID libid;
    WORD majorVersion;
    WORD minorVersion;
    const char* helpString;
    const TypeDescription* types;
    std::uint32_t typeCount;
};

inline constexpr char kTypeLibSymbol[] = "TavoTypeLib";

}  // namespace platform::com

extern "C" {
// Loads a type library from a module exporting TavoTypeLib; failing that, from file itself as a
// ".tlb" text file, or from the file of the same name with the extension ".tlb":
//
//   Tavo TypeLib 1
//   library "Kelrun" {CACC0190-BEDF-11D5-94C0-00304F04DF79} 1.0 "RuleBaseCOM Library"
//   interface "IRuleBaseCOM" {CACC0191-BEDF-11D5-94C0-00304F04DF79} "Interface for ..."
//   coclass "RuleBaseCOM" {CACC0193-BEDF-11D5-94C0-00304F04DF79} "RuleBaseCOM"
//
// (quoted texts escape \\ and \"). TYPE_E_CANTLOADLIBRARY when none of them exists,
// TYPE_E_INVDATAREAD when the description found is malformed. file is UTF-8.
TAVOCOM_API HRESULT LoadTypeLib(const char* file, ITypeLib** library) noexcept;

// Writes under HKEY_CLASSES_ROOT: "TypeLib\{LIBID}\<major>.<minor>" (the library's help string),
// its "0\win32" (fullPath), "FLAGS" and "HELPDIR" (helpDirectory, or fullPath's directory when
// null); and for each interface "Interface\{IID}" (its name) with "ProxyStubClsid32" and
// "TypeLib" (the LIBID, value "Version"). TYPE_E_REGISTRYACCESS when the store fails.
TAVOCOM_API HRESULT RegisterTypeLib(ITypeLib* library, const char* fullPath,
                                    const char* helpDirectory) noexcept;
}
