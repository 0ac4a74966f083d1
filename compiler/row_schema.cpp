#include "compiler/row_schema.hpp"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "compiler/field_reader.hpp"
#include "compiler/general_section_rows.hpp"
#include "compiler/main_section_rows.hpp"
#include "compiler/service_section_rows.hpp"
#include "model/windows_1252.hpp"

namespace scenario {
namespace {

using enum FieldType;

// ---- The line source: the general section ----

// The section headers, each named once: the sources' header lists and the rows that stand
// under each in the built-in sources use these.
constexpr std::string_view kGeneralHeader = "[generale]";
constexpr std::string_view kEndHeader = "[fine]";
constexpr std::string_view kCurvesHeader = "[curve]";
constexpr std::string_view kGradientsHeader = "[pendenze]";
constexpr std::string_view kMountainsHeader = "[montagne]";
constexpr std::string_view kSpeedLimitBoardsHeader = "[cartelli]";
constexpr std::string_view kIndicatorBoardsHeader = "[indicazioni]";

constexpr std::string_view kLineHeaders[] = {kGeneralHeader,   kCurvesHeader,           kGradientsHeader,
                                             kMountainsHeader, kSpeedLimitBoardsHeader, kIndicatorBoardsHeader,
                                             kEndHeader};

constexpr RowField kRouteLengthFields[] = {
    {"length", kLong, "metres", "The route length.", ValueRange{0, kLongestRoute_m}, "(fault 1 above)"},
};
constexpr RowField kKilometrePostFields[] = {
    {"position", kLong, "metres", "Where the kilometre reading changes.", std::nullopt, "a multiple of 50 (fault 2)"},
    {"offset", kLong, "metres", "The offset of the new reading.", std::nullopt, "a multiple of 50 (fault 2)"},
    {"direction", kLong, "",
     "0: from the position on the reading is position + offset and grows; 1: it is offset − position and falls.",
     ValueRange{0, 1}},
};
constexpr RowField kBackgroundFields[] = {
    {"value", kLong, "", "A background value, only stored for the simulator.", std::nullopt, "whole number"},
};
constexpr RowField kSignalRepetitionFields[] = {
    {"start", kLong, "metres", "Where cab signal repetition starts.", std::nullopt, "a multiple of 50 (fault 3)"},
    {"end", kLong, "metres", "Where it ends; 0 means no repetition.", std::nullopt, "a multiple of 50 (fault 4)"},
};

constexpr std::string_view kRouteLengthSpellings[] = {"lunghezza percorso"};
constexpr std::string_view kKilometrePostTreSpellings[] = {"progressiva chilometrica tre"};
constexpr std::string_view kKilometrePostDueSpellings[] = {"progressiva chilometrica due"};
constexpr std::string_view kKilometrePostUnoSpellings[] = {"progressiva chilometrica uno"};
constexpr std::string_view kBackgroundUnoSpellings[] = {"sfondo uno"};
constexpr std::string_view kBackgroundDueSpellings[] = {"sfondo due"};
constexpr std::string_view kBackgroundTreSpellings[] = {"sfondo tre"};
constexpr std::string_view kSignalRepetitionSpellings[] = {"ripetizione segnali 4 codici"};

// The eight tests, in the order the line source is read with.
const RowDescription<GeneralPlace> kGeneralRows[] = {
    {{"lunghezza percorso", kRouteLengthSpellings, {{"percorso", "lunghezza"}, true}, kRouteLengthFields,
      "The route length. It must come before every row of the main section; the track cells reach 7000 m past it.",
      kGeneralHeader},
     place_route_length},
    {{"progressiva chilometrica tre", kKilometrePostTreSpellings, {{"tre", "progressiva"}, false}, kKilometrePostFields,
      "A third change of the kilometre reading. The three changes are put in order of position whatever their "
      "words; two changes sharing the greatest position drop all three.", kGeneralHeader},
     place_kilometre_post_tre},
    {{"progressiva chilometrica due", kKilometrePostDueSpellings, {{"due", "progressiva"}, false}, kKilometrePostFields,
      "A second change of the kilometre reading.", kGeneralHeader},
     place_kilometre_post_due},
    {{"progressiva chilometrica uno", kKilometrePostUnoSpellings, {{"uno", "progressiva"}, false}, kKilometrePostFields,
      "A change of the kilometre reading. Before the first change the reading is the position itself.", kGeneralHeader},
     place_kilometre_post_uno},
    {{"sfondo uno", kBackgroundUnoSpellings, {{"sfondo", "uno"}, false}, kBackgroundFields,
      "First background value, only stored for the simulator.", kGeneralHeader},
     place_background_uno},
    {{"sfondo due", kBackgroundDueSpellings, {{"sfondo", "due"}, false}, kBackgroundFields,
      "Second background value, only stored for the simulator.", kGeneralHeader},
     place_background_due},
    {{"sfondo tre", kBackgroundTreSpellings, {{"sfondo", "tre"}, false}, kBackgroundFields,
      "Third background value, only stored for the simulator.", kGeneralHeader},
     place_background_tre},
    {{"ripetizione segnali 4 codici", kSignalRepetitionSpellings, {{"segnali", "ripetizione"}, false},
      kSignalRepetitionFields,
      "Where cab signal repetition starts and ends; the digit 4 or 9 in the keyword (`ripetizione segnali 9 codici`) "
      "is the number of codes (fault 5 without one).", kGeneralHeader},
     place_signal_repetition},
};

// ---- The line source: the main section ----

constexpr RowField kGradientFields[] = {
    {"position", kLong, "metres", "Where the gradient takes effect."},
    {"gradient", kLong, "‰", "The gradient in force from the position on: above 0 the track climbs, below 0 it falls.",
     ValueRange{-100, 155}, "(stored as gradient + 100 in a byte)"},
};
constexpr RowField kCurveFields[] = {
    {"position", kLong, "metres", "Where the curve begins."},
    {"length", kLong, "metres", "How far it runs.", ValueRange{0, INT32_MAX}},
};
constexpr RowField kMountainFields[] = {
    {"start", kLong, "metres", "The first cell of the stretch is start / 50."},
    {"end", kLong, "metres", "The last cell of the stretch is end / 50 − 1."},
    {"type", kLong, "",
     "The stretch's type; above 10 it stands for type − 10 with a mountain marker on every fourth cell.",
     ValueRange{0, 20}},
};
constexpr RowField kSpeedLimitBoardFields[] = {
    {"position", kLong, "metres", "Where both boards stand (one cell)."},
    {"left A", kLong, "km/h", "The left board's speed for rank A trains.", ValueRange{0, 1638}, "best multiples of 5"},
    {"left B", kLong, "km/h", "The left board's speed for rank B trains.", ValueRange{0, 1638}, "best multiples of 5"},
    {"left C", kLong, "km/h", "The left board's speed for rank C trains.", ValueRange{0, 1638}, "best multiples of 5"},
    {"left stripes", kLong, "", "The stripes of the left board.", std::nullopt, "one digit"},
    {"right A", kLong, "km/h", "The right board's speed for rank A trains.", ValueRange{0, 1638},
     "best multiples of 5"},
    {"right B", kLong, "km/h", "The right board's speed for rank B trains.", ValueRange{0, 1638},
     "best multiples of 5"},
    {"right C", kLong, "km/h", "The right board's speed for rank C trains.", ValueRange{0, 1638},
     "best multiples of 5"},
    {"right stripes", kLong, "", "The stripes of the right board.", std::nullopt, "one digit"},
};
constexpr RowField kIndicatorBoardFields[] = {
    {"position", kLong, "metres", "Where the board stands."},
    {"text", kText, "", "What the board shows.", std::nullopt, "text without a comma (or quoted)"},
};

constexpr std::string_view kGradientSpellings[] = {"pendenza"};
constexpr std::string_view kCurveSpellings[] = {"curvad1", "curvas1"};
constexpr std::string_view kMountainSpellings[] = {"montagna"};
constexpr std::string_view kSpeedLimitBoardSpellings[] = {"indicatori_vmax"};
constexpr std::string_view kIndicatorBoardSpellings[] = {"cartello_indicatore"};

// The five tests, in the order the main section is read with.
const RowDescription<MainPlace> kMainRows[] = {
    {{"pendenza", kGradientSpellings, {{"pendenza", ""}, true}, kGradientFields,
      "The gradient in force from the position on. Rows must follow each other by increasing position: the cells up "
      "to the row's position get the previous row's gradient (0 before the first row).", kGradientsHeader},
     place_gradient},
    {{"curvad1", kCurveSpellings, {{"curva", ""}, true}, kCurveFields,
      "A curve (`curvad1` … `curvad6`, `curvas1` … `curvas6`): `d` bends right, `s` left. The digit is the radius: "
      "1 = 10000 m, 2 = 5000 m, 3 = 2500 m, 4 = 1000 m, 5 = 500 m, 6 = 333 m (fault 103 without one). Between curves "
      "the track runs straight. Rows must follow each other by position; the plan of the route is computed metre by "
      "metre, at most to metre 1000000.", kCurvesHeader},
     place_curve},
    {{"montagna", kMountainSpellings, {{"montagna", ""}, true}, kMountainFields,
      "A mountain stretch with its type. A stretch starting at most 150 m after the previous one's end gets type 3. "
      "At most 80 stretches.", kMountainsHeader},
     place_mountain},
    {{"indicatori_vmax", kSpeedLimitBoardSpellings, {{"indicatori_v", ""}, true}, kSpeedLimitBoardFields,
      "The speed-limit boards at the position, both sides of the track in one row. A side left empty reads 0: a row "
      "with the right-hand values empty describes a left board only.", kSpeedLimitBoardsHeader},
     place_speed_limit_boards},
    {{"cartello_indicatore", kIndicatorBoardSpellings, {{"cartello", "indicat"}, true}, kIndicatorBoardFields,
      "An indicator board with its text. At most 80 boards; each takes a record slot that stations could otherwise "
      "use.", kIndicatorBoardsHeader},
     place_indicator_board},
};

// ---- The service source ----

constexpr std::string_view kAdhesionsHeader = "[aderenze]";
constexpr std::string_view kLineSpeedsHeader = "[vel_limite]";
constexpr std::string_view kStationsHeader = "[stazioni]";
constexpr std::string_view kSlowdownsHeader = "[rallentamenti]";
constexpr std::string_view kSignalsHeader = "[segnali]";
constexpr std::string_view kCodeReductionsHeader = "[codici]";

constexpr std::string_view kServiceHeaders[] = {kGeneralHeader,   kAdhesionsHeader, kLineSpeedsHeader,
                                                kStationsHeader,  kSlowdownsHeader, kSignalsHeader,
                                                kCodeReductionsHeader, kEndHeader};

constexpr RowField kBrakedMassFields[] = {
    {"percentage", kLong, "per cent", "The braked-mass percentage of the train."},
};
constexpr RowField kCoachesFields[] = {
    {"count", kLong, "coaches", "The number of coaches of the train.", ValueRange{1, INT32_MAX}},
};
constexpr RowField kLineSpeedFields[] = {
    {"position", kLong, "metres", "Where the speed takes effect."},
    {"speed", kLong, "km/h",
     "The line speed from the position on, stored per cell in units of 5 km/h (rounded, half to even).",
     ValueRange{0, 1277}, "best multiples of 5 (fault 25 outside)"},
};
constexpr RowField kAdhesionFields[] = {
    {"position", kLong, "metres", "Where the adhesion takes effect."},
    {"adhesion", kLong, "", "The adhesion from the position on, stored per cell.", ValueRange{0, 255}},
};
constexpr RowField kClockFields[] = {
    {"hours", kInteger, "", "The hour of the scenario clock at the start.", ValueRange{0, 23}},
    {"minutes", kInteger, "", "Its minutes.", ValueRange{0, 59}},
    {"seconds", kInteger, "", "Its seconds.", ValueRange{0, 59}},
};
constexpr RowField kSandFields[] = {
    {"value", kInteger, "", "The sand value, only stored for the simulator."},
};
constexpr RowField kSignalFields[] = {
    {"position", kLong, "metres", "The signal's cell is position / 50 + 1."},
    {"sx", kLong, "",
     "The aspect, with dx: sx × 3 + dx is the aspect code, which enters the fourth value and the approach codes of "
     "the four cells at 100, 200, 300 and 400 m before the signal (aspect code × 10 + 1 … 4); sx 2 also stores the "
     "signal time."},
    {"s1", kLong, "", "First value: s1 × 10 + d1, only stored for the simulator."},
    {"s2", kLong, "", "Second value: s2 × 10 + d2, only stored for the simulator."},
    {"s3", kLong, "", "Third value: s3 × 10 + d3, only stored for the simulator."},
    {"rapp", kLong, "", "Fourth value: rapp × 10 + the aspect code."},
    {"dx", kLong, "", "Enters the aspect code, with sx."},
    {"d1", kLong, "", "Added into the first value."},
    {"d2", kLong, "", "Added into the second value."},
    {"d3", kLong, "", "Added into the third value."},
    {"time", kLong, "", "The signal time, stored only when sx is 2.", ValueRange{0, 255},
     "(1 to 100 are stored as 101)"},
};
constexpr RowField kSlowdownFields[] = {
    {"start", kLong, "metres", "Where the slowdown starts: its start cell is start / 50 + 1."},
    {"speed", kLong, "km/h", "The slowdown's speed, stored in its start, end and warning board.", ValueRange{0, 32767}},
    {"length", kLong, "metres", "The slowdown's length: its end cell is (start + length) / 50 + 1."},
    {"field 4", kLong, "", "Stored in the start and end cells.", ValueRange{-32768, 32767}},
    {"approach boards", kLong, "", "Not 0: four approach boards in the four cells before the warning board.",
     std::nullopt, "0 or not 0"},
    {"field 6", kLong, "",
     "Not 0: stored as a second value in the start, end and warning cells, and makes the approach boards carry "
     "their number there too.",
     ValueRange{-32768, 32767}},
};
constexpr RowField kCodeReductionFields[] = {
    {"position", kLong, "metres", "The code reduction's cell is position / 50 (not + 1)."},
    {"value", kLong, "km/h",
     "Above 0: a code reduction point at this speed; 0 or below: a code reduction without a value.",
     ValueRange{-32768, 32767}},
};
constexpr RowField kStationFields[] = {
    {"position", kLong, "metres", "The station's position.", std::nullopt, "a multiple of 50 (fault 8)"},
    {"type", kByte, "",
     "The station type. It decides the station area and whether cells are marked: types 5 and 6 have an area from "
     "position − length to position + 150 m and no approach codes; types 7 and 8 (a starting station) from "
     "position − length to position + length; every other type from position − length / 2 to position + length / 2. "
     "Types from 25 up are named points that mark no cell."},
    {"length", kLong, "metres", "The length that gives the station area.", std::nullopt, "a multiple of 100 (fault 9)"},
    {"field 4", kByte, "", "Stored for the simulator as written."},
    {"field 5", kByte, "",
     "Stored for the simulator; stored as 0 when the length is below 600 m, and for the first station."},
    {"field 6", kByte, "",
     "Not 0: the station area ends 50 m further (types other than 5 to 8). Stored for the simulator; stored as 0 for "
     "types 5 to 8 and for the first station."},
    {"field 7", kInteger, "", "Stored for the simulator as written."},
    {"field 8", kInteger, "", "Stored for the simulator as written."},
    {"field 9", kByte, "", "Stored for the simulator as written."},
    {"field 10", kInteger, "", "Stored for the simulator as written."},
    {"field 11", kInteger, "", "Stored for the simulator as written."},
    {"field 12", kInteger, "", "Stored for the simulator as written."},
    {"field 13", kByte, "", "Stored for the simulator as written."},
    {"hours", kLong, "", "The timetable time, with the minutes and seconds; 0, 0, 0 for a place without a time.",
     ValueRange{0, 23}},
    {"minutes", kLong, "", "", ValueRange{0, 59}},
    {"seconds", kLong, "", "", ValueRange{0, 59}},
    {"name", kText, "", "The station's name.", std::nullopt, "text without a comma (or quoted)"},
};

constexpr std::string_view kBrakedMassSpellings[] = {"percentuale massa frenata"};
constexpr std::string_view kCoachesSpellings[] = {"numero vetture"};
constexpr std::string_view kLineSpeedSpellings[] = {"velocita"};
constexpr std::string_view kAdhesionSpellings[] = {"aderenza"};
constexpr std::string_view kClockSpellings[] = {"orologio"};
constexpr std::string_view kSandSpellings[] = {"sabbia"};
constexpr std::string_view kSignalSpellings[] = {"segnale"};
constexpr std::string_view kSlowdownSpellings[] = {"rallentamento"};
constexpr std::string_view kCodeReductionSpellings[] = {"abbattimento"};
constexpr std::string_view kStationSpellings[] = {"stazione"};

// The ten tests, in the order the service source is read with.
const RowDescription<ServicePlace> kServiceRows[] = {
    {{"percentuale massa frenata", kBrakedMassSpellings, {{"frenata", "massa"}, true}, kBrakedMassFields,
      "The braked-mass percentage.", kGeneralHeader},
     place_braked_mass},
    {{"numero vetture", kCoachesSpellings, {{"vetture", ""}, true}, kCoachesFields, "The number of coaches.",
      kGeneralHeader},
     place_coaches},
    {{"velocita", kLineSpeedSpellings, {{"velocit", ""}, true}, kLineSpeedFields,
      "The line speed from the position on: a fill, each cell up to the row's position getting the previous row's "
      "value.", kLineSpeedsHeader},
     place_line_speed},
    {{"aderenza", kAdhesionSpellings, {{"aderenza", ""}, true}, kAdhesionFields,
      "The adhesion from the position on: a fill, as the line speed.", kAdhesionsHeader},
     place_adhesion},
    {{"orologio", kClockSpellings, {{"orologio", ""}, true}, kClockFields,
      "The scenario clock at the start. The three numbers may be separated by blanks alone.", kGeneralHeader},
     place_clock},
    {{"sabbia", kSandSpellings, {{"sabbia", ""}, true}, kSandFields, "The sand value, only stored for the simulator.",
      kGeneralHeader},
     place_sand},
    {{"segnale", kSignalSpellings, {{"segnale", ""}, true}, kSignalFields,
      "A signal, with the approach codes before it.", kSignalsHeader},
     place_signal},
    {{"rallentamento", kSlowdownSpellings, {{"rallentamento", ""}, true}, kSlowdownFields,
      "A slowdown, with its warning board and the code reduction points the compiler adds around it.",
      kSlowdownsHeader},
     place_slowdown},
    {{"abbattimento", kCodeReductionSpellings, {{"abbattimento", ""}, true}, kCodeReductionFields,
      "A code reduction point.", kCodeReductionsHeader},
     place_code_reduction},
    {{"stazione", kStationSpellings, {{"stazione", ""}, true}, kStationFields,
      "A station, into the next station record.", kStationsHeader},
     place_station},
};

const SectionSchema<GeneralPlace> kGeneralSection{"the general section of the line source", kGeneralRows, kLineHeaders};
const SectionSchema<MainPlace> kMainSection{"the main section of the line source", kMainRows, kLineHeaders};
const SectionSchema<ServicePlace> kServiceSection{"the service source", kServiceRows, kServiceHeaders};

}  // namespace

namespace {

// A number as the reference writes it, with a true minus sign.
std::string reference_number(int64_t value) {
  return value < 0 ? "\u2212" + std::to_string(-value) : std::to_string(value);
}

std::string values_text(const RowField& field) {
  if (field.range) {
    const ValueRange& range = *field.range;
    if (range.high == INT32_MAX) return range.low == 0 ? "0 or more" : "at least " + reference_number(range.low);
    if (range.high == range.low + 1) return reference_number(range.low) + " or " + reference_number(range.high);
    return reference_number(range.low) + " to " + reference_number(range.high);
  }
  switch (field.type) {
    case kByte: return "0 to 255";
    case kInteger: return reference_number(INT16_MIN) + " to " + reference_number(INT16_MAX);
    case kLong:
    case kText: break;
  }
  return "";
}

}  // namespace

std::string unit_and_range(const RowField& field) {
  std::string text(field.unit);
  for (const std::string& part : {values_text(field), std::string(field.rule)}) {
    if (part.empty()) continue;
    if (!text.empty()) text += part.starts_with('(') ? " " : ", ";
    text += part;
  }
  return text;
}

std::string_view unit_after_value(const RowField& field) {
  if (field.unit == "metres") return " m";
  if (field.unit == "km/h") return " km/h";
  if (field.unit == "‰") return " ‰";
  return "";
}

std::string_view field_type_letter(FieldType type) {
  switch (type) {
    case kLong: return "L";
    case kInteger: return "I";
    case kByte: return "B";
    case kText: return "T";
  }
  return "?";
}

bool KeywordTest::matches(std::string_view field, std::string_view lower_field) const {
  const std::string_view text = any_case ? lower_field : field;
  for (const std::string_view word : words)
    if (!word.empty() && !contains(text, word)) return false;
  return true;
}

std::string KeywordTest::described() const {
  std::string text = "contains '" + std::string(words[0]) + "'";
  if (!words[1].empty()) text += " and '" + std::string(words[1]) + "'";
  return text + (any_case ? " (any case)" : " (small letters)");
}

std::string matched_by_containment(const RowText& row, std::string_view keyword, std::string_view lower_keyword,
                                   int column) {
  // A field that is the keyword, or one word that begins with it (`curvad6`, `segnale3`),
  // reads as the author meant it.
  const size_t first = lower_keyword.find_first_not_of(" \t");
  const size_t last = lower_keyword.find_last_not_of(" \t");
  const std::string_view written =
      first == std::string_view::npos ? std::string_view{} : lower_keyword.substr(first, last - first + 1);
  if (written == row.keyword ||
      (written.starts_with(row.test.words[0]) && written.find_first_of(" \t\"[]") == std::string_view::npos))
    return "";
  const size_t at = (row.test.any_case ? lower_keyword : keyword).find(row.test.words[0]);
  return "; '" + utf8_from_1252(keyword) + "' was read as a " + std::string(row.keyword) + " row: '" +
         std::string(row.test.words[0]) + "' at column " + std::to_string(column + static_cast<int>(at));
}

const SectionSchema<GeneralPlace>& line_general_section() { return kGeneralSection; }
const SectionSchema<MainPlace>& line_main_section() { return kMainSection; }
const SectionSchema<ServicePlace>& service_section() { return kServiceSection; }

std::vector<const RowText*> every_row() {
  std::vector<const RowText*> rows;
  for (const RowText& row : kGeneralRows) rows.push_back(&row);
  for (const RowText& row : kMainRows) rows.push_back(&row);
  for (const RowText& row : kServiceRows) rows.push_back(&row);
  return rows;
}

std::string row_pattern(const RowText& row) {
  std::string text = std::string(row.keyword);
  for (const RowField& field : row.fields) text += ", " + std::string(field.name);
  return text;
}

const RowField& row_field(std::string_view keyword, std::string_view field_name) {
  if (const RowText* row = find_row(keyword))
    for (const RowField& field : row->fields)
      if (field.name == field_name) return field;
  throw std::logic_error("the row schema has no field '" + std::string(field_name) + "' of '" + std::string(keyword) +
                         "'");
}

const RowText* row_read_as(std::string_view keyword) {
  static const std::vector<const RowText*> rows = every_row();
  const std::string lower = lower_case_1252(keyword);
  const auto found =
      std::find_if(rows.begin(), rows.end(), [&](const RowText* row) { return row->test.matches(keyword, lower); });
  return found == rows.end() ? nullptr : *found;
}

std::string source_row(std::string_view keyword, std::span<const std::string> fields, char separator) {
  const RowText* read_as = row_read_as(keyword);
  if (read_as == nullptr || read_as->fields.size() != fields.size())
    throw std::logic_error("a source row '" + std::string(keyword) + "' with " + std::to_string(fields.size()) +
                           " fields that the readers would not read back");
  std::string text = std::string(keyword) + ",";
  for (size_t i = 0; i < fields.size(); ++i) (i > 0 ? text += separator : text) += fields[i];
  return text;
}

std::string source_row(std::string_view keyword, std::initializer_list<std::string> fields, char separator) {
  return source_row(keyword, std::span<const std::string>(fields.begin(), fields.size()), separator);
}

const RowText* find_row(std::string_view keyword) {
  for (const RowText* row : every_row())
    if (row->keyword == keyword) return row;
  return nullptr;
}

}  // namespace scenario
