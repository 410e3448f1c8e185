#include "core/io/FileReplace.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/text/ESyntax.h"

void ReplaceFileText(const std::string& fileName, std::string_view text) {
    // "x" refuses a name that exists, so that two writers never share a temporary file.
    constexpr int kTemporaryNameAttempts = 100;
    std::string temporaryName;
    std::FILE* file = nullptr;
    for (int attempt = 0; attempt < kTemporaryNameAttempts && file == nullptr; ++attempt) {
        temporaryName = fileName + ".~" + std::to_string(attempt) + ".tmp";
        file = std::fopen(temporaryName.c_str(), "wbx");
    }
    if (file == nullptr)
        throw ESyntax("cannot write file by open", 0, fileName);
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::remove(temporaryName.c_str());
        throw ESyntax("cannot write file by write", 0, fileName);
    }
    std::error_code error;
    std::filesystem::rename(temporaryName, fileName, error);
    if (error) {
        std::remove(temporaryName.c_str());
        throw ESyntax("cannot write file by rename", 0, fileName);
    }
}
