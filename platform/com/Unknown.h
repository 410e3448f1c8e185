#pragma once

#include "platform/com/Guid.h"

// The root of every component interface. Interfaces are abstract classes whose virtual table is
// the contract between modules, so they have no virtual destructor: an object goes when its last
// reference is released. Their methods report failures as HRESULTs and never throw.
class IUnknown {
  public:
    virtual HRESULT QueryInterface(REFIID iid, void** object) noexcept = 0;
    virtual ULONG AddRef() noexcept = 0;
    virtual ULONG Release() noexcept = 0;

  protected:
    ~IUnknown() = default;
};

class IClassFactory : public IUnknown {
  public:
    // A non-null outer asks for an aggregated object; a factory that cannot aggregate answers
    // CLASS_E_NOAGGREGATION.
    virtual HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) noexcept = 0;
    // Keeps the server module loaded while locks are held, even without objects.
    virtual HRESULT LockServer(BOOL lock) noexcept = 0;

  protected:
    ~IClassFactory() = default;
};

inline constexpr IID IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IClassFactory{0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
