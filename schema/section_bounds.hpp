#pragma once

#include <string_view>

namespace scenario {

// Where the sections of a source begin and end, as the readers take them on a field (the
// language server's outline takes them the same way on the first field of a line).

// The general section of either source begins at the first field that holds "[generale]",
// in any letter case; everything before it is skipped.
bool begins_general_section(std::string_view field);

// A keyword field that holds a header ("[curve]", also a second "[generale]") ends the
// general section of the line source; one that begins with a dash does not, as a dash marks
// a field that stands for the next.
bool ends_general_section(std::string_view field);

// A keyword field with a dash in it stands for the field behind it, which is read as the
// keyword field instead: up to this many in a row in the general section of the line
// source, and up to this many in its main section and in the service source.
inline constexpr int kGeneralSectionDashes = 10;
inline constexpr int kDashesAfterGeneral = 2;

}  // namespace scenario
