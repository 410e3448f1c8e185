#include "com/Kelrun/ServerModule.h"

#include <atomic>

namespace kelrun {

namespace {

// One per loaded module, as DllCanUnloadNow has no object to ask.
std::atomic<long> lockCount{0};

}  // namespace

void LockModule() noexcept {
    ++lockCount;
}

void UnlockModule() noexcept {
    --lockCount;
}

bool IsModuleLocked() noexcept {
    return lockCount != 0;
}

}  // namespace kelrun
