#pragma once

#include <string>

#include "format/byte_writer.hpp"
#include "format/compiled_layouts.hpp"
#include "model/scenario_model.hpp"

namespace scenario {

// The three compiled files, each the container's elements one after the other, with no
// header, count, padding or trailer. Each encoder writes to a sink; the string forms
// append the whole file to `out`.

// <name>_<n>.dat: 15 bytes per cell, cells 0 .. last_cell.
void encode_track_cells(const ScenarioModel& model, ByteSink& out);
void encode_track_cells(const ScenarioModel& model, std::string& out);
// <name>_<n>.sim: the 87 records, each 34 bytes plus its text.
void encode_records(const ScenarioModel& model, ByteSink& out);
void encode_records(const ScenarioModel& model, std::string& out);
// <name>_linea.dat: the x column then the y column of the line plan, as tagged values.
void encode_line_plan(const LinePlan& plan, ByteSink& out);
void encode_line_plan(const LinePlan& plan, std::string& out);

// What would stop an encoder, found without encoding: a record text too long for its
// count, a plan computed past its extent. Throws the RuntimeFailure the encoder would.
void check_records_encodable(const ScenarioModel& model);
void check_line_plan_encodable(const LinePlan& plan);

}  // namespace scenario
