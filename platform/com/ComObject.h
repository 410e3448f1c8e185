#pragma once

#include <atomic>
#include <memory>
#include <new>
#include <utility>

#include "platform/com/Unknown.h"

namespace platform::com {

// IUnknown for a class that implements one interface besides IUnknown:
//
//     class Adder final : public ComObject<Adder, IAdder, IID_IAdder> { ... };
//
// QueryInterface answers IUnknown and InterfaceId, references are counted atomically, and the
// last Release deletes the Derived object. A new object starts with one reference, which its
// maker owns. An object made by Create with an outer object is aggregated in it: the
// interface's three IUnknown methods then go to the outer object, which holds the object's own
// IUnknown and alone controls its life.
template <class Derived, class Interface, const IID& InterfaceId>
class ComObject : public Interface {
  public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT QueryInterface(REFIID iid, void** object) noexcept final {
        return controlling_->QueryInterface(iid, object);
    }
    ULONG AddRef() noexcept final { return controlling_->AddRef(); }
    ULONG Release() noexcept final { return controlling_->Release(); }

    // What a class factory's CreateInstance does: makes a Derived from arguments, aggregated in
    // outer unless it is null, and asks it for iid. An aggregated object can only be asked for
    // IUnknown (CLASS_E_NOAGGREGATION otherwise). E_OUTOFMEMORY when the construction runs out
    // of memory, E_UNEXPECTED when it throws anything else.
    template <class... Arguments>
    static HRESULT Create(IUnknown* outer, REFIID iid, void** object,
                          Arguments&&... arguments) noexcept {
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        if (outer != nullptr && iid != IID_IUnknown)
            return CLASS_E_NOAGGREGATION;
        try {
            auto created = std::make_unique<Derived>(std::forward<Arguments>(arguments)...);
            ComObject& base = *created;
            if (outer != nullptr)
                base.controlling_ = outer;
            IUnknown& identity = base.identity_;
            const HRESULT status = identity.QueryInterface(iid, object);
            created.release();
            identity.Release();  // the maker's reference: the object now lives by *object, if any
            return status;
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_UNEXPECTED;
        }
    }

  protected:
    ComObject() noexcept = default;
    ~ComObject() = default;

  private:
    // The object's own IUnknown, which counts its references.
    class Identity final : public IUnknown {
      public:
        explicit Identity(ComObject& owner) noexcept : owner_(owner) {}

        HRESULT QueryInterface(REFIID iid, void** object) noexcept override {
            if (object == nullptr)
                return E_POINTER;
            if (iid == IID_IUnknown) {
                AddRef();
                *object = static_cast<IUnknown*>(this);
            } else if (iid == InterfaceId) {
                Interface* answer = &owner_;
                answer->AddRef();  // the outer object's count when aggregated
                *object = answer;
            } else {
                *object = nullptr;
                return E_NOINTERFACE;
            }
            return S_OK;
        }
        ULONG AddRef() noexcept override { return ++references_; }
        ULONG Release() noexcept override {
            const ULONG remaining = --references_;
            if (remaining == 0) {
                const std::unique_ptr<Derived> last(static_cast<Derived*>(&owner_));
            }
            return remaining;
        }

      private:
        ComObject& owner_;
        std::atomic<ULONG> references_{1};
    };

    Identity identity_{*this};
    IUnknown* controlling_ = &identity_;
};

}  // namespace platform::com
