#pragma once

#include <QString>

#include <string>
#include <string_view>
#include <vector>

#include "desktop/data/DataCompute.h"

struct DataLayout;
class DataTable;

// The rows of a data file (".txt" written by other programs, or ".out" saved by the data page)
// as the import reads them: leading lines up to the first one that starts with a number are
// skipped; from there every line is one row of blank-separated words, decimal commas read as
// points, at most wordsPerRow words each (further words are ignored, a short line gives fewer;
// a blank line gives an empty row).
struct DataImport {
    std::vector<std::vector<QString>> rows;
    // False when a line that is no data ended the reading: words of which none is a number, or
    // no text at all (a NUL byte or a word longer than kMaxDataWordLength). rows holds the
    // lines before it.
    bool complete = true;
};

inline constexpr int kMaxDataWordLength = 255;

// Whether the line begins, after blanks, with what the C library's "%f" reads as a number
// (digits with an optional sign and point); "nan" and "inf" do not count.
bool StartsWithNumber(std::string_view line);

DataImport ParseDataText(std::string_view text, int wordsPerRow);

// The table that an import of rows makes of the earlier one: each row labelled with its number
// ("1."), its words in the columns from 1 on and every other cell empty, but for the further
// outputs, which keep what the earlier table had in the rows it had.
DataTable ImportedTable(const DataTable& earlier, const DataLayout& layout,
                        std::vector<std::vector<QString>> rows, const DataProgressStep& step = {});

// The ".out" text of the table: the two header rows, then every row, each in the columns
// 1 .. columnCount-1, each cell with '.' written as ',' and followed by a TAB, each row ended by
// "\n".
std::string OutFileText(const DataTable& table, const DataLayout& layout, int columnCount);
