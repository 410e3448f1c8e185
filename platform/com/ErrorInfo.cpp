#include "platform/com/ErrorInfo.h"

#include <string>

#include "platform/com/Bstr.h"
#include "platform/com/ComObject.h"
#include "platform/com/ComPtr.h"

namespace {

using platform::com::ComPtr;

// Released when the thread ends.
thread_local ComPtr<IErrorInfo> threadErrorInfo;

HRESULT ToBstr(const std::string& text, BSTR* result) noexcept {
    if (result == nullptr)
        return E_POINTER;
    *result = platform::com::Utf8ToBstr(text);
    return *result != nullptr ? S_OK : E_OUTOFMEMORY;
}

class ErrorInfo final : public platform::com::ComObject<ErrorInfo, IErrorInfo, IID_IErrorInfo> {
  public:
    ErrorInfo(const GUID& guid, std::string_view source, std::string_view description)
        : guid_(guid), source_(source), description_(description) {}

    HRESULT GetGUID(GUID* guid) noexcept override {
        if (guid == nullptr)
            return E_POINTER;
        *guid = guid_;
        return S_OK;
    }
    HRESULT GetSource(BSTR* source) noexcept override { return ToBstr(source_, source); }
    HRESULT GetDescription(BSTR* description) noexcept override {
        return ToBstr(description_, description);
    }
    HRESULT GetHelpFile(BSTR* helpFile) noexcept override {
        if (helpFile == nullptr)
            return E_POINTER;
        *helpFile = nullptr;
        return S_OK;
    }
    HRESULT GetHelpContext(DWORD* helpContext) noexcept override {
        if (helpContext == nullptr)
            return E_POINTER;
        *helpContext = 0;
        return S_OK;
    }

  private:
    GUID guid_;
    std::string source_;
    std::string description_;
};

}  // namespace

extern "C" {

HRESULT SetErrorInfo(ULONG reserved, IErrorInfo* info) noexcept {
    if (reserved != 0)
        return E_INVALIDARG;
    threadErrorInfo = ComPtr<IErrorInfo>(info);
    return S_OK;
}

HRESULT GetErrorInfo(ULONG reserved, IErrorInfo** info) noexcept {
    if (info == nullptr)
        return E_POINTER;
    *info = nullptr;
    if (reserved != 0)
        return E_INVALIDARG;
    *info = threadErrorInfo.Detach();
    return *info != nullptr ? S_OK : S_FALSE;
}

}  // extern "C"

namespace platform::com {

HRESULT CreateErrorInfo(REFIID iid, std::string_view source, std::string_view description,
                        IErrorInfo** info) noexcept {
    return ErrorInfo::Create(nullptr, IID_IErrorInfo, reinterpret_cast<void**>(info), iid, source,
                             description);
}

HRESULT ReportError(REFIID iid, std::string_view source, std::string_view description) noexcept {
    ComPtr<IErrorInfo> info;
    const HRESULT status = CreateErrorInfo(iid, source, description, info.ReleaseAndGetAddressOf());
    if (FAILED(status))
        return status;
    return SetErrorInfo(0, info.Get());
}

std::string TakeErrorDescription() {
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.ReleaseAndGetAddressOf()) != S_OK)
        return {};
    BSTR description = nullptr;
    if (FAILED(info->GetDescription(&description)))
        return {};
    const UniqueBstr owned(description);
    return BstrToUtf8(owned.get());
}

}  // namespace platform::com
