#include "mex/TContainerArray.h"

#include "platform/com/Bstr.h"
#include "platform/com/Runtime.h"

namespace {

// Every server kind is acceptable; a runtime that knows no remote servers refuses the request
// with E_INVALIDARG, and then the local kinds alone are asked for.
constexpr DWORD kAnyServer = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
constexpr DWORD kLocalServer = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER;

}  // namespace

bool TContainerArray::Load(int slot, const char* fileName) noexcept {
    Empty(slot);
    const platform::com::UniqueBstr name(platform::com::Utf8ToBstr(fileName));
    if (!name)
        return false;
    TCOMIRuleBaseCOM ruleBase = CreateRuleBase();
    if (!ruleBase)
        return false;
    ruleBase->LoadFromFile(name.get());
    slots_[slot] = std::move(ruleBase);
    return true;
}

void TContainerArray::ReleaseAll() noexcept {
    for (TCOMIRuleBaseCOM& slot : slots_)
        slot.Reset();
    if (initialized_)
        CoUninitialize();
    initializationRequested_ = false;
    initialized_ = false;
}

TCOMIRuleBaseCOM TContainerArray::CreateRuleBase() noexcept {
    if (!initializationRequested_) {
        initializationRequested_ = true;
        initialized_ = SUCCEEDED(CoInitialize(nullptr));
    }
    TCOMIRuleBaseCOM ruleBase;
    HRESULT status = CoCreateInstance(CLSID_RuleBaseCOM, nullptr, kAnyServer, IID_IRuleBaseCOM,
                                      ruleBase.ReleaseAndGetVoidAddressOf());
    if (status == E_INVALIDARG) {
        status = CoCreateInstance(CLSID_RuleBaseCOM, nullptr, kLocalServer, IID_IRuleBaseCOM,
                                  ruleBase.ReleaseAndGetVoidAddressOf());
    }
    if (FAILED(status))
        ruleBase.Reset();
    return ruleBase;
}
