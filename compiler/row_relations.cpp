#include "compiler/row_relations.hpp"

#include <algorithm>
#include <cstdio>

#include "compiler/general_section_rows.hpp"
#include "schema/row_tables.hpp"
#include "model/rounding.hpp"
#include "model/windows_1252.hpp"

namespace scenario {
namespace {

constexpr std::string_view kStretchRows[] = {"montagna", "ripetizione segnali 4 codici", "rallentamento"};
constexpr std::string_view kOrderedRows[] = {"curvad1", "montagna"};
constexpr std::string_view kFillRows[] = {"velocita", "aderenza"};
constexpr std::string_view kStationRows[] = {"stazione"};
constexpr std::string_view kSlowdownRows[] = {"rallentamento"};
constexpr std::string_view kTextRows[] = {"stazione", "cartello_indicatore"};
constexpr std::string_view kRouteRows[] = {"lunghezza percorso"};

constexpr RowRelation kRelations[] = {
    {Warning::kEndsBeforeStart, kStretchRows,
     "A mountain stretch ends past its start, so that it holds a cell; the signal repetition, when it has an end, ends "
     "after it starts; a slowdown's end cell lies past its start cell (a length of 50 m or more).",
     "The rows as written: a stretch without cells marks none, and a slowdown whose end cell is its start cell has "
     "no end."},
    {Warning::kOverlapsRowBefore, kOrderedRows,
     "A curve begins at or after the end of the curve before it; a mountain stretch at or after the end of the "
     "stretch before it.",
     "A curve turned only from the previous curve's end (none of it when it ends before); a stretch written over "
     "the previous one's cells, with type 3."},
    {Warning::kFillAfterZero, kFillRows, "The first line speed row and the first adhesion row stand at position 0.",
     "The cells before the first row hold 0."},
    {Warning::kTimeGoesBack, kStationRows,
     "A station's timetable time is not earlier than the time of the timed station before it (less than 12 hours "
     "earlier is earlier; a place without a time is passed over).",
     "The times as written, in the order of the rows."},
    {Warning::kSlowdownOverLineSpeed, kSlowdownRows,
     "A slowdown's speed is not above the line speed in force at its start, from the line speed rows written before "
     "it.",
     "The speed as written, in the slowdown's cells and boards."},
    {Warning::kControlInText, kTextRows, "A station name or a board text holds no tab or other control character.",
     "The text as written, control characters included."},
    {Warning::kRouteLengthInKilometres, kRouteRows,
     "A route length under 1000 m has no row placed past it: such a length was written in kilometres.",
     "The length as written; the rows past it warned of (W6) or refused (fault 15)."},
};

std::string metres(int64_t value) { return std::to_string(value) + " m"; }

// The field that places a row on the route, if it has one.
std::optional<size_t> position_field(const RowText& row) {
  for (size_t i = 0; i < row.fields.size(); ++i)
    if (row.fields[i].name == "position" || row.fields[i].name == "start") return i;
  return std::nullopt;
}

// Line ends are left out: a quoted text that holds them runs over lines, which W7 tells.
bool is_control(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte < 0x20 && c != '\r' && c != '\n') || byte == 0x7f;
}

std::string control_name(char c) {
  if (c == '\t') return "a tab";
  char code[8];
  std::snprintf(code, sizeof code, "%02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
  return "the control character 0x" + std::string(code);
}

std::string trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return "";
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

constexpr int64_t kHalfDay_s = 12 * 3600;

}  // namespace

std::span<const RowRelation> row_relations() { return kRelations; }

std::string clock_text(int64_t seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  return text;
}

void RelationWatch::check_route_reaches(int64_t position_m, std::string_view keyword, const WrittenField& field,
                                        std::vector<BrokenRelation>& broken) {
  if (!route_length_m_ || route_length_told_ || position_m <= *route_length_m_) return;
  const int64_t length = *route_length_m_;
  if (length <= 0 || length >= 1000) return;
  route_length_told_ = true;
  std::string message = "route length " + metres(length) + " ends before the " + std::string(keyword) + " row at " +
                        metres(position_m) + (field.place ? " on line " + std::to_string(field.place->line) : "") +
                        ": it and every later row lie past the route's end; is the length written in kilometres?";
  std::optional<DiagnosticFix> fix;
  if (length * 1000 <= kLongestRoute_m) {
    message += " did you mean " + std::to_string(length * 1000) + "?";
    fix = DiagnosticFix{trimmed(route_length_field_->text), std::to_string(length * 1000)};
  }
  broken.push_back({Warning::kRouteLengthInKilometres, std::move(message), route_length_field_->place, fix});
}

void RelationWatch::check_ordered(std::string_view what, int64_t start_m, int64_t end_m,
                                  std::optional<int64_t>& previous_end, const WrittenField& field,
                                  std::vector<BrokenRelation>& broken) {
  if (previous_end && start_m < *previous_end) {
    const std::string ends = "the " + std::string(what) + " before it ends at " + metres(*previous_end);
    std::string held;
    if (what == "curve")
      held = end_m <= *previous_end ? "this curve lies within it: the plan leaves it out"
                                    : "the plan turns this curve only from " + metres(*previous_end) + " on";
    else
      held = "this stretch writes over its cells and takes type 3";
    broken.push_back({Warning::kOverlapsRowBefore,
                      "this " + std::string(what) + " begins at " + metres(start_m) + ", before " + ends + ": " + held,
                      field.place});
  }
  previous_end = std::max(previous_end.value_or(end_m), end_m);
}

std::vector<BrokenRelation> RelationWatch::row(const RowText& row, std::span<const WrittenField> fields) {
  std::vector<BrokenRelation> broken;
  const std::string_view keyword = row.keyword;
  // A row whose reading ended after its position (past the track) still tells of the route.
  if (const auto at = position_field(row); at && *at < fields.size())
    check_route_reaches(fields[*at].number, keyword, fields[*at], broken);
  if (fields.size() != row.fields.size()) return broken;
  // The fields by their places in the row's schema entry.
  auto field = [&](size_t index) -> const WrittenField& { return fields[index]; };
  auto number = [&](size_t index) { return fields[index].number; };
  using namespace rows;

  if (keyword == "lunghezza percorso") {
    route_length_m_ = number(RouteLengthField::kLength);
    route_length_field_ = field(RouteLengthField::kLength);
    route_length_told_ = false;
  }

  if (keyword == "montagna") {
    const int64_t start = number(MountainField::kStart);
    const int64_t end = number(MountainField::kEnd);
    if (divide_round_half_even(end - kCellLength_m, kCellLength_m) < cell_of_position(start))
      broken.push_back({Warning::kEndsBeforeStart,
                        "this mountain stretch ends at " + metres(end) + ", not past its start at " + metres(start) +
                            ": it holds no cell",
                        field(MountainField::kEnd).place});
    else
      check_ordered("mountain stretch", start, end, mountain_end_m_, field(MountainField::kStart), broken);
  } else if (keyword == "ripetizione segnali 4 codici") {
    const int64_t start = number(SignalRepetitionField::kStart);
    const int64_t end = number(SignalRepetitionField::kEnd);
    if (end != 0 && end < start)
      broken.push_back({Warning::kEndsBeforeStart,
                        "the signal repetition ends at " + metres(end) + ", before it starts at " + metres(start) +
                            ": both are stored as written",
                        field(SignalRepetitionField::kEnd).place});
  } else if (keyword == "curvad1") {
    const int64_t start = number(CurveField::kPosition);
    check_ordered("curve", start, std::max(start, start + number(CurveField::kLength)), curve_end_m_,
                  field(CurveField::kPosition), broken);
  } else if (keyword == "velocita" || keyword == "aderenza") {
    bool& seen = keyword == "velocita" ? speed_rows_ : adhesion_rows_;
    static_assert(LineSpeedField::kPosition == AdhesionField::kPosition);
    const WrittenField& position = field(LineSpeedField::kPosition);
    if (!seen && cell_of_position(position.number) > 0)
      broken.push_back({Warning::kFillAfterZero,
                        "the first " + std::string(keyword) + " row is at " + metres(position.number) +
                            ": the cells before it hold " +
                            (keyword == "velocita" ? "a line speed of 0 km/h" : "an adhesion of 0") +
                            "; write it at 0",
                        position.place, DiagnosticFix{trimmed(position.text), "0"}});
    seen = true;
    if (keyword == "velocita") line_speeds_.emplace_back(position.number, number(LineSpeedField::kSpeed));
  } else if (keyword == "rallentamento") {
    const int64_t start = number(SlowdownField::kStart);
    const int64_t length = number(SlowdownField::kLength);
    const int64_t speed = number(SlowdownField::kSpeed);
    if (cell_after_position(start + length) <= cell_after_position(start)) {
      const std::string said =
          cell_after_position(start + length) == cell_after_position(start)
              ? "its end falls in its start cell, which keeps the start only: the slowdown has no end"
              : "its end, at " + metres(start + length) + ", lies before its start at " + metres(start);
      broken.push_back({Warning::kEndsBeforeStart, "slowdown length " + metres(length) + ": " + said,
                        field(SlowdownField::kLength).place});
    }
    // The line speed in force: the last row written before this one at or before its start.
    std::optional<int64_t> line_speed;
    for (const auto& [position, value] : line_speeds_)
      if (position <= start) line_speed = value;
    if (line_speed && *line_speed > 0 && speed > *line_speed)
      broken.push_back({Warning::kSlowdownOverLineSpeed,
                        "slowdown speed " + std::to_string(speed) + " km/h is above the line speed of " +
                            std::to_string(*line_speed) + " km/h in force at " + metres(start) +
                            (length > 0 && length <= *line_speed ? "; are the speed and the length (" + metres(length) +
                                                                       ") swapped?"
                                                                 : ""),
                        field(SlowdownField::kSpeed).place});
  } else if (keyword == "stazione") {
    const int64_t hours = number(StationField::kHours), minutes = number(StationField::kMinutes),
                  seconds = number(StationField::kSeconds);
    const int64_t time = (hours * 60 + minutes) * 60 + seconds;
    // A time outside the clock is told by its field's range (W10) and ordered with none.
    const bool on_the_clock = hours >= 0 && hours <= 23 && minutes >= 0 && minutes <= 59 && seconds >= 0 && seconds <= 59;
    if (time != 0 && on_the_clock) {
      if (station_time_s_ && time < *station_time_s_ && *station_time_s_ - time < kHalfDay_s)
        broken.push_back({Warning::kTimeGoesBack,
                          "timetable time " + clock_text(time) + " is earlier than " + clock_text(*station_time_s_) +
                              " at '" + station_name_ + "', the station before: the train card lists them in this order",
                          field(StationField::kHours).place});
      station_time_s_ = time;
      station_name_ = utf8_from_1252(trimmed(field(StationField::kName).text));
    }
  }

  for (size_t i = 0; i < fields.size(); ++i) {
    if (row.fields[i].type != FieldType::kText) continue;
    const std::string_view text = fields[i].text;
    const auto control = std::find_if(text.begin(), text.end(), is_control);
    if (control == text.end()) continue;
    std::string mended = trimmed(text);
    std::replace_if(mended.begin(), mended.end(), is_control, ' ');
    broken.push_back({Warning::kControlInText,
                      "the " + std::string(row.fields[i].name) + " '" + utf8_from_1252(trimmed(text)) + "' holds " +
                          control_name(*control) + ": the record stores it as written",
                      fields[i].place, DiagnosticFix{trimmed(text), mended}});
  }
  return broken;
}

}  // namespace scenario
