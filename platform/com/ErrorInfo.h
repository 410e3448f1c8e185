#pragma once

#include <string>
#include <string_view>

#include "platform/com/Unknown.h"

// What went wrong in a component's last failed call. A component records it for the calling
// thread; the caller takes it when the call's answer tells it that something failed.
class IErrorInfo : public IUnknown {
  public:
    // The interface whose method failed.
    virtual HRESULT GetGUID(GUID* guid) noexcept = 0;
    // The class's ProgID. The caller frees the BSTR results.
    virtual HRESULT GetSource(BSTR* source) noexcept = 0;
    virtual HRESULT GetDescription(BSTR* description) noexcept = 0;
    // Null: there is no help file.
    virtual HRESULT GetHelpFile(BSTR* helpFile) noexcept = 0;
    virtual HRESULT GetHelpContext(DWORD* helpContext) noexcept = 0;

  protected:
    ~IErrorInfo() = default;
};

inline constexpr IID IID_IErrorInfo{
    0x1CF2B120, 0x547D, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};

extern "C" {
// Makes info (AddRef) the calling thread's error information in place of what was there; null
// clears it. reserved must be 0.
TAVOCOM_API HRESULT SetErrorInfo(ULONG reserved, IErrorInfo* info) noexcept;
// Hands the calling thread's error information to the caller, who releases it, and clears it:
// S_OK with it, S_FALSE and null when there is none. reserved must be 0.
TAVOCOM_API HRESULT GetErrorInfo(ULONG reserved, IErrorInfo** info) noexcept;
}

namespace platform::com {

// A new error information object with a reference for the caller. It lives in the runtime, so
// it outlives the server module that reported it.
TAVOCOM_API HRESULT CreateErrorInfo(REFIID iid, std::string_view source,
                                    std::string_view description, IErrorInfo** info) noexcept;
// Records a failure of a method of iid as the calling thread's error information.
TAVOCOM_API HRESULT ReportError(REFIID iid, std::string_view source,
                                std::string_view description) noexcept;
// The description of the calling thread's error information, which it clears; "" when there
// is none.
TAVOCOM_API std::string TakeErrorDescription();

}  // namespace platform::com
