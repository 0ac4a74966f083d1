#pragma once

#include <cstddef>
#include <string_view>

#include "schema/row_schema.hpp"

// The entries of the row schema, readable at compile time: the compiler checks against them,
// as it builds, that it binds every row of a section to a placing routine in the section's
// order. Everyone else reads the rows through schema/row_schema.hpp.
namespace scenario::rows {

using enum FieldType;

// ---- The line source: the general section ----

// The section headers, each named once: the sources' header lists and the rows that stand
// under each in the built-in sources use these.
inline constexpr std::string_view kGeneralHeader = "[generale]";
inline constexpr std::string_view kEndHeader = "[fine]";
inline constexpr std::string_view kCurvesHeader = "[curve]";
inline constexpr std::string_view kGradientsHeader = "[pendenze]";
inline constexpr std::string_view kMountainsHeader = "[montagne]";
inline constexpr std::string_view kSpeedLimitBoardsHeader = "[cartelli]";
inline constexpr std::string_view kIndicatorBoardsHeader = "[indicazioni]";

inline constexpr std::string_view kLineHeaders[] = {kGeneralHeader,   kCurvesHeader,           kGradientsHeader,
                                             kMountainsHeader, kSpeedLimitBoardsHeader, kIndicatorBoardsHeader,
                                             kEndHeader};

inline constexpr RowField kRouteLengthFields[] = {
    {"length", kLong, "metres", "The route length.", ValueRange{0, kLongestRoute_m}, "(fault 1 above)"},
};
// The places of its fields, for the routines that take the values read.
struct RouteLengthField {
  static constexpr size_t kLength = field_index(kRouteLengthFields, "length");
};
inline constexpr RowField kKilometrePostFields[] = {
    {"position", kLong, "metres", "Where the kilometre reading changes.", std::nullopt, "a multiple of 50 (fault 2)"},
    {"offset", kLong, "metres", "The offset of the new reading.", std::nullopt, "a multiple of 50 (fault 2)"},
    {"direction", kLong, "",
     "0: from the position on the reading is position + offset and grows; 1: it is offset − position and falls.",
     ValueRange{0, 1}},
};
// The places of its fields, for the routines that take the values read.
struct KilometrePostField {
  static constexpr size_t kPosition = field_index(kKilometrePostFields, "position");
  static constexpr size_t kOffset = field_index(kKilometrePostFields, "offset");
  static constexpr size_t kDirection = field_index(kKilometrePostFields, "direction");
};
inline constexpr RowField kBackgroundFields[] = {
    {"value", kLong, "", "A background value, only stored for the simulator.", std::nullopt, "whole number"},
};
// The places of its fields, for the routines that take the values read.
struct BackgroundField {
  static constexpr size_t kValue = field_index(kBackgroundFields, "value");
};
inline constexpr RowField kSignalRepetitionFields[] = {
    {"start", kLong, "metres", "Where cab signal repetition starts.", std::nullopt, "a multiple of 50 (fault 3)"},
    {"end", kLong, "metres", "Where it ends; 0 means no repetition.", std::nullopt, "a multiple of 50 (fault 4)"},
};
// The places of its fields, for the routines that take the values read.
struct SignalRepetitionField {
  static constexpr size_t kStart = field_index(kSignalRepetitionFields, "start");
  static constexpr size_t kEnd = field_index(kSignalRepetitionFields, "end");
};

inline constexpr std::string_view kRouteLengthSpellings[] = {"lunghezza percorso"};
inline constexpr std::string_view kKilometrePostTreSpellings[] = {"progressiva chilometrica tre"};
inline constexpr std::string_view kKilometrePostDueSpellings[] = {"progressiva chilometrica due"};
inline constexpr std::string_view kKilometrePostUnoSpellings[] = {"progressiva chilometrica uno"};
inline constexpr std::string_view kBackgroundUnoSpellings[] = {"sfondo uno"};
inline constexpr std::string_view kBackgroundDueSpellings[] = {"sfondo due"};
inline constexpr std::string_view kBackgroundTreSpellings[] = {"sfondo tre"};
inline constexpr std::string_view kSignalRepetitionSpellings[] = {"ripetizione segnali 4 codici"};

// The eight tests, in the order the line source is read with.
inline constexpr RowText kGeneralRows[] = {
    {"lunghezza percorso", kRouteLengthSpellings, {{"percorso", "lunghezza"}, true}, kRouteLengthFields,
     "The route length. It must come before every row of the main section; the track cells reach 7000 m past it.",
     kGeneralHeader},
    {"progressiva chilometrica tre", kKilometrePostTreSpellings, {{"tre", "progressiva"}, false}, kKilometrePostFields,
     "A third change of the kilometre reading. The three changes are put in order of position whatever their "
     "words; two changes sharing the greatest position drop all three.", kGeneralHeader},
    {"progressiva chilometrica due", kKilometrePostDueSpellings, {{"due", "progressiva"}, false}, kKilometrePostFields,
     "A second change of the kilometre reading.", kGeneralHeader},
    {"progressiva chilometrica uno", kKilometrePostUnoSpellings, {{"uno", "progressiva"}, false}, kKilometrePostFields,
     "A change of the kilometre reading. Before the first change the reading is the position itself.", kGeneralHeader},
    {"sfondo uno", kBackgroundUnoSpellings, {{"sfondo", "uno"}, false}, kBackgroundFields,
     "First background value, only stored for the simulator.", kGeneralHeader},
    {"sfondo due", kBackgroundDueSpellings, {{"sfondo", "due"}, false}, kBackgroundFields,
     "Second background value, only stored for the simulator.", kGeneralHeader},
    {"sfondo tre", kBackgroundTreSpellings, {{"sfondo", "tre"}, false}, kBackgroundFields,
     "Third background value, only stored for the simulator.", kGeneralHeader},
    {"ripetizione segnali 4 codici", kSignalRepetitionSpellings, {{"segnali", "ripetizione"}, false},
     kSignalRepetitionFields,
     "Where cab signal repetition starts and ends; the digit 4 or 9 in the keyword (`ripetizione segnali 9 codici`) "
     "is the number of codes (fault 5 without one).", kGeneralHeader},
};

// ---- The line source: the main section ----

inline constexpr RowField kGradientFields[] = {
    {"position", kLong, "metres", "Where the gradient takes effect."},
    {"gradient", kLong, "‰", "The gradient in force from the position on: above 0 the track climbs, below 0 it falls.",
     ValueRange{-100, 155}, "(stored as gradient + 100 in a byte)"},
};
// The places of its fields, for the routines that take the values read.
struct GradientField {
  static constexpr size_t kPosition = field_index(kGradientFields, "position");
  static constexpr size_t kGradient = field_index(kGradientFields, "gradient");
};
inline constexpr RowField kCurveFields[] = {
    {"position", kLong, "metres", "Where the curve begins."},
    {"length", kLong, "metres", "How far it runs.", ValueRange{0, INT32_MAX}},
};
// The places of its fields, for the routines that take the values read.
struct CurveField {
  static constexpr size_t kPosition = field_index(kCurveFields, "position");
  static constexpr size_t kLength = field_index(kCurveFields, "length");
};
inline constexpr RowField kMountainFields[] = {
    {"start", kLong, "metres", "The first cell of the stretch is start / 50."},
    {"end", kLong, "metres", "The last cell of the stretch is end / 50 − 1."},
    {"type", kLong, "",
     "The stretch's type; above 10 it stands for type − 10 with a mountain marker on every fourth cell.",
     ValueRange{0, 20}},
};
// The places of its fields, for the routines that take the values read.
struct MountainField {
  static constexpr size_t kStart = field_index(kMountainFields, "start");
  static constexpr size_t kEnd = field_index(kMountainFields, "end");
  static constexpr size_t kType = field_index(kMountainFields, "type");
};
inline constexpr RowField kSpeedLimitBoardFields[] = {
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
// The places of its fields, for the routines that take the values read.
struct SpeedLimitBoardField {
  static constexpr size_t kPosition = field_index(kSpeedLimitBoardFields, "position");
  static constexpr size_t kLeftA = field_index(kSpeedLimitBoardFields, "left A");
  static constexpr size_t kLeftB = field_index(kSpeedLimitBoardFields, "left B");
  static constexpr size_t kLeftC = field_index(kSpeedLimitBoardFields, "left C");
  static constexpr size_t kLeftStripes = field_index(kSpeedLimitBoardFields, "left stripes");
  static constexpr size_t kRightA = field_index(kSpeedLimitBoardFields, "right A");
  static constexpr size_t kRightB = field_index(kSpeedLimitBoardFields, "right B");
  static constexpr size_t kRightC = field_index(kSpeedLimitBoardFields, "right C");
  static constexpr size_t kRightStripes = field_index(kSpeedLimitBoardFields, "right stripes");
};
inline constexpr RowField kIndicatorBoardFields[] = {
    {"position", kLong, "metres", "Where the board stands."},
    {"text", kText, "", "What the board shows.", std::nullopt, "text without a comma (or quoted)"},
};
// The places of its fields, for the routines that take the values read.
struct IndicatorBoardField {
  static constexpr size_t kPosition = field_index(kIndicatorBoardFields, "position");
  static constexpr size_t kText = field_index(kIndicatorBoardFields, "text");
};

inline constexpr std::string_view kGradientSpellings[] = {"pendenza"};
inline constexpr std::string_view kCurveSpellings[] = {"curvad1", "curvas1"};
inline constexpr std::string_view kMountainSpellings[] = {"montagna"};
inline constexpr std::string_view kSpeedLimitBoardSpellings[] = {"indicatori_vmax"};
inline constexpr std::string_view kIndicatorBoardSpellings[] = {"cartello_indicatore"};

inline constexpr CellKind kMountainCells[] = {kMountainMarker};
inline constexpr CellKind kSpeedLimitBoardCells[] = {kSpeedLimitBoards};
inline constexpr CellKind kIndicatorBoardCells[] = {kIndicatorBoard};
// The five tests, in the order the main section is read with.
inline constexpr RowText kMainRows[] = {
    {"pendenza", kGradientSpellings, {{"pendenza", ""}, true}, kGradientFields,
     "The gradient in force from the position on. Rows must follow each other by increasing position: the cells up "
     "to the row's position get the previous row's gradient (0 before the first row).", kGradientsHeader},
    {"curvad1", kCurveSpellings, {{"curva", ""}, true}, kCurveFields,
     "A curve (`curvad1` … `curvad6`, `curvas1` … `curvas6`): `d` bends right, `s` left. The digit is the radius: "
     "1 = 10000 m, 2 = 5000 m, 3 = 2500 m, 4 = 1000 m, 5 = 500 m, 6 = 333 m (fault 103 without one). Between curves "
     "the track runs straight. Rows must follow each other by position; the plan of the route is computed metre by "
     "metre, at most to metre 1000000.", kCurvesHeader},
    {"montagna", kMountainSpellings, {{"montagna", ""}, true}, kMountainFields,
     "A mountain stretch with its type. A stretch starting at most 150 m after the previous one's end gets type 3. "
     "At most 80 stretches.", kMountainsHeader, kMountainCells},
    {"indicatori_vmax", kSpeedLimitBoardSpellings, {{"indicatori_v", ""}, true}, kSpeedLimitBoardFields,
     "The speed-limit boards at the position, both sides of the track in one row. A side left empty reads 0: a row "
     "with the right-hand values empty describes a left board only.", kSpeedLimitBoardsHeader,
     kSpeedLimitBoardCells},
    {"cartello_indicatore", kIndicatorBoardSpellings, {{"cartello", "indicat"}, true}, kIndicatorBoardFields,
     "An indicator board with its text. At most 80 boards; each takes a record slot that stations could otherwise "
     "use.", kIndicatorBoardsHeader, kIndicatorBoardCells},
};

// ---- The service source ----

inline constexpr std::string_view kAdhesionsHeader = "[aderenze]";
inline constexpr std::string_view kLineSpeedsHeader = "[vel_limite]";
inline constexpr std::string_view kStationsHeader = "[stazioni]";
inline constexpr std::string_view kSlowdownsHeader = "[rallentamenti]";
inline constexpr std::string_view kSignalsHeader = "[segnali]";
inline constexpr std::string_view kCodeReductionsHeader = "[codici]";

inline constexpr std::string_view kServiceHeaders[] = {kGeneralHeader,   kAdhesionsHeader, kLineSpeedsHeader,
                                                kStationsHeader,  kSlowdownsHeader, kSignalsHeader,
                                                kCodeReductionsHeader, kEndHeader};

inline constexpr RowField kBrakedMassFields[] = {
    {"percentage", kLong, "per cent", "The braked-mass percentage of the train."},
};
// The places of its fields, for the routines that take the values read.
struct BrakedMassField {
  static constexpr size_t kPercentage = field_index(kBrakedMassFields, "percentage");
};
inline constexpr RowField kCoachesFields[] = {
    {"count", kLong, "coaches", "The number of coaches of the train.", ValueRange{1, INT32_MAX}},
};
// The places of its fields, for the routines that take the values read.
struct CoachesField {
  static constexpr size_t kCount = field_index(kCoachesFields, "count");
};
inline constexpr RowField kLineSpeedFields[] = {
    {"position", kLong, "metres", "Where the speed takes effect."},
    {"speed", kLong, "km/h",
     "The line speed from the position on, stored per cell in units of 5 km/h (rounded, half to even).",
     ValueRange{0, 1277}, "best multiples of 5 (fault 25 outside)"},
};
// The places of its fields, for the routines that take the values read.
struct LineSpeedField {
  static constexpr size_t kPosition = field_index(kLineSpeedFields, "position");
  static constexpr size_t kSpeed = field_index(kLineSpeedFields, "speed");
};
inline constexpr RowField kAdhesionFields[] = {
    {"position", kLong, "metres", "Where the adhesion takes effect."},
    {"adhesion", kLong, "", "The adhesion from the position on, stored per cell.", ValueRange{0, 255}},
};
// The places of its fields, for the routines that take the values read.
struct AdhesionField {
  static constexpr size_t kPosition = field_index(kAdhesionFields, "position");
  static constexpr size_t kAdhesion = field_index(kAdhesionFields, "adhesion");
};
inline constexpr RowField kClockFields[] = {
    {"hours", kInteger, "", "The hour of the scenario clock at the start.", ValueRange{0, 23}},
    {"minutes", kInteger, "", "Its minutes.", ValueRange{0, 59}},
    {"seconds", kInteger, "", "Its seconds.", ValueRange{0, 59}},
};
// The places of its fields, for the routines that take the values read.
struct ClockField {
  static constexpr size_t kHours = field_index(kClockFields, "hours");
  static constexpr size_t kMinutes = field_index(kClockFields, "minutes");
  static constexpr size_t kSeconds = field_index(kClockFields, "seconds");
};
inline constexpr RowField kSandFields[] = {
    {"value", kInteger, "", "The sand value, only stored for the simulator."},
};
// The places of its fields, for the routines that take the values read.
struct SandField {
  static constexpr size_t kValue = field_index(kSandFields, "value");
};
inline constexpr RowField kSignalFields[] = {
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
// The places of its fields, for the routines that take the values read.
struct SignalField {
  static constexpr size_t kPosition = field_index(kSignalFields, "position");
  static constexpr size_t kSx = field_index(kSignalFields, "sx");
  static constexpr size_t kS1 = field_index(kSignalFields, "s1");
  static constexpr size_t kS2 = field_index(kSignalFields, "s2");
  static constexpr size_t kS3 = field_index(kSignalFields, "s3");
  static constexpr size_t kRapp = field_index(kSignalFields, "rapp");
  static constexpr size_t kDx = field_index(kSignalFields, "dx");
  static constexpr size_t kD1 = field_index(kSignalFields, "d1");
  static constexpr size_t kD2 = field_index(kSignalFields, "d2");
  static constexpr size_t kD3 = field_index(kSignalFields, "d3");
  static constexpr size_t kTime = field_index(kSignalFields, "time");
};
inline constexpr RowField kSlowdownFields[] = {
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
// The places of its fields, for the routines that take the values read.
struct SlowdownField {
  static constexpr size_t kStart = field_index(kSlowdownFields, "start");
  static constexpr size_t kSpeed = field_index(kSlowdownFields, "speed");
  static constexpr size_t kLength = field_index(kSlowdownFields, "length");
  static constexpr size_t kField4 = field_index(kSlowdownFields, "field 4");
  static constexpr size_t kApproachBoards = field_index(kSlowdownFields, "approach boards");
  static constexpr size_t kField6 = field_index(kSlowdownFields, "field 6");
};
inline constexpr RowField kCodeReductionFields[] = {
    {"position", kLong, "metres", "The code reduction's cell is position / 50 (not + 1)."},
    {"value", kLong, "km/h",
     "Above 0: a code reduction point at this speed; 0 or below: a code reduction without a value.",
     ValueRange{-32768, 32767}},
};
// The places of its fields, for the routines that take the values read.
struct CodeReductionField {
  static constexpr size_t kPosition = field_index(kCodeReductionFields, "position");
  static constexpr size_t kValue = field_index(kCodeReductionFields, "value");
};
inline constexpr RowField kStationFields[] = {
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
// The places of its fields, for the routines that take the values read.
struct StationField {
  static constexpr size_t kPosition = field_index(kStationFields, "position");
  static constexpr size_t kType = field_index(kStationFields, "type");
  static constexpr size_t kLength = field_index(kStationFields, "length");
  static constexpr size_t kField4 = field_index(kStationFields, "field 4");
  static constexpr size_t kField5 = field_index(kStationFields, "field 5");
  static constexpr size_t kField6 = field_index(kStationFields, "field 6");
  static constexpr size_t kField7 = field_index(kStationFields, "field 7");
  static constexpr size_t kField8 = field_index(kStationFields, "field 8");
  static constexpr size_t kField9 = field_index(kStationFields, "field 9");
  static constexpr size_t kField10 = field_index(kStationFields, "field 10");
  static constexpr size_t kField11 = field_index(kStationFields, "field 11");
  static constexpr size_t kField12 = field_index(kStationFields, "field 12");
  static constexpr size_t kField13 = field_index(kStationFields, "field 13");
  static constexpr size_t kHours = field_index(kStationFields, "hours");
  static constexpr size_t kMinutes = field_index(kStationFields, "minutes");
  static constexpr size_t kSeconds = field_index(kStationFields, "seconds");
  static constexpr size_t kName = field_index(kStationFields, "name");
};

inline constexpr std::string_view kBrakedMassSpellings[] = {"percentuale massa frenata"};
inline constexpr std::string_view kCoachesSpellings[] = {"numero vetture"};
inline constexpr std::string_view kLineSpeedSpellings[] = {"velocita"};
inline constexpr std::string_view kAdhesionSpellings[] = {"aderenza"};
inline constexpr std::string_view kClockSpellings[] = {"orologio"};
inline constexpr std::string_view kSandSpellings[] = {"sabbia"};
inline constexpr std::string_view kSignalSpellings[] = {"segnale"};
inline constexpr std::string_view kSlowdownSpellings[] = {"rallentamento"};
inline constexpr std::string_view kCodeReductionSpellings[] = {"abbattimento"};
inline constexpr std::string_view kStationSpellings[] = {"stazione"};

inline constexpr CellKind kSignalCells[] = {kSignal};
inline constexpr CellKind kSlowdownCells[] = {kSlowdownEnd, kSlowdownStart, kSlowdownWarningBoard, kApproachBoard};
inline constexpr CellKind kCodeReductionCells[] = {kCodeReduction, kCodeReductionNonPositive};
inline constexpr CellKind kStationCells[] = {kStationExit};
// The ten tests, in the order the service source is read with.
inline constexpr RowText kServiceRows[] = {
    {"percentuale massa frenata", kBrakedMassSpellings, {{"frenata", "massa"}, true}, kBrakedMassFields,
     "The braked-mass percentage.", kGeneralHeader},
    {"numero vetture", kCoachesSpellings, {{"vetture", ""}, true}, kCoachesFields, "The number of coaches.",
     kGeneralHeader},
    {"velocita", kLineSpeedSpellings, {{"velocit", ""}, true}, kLineSpeedFields,
     "The line speed from the position on: a fill, each cell up to the row's position getting the previous row's "
     "value.", kLineSpeedsHeader},
    {"aderenza", kAdhesionSpellings, {{"aderenza", ""}, true}, kAdhesionFields,
     "The adhesion from the position on: a fill, as the line speed.", kAdhesionsHeader},
    {"orologio", kClockSpellings, {{"orologio", ""}, true}, kClockFields,
     "The scenario clock at the start. The three numbers may be separated by blanks alone.", kGeneralHeader},
    {"sabbia", kSandSpellings, {{"sabbia", ""}, true}, kSandFields, "The sand value, only stored for the simulator.",
     kGeneralHeader},
    {"segnale", kSignalSpellings, {{"segnale", ""}, true}, kSignalFields,
     "A signal, with the approach codes before it.", kSignalsHeader, kSignalCells},
    {"rallentamento", kSlowdownSpellings, {{"rallentamento", ""}, true}, kSlowdownFields,
     "A slowdown, with its warning board and the code reduction points the compiler adds around it.",
     kSlowdownsHeader, kSlowdownCells},
    {"abbattimento", kCodeReductionSpellings, {{"abbattimento", ""}, true}, kCodeReductionFields,
     "A code reduction point.", kCodeReductionsHeader, kCodeReductionCells},
    {"stazione", kStationSpellings, {{"stazione", ""}, true}, kStationFields,
     "A station, into the next station record.", kStationsHeader, kStationCells},
};

inline constexpr SectionSchema kGeneralSection{"the general section of the line source", kGeneralRows, kLineHeaders};
inline constexpr SectionSchema kMainSection{"the main section of the line source", kMainRows, kLineHeaders};
inline constexpr SectionSchema kServiceSection{"the service source", kServiceRows, kServiceHeaders};

}  // namespace scenario::rows
