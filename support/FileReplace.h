#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

// A file that could not be replaced: the step that failed and why, for the file named.
class FileReplaceError : public std::runtime_error {
  public:
    FileReplaceError(const std::string& message, std::string fileName)
        : std::runtime_error(message), fileName_(std::move(fileName)) {}
    const std::string& FileName() const { return fileName_; }

  private:
    std::string fileName_;
};

// Replaces the file that fileName names by text, whole or not at all, as a direct write would
// but without ever leaving it half written:
// - a symbolic link is followed to its final target, which is replaced; the link stays;
// - a target that exists and is not a regular file (a directory, FIFO or device) is refused
//   and left alone, and so is one that this process may not open for writing;
// - the new file keeps the old one's mode, and its owner and group where the process may set
//   them; a new file gets the mode a direct creation would give it;
// - the text goes to a temporary file of a name unique to this attempt in the target's
//   directory, reaches the disk and is then renamed over the target; the temporary file is
//   removed on every failure.
// Throws FileReplaceError with the message "cannot write file by open", "... by write" or
// "... by rename", followed by ": " and the reason ("Permission denied").
void ReplaceFile(const std::string& fileName, std::string_view text);
