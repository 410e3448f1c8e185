#pragma once

#include <string>
#include <string_view>

// Replaces the file whole or not at all (see support/FileReplace.h). Throws ESyntax with
// fileName as its text and the message "cannot write file by open", "... by write" or
// "... by rename", followed by ": " and the reason ("Permission denied").
void ReplaceFileText(const std::string& fileName, std::string_view text);
