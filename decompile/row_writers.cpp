#include "decompile/row_writers.hpp"

#include <cstddef>
#include <span>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "decompile/source_text.hpp"

namespace scenario {
namespace {

// A row of the schema bound to its writer, by the fields the writer takes.
struct RowWriting {
  std::string_view keyword;          // the row's keyword as the schema writes it
  std::span<const RowField> fields;  // the fields whose values its writer takes
};

template <typename Write>
struct WriterOf;
template <typename... Parameters>
struct WriterOf<std::string (*)(Parameters...)> {
  // A writer takes the row's values last.
  using Values = std::remove_cvref_t<std::tuple_element_t<sizeof...(Parameters) - 1, std::tuple<Parameters...>>>;
};

template <auto kWrite>
constexpr RowWriting writes(std::string_view keyword) {
  return {keyword, WriterOf<decltype(kWrite)>::Values::fields()};
}

constexpr RowWriting kWriters[] = {
    writes<write_route_length_row>("lunghezza percorso"),
    writes<write_kilometre_post_tre_row>("progressiva chilometrica tre"),
    writes<write_kilometre_post_due_row>("progressiva chilometrica due"),
    writes<write_kilometre_post_uno_row>("progressiva chilometrica uno"),
    writes<write_background_uno_row>("sfondo uno"),
    writes<write_background_due_row>("sfondo due"),
    writes<write_background_tre_row>("sfondo tre"),
    writes<write_signal_repetition_row>("ripetizione segnali 4 codici"),
    writes<write_gradient_row>("pendenza"),
    writes<write_curve_row>("curvad1"),
    writes<write_mountain_row>("montagna"),
    writes<write_speed_limit_boards_row>("indicatori_vmax"),
    writes<write_indicator_board_row>("cartello_indicatore"),
    writes<write_braked_mass_row>("percentuale massa frenata"),
    writes<write_coaches_row>("numero vetture"),
    writes<write_line_speed_row>("velocita"),
    writes<write_adhesion_row>("aderenza"),
    writes<write_clock_row>("orologio"),
    writes<write_sand_row>("sabbia"),
    writes<write_signal_row>("segnale"),
    writes<write_slowdown_row>("rallentamento"),
    writes<write_code_reduction_row>("abbattimento"),
    writes<write_station_row>("stazione"),
};

// Every row of both sources bound once, in the order of the sections and their rows, each to
// a writer that takes the row's own fields.
constexpr bool binds_every_row() {
  size_t bound = 0;
  for (const SectionSchema* section : {&rows::kGeneralSection, &rows::kMainSection, &rows::kServiceSection}) {
    for (const RowText& row : section->rows) {
      if (bound == std::size(kWriters)) return false;
      const RowWriting& writing = kWriters[bound++];
      if (writing.keyword != row.keyword || writing.fields.data() != row.fields.data()) return false;
    }
  }
  return bound == std::size(kWriters);
}
static_assert(binds_every_row(), "a source row without its decompile writer, or bound to one that takes other fields");

std::string kilometre_post_row(std::string_view keyword, const WrittenValues<rows::kKilometrePostFields>& values) {
  using Field = rows::KilometrePostField;
  return source_row(keyword, {padded(values.get<Field::kPosition>(), 4), padded(values.get<Field::kOffset>(), 4),
                              padded(values.get<Field::kDirection>(), 4)});
}

}  // namespace

std::string write_route_length_row(const WrittenValues<rows::kRouteLengthFields>& values) {
  return source_row("lunghezza percorso", {padded(values.get<rows::RouteLengthField::kLength>(), 4)});
}

std::string write_kilometre_post_tre_row(const WrittenValues<rows::kKilometrePostFields>& values) {
  return kilometre_post_row("progressiva chilometrica tre", values);
}
std::string write_kilometre_post_due_row(const WrittenValues<rows::kKilometrePostFields>& values) {
  return kilometre_post_row("progressiva chilometrica due", values);
}
std::string write_kilometre_post_uno_row(const WrittenValues<rows::kKilometrePostFields>& values) {
  return kilometre_post_row("progressiva chilometrica uno", values);
}

std::string write_background_uno_row(const WrittenValues<rows::kBackgroundFields>& values) {
  return source_row("sfondo uno", {padded(values.get<rows::BackgroundField::kValue>(), 4)});
}
std::string write_background_due_row(const WrittenValues<rows::kBackgroundFields>& values) {
  return source_row("sfondo due", {padded(values.get<rows::BackgroundField::kValue>(), 4)});
}
std::string write_background_tre_row(const WrittenValues<rows::kBackgroundFields>& values) {
  return source_row("sfondo tre", {padded(values.get<rows::BackgroundField::kValue>(), 4)});
}

std::string write_signal_repetition_row(int codes, const WrittenValues<rows::kSignalRepetitionFields>& values) {
  using Field = rows::SignalRepetitionField;
  return source_row("ripetizione segnali " + std::to_string(codes) + " codici",
                    {padded(values.get<Field::kStart>(), 4), padded(values.get<Field::kEnd>(), 4)});
}

std::string write_curve_row(bool left, char radius_digit, const WrittenValues<rows::kCurveFields>& values) {
  using Field = rows::CurveField;
  return source_row(std::string("curva") + (left ? "s" : "d") + radius_digit,
                    {padded(values.get<Field::kPosition>(), 2), padded(values.get<Field::kLength>(), 2)});
}

std::string write_gradient_row(const WrittenValues<rows::kGradientFields>& values) {
  using Field = rows::GradientField;
  return source_row("pendenza", {padded(values.get<Field::kPosition>(), 2), padded(values.get<Field::kGradient>(), 3)});
}

std::string write_mountain_row(const WrittenValues<rows::kMountainFields>& values) {
  using Field = rows::MountainField;
  return source_row("montagna", {padded(values.get<Field::kStart>(), 3), padded(values.get<Field::kEnd>(), 2),
                                 padded(values.get<Field::kType>(), 2)});
}

std::string write_speed_limit_boards_row(const WrittenValues<rows::kSpeedLimitBoardFields>& values) {
  using Field = rows::SpeedLimitBoardField;
  const int64_t right[] = {values.get<Field::kRightA>(), values.get<Field::kRightB>(), values.get<Field::kRightC>()};
  const bool has_right = right[0] != 0 || right[1] != 0 || right[2] != 0;
  std::vector<std::string> fields = {padded(values.get<Field::kPosition>(), 2), padded(values.get<Field::kLeftA>(), 2),
                                     padded(values.get<Field::kLeftB>(), 2), padded(values.get<Field::kLeftC>(), 2),
                                     padded(values.get<Field::kLeftStripes>(), 2)};
  for (const int64_t speed : right) fields.push_back(has_right ? padded(speed, 2) : "  ");
  fields.push_back(padded(values.get<Field::kRightStripes>(), 2));
  return source_row("indicatori_vmax", fields);
}

std::string write_indicator_board_row(const WrittenValues<rows::kIndicatorBoardFields>& values) {
  using Field = rows::IndicatorBoardField;
  return source_row("cartello_indicatore",
                    {padded(values.get<Field::kPosition>(), 2), "   " + values.get<Field::kText>()});
}

std::string write_braked_mass_row(const WrittenValues<rows::kBrakedMassFields>& values) {
  return source_row("percentuale massa frenata", {padded(values.get<rows::BrakedMassField::kPercentage>(), 4)});
}

std::string write_coaches_row(const WrittenValues<rows::kCoachesFields>& values) {
  return source_row("numero vetture", {padded(values.get<rows::CoachesField::kCount>(), 4)});
}

std::string write_line_speed_row(const WrittenValues<rows::kLineSpeedFields>& values) {
  using Field = rows::LineSpeedField;
  return source_row("velocita", {column(values.get<Field::kPosition>(), 8), column(values.get<Field::kSpeed>(), 6)});
}

std::string write_adhesion_row(const WrittenValues<rows::kAdhesionFields>& values) {
  using Field = rows::AdhesionField;
  return source_row("aderenza", {column(values.get<Field::kPosition>(), 8), column(values.get<Field::kAdhesion>(), 6)});
}

// The three numbers parted by blanks alone, as the built-in source writes its clock.
std::string write_clock_row(const WrittenValues<rows::kClockFields>& values) {
  using Field = rows::ClockField;
  return source_row("orologio",
                    {padded(values.get<Field::kHours>(), 4), padded(values.get<Field::kMinutes>(), 13),
                     padded(values.get<Field::kSeconds>(), 11) + " "},
                    ' ');
}

std::string write_sand_row(const WrittenValues<rows::kSandFields>& values) {
  return source_row("sabbia", {padded(values.get<rows::SandField::kValue>(), 4)});
}

std::string write_signal_row(const WrittenValues<rows::kSignalFields>& values) {
  using Field = rows::SignalField;
  return source_row("segnale", {column(values.get<Field::kPosition>(), 8), column(values.get<Field::kSx>(), 4),
                                column(values.get<Field::kS1>(), 2), column(values.get<Field::kS2>(), 2),
                                column(values.get<Field::kS3>(), 3), column(values.get<Field::kRapp>(), 2),
                                column(values.get<Field::kDx>(), 5), column(values.get<Field::kD1>(), 3),
                                std::to_string(values.get<Field::kD2>()), std::to_string(values.get<Field::kD3>()),
                                padded(values.get<Field::kTime>(), 1)});
}

std::string write_slowdown_row(const WrittenValues<rows::kSlowdownFields>& values) {
  using Field = rows::SlowdownField;
  return source_row("rallentamento", {column(values.get<Field::kStart>(), 8), column(values.get<Field::kSpeed>(), 6),
                                      column(values.get<Field::kLength>(), 5), column(values.get<Field::kField4>(), 2),
                                      column(values.get<Field::kApproachBoards>(), 3),
                                      column(values.get<Field::kField6>(), 4)});
}

std::string write_code_reduction_row(const WrittenValues<rows::kCodeReductionFields>& values) {
  using Field = rows::CodeReductionField;
  return source_row("abbattimento",
                    {column(values.get<Field::kPosition>(), 8), column(values.get<Field::kValue>(), 6)});
}

std::string write_station_row(const WrittenValues<rows::kStationFields>& values) {
  using Field = rows::StationField;
  return source_row(
      "stazione",
      {column(values.get<Field::kPosition>(), 8), column(values.get<Field::kType>(), 3),
       column(values.get<Field::kLength>(), 5), column(values.get<Field::kField4>(), 3),
       column(values.get<Field::kField5>(), 2), column(values.get<Field::kField6>(), 2),
       column(values.get<Field::kField7>(), 3), std::to_string(values.get<Field::kField8>()),
       std::to_string(values.get<Field::kField9>()), column(values.get<Field::kField10>(), 3),
       std::to_string(values.get<Field::kField11>()), std::to_string(values.get<Field::kField12>()),
       column(values.get<Field::kField13>(), 5), column(values.get<Field::kHours>(), 4),
       column(values.get<Field::kMinutes>(), 2), column(values.get<Field::kSeconds>(), 2),
       " " + values.get<Field::kName>()});
}

}  // namespace scenario
