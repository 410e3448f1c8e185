#pragma once

#include <array>

#include "com/Kelrun/Kelrun_tlb.h"
#include "platform/com/ComPtr.h"

// Holds one reference to a RuleBaseCOM object of the server; empty for a free slot.
using TCOMIRuleBaseCOM = platform::com::ComPtr<IRuleBaseCOM>;

// The extension's numbered rule-base slots, each holding a server object created through the
// component runtime, and the runtime initialisation that the first creation makes. Nothing
// here throws.
class TContainerArray {
  public:
    static constexpr int kSlotCount = 10;

    TContainerArray() = default;
    TContainerArray(const TContainerArray&) = delete;
    TContainerArray& operator=(const TContainerArray&) = delete;
    ~TContainerArray() { ReleaseAll(); }

    // The object of slot (0..kSlotCount - 1); null for an empty slot.
    IRuleBaseCOM* At(int slot) const noexcept { return slots_[slot].Get(); }
    // Releases the slot's object, if any.
    void Empty(int slot) noexcept { slots_[slot].Reset(); }
    // Releases the slot's object, then creates a new one and has it load the file (UTF-8 name).
    // False, with the slot empty, when no object could be created. A file that does not load
    // still counts as success: the object then reports no inputs.
    bool Load(int slot, const char* fileName) noexcept;
    // Releases every slot, then ends the runtime initialisation if it was made.
    void ReleaseAll() noexcept;

  private:
    TCOMIRuleBaseCOM CreateRuleBase() noexcept;

    std::array<TCOMIRuleBaseCOM, kSlotCount> slots_;
    bool initializationRequested_ = false;
    bool initialized_ = false;
};
