#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "schema/row_schema.hpp"
#include "model/diagnostic.hpp"
#include "model/source_place.hpp"
#include "model/warning_table.hpp"

namespace scenario {

// The relations a row keeps beyond its fields' own ranges: between two fields of the row,
// with the rows before it, with the route. Beside the row schema, each with its warning:
// the compiler warns of a broken one, the reference lists them, the generator of test
// scenarios writes only rows that keep them. A broken relation never changes the
// compiled files.
struct RowRelation {
  Warning warning;
  std::span<const std::string_view> keywords;  // the rows that keep it, as the schema names them
  std::string_view rule;                       // what the rows keep, in the reference's words
  std::string_view held;                       // what the compiled files hold when it is broken
};

// Every relation, in the order of the warnings.
std::span<const RowRelation> row_relations();

// One field of a row as written: its number (0 for a text), its text and where it stands.
struct WrittenField {
  int64_t number = 0;
  std::string_view text;
  std::optional<SourcePlace> place = std::nullopt;
};

// A relation a row breaks: what the author is told, where, and the edit that mends it when
// the mend is clear.
struct BrokenRelation {
  Warning warning;
  std::string message;
  std::optional<SourcePlace> place;
  std::optional<DiagnosticFix> fix = std::nullopt;
};

// The rows read so far, as far as the relations need them; both sources of a scenario pass
// through one watch, line source first.
class RelationWatch {
 public:
  // The relations the row `row` (fields as its schema entry lists them) breaks.
  std::vector<BrokenRelation> row(const RowText& row, std::span<const WrittenField> fields);

 private:
  void check_route_reaches(int64_t position_m, std::string_view keyword, const WrittenField& field,
                           std::vector<BrokenRelation>& broken);
  void check_ordered(std::string_view what, int64_t start_m, int64_t end_m, std::optional<int64_t>& previous_end,
                     const WrittenField& field, std::vector<BrokenRelation>& broken);

  std::optional<int64_t> route_length_m_;
  std::optional<WrittenField> route_length_field_;
  bool route_length_told_ = false;
  std::optional<int64_t> curve_end_m_;
  std::optional<int64_t> mountain_end_m_;
  bool speed_rows_ = false;
  bool adhesion_rows_ = false;
  std::vector<std::pair<int64_t, int64_t>> line_speeds_;  // position, km/h, as written
  std::optional<int64_t> station_time_s_;
  std::string station_name_;
};

// The text of a clock time: "10:05:00".
std::string clock_text(int64_t seconds);

}  // namespace scenario
