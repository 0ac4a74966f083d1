#pragma once

#include <string>
#include <vector>

#include "reading/reading_document.hpp"

namespace scenario {

inline constexpr const char* kChangeArrow = " \xE2\x86\x92 ";  // →, between a value before and after

// One change between two builds: a line for a person, an object of its parts for a script.
struct Change {
  std::string kind;    // the sort of thing: "station", "signal", "slowdown", "cell", "record", "fill", ...
  std::string change;  // "added", "removed", "moved" or "changed"
  std::string what;    // the thing in words: "slowdown at 17 900 m"
  std::vector<DocumentField> where;  // what finds it for a script: its slot, its position_m, its cell
  std::string field;                 // snake_case with its unit ("speed_kmh"); "" for the whole thing
  std::string words;                 // the field as the line says it; "" for the values alone
  DocumentValue before;
  DocumentValue after;
  std::string unit = "";  // said once, after both values: "60 → 40 km/h"
  std::string line = "";  // the line's words after "what: ", when "words before → after" would not do
};

// The change as a row: kind, change, what, its where, field, before, after, and the line
// the text form prints.
DocumentRow change_row(Change change);

// The change as a row of the section `group` (made when it is the group's first change).
void add_change(ReadingDocument& document, const std::string& group, Change change);

// Rows of changes made as they are printed (change_row of each), after the rows of the
// section `group` (made when it is the group's first change).
void add_made_changes(ReadingDocument& document, const std::string& group, RowMaker rows);

// Every change of `from` added to `into`, group by group, made rows included.
void merge_changes(ReadingDocument& into, ReadingDocument from);

// A number for a script, grouped in thousands for a person ("17 900").
DocumentValue grouped_value(int64_t number);

// A text of the compiled files (Windows-1252) in quotes, as UTF-8: "'PAVIA'".
std::string quoted_1252(const std::string& text_1252);

}  // namespace scenario
