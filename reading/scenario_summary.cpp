#include "reading/scenario_summary.hpp"

#include <algorithm>
#include <map>
#include <memory>

#include "model/scenario_model.hpp"
#include "model/windows_1252.hpp"
#include "postpass/competition_codes.hpp"
#include "reading/station_fields.hpp"
#include "reading/track_reading.hpp"
#include "model/format_rules.hpp"

namespace scenario {
namespace {

std::string_view summary_words(CellKind kind) { return cell_kind_entry(kind).summary_words; }

// A position with its kilometre reading.
void add_position(DocumentRow& row, const std::string& name, int64_t position_m, const KilometreReadings& km) {
  row.push_back({name + "_m", metres_value(position_m)});
  row.push_back({name + "_km", kilometre_value(km.reading_m(position_m))});
}

DocumentSection scenario_section(const LoadedScenario& s) {
  DocumentSection section{"scenario", {}, "", {}, {}};
  const auto& r = s.records;
  auto& f = section.fields;
  f.push_back({"name", text_value(s.name)});
  f.push_back({"number", text_value(s.number)});
  f.push_back({"route_length_m", metres_value(kRouteLength.in(r))});
  f.push_back({"track_cells", number_value(static_cast<int64_t>(s.cells.size()))});
  if (s.has_plan) {
    const int64_t points = s.plan_points;
    f.push_back({"line_plan", number_value(points, points > 0 ? "computed for metres 0 to " +
                                                                    grouped_number(points - 1)
                                                              : "dimensioned, not computed")});
  } else {
    f.push_back({"line_plan", number_value(0, "none (compiled without its plan)")});
  }
  f.push_back({"coaches", number_value(kCoaches.in(r))});
  f.push_back({"braked_mass_percent",
               number_value(kBrakedMassPercent.in(r), std::to_string(kBrakedMassPercent.in(r)) + " %")});
  f.push_back({"sand", number_value(kSand.in(r))});
  f.push_back({"clock", text_value(clock_text(r))});
  f.push_back({"background_uno", number_value(kBackgroundUno.in(r))});
  f.push_back({"background_due", number_value(kBackgroundDue.in(r))});
  f.push_back({"background_tre", number_value(kBackgroundTre.in(r))});
  f.push_back({"signal_repetition_start_m", metres_value(kSignalRepetitionStart.in(r))});
  f.push_back({"signal_repetition_end_m", metres_value(kSignalRepetitionEnd.in(r))});
  f.push_back({"signal_repetition_codes", number_value(kSignalRepetitionCodes.in(r))});
  return section;
}

DocumentSection readings_section(const LoadedScenario& s, const KilometreReadings& km) {
  DocumentSection section{"kilometre_readings", {}, "stretches", {}, {}};
  const auto& changes = km.changes();
  section.notes.push_back(changes.empty() ? "the readings count the metres from the start of the route"
                                          : std::to_string(changes.size()) + " change" +
                                                (changes.size() > 1 ? "s" : "") + " of the readings");
  const int64_t length = route_length_m(s.records);
  std::vector<int64_t> starts{0};
  for (const auto& change : changes)
    if (change.position_m > 0 && change.position_m < length) starts.push_back(change.position_m);
  for (size_t i = 0; i < starts.size(); ++i) {
    const int64_t from = starts[i];
    const int64_t to = i + 1 < starts.size() ? starts[i + 1] - kCellLength_m : length;
    DocumentRow row;
    add_position(row, "from", from, km);
    add_position(row, "to", std::max(from, to), km);
    row.push_back({"readings", text_value(km.reading_m(to) >= km.reading_m(from) ? "rise" : "fall")});
    section.rows.push_back(std::move(row));
  }
  for (const auto& change : changes) {
    section.notes.push_back("from " + grouped_number(change.position_m) + " m: " +
                            (change.falling ? "offset " + grouped_number(change.offset_m) + " m minus the position"
                                            : "the position plus offset " + grouped_number(change.offset_m) + " m"));
  }
  return section;
}

DocumentSection stations_section(const std::vector<Station>& stations, const KilometreReadings& km) {
  DocumentSection section{"stations", {{"count", number_value(static_cast<int64_t>(stations.size()))}}, "stations",
                          {}, {}};
  for (const Station& station : stations) {
    const SimRecord& r = *station.record;
    DocumentRow row;
    row.push_back({"slot", number_value(station.slot)});
    add_position(row, "position", r.position_m, km);
    row.push_back({"name", text_value(utf8_from_1252(r.text))});
    row.push_back({"type", number_value(r.station_type)});
    row.push_back({"call", text_value(call_name(station.call))});
    row.push_back({"timetable_time_s", number_value(r.time_s, r.time_s != 0 ? timetable_text(r.time_s) : "")});
    row.push_back({"area_start_m", metres_value(r.start_m)});
    row.push_back({"area_end_m", metres_value(r.end_m)});
    for (const StationField& field : stored_station_fields())
      row.push_back({field.name, number_value(field.value(r))});
    section.rows.push_back(std::move(row));
  }
  return section;
}

std::string positions_text(const std::vector<int64_t>& positions) {
  std::string text;
  for (const int64_t p : positions) text += (text.empty() ? "" : ", ") + grouped_number(p);
  return text + " m";
}

DocumentSection signals_section(const std::vector<TrackCell>& cells) {
  // Signals of the same values and time, in the order of their values' text.
  std::map<std::string, std::pair<const TrackCell*, std::vector<int64_t>>> by_kind;
  int64_t count = 0;
  for (size_t i = 0; i < cells.size(); ++i) {
    const TrackCell& c = cells[i];
    if (cell_kind_entry(c.kind).summary_group != SummaryGroup::kSignals) continue;
    ++count;
    std::string kind = std::to_string(c.value1) + "/" + std::to_string(c.value2) + "/" + std::to_string(c.value3) +
                       "/" + std::to_string(c.value4);
    if (c.signal_time != 0) kind += " time " + std::to_string(c.signal_time);
    auto& [first, positions] = by_kind[kind];
    if (first == nullptr) first = &c;
    positions.push_back(feature_position_m(c.kind, static_cast<int64_t>(i)));
  }
  DocumentSection section{"signals", {{"count", number_value(count)}}, "kinds", {}, {}};
  section.notes.push_back("grouped by their values s1*10+d1 / s2*10+d2 / s3*10+d3 / rapp*10+sx*3+dx");
  for (const auto& [kind, group] : by_kind) {
    const auto& [c, positions] = group;
    DocumentRow row;
    row.push_back({"values", numbers_value({c->value1, c->value2, c->value3, c->value4}, kind)});
    row.push_back({"time", number_value(c->signal_time), true});
    row.push_back({"count", number_value(static_cast<int64_t>(positions.size()))});
    row.push_back({"positions_m", numbers_value(positions, positions_text(positions))});
    section.rows.push_back(std::move(row));
  }
  return section;
}

// What a speed-limit board shows, beyond its name and position.
void add_speed_board_values(DocumentRow& row, const TrackCell& c) {
  row.push_back({"shows", text_value(speed_board_text(c))});
  const int16_t values[] = {c.value1, c.value2, c.value3};
  std::vector<int64_t> left, right;
  for (const int16_t v : values) left.push_back(board_left_kmh(v)), right.push_back(board_right_kmh(v));
  row.push_back({"speeds_kmh", numbers_value(left, ""), true});
  row.push_back({"right_speeds_kmh", numbers_value(right, ""), true});
  row.push_back({"stripes", numbers_value({c.value4 / kStripeSideScale, c.value4 % kStripeSideScale}, ""), true});
}

// The count field of a kind of board: "speed_limit_boards" for the words "speed limit".
std::string board_count_field(std::string_view words) {
  std::string field(words);
  std::replace(field.begin(), field.end(), ' ', '_');
  return field + "_boards";
}

// One row for each cell of a kind told among the boards, named by the kind's summary words;
// then a count for each such kind.
DocumentSection boards_section(const LoadedScenario& s, const KilometreReadings& km) {
  DocumentSection section{"boards", {}, "boards", {}, {}};
  std::map<uint8_t, int64_t> counts;
  for (size_t i = 0; i < s.cells.size(); ++i) {
    const TrackCell& c = s.cells[i];
    const CellKindEntry& kind = cell_kind_entry(c.kind);
    if (kind.summary_group != SummaryGroup::kBoards) continue;
    ++counts[c.kind];
    DocumentRow row;
    add_position(row, "position", feature_position_m(c.kind, static_cast<int64_t>(i)), km);
    row.push_back({"board", text_value(std::string(kind.summary_words))});
    if (c.kind == kSpeedLimitBoards) {
      add_speed_board_values(row, c);
    } else if (c.kind == kIndicatorBoard) {
      const std::string* text = indicator_board_text(c, s.records);
      row.push_back({"shows", text_value(text ? utf8_from_1252(*text) : "(slot " + std::to_string(c.value1) + ")")});
    }
    section.rows.push_back(std::move(row));
  }
  for (const CellKindEntry& kind : cell_kinds())
    if (kind.summary_group == SummaryGroup::kBoards)
      section.fields.push_back({board_count_field(kind.summary_words), number_value(counts[kind.code])});
  return section;
}

// A row per slowdown, made as it is printed from the slowdowns found (a slowdown start in
// every cell is a row per cell).
DocumentSection slowdowns_section(const std::vector<TrackCell>& cells, const KilometreReadings& km) {
  auto slowdowns = std::make_shared<const std::vector<Slowdown>>(slowdowns_of(cells));
  DocumentSection section{"slowdowns", {{"count", number_value(static_cast<int64_t>(slowdowns->size()))}},
                          "slowdowns", {}, {}};
  section.made_rows = [slowdowns, km](const std::function<void(const DocumentRow&)>& made) {
    DocumentRow row;
    for (const Slowdown& s : *slowdowns) {
      row.clear();
      row.push_back({"speed_kmh", number_value(s.speed_kmh)});
      add_position(row, std::string(summary_words(kSlowdownStart)), feature_position_m(kSlowdownStart, s.start_cell), km);
      add_position(row, std::string(summary_words(kSlowdownEnd)), feature_position_m(kSlowdownEnd, s.end_cell), km);
      row.push_back({"length_m", metres_value((s.end_cell - s.start_cell) * kCellLength_m)});
      row.push_back({std::string(summary_words(kSlowdownWarningBoard)) + "_m",
                     s.warning_cell >= 0 ? metres_value(feature_position_m(kSlowdownWarningBoard, s.warning_cell))
                                         : number_value(-1, "none")});
      made(row);
    }
  };
  return section;
}

DocumentSection code_reductions_section(const std::vector<TrackCell>& cells, const KilometreReadings& km) {
  auto points = std::make_shared<const std::vector<CodeReduction>>(code_reductions_of(cells));
  const auto added = std::count_if(points->begin(), points->end(), [](const CodeReduction& p) { return p.added; });
  DocumentSection section{"code_reductions",
                          {{"from_sources", number_value(static_cast<int64_t>(points->size()) - added)},
                           {"added", number_value(added)}},
                          "points", {}, {}};
  section.made_rows = [points, km](const std::function<void(const DocumentRow&)>& made) {
    DocumentRow row;
    for (const CodeReduction& p : *points) {
      row.clear();
      add_position(row, "position", feature_position_m(kCodeReduction, p.cell), km);
      row.push_back({"speed_kmh", p.non_positive ? number_value(p.value, "0 or below") : number_value(p.value)});
      row.push_back({"origin", text_value(p.added ? "added" : "source")});
      made(row);
    }
  };
  return section;
}

DocumentSection runs_section(const std::string& name, const std::string& value_name, const LoadedScenario& s,
                             uint8_t TrackCell::*field, int scale, bool skip_zero) {
  DocumentSection section{name, {}, "stretches", {}, {}};
  const int64_t last = last_route_cell(s.cells, s.records);
  const int64_t length = route_length_m(s.records);
  for (const CellRun& run : runs_of(s.cells, field, last)) {
    if (skip_zero && run.value == 0) continue;
    DocumentRow row;
    row.push_back({"from_m", metres_value(run.first_cell * kCellLength_m)});
    row.push_back({"to_m", metres_value(std::min<int64_t>((run.last_cell + 1) * kCellLength_m, length))});
    row.push_back({value_name, number_value(int64_t{run.value} * scale)});
    section.rows.push_back(std::move(row));
  }
  return section;
}

DocumentSection codes_section(const LoadedScenario& s, std::vector<std::string>& faults) {
  ScenarioModel identity;
  identity.sim_records = s.records;
  const int16_t sum = codice_gara_og(identity);
  const int32_t weighted = codice_gara_st(identity);
  DocumentSection section{"competition_codes", {}, "", {}, {}};
  const bool has_codes_cell = s.cells.size() > kCodesCell;
  const int16_t cell_constant = has_codes_cell ? s.cells[kCodesCell].*kCellHeaderConstantValue : 0;
  const int16_t cell_code = has_codes_cell ? s.cells[kCodesCell].*kSumCompetitionCodeValue : 0;
  const int32_t weighted_code = kWeightedCompetitionCode.in(s.records);
  const int16_t record_constant = kRecordHeaderConstantField.in(s.records);
  section.fields.push_back({"sum_code", number_value(cell_code)});
  section.fields.push_back({"weighted_code", number_value(weighted_code)});
  section.fields.push_back({"cell_header_constant", number_value(cell_constant)});
  section.fields.push_back({"record_header_constant", number_value(record_constant)});
  if (cell_code != sum || weighted_code != weighted)
    faults.push_back("the competition codes do not belong to '" + utf8_from_1252(kNumberText.in(s.records)) + "' '" +
                     utf8_from_1252(kNameText.in(s.records)) + "': expected " + std::to_string(sum) + " and " +
                     std::to_string(weighted));
  if (cell_constant != kCellHeaderConstant || record_constant != kRecordHeaderConstant)
    faults.push_back("the header constants are not 5121 and 610");
  return section;
}

// The files do not keep the fault record; a compile that stopped early leaves signs.
void early_end_signs(const LoadedScenario& s, std::vector<std::string>& faults) {
  const int64_t last = last_route_cell(s.cells, s.records);
  for (const auto& [field, what] : {std::pair{&TrackCell::speed_limit, "line speed"},
                                    std::pair{&TrackCell::gradient, "gradient"}}) {
    for (int64_t i = 0; i <= last; ++i)
      if (s.cells[static_cast<size_t>(i)].*field == 0) {
        faults.push_back(std::string("no ") + what + " from " + grouped_number(i * kCellLength_m) +
                         " m on: the compile stopped reading there (a recorded fault)");
        break;
      }
  }
}

}  // namespace

ReadingDocument summarise_scenario(const LoadedScenario& s) {
  const KilometreReadings km(s.records);
  const std::vector<Station> stations = stations_of(s.cells, s.records, km);
  ReadingDocument document;
  document.sections.push_back(scenario_section(s));
  document.sections.push_back(readings_section(s, km));
  document.sections.push_back(stations_section(stations, km));
  document.sections.push_back(signals_section(s.cells));
  document.sections.push_back(boards_section(s, km));
  document.sections.push_back(slowdowns_section(s.cells, km));
  document.sections.push_back(code_reductions_section(s.cells, km));
  DocumentSection mountains = runs_section("mountain_stretches", "type", s, &TrackCell::mountain, 1, true);
  document.sections.push_back(std::move(mountains));
  document.sections.push_back(
      runs_section("line_speed", "speed_kmh", s, &TrackCell::speed_limit, kSpeedUnit_kmh, false));
  document.sections.push_back(runs_section("adhesion", "adhesion", s, &TrackCell::adhesion, 1, false));
  std::vector<std::string> faults;
  document.sections.push_back(codes_section(s, faults));
  early_end_signs(s, faults);
  DocumentSection fault_section{"faults", {}, "", {}, {}};
  fault_section.notes.push_back("the compiled files do not keep the compiler's fault record; "
                                "'scenario-builder compile LINE SERVICE --check' reports every fault");
  if (faults.empty()) fault_section.notes.push_back("nothing in the files shows a recorded fault");
  for (std::string& fault : faults) fault_section.notes.push_back(std::move(fault));
  document.sections.push_back(std::move(fault_section));
  return document;
}

}  // namespace scenario
