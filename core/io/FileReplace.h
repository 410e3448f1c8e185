#pragma once

#include <string>
#include <string_view>

// Writes text whole under a fresh name beside fileName, then renames it over fileName, so that a
// failure leaves an existing file as it was. Throws ESyntax with the file name as its text:
// "cannot write file by open", "cannot write file by write" or "cannot write file by rename".
void ReplaceFileText(const std::string& fileName, std::string_view text);
