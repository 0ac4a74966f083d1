#pragma once

#include <span>
#include <string>
#include <string_view>

namespace scenario {

// The source-format reference's row tables, made from the row schema.

// The table of the rows named by their keywords, in Markdown: one line per row with its
// fields in order when there are several, one line per field when there is one; the one
// name "relations" gives the relations between rows, one line per warning, and the one
// name "cell kinds" the kinds of track cell, one line per kind.
std::string row_table_markdown(std::span<const std::string_view> keywords);

// `reference` with every row table brought up to date: each block that begins with a line
// "<!-- row table: KEYWORD, KEYWORD -->" and ends with "<!-- row table ends -->" gets the
// table of its rows between those two lines.
std::string with_current_row_tables(std::string_view reference);

}  // namespace scenario
