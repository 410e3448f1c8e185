#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Scanning of NUL-terminated byte strings with a moving cursor. Every function stops at the
// terminating NUL and never reads past it. Bytes are compared as signed characters, so bytes
// 0x80-0xFF count as control characters (below 32) wherever a test compares with 32.

// True when the byte at p is LF or CR.
bool IsLineEnd(const char* p);

// Advances over bytes 1..32; stops at NUL and at bytes 0x80-0xFF.
void SkipSpace(const char*& p);

// Steps over one line end: CR LF and LF CR count as one, LF LF as two.
void SkipLineEnd(const char*& p);

// Steps back over one line end before the cursor (CR LF counts as one), never before limit.
void BackOverLineEnd(const char*& p, const char* limit);

// Advances to the next line end or NUL, then over that line end.
void NextLine(const char*& p);

// Advances to the next ',', line end or NUL, then over commas and blanks that are not line ends.
void NextItem(const char*& p);

// Advances over decimal digits and the characters + - e E .
void SkipNumber(const char*& p);

// Removes the trailing bytes below 33 (blanks, control characters, bytes 0x80-0xFF).
void TrimRight(std::string& s);

// The bytes [start, end); with end null, from start up to the first byte below 32 or ','.
std::string CopyToken(const char* start, const char* end = nullptr);

// The number of comma-separated items on the line that starts after the leading space
// (0 when nothing but space follows).
int CountItems(const char* s);

// Reads up to maxCount blank-separated numbers, each converted as C's "%f" into a float and
// widened; stops at the first text that is not a number.
std::vector<double> ReadNumbers(const char* s, int maxCount);

// Sets the delimiters ( ) < > { } , and bytes below 33 apart by single blanks and shrinks runs
// of blanks to one; leading blanks and one trailing blank are dropped.
std::string SpaceOut(const char* s);

// Splits at every ' '; an empty string gives no pieces, otherwise 1 + the number of blanks.
std::vector<std::string> SplitBySpaces(const char* s);

// The whole file, byte for byte. Throws ESyntax with the file name as its text:
// "cannot read file by open", "cannot read file by seek 1", "cannot read file by seek 2",
// or "cannot read file by read" when the bytes cannot be read whole.
std::string ReadFileText(const std::string& fileName);

// The text between the first startMarker and the first endMarker after it, without the blanks
// and one line end next to each marker; with no endMarker, the item after startMarker up to its
// line end or first ','. A missing marker throws ESyntax("missing: " + marker, 0, text) when
// strict is set, and gives nullopt otherwise.
std::optional<std::string> ExtractBetweenMarkers(const char* text, std::string_view startMarker,
                                                 std::optional<std::string_view> endMarker,
                                                 bool strict);
