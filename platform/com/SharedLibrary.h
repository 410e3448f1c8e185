#pragma once

#include <string>
#include <utility>

#include "platform/com/Types.h"

namespace platform::com {

// A module loaded with dlopen, closed when the object goes. Whoever holds one keeps it alive
// for as long as any object or function of the module may still be used.
class TAVOCOM_API SharedLibrary {
  public:
    SharedLibrary() = default;
    // Loads with every symbol resolved now and kept local to the module; on failure the object
    // is empty and Error() holds the loader's message.
    explicit SharedLibrary(const std::string& path);
    SharedLibrary(SharedLibrary&& other) noexcept;
    SharedLibrary& operator=(SharedLibrary&& other) noexcept;
    ~SharedLibrary();

    bool IsLoaded() const noexcept { return handle_ != nullptr; }
    const std::string& Error() const noexcept { return error_; }

    // Null when the module does not export the name.
    void* Symbol(const char* name) const noexcept;
    template <class Function>
    Function Entry(const char* name) const noexcept {
        return reinterpret_cast<Function>(Symbol(name));
    }

    // Leaves the module loaded for good; for handles still held when the process ends, whose
    // objects may outlive any order of destruction.
    void Detach() noexcept { handle_ = nullptr; }

    void Swap(SharedLibrary& other) noexcept {
        std::swap(handle_, other.handle_);
        std::swap(error_, other.error_);
    }

  private:
    void* handle_ = nullptr;
    std::string error_;
};

// The absolute file name of the loaded module that contains address (a function or variable of
// it); empty when no module does. Servers use it to register their own path.
TAVOCOM_API std::string ModuleFileName(const void* address);

}  // namespace platform::com
