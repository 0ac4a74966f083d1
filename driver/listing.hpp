#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

namespace scenario {

// What inspect shows of a compiled file, independent of the output form: a few summary
// fields and one row per cell, record or point. The plain table and the JSON document are
// two renderings of the same listing, so they cannot tell different stories.
using ListingValue = std::variant<int64_t, double, std::string>;

struct ListingField {
  std::string name;
  ListingValue value;
};

struct ListingRow {
  std::vector<ListingField> columns;  // the same names in every row of a listing
  std::vector<ListingField> details;  // per-row fields (a record's role-specific values)
};

// Calls its argument with each row in order; it may be run more than once (the table
// measures its columns first), so that no row is held: a large file lists in the memory
// of its decoded elements.
using ListingRows = std::function<void(const std::function<void(const ListingRow&)>&)>;

struct Listing {
  std::string file;       // the path as given
  std::string file_kind;  // "track cells", "scenario records", "line plan"
  std::vector<ListingField> summary;
  std::string rows_name;     // "cells", "records", "points"
  std::string details_name;  // the JSON key of the details, when rows have any
  ListingRows rows = [](const auto&) {};
};

// Texts in a listing are UTF-8. The table shows doubles with three decimals (millimetres);
// JSON carries them in full, non-finite ones as null.
void print_table(const Listing& listing, std::ostream& out);
void print_json(const Listing& listing, std::ostream& out);

}  // namespace scenario
