#include "platform/com/TypeLib.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/com/Bstr.h"
#include "platform/com/ComObject.h"
#include "platform/com/SharedLibrary.h"
#include "platform/registry/Registry.h"

namespace {

namespace fs = std::filesystem;
using platform::com::GuidToString;
using platform::com::TypeLibDescription;

constexpr std::string_view kTextHeader = "Tavo TypeLib 1";
// A description with more types than this is taken for garbage, not read.
constexpr std::uint32_t kMaxTypes = 65535;
constexpr std::uintmax_t kMaxTextSize = 1 << 20;
// The proxy of automation-compatible interfaces, which is what their registration names.
constexpr std::string_view kAutomationProxy = "{00020424-0000-0000-C000-000000000046}";

struct TypeEntry {
    TYPEKIND kind;
    std::string name;
    GUID guid;
    std::string helpString;
};

struct LibraryData {
    std::string name;
    GUID libid{};
    WORD majorVersion = 0;
    WORD minorVersion = 0;
    std::string helpString;
    std::vector<TypeEntry> types;
};

class TypeLibrary final : public platform::com::ComObject<TypeLibrary, ITypeLib, IID_ITypeLib> {
  public:
    explicit TypeLibrary(LibraryData data) : data_(std::move(data)) {}

    UINT GetTypeInfoCount() noexcept override { return static_cast<UINT>(data_.types.size()); }

    HRESULT GetTypeInfoType(UINT index, TYPEKIND* kind) noexcept override {
        if (kind == nullptr)
            return E_INVALIDARG;
        if (index >= data_.types.size())
            return TYPE_E_ELEMENTNOTFOUND;
        *kind = data_.types[index].kind;
        return S_OK;
    }

    HRESULT GetTypeInfoGuid(UINT index, GUID* guid) noexcept override {
        if (guid == nullptr)
            return E_INVALIDARG;
        if (index >= data_.types.size())
            return TYPE_E_ELEMENTNOTFOUND;
        *guid = data_.types[index].guid;
        return S_OK;
    }

    HRESULT FindTypeInfoOfGuid(REFGUID guid, UINT* index) noexcept override {
        if (index == nullptr)
            return E_INVALIDARG;
        for (std::size_t i = 0; i < data_.types.size(); ++i) {
            if (data_.types[i].guid == guid) {
                *index = static_cast<UINT>(i);
                return S_OK;
            }
        }
        return TYPE_E_ELEMENTNOTFOUND;
    }

    HRESULT GetLibAttr(TLIBATTR* attributes) noexcept override {
        if (attributes == nullptr)
            return E_INVALIDARG;
        *attributes = TLIBATTR{data_.libid, data_.majorVersion, data_.minorVersion};
        return S_OK;
    }

    HRESULT GetDocumentation(INT index, BSTR* name, BSTR* helpString) noexcept override {
        if (name != nullptr)
            *name = nullptr;
        if (helpString != nullptr)
            *helpString = nullptr;
        const std::string* nameText = &data_.name;
        const std::string* helpText = &data_.helpString;
        if (index != -1) {
            if (index < 0 || static_cast<std::size_t>(index) >= data_.types.size()) {
                return TYPE_E_ELEMENTNOTFOUND;
            }
            nameText = &data_.types[index].name;
            helpText = &data_.types[index].helpString;
        }
        platform::com::UniqueBstr nameCopy;
        platform::com::UniqueBstr helpCopy;
        if (name != nullptr) {
            nameCopy.reset(platform::com::Utf8ToBstr(*nameText));
            if (!nameCopy)
                return E_OUTOFMEMORY;
        }
        if (helpString != nullptr) {
            helpCopy.reset(platform::com::Utf8ToBstr(*helpText));
            if (!helpCopy)
                return E_OUTOFMEMORY;
        }
        if (name != nullptr)
            *name = nameCopy.release();
        if (helpString != nullptr)
            *helpString = helpCopy.release();
        return S_OK;
    }

  private:
    const LibraryData data_;
};

bool IsKnownKind(TYPEKIND kind) {
    return kind == TKIND_INTERFACE || kind == TKIND_COCLASS;
}

HRESULT FromDescription(const TypeLibDescription& description, LibraryData& data) {
    if (description.structSize != sizeof(TypeLibDescription) || description.name == nullptr ||
        description.typeCount > kMaxTypes ||
        (description.typeCount > 0 && description.types == nullptr)) {
        return TYPE_E_INVDATAREAD;
    }
    data.name = description.name;
    data.libid = description.libid;
    data.majorVersion = description.majorVersion;
    data.minorVersion = description.minorVersion;
    data.helpString = description.helpString != nullptr ? description.helpString : "";
    for (std::uint32_t i = 0; i < description.typeCount; ++i) {
        const platform::com::TypeDescription& type = description.types[i];
        if (!IsKnownKind(type.kind) || type.name == nullptr)
            return TYPE_E_INVDATAREAD;
        data.types.push_back(
            {type.kind, type.name, type.guid, type.helpString != nullptr ? type.helpString : ""});
    }
    return S_OK;
}

HRESULT FromModule(const std::string& file, LibraryData& data) {
    // Without a '/' the loader would search the library path instead of the working directory.
    const platform::com::SharedLibrary module(file.find('/') == std::string::npos ? "./" + file
                                                                                  : file);
    const auto* description =
        static_cast<const TypeLibDescription*>(module.Symbol(platform::com::kTypeLibSymbol));
    if (description == nullptr)
        return TYPE_E_CANTLOADLIBRARY;
    // Copied out before the module closes, as the description's texts live in it.
    return FromDescription(*description, data);
}

// Reads one line of a ".tlb" text: words, quoted texts, braced GUIDs and versions.
class LineReader {
  public:
    explicit LineReader(std::string_view line) : line_(line) {}

    bool AtEnd() {
        SkipBlanks();
        return line_.empty();
    }

    bool Word(std::string& word) {
        SkipBlanks();
        std::size_t length = 0;
        while (length < line_.size() && std::isalpha(static_cast<unsigned char>(line_[length]))) {
            ++length;
        }
        word = line_.substr(0, length);
        line_.remove_prefix(length);
        return length > 0;
    }

    bool Quoted(std::string& text) {
        SkipBlanks();
        if (line_.empty() || line_.front() != '"')
            return false;
        text.clear();
        for (std::size_t i = 1; i < line_.size(); ++i) {
            char c = line_[i];
            if (c == '"') {
                line_.remove_prefix(i + 1);
                return true;
            }
            if (c == '\\') {
                if (++i == line_.size() || (line_[i] != '\\' && line_[i] != '"'))
                    return false;
                c = line_[i];
            }
            text += c;
        }
        return false;
    }

    bool Guid(GUID& guid) {
        SkipBlanks();
        const std::size_t end = line_.find('}');
        if (end == std::string_view::npos)
            return false;
        const auto parsed = platform::com::GuidFromString(line_.substr(0, end + 1));
        if (!parsed)
            return false;
        guid = *parsed;
        line_.remove_prefix(end + 1);
        return true;
    }

    bool Version(WORD& major, WORD& minor) {
        return Number(major) && !line_.empty() && line_.front() == '.' &&
               (line_.remove_prefix(1), NumberHere(minor));
    }

  private:
    void SkipBlanks() {
        while (!line_.empty() && (line_.front() == ' ' || line_.front() == '\t')) {
            line_.remove_prefix(1);
        }
    }
    bool Number(WORD& value) {
        SkipBlanks();
        return NumberHere(value);
    }
    bool NumberHere(WORD& value) {
        unsigned long number = 0;
        std::size_t length = 0;
        while (length < line_.size() && std::isdigit(static_cast<unsigned char>(line_[length])) &&
               length < 6) {
            number = number * 10 + static_cast<unsigned long>(line_[length] - '0');
            ++length;
        }
        if (length == 0 || number > 0xFFFF)
            return false;
        value = static_cast<WORD>(number);
        line_.remove_prefix(length);
        return true;
    }

    std::string_view line_;
};

bool ParseText(std::string_view text, LibraryData& data) {
    bool sawLibrary = false;
    bool firstLine = true;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (std::exchange(firstLine, false)) {
            if (line != kTextHeader)
                return false;
            continue;
        }
        LineReader reader(line);
        if (reader.AtEnd() || line.front() == ';')
            continue;
        std::string keyword;
        if (!reader.Word(keyword))
            return false;
        if (keyword == "library") {
            if (sawLibrary || !reader.Quoted(data.name) || !reader.Guid(data.libid) ||
                !reader.Version(data.majorVersion, data.minorVersion) ||
                !reader.Quoted(data.helpString)) {
                return false;
            }
            sawLibrary = true;
        } else if (keyword == "interface" || keyword == "coclass") {
            TypeEntry type{keyword == "interface" ? TKIND_INTERFACE : TKIND_COCLASS, {}, {}, {}};
            if (!sawLibrary || !reader.Quoted(type.name) || !reader.Guid(type.guid) ||
                !reader.Quoted(type.helpString) || data.types.size() >= kMaxTypes) {
                return false;
            }
            data.types.push_back(std::move(type));
        } else {
            return false;
        }
        if (!reader.AtEnd())
            return false;
    }
    return sawLibrary;
}

HRESULT FromTextFile(const fs::path& file, LibraryData& data) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return TYPE_E_CANTLOADLIBRARY;
    std::string header(kTextHeader.size(), '\0');
    // A module or any other file is not a text type library; only the header tells.
    if (!in.read(header.data(), static_cast<std::streamsize>(header.size())) ||
        header != kTextHeader) {
        return TYPE_E_CANTLOADLIBRARY;
    }
    std::error_code error;
    if (fs::file_size(file, error) > kMaxTextSize || error)
        return TYPE_E_INVDATAREAD;
    in.seekg(0);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return ParseText(text, data) ? S_OK : TYPE_E_INVDATAREAD;
}

std::string HexVersion(WORD major, WORD minor) {
    char text[16];
    std::snprintf(text, sizeof text, "%x.%x", major, minor);
    return text;
}

std::string DecimalVersion(WORD major, WORD minor) {
    return std::to_string(major) + "." + std::to_string(minor);
}

// The texts of an entry of the library (index -1: the library itself) as UTF-8.
HRESULT Documentation(ITypeLib& library, INT index, std::string& name, std::string& helpString) {
    BSTR nameText = nullptr;
    BSTR helpText = nullptr;
    const HRESULT status = library.GetDocumentation(index, &nameText, &helpText);
    const platform::com::UniqueBstr nameOwner(nameText);
    const platform::com::UniqueBstr helpOwner(helpText);
    if (FAILED(status))
        return status;
    name = platform::com::BstrToUtf8(nameText);
    helpString = platform::com::BstrToUtf8(helpText);
    return S_OK;
}

HRESULT Register(ITypeLib& library, const std::string& fullPath, const std::string& helpDirectory) {
    using platform::registry::Root;
    TLIBATTR attributes{};
    HRESULT status = library.GetLibAttr(&attributes);
    if (FAILED(status))
        return status;
    std::string name;
    std::string helpString;
    status = Documentation(library, -1, name, helpString);
    if (FAILED(status))
        return status;

    platform::registry::Registry registry;
    const std::string libid = GuidToString(attributes.guid);
    const std::string libraryKey =
        "TypeLib\\" + libid + "\\" + HexVersion(attributes.wMajorVerNum, attributes.wMinorVerNum);
    registry.WriteString(Root::ClassesRoot, libraryKey, "", helpString.empty() ? name : helpString);
    registry.WriteString(Root::ClassesRoot, libraryKey + "\\0\\win32", "", fullPath);
    registry.WriteString(Root::ClassesRoot, libraryKey + "\\FLAGS", "", "0");
    registry.WriteString(Root::ClassesRoot, libraryKey + "\\HELPDIR", "", helpDirectory);

    for (UINT i = 0; i < library.GetTypeInfoCount(); ++i) {
        TYPEKIND kind{};
        GUID iid{};
        if (FAILED(status = library.GetTypeInfoType(i, &kind)) ||
            FAILED(status = library.GetTypeInfoGuid(i, &iid))) {
            return status;
        }
        if (kind != TKIND_INTERFACE)
            continue;
        std::string interfaceName;
        std::string unused;
        status = Documentation(library, static_cast<INT>(i), interfaceName, unused);
        if (FAILED(status))
            return status;
        const std::string interfaceKey = "Interface\\" + GuidToString(iid);
        registry.WriteString(Root::ClassesRoot, interfaceKey, "", interfaceName);
        registry.WriteString(Root::ClassesRoot, interfaceKey + "\\ProxyStubClsid32", "",
                             kAutomationProxy);
        registry.WriteString(Root::ClassesRoot, interfaceKey + "\\TypeLib", "", libid);
        registry.WriteString(Root::ClassesRoot, interfaceKey + "\\TypeLib", "Version",
                             DecimalVersion(attributes.wMajorVerNum, attributes.wMinorVerNum));
    }
    return S_OK;
}

}  // namespace

extern "C" {

HRESULT LoadTypeLib(const char* file, ITypeLib** library) noexcept {
    if (library == nullptr)
        return E_POINTER;
    *library = nullptr;
    if (file == nullptr || *file == '\0')
        return E_INVALIDARG;
    try {
        HRESULT failure = TYPE_E_CANTLOADLIBRARY;
        // A malformed description found anywhere is worth reporting over "nothing found".
        const auto succeeded = [&](HRESULT status) {
            if (status == TYPE_E_INVDATAREAD)
                failure = status;
            return SUCCEEDED(status);
        };
        const fs::path textFile = fs::path(file).replace_extension(".tlb");
        LibraryData data;
        bool found = succeeded(FromModule(file, data));
        if (!found)
            found = succeeded(FromTextFile(file, data = {}));
        if (!found && textFile != file)
            found = succeeded(FromTextFile(textFile, data = {}));
        if (!found)
            return failure;
        return TypeLibrary::Create(nullptr, IID_ITypeLib, reinterpret_cast<void**>(library),
                                   std::move(data));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT RegisterTypeLib(ITypeLib* library, const char* fullPath,
                        const char* helpDirectory) noexcept {
    if (library == nullptr || fullPath == nullptr || *fullPath == '\0')
        return E_INVALIDARG;
    try {
        const std::string help = helpDirectory != nullptr
                                     ? std::string(helpDirectory)
                                     : fs::path(fullPath).parent_path().string();
        return Register(*library, fullPath, help);
    } catch (const platform::registry::RegistryError&) {
        return TYPE_E_REGISTRYACCESS;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // extern "C"
