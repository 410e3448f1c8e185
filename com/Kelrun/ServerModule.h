#pragma once

// The lock count of the server module: live objects, class factories and the locks taken with
// IClassFactory::LockServer. The runtime may unload the module only while it is 0.
namespace kelrun {

void LockModule() noexcept;
void UnlockModule() noexcept;
bool IsModuleLocked() noexcept;

// Holds one lock for the life of the object that owns it.
class ModuleLock {
  public:
    ModuleLock() noexcept { LockModule(); }
    ModuleLock(const ModuleLock&) = delete;
    ModuleLock& operator=(const ModuleLock&) = delete;
    ~ModuleLock() { UnlockModule(); }
};

}  // namespace kelrun
