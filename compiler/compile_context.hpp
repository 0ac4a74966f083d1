#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>

#include "compiler/row_relations.hpp"
#include "model/fault_record.hpp"
#include "model/scenario_model.hpp"
#include "model/source_place.hpp"
#include "schema/row_schema.hpp"

namespace scenario {

// The row that put the item of a cell there, and the position the row was written at.
struct CellOrigin {
  SourcePlace row;
  int32_t position_m = 0;
};

// What the compile keeps beside the model while it reads the sources: none of it goes
// into the compiled files. The places point into the sources, so a context lives no longer
// than the sources it compiled.
struct CompileContext {
  explicit CompileContext(ScenarioModel& compiled, FaultSink* sink = nullptr) : model(compiled), fault_sink(sink) {}

  ScenarioModel& model;
  // Who hears of every recorded fault and every warning (may be null).
  FaultSink* fault_sink = nullptr;
  // The source row being compiled; empty outside the rows.
  std::optional<SourcePlace> row_place;
  // By cell index, for the notes of a fault that finds the cell taken or lacks it.
  std::unordered_map<int64_t, CellOrigin> cell_origins;
  // By station slot, the place of the station's timetable time (its hours field), for the
  // running-time check.
  std::unordered_map<int, SourcePlace> station_time_places;
  // The last fault recorded (0: none) and the position recorded with it; each new fault
  // overwrites the last.
  int32_t error_code = 0;
  int32_t error_position_m = 0;
  // The rows read so far, for the relations between rows.
  RelationWatch relations;
  // The route length a service source is checked against when a fault stopped the line
  // source before it gave one (check_unread_service_source): the longest route. Only the
  // compile fuzz target shortens it: the longest route is twenty thousand cells made and
  // filled afresh by every such check, most of a run's time under the sanitizers.
  int32_t unread_check_route_m = kLongestRoute_m;
};

}  // namespace scenario
