#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sources/line_table.hpp"

namespace scenario {

// The forms are drawn in Windows-1252, one byte per column; columns count from 1.

// A row of a boxed table: "|" in every bar column, `fill` between them, blanks before the
// first; the line ends at the last bar.
std::string bar_line(std::span<const int> bars, char fill);

// `count` blanks, then a run of "_" from column `count` + 1 to `last_column`.
std::string edge_line(int blanks, int last_column);

// Writes `text` into `line` from `column`, cut at the cell's last column `last`.
void put_text(std::string& line, int column, std::string_view text, int last);

// As put_text, but moved left as far as the text needs to end inside the cell, never before
// the cell's first column `first`.
void put_fitted(std::string& line, int column, std::string_view text, int first, int last);

// `text` right-aligned to column `right`, cut at the cell's first column `first`.
void put_right(std::string& line, int right, std::string_view text, int first);

// `text` in the middle of columns first..last (one blank more on the right when the two
// sides cannot be equal), cut at `last`.
void put_centred(std::string& line, int first, int last, std::string_view text);

// The bytes of a drawn form's file: each line as it is, then CR LF, as a line table's
// file. Throws std::length_error when the form is longer than a table holds.
std::string form_bytes(const std::vector<std::string>& lines_1252);

}  // namespace scenario
