#include "schema/section_bounds.hpp"

#include "schema/field_reader.hpp"

namespace scenario {

bool begins_general_section(std::string_view field) { return contains_ignoring_case(field, "[generale]"); }

bool ends_general_section(std::string_view field) {
  const size_t first = field.find_first_not_of(" \t");
  const bool dashed = first != std::string_view::npos && field[first] == '-';
  return contains(field, "[") && contains(field, "]") && !dashed;
}

}  // namespace scenario
