// regsvr [-u] [-s] module: registers an in-process server by calling its DllRegisterServer, or
// removes it with -u (DllUnregisterServer). -s prints nothing. Exit codes as the original tool's:
// 0 done, 1 bad arguments, 3 module not loaded, 4 entry point missing, 5 the call failed.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/com/ErrorInfo.h"
#include "platform/com/Runtime.h"
#include "platform/com/ServerExports.h"
#include "platform/com/SharedLibrary.h"

namespace {

enum ExitCode { kDone = 0, kBadArguments = 1, kNotLoaded = 3, kNoEntryPoint = 4, kCallFailed = 5 };

class ComScope {
  public:
    ComScope() { CoInitialize(nullptr); }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() { CoUninitialize(); }
};

int Usage() {
    std::fputs("usage: regsvr [-u] [-s] module\n", stderr);
    return kBadArguments;
}

int Run(const std::string& module, bool unregister, bool silent) {
    // Absolute, so that a bare name means the working directory, not the library search path,
    // and so that the server registers where it really is.
    const std::string path = std::filesystem::absolute(module).lexically_normal().string();
    const char* entryName =
        unregister ? platform::com::kDllUnregisterServer : platform::com::kDllRegisterServer;
    const ComScope com;
    const platform::com::SharedLibrary library(path);
    if (!library.IsLoaded()) {
        if (!silent)
            std::fprintf(stderr, "regsvr: cannot load %s: %s\n", path.c_str(),
                         library.Error().c_str());
        return kNotLoaded;
    }
    const auto entry = library.Entry<platform::com::DllRegisterServerFunction>(entryName);
    if (entry == nullptr) {
        if (!silent)
            std::fprintf(stderr, "regsvr: %s does not export %s\n", path.c_str(), entryName);
        return kNoEntryPoint;
    }
    platform::com::TakeErrorDescription();
    const HRESULT status = entry();
    if (FAILED(status)) {
        // The server's own words (a damaged store names its file and line) say more than the
        // code.
        const std::string description = platform::com::TakeErrorDescription();
        if (!silent) {
            std::fprintf(stderr, "regsvr: %s in %s failed with 0x%08X%s%s\n", entryName,
                         path.c_str(), static_cast<unsigned>(status),
                         description.empty() ? "" : ": ", description.c_str());
        }
        return kCallFailed;
    }
    if (!silent)
        std::printf("%s in %s succeeded.\n", entryName, path.c_str());
    return kDone;
}

}  // namespace

int main(int argc, char** argv) {
    bool unregister = false;
    bool silent = false;
    std::string module;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-u") {
            unregister = true;
        } else if (argument == "-s") {
            silent = true;
        } else if (argument.starts_with('-') || !module.empty()) {
            return Usage();
        } else {
            module = argument;
        }
    }
    if (module.empty())
        return Usage();
    try {
        return Run(module, unregister, silent);
    } catch (const std::exception& error) {
        if (!silent)
            std::fprintf(stderr, "regsvr: %s\n", error.what());
        return kNotLoaded;
    }
}
