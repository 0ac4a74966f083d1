#include "compiler/service_source_reader.hpp"

#include <string>
#include <string_view>
#include <vector>

#include "schema/field_reader.hpp"
#include "compiler/kilometre_posts.hpp"
#include "compiler/row_placing.hpp"
#include "schema/row_schema.hpp"
#include "schema/section_bounds.hpp"
#include "compiler/relation_warnings.hpp"
#include "compiler/row_shape.hpp"
#include "compiler/service_section_rows.hpp"
#include "compiler/source_warnings.hpp"
#include "model/windows_1252.hpp"
#include "compiler/fault_recording.hpp"
#include "model/fault_table.hpp"
#include "model/format_rules.hpp"

namespace scenario {
namespace {

// Reads rows until the source ends or a row ends the reading, and says what ended it. The
// last field of the source is never taken as a keyword field: its row could have no fields
// behind it.
RowOutcome::Next read_rows(ServiceRowContext& r) {
  RowShape shape(r.compile, r.reader);
  const std::vector<std::string_view> spellings = section_spellings(service_section());
  while (!r.reader.at_end()) {
    std::string keyword = r.reader.read_text();
    if (r.reader.at_end()) return RowOutcome::Next::kEndReading;
    for (int i = 0; i < kDashesAfterGeneral && contains(keyword, "-"); ++i) {
      shape.dashed_field(keyword);
      keyword = r.reader.read_text();
      if (r.reader.at_end()) return RowOutcome::Next::kEndReading;
    }
    shape.start_row();
    const RowText* matched = nullptr;
    const std::string lower = lower_case_1252(keyword);
    RowOutcome outcome = place_service_rows(r, keyword, lower, matched);
    if (outcome.fault) record_row_fault(r.compile, std::move(*outcome.fault));
    if (outcome.next != RowOutcome::Next::kStop) warn_of_broken_relations(r.compile, r.reader, matched);
    if (!outcome.goes_on()) return outcome.next;
    shape.end_row(matched, keyword, {spellings, service_section().headers, matched ? std::string_view{} : row_matched_but_for_capitals(service_section(), lower)});
  }
  return RowOutcome::Next::kEndReading;
}

// The row whose values became `slot` once progressive_ordina had ordered and corrected it.
const KilometrePostRow* row_of_slot(const SimRecord& slot, const std::vector<KilometrePostRow>& rows) {
  for (const KilometrePostRow& row : rows) {
    const int64_t corrected = row.offset + (row.direction == kFallingDirection ? kFallingOffsetCorrection_m : 0);
    if (row.position == slot.start_m && row.direction == slot.position_m && corrected == slot.end_m) return &row;
  }
  return nullptr;
}

// Slots 81 to 83 hold the kilometre-post changes; their first two values must fall on cell
// boundaries. The fault points at the row that gave the values.
void check_kilometre_posts(CompileContext& context, const std::vector<KilometrePostRow>& rows) {
  const ScenarioModel& model = context.model;
  for (const int slot : kKilometrePostSlots) {
    const SimRecord& post = model.record(slot);
    if (post.start_m % kCellLength_m != 0 || post.end_m % kCellLength_m != 0) {
      if (const KilometrePostRow* row = row_of_slot(post, rows))
        record_fault_of_row(context, Fault::kKilometrePostNotMultipleOf50, row->place);
      else
        record_fault(context, Fault::kKilometrePostNotMultipleOf50);
      return;
    }
  }
}

// What the scenario needs from a service source that it did not get.
void warn_of_missing_rows(const CompileContext& context, std::string_view text, const FieldReader& reader,
                          const ServiceRowContext& r, bool found_general) {
  const SourcePlace top = reader.place_of(0);
  if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
    report_error(context, "the service source is empty: no station, signal or line speed would be compiled", top);
    return;
  }
  if (!found_general) {
    report_error(context,
                 "the service source has no [generale] line: everything in it is skipped, so no station, signal or "
                 "line speed would be compiled",
                 top);
    return;
  }
  if (r.speed_rows == 0)
    report_warning(context, Warning::kMissingRows, "the service source has no velocita row: the line speed is 0 along the whole route", top);
  if (r.adhesion_rows == 0)
    report_warning(context, Warning::kMissingRows, "the service source has no aderenza row: the adhesion is 0 along the whole route", top);
  if (r.station_rows == 0) report_warning(context, Warning::kMissingRows, "the service source has no stazione row: the route has no station", top);
}

}  // namespace

void read_service_source(CompileContext& context, SourceFile& service_source, int32_t board_slot_counter,
                         const std::vector<KilometrePostRow>& kilometre_post_rows) {
  const std::string_view text = service_source.contents();
  FieldReader reader(text, service_source.name());
  warn_of_texts_over_lines(context, reader);
  warn_if_utf8(context, reader, text);
  // Everything before "[generale]" is skipped; a source without it is read to its end.
  bool found_general = false;
  while (!reader.at_end() && !found_general) found_general = begins_general_section(reader.read_text());

  ServiceRowContext reading{context, reader, CellFill{FillTarget::kSpeedLimit}, CellFill{FillTarget::kAdhesion},
                         StationSlots{kFirstStationSlot, board_slot_counter}};
  const RowOutcome::Next end = read_rows(reading);
  service_source.discard();
  if (end == RowOutcome::Next::kStop) return;

  context.row_place.reset();
  if (end == RowOutcome::Next::kEndReading && reader.at_end()) warn_of_missing_rows(context, text, reader, reading, found_general);
  complete_fill(context.model, reading.speed);
  complete_fill(context.model, reading.adhesion);
  check_kilometre_posts(context, kilometre_post_rows);
}

}  // namespace scenario
