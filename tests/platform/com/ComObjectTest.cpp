#include "platform/com/ComObject.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "platform/com/ComPtr.h"

namespace {

using platform::com::ComPtr;

class ICounter : public IUnknown {
  public:
    virtual int Next() noexcept = 0;

  protected:
    ~ICounter() = default;
};

inline constexpr IID IID_ICounter{
    0x2B5E6C10, 0x41A7, 0x4E0B, {0x8A, 0x52, 0x13, 0x6F, 0x0C, 0x7D, 0x2E, 0x91}};

enum class Failure { None, Memory, Other };

class Counter final : public platform::com::ComObject<Counter, ICounter, IID_ICounter> {
  public:
    Counter(int& alive, Failure failure = Failure::None) : alive_(alive) {
        if (failure == Failure::Memory)
            throw std::bad_alloc();
        if (failure == Failure::Other)
            throw std::runtime_error("refused");
        ++alive_;
    }
    ~Counter() { --alive_; }

    int Next() noexcept override { return ++count_; }

  private:
    int& alive_;
    int count_ = 0;
};

// Counts what an aggregated object forwards to its outer object.
class Outer final : public IUnknown {
  public:
    HRESULT QueryInterface(REFIID, void** object) noexcept override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() noexcept override { return ++references; }
    ULONG Release() noexcept override { return --references; }

    ULONG references = 1;
};

TEST(ComObject, CountsReferencesAndAnswersForItsInterfaceOnly) {
    int alive = 0;
    ComPtr<ICounter> counter;
    ASSERT_EQ(Counter::Create(nullptr, IID_ICounter, counter.ReleaseAndGetVoidAddressOf(), alive),
              S_OK);
    EXPECT_EQ(alive, 1);
    EXPECT_EQ(counter->Next(), 1);
    ComPtr<IUnknown> identity;
    ASSERT_EQ(counter.As(IID_IUnknown, identity), S_OK);
    ComPtr<ICounter> same;
    ASSERT_EQ(identity.As(IID_ICounter, same), S_OK);
    EXPECT_EQ(same.Get(), counter.Get());
    EXPECT_EQ(same->Next(), 2);
    ComPtr<IClassFactory> other;
    EXPECT_EQ(counter.As(IID_IClassFactory, other), E_NOINTERFACE);
    EXPECT_EQ(counter->QueryInterface(IID_ICounter, nullptr), E_POINTER);
    EXPECT_EQ(counter->AddRef(), 4u);
    EXPECT_EQ(counter->Release(), 3u);
    counter.Reset();
    identity.Reset();
    EXPECT_EQ(alive, 1);
    same.Reset();  // the last reference deletes the object
    EXPECT_EQ(alive, 0);

    ComPtr<IClassFactory> wrong;
    EXPECT_EQ(
        Counter::Create(nullptr, IID_IClassFactory, wrong.ReleaseAndGetVoidAddressOf(), alive),
        E_NOINTERFACE);
    EXPECT_EQ(alive, 0);  // made and dropped
    EXPECT_EQ(Counter::Create(nullptr, IID_ICounter, nullptr, alive), E_POINTER);
}

TEST(ComObject, AnAggregatedObjectForwardsItsInterfacesIUnknownToTheOuterObject) {
    int alive = 0;
    Outer outer;
    ComPtr<ICounter> refused;
    EXPECT_EQ(Counter::Create(&outer, IID_ICounter, refused.ReleaseAndGetVoidAddressOf(), alive),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(alive, 0);

    IUnknown* inner = nullptr;
    ASSERT_EQ(Counter::Create(&outer, IID_IUnknown, reinterpret_cast<void**>(&inner), alive), S_OK);
    ICounter* counter = nullptr;
    ASSERT_EQ(inner->QueryInterface(IID_ICounter, reinterpret_cast<void**>(&counter)), S_OK);
    EXPECT_EQ(outer.references, 2u);
    EXPECT_EQ(counter->Next(), 1);
    void* unknown = nullptr;
    EXPECT_EQ(counter->QueryInterface(IID_IUnknown, &unknown),
              E_NOINTERFACE);  // the outer's answer
    counter->Release();
    EXPECT_EQ(outer.references, 1u);
    EXPECT_EQ(alive, 1);
    EXPECT_EQ(inner->Release(), 0u);
    EXPECT_EQ(alive, 0);
}

TEST(ComObject, AConstructionThatThrowsIsReported) {
    int alive = 0;
    ComPtr<ICounter> counter;
    EXPECT_EQ(Counter::Create(nullptr, IID_ICounter, counter.ReleaseAndGetVoidAddressOf(), alive,
                              Failure::Memory),
              E_OUTOFMEMORY);
    EXPECT_EQ(Counter::Create(nullptr, IID_ICounter, counter.ReleaseAndGetVoidAddressOf(), alive,
                              Failure::Other),
              E_UNEXPECTED);
    EXPECT_FALSE(counter);
}

}  // namespace
