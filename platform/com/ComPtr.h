#pragma once

#include <utility>

#include "platform/com/Unknown.h"

namespace platform::com {

// Holds one reference to an interface: copies AddRef, destruction releases.
template <class T>
class ComPtr {
  public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Shares the caller's reference (AddRef); use Attach to adopt one instead.
    explicit ComPtr(T* pointer) noexcept : pointer_(pointer) {
        if (pointer_ != nullptr)
            pointer_->AddRef();
    }
    ComPtr(const ComPtr& other) noexcept : ComPtr(other.pointer_) {}
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(pointer_, other.pointer_);
        return *this;
    }
    ~ComPtr() { Reset(); }

    // Takes over a reference that the caller owns (a returned out-parameter).
    static ComPtr Attach(T* pointer) noexcept {
        ComPtr result;
        result.pointer_ = pointer;
        return result;
    }
    // Hands the reference to the caller, who must release it.
    T* Detach() noexcept { return std::exchange(pointer_, nullptr); }

    void Reset() noexcept {
        if (T* old = std::exchange(pointer_, nullptr))
            old->Release();
    }

    T* Get() const noexcept { return pointer_; }
    T* operator->() const noexcept { return pointer_; }
    explicit operator bool() const noexcept { return pointer_ != nullptr; }

    // For an out-parameter: releases what is held and lends the slot to be filled.
    T** ReleaseAndGetAddressOf() noexcept {
        Reset();
        return &pointer_;
    }
    void** ReleaseAndGetVoidAddressOf() noexcept {
        return reinterpret_cast<void**>(ReleaseAndGetAddressOf());
    }

    // Asks the object for another of its interfaces.
    template <class U>
    HRESULT As(REFIID iid, ComPtr<U>& other) const noexcept {
        if (pointer_ == nullptr)
            return E_POINTER;
        return pointer_->QueryInterface(iid, other.ReleaseAndGetVoidAddressOf());
    }

  private:
    T* pointer_ = nullptr;
};

}  // namespace platform::com
