#include "platform/com/SharedLibrary.h"

#include <dlfcn.h>

#include <filesystem>
#include <utility>

namespace platform::com {

SharedLibrary::SharedLibrary(const std::string& path)
    : handle_(::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    if (handle_ == nullptr) {
        const char* message = ::dlerror();
        error_ = message != nullptr ? message : "cannot load " + path;
    }
}

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_)) {}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept {
    SharedLibrary(std::move(other)).Swap(*this);
    return *this;
}

SharedLibrary::~SharedLibrary() {
    if (handle_ != nullptr)
        ::dlclose(handle_);
}

void* SharedLibrary::Symbol(const char* name) const noexcept {
    return handle_ != nullptr ? ::dlsym(handle_, name) : nullptr;
}

std::string ModuleFileName(const void* address) {
    Dl_info info{};
    if (::dladdr(address, &info) == 0 || info.dli_fname == nullptr || *info.dli_fname == '\0') {
        return {};
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(info.dli_fname, error);
    return error ? std::string(info.dli_fname) : absolute.lexically_normal().string();
}

}  // namespace platform::com
