#include "core/io/FileReplace.h"

#include "core/text/ESyntax.h"
#include "support/FileReplace.h"

void ReplaceFileText(const std::string& fileName, std::string_view text) {
    try {
        ReplaceFile(fileName, text);
    } catch (const FileReplaceError& error) {
        throw ESyntax(error.what(), 0, error.FileName());
    }
}
