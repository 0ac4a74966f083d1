#pragma once

#include <string>

#include "schema/row_tables.hpp"
#include "schema/row_values.hpp"

namespace scenario {

// One writer for each kind of source row: the row's line as the decompiler writes it back,
// from the values recovered for it, its columns laid out as the built-in sources lay theirs.
// Every row of the schema is bound to its writer in the schema's order (row_writers.cpp), so a
// row kind without one does not build.

// ---- The line source ----
std::string write_route_length_row(const WrittenValues<rows::kRouteLengthFields>& values);
std::string write_kilometre_post_tre_row(const WrittenValues<rows::kKilometrePostFields>& values);
std::string write_kilometre_post_due_row(const WrittenValues<rows::kKilometrePostFields>& values);
std::string write_kilometre_post_uno_row(const WrittenValues<rows::kKilometrePostFields>& values);
std::string write_background_uno_row(const WrittenValues<rows::kBackgroundFields>& values);
std::string write_background_due_row(const WrittenValues<rows::kBackgroundFields>& values);
std::string write_background_tre_row(const WrittenValues<rows::kBackgroundFields>& values);
// `codes`, 4 or 9, is the digit of the keyword.
std::string write_signal_repetition_row(int codes, const WrittenValues<rows::kSignalRepetitionFields>& values);
// A curve bending left (`curvas…`) or right (`curvad…`), `radius_digit` '1' to '6'.
std::string write_curve_row(bool left, char radius_digit, const WrittenValues<rows::kCurveFields>& values);
std::string write_gradient_row(const WrittenValues<rows::kGradientFields>& values);
std::string write_mountain_row(const WrittenValues<rows::kMountainFields>& values);
// The right-hand speeds are left empty when all three are 0: a left board only.
std::string write_speed_limit_boards_row(const WrittenValues<rows::kSpeedLimitBoardFields>& values);
// The text as its field is written (quoted where it must be).
std::string write_indicator_board_row(const WrittenValues<rows::kIndicatorBoardFields>& values);

// ---- The service source ----
std::string write_braked_mass_row(const WrittenValues<rows::kBrakedMassFields>& values);
std::string write_coaches_row(const WrittenValues<rows::kCoachesFields>& values);
std::string write_line_speed_row(const WrittenValues<rows::kLineSpeedFields>& values);
std::string write_adhesion_row(const WrittenValues<rows::kAdhesionFields>& values);
std::string write_clock_row(const WrittenValues<rows::kClockFields>& values);
std::string write_sand_row(const WrittenValues<rows::kSandFields>& values);
std::string write_signal_row(const WrittenValues<rows::kSignalFields>& values);
std::string write_slowdown_row(const WrittenValues<rows::kSlowdownFields>& values);
std::string write_code_reduction_row(const WrittenValues<rows::kCodeReductionFields>& values);
// The name as its field is written (quoted where it must be).
std::string write_station_row(const WrittenValues<rows::kStationFields>& values);

}  // namespace scenario
