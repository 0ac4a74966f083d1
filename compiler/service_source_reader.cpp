#include "compiler/service_source_reader.hpp"

#include <string>

#include "compiler/field_reader.hpp"
#include "compiler/fills.hpp"
#include "compiler/service_rows.hpp"
#include "compiler/signals.hpp"
#include "compiler/slowdowns.hpp"
#include "compiler/stations.hpp"
#include "model/windows_1252.hpp"
#include "model/fault_record.hpp"
#include "model/fault_table.hpp"

namespace scenario {
namespace {

// A field with a dash in it stands for the field behind it, at most twice in a row.
constexpr int kDashReplacements = 2;

// The reading state of the service source.
struct ServiceReading {
  ScenarioModel& model;
  FieldReader& reader;
  CellFill speed;
  CellFill adhesion;
  StationSlots stations;
};

// Makes the ten keyword tests in order on one (lower-cased) keyword field. Every test that
// matches reads its row at once and the later tests still run, so a field holding two
// keywords reads two rows; a row that ends the reading stops the tests.
RowOutcome dispatch_keyword(ServiceReading& r, const std::string& keyword) {
  ScenarioModel& model = r.model;
  FieldReader& reader = r.reader;
  RowOutcome end = RowOutcome::kNext;
  if (contains(keyword, "frenata") && contains(keyword, "massa"))
    model.record(kServiceDataSlot).start_m = reader.read_long();
  if (contains(keyword, "vetture")) model.record(kServiceDataSlot).position_m = reader.read_long();
  if (contains(keyword, "velocit") && (end = read_fill_row(model, reader, r.speed)) != RowOutcome::kNext) return end;
  if (contains(keyword, "aderenza") && (end = read_fill_row(model, reader, r.adhesion)) != RowOutcome::kNext) return end;
  if (contains(keyword, "orologio")) {
    SimRecord& header = model.record(kScenarioNumberSlot);
    header.p10 = reader.read_integer();
    header.p11 = reader.read_integer();
    header.p12 = reader.read_integer();
  }
  if (contains(keyword, "sabbia")) model.record(kScenarioNumberSlot).p7 = reader.read_integer();
  if (contains(keyword, "segnale") && (end = read_signal_row(model, reader)) != RowOutcome::kNext) return end;
  if (contains(keyword, "rallentamento") && (end = read_slowdown_row(model, reader)) != RowOutcome::kNext) return end;
  if (contains(keyword, "abbattimento") && (end = read_code_reduction_row(model, reader)) != RowOutcome::kNext)
    return end;
  if (contains(keyword, "stazione") && (end = read_station_row(model, reader, r.stations)) != RowOutcome::kNext)
    return end;
  return RowOutcome::kNext;
}

// Reads rows until the source ends or a row ends the reading. The last field of the source
// is never taken as a keyword field: its row could have no fields behind it.
RowOutcome read_rows(ServiceReading& r) {
  while (!r.reader.at_end()) {
    std::string keyword = r.reader.read_text();
    if (r.reader.at_end()) return RowOutcome::kEndReading;
    for (int i = 0; i < kDashReplacements && contains(keyword, "-"); ++i) {
      keyword = r.reader.read_text();
      if (r.reader.at_end()) return RowOutcome::kEndReading;
    }
    r.model.row_place = r.reader.last_field_place();
    const RowOutcome end = dispatch_keyword(r, lower_case_1252(keyword));
    if (end != RowOutcome::kNext) return end;
  }
  return RowOutcome::kEndReading;
}

// Slots 81 to 83 hold the kilometre-post changes; their first two values must fall on cell
// boundaries.
void check_kilometre_posts(ScenarioModel& model) {
  for (const int slot : kKilometrePostSlots) {
    const SimRecord& post = model.record(slot);
    if (post.start_m % kCellLength_m != 0 || post.end_m % kCellLength_m != 0) {
      record_fault(model, Fault::kKilometrePostNotMultipleOf50);
      return;
    }
  }
}

}  // namespace

void read_service_source(ScenarioModel& model, SourceFile& service_source, int32_t board_slot_counter) {
  FieldReader reader(service_source.contents(), service_source.name());
  // Everything before "[generale]" is skipped; a source without it is read to its end.
  while (!reader.at_end() && !contains_ignoring_case(reader.read_text(), "[generale]")) {
  }

  ServiceReading reading{model, reader, CellFill{FillTarget::kSpeedLimit}, CellFill{FillTarget::kAdhesion},
                         StationSlots{kFirstStationSlot, board_slot_counter}};
  const RowOutcome end = read_rows(reading);
  service_source.discard();
  if (end == RowOutcome::kFaultExit) return;

  model.row_place.reset();
  complete_fill(model, reading.speed);
  complete_fill(model, reading.adhesion);
  check_kilometre_posts(model);
}

}  // namespace scenario
