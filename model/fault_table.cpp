#include "model/fault_table.hpp"

#include <algorithm>

#include "model/causes_told.hpp"

namespace scenario {
namespace {

// The one table of faults. Positions name the cell they fall in: a signal, a board or a
// slowdown at P metres lies in cell P / 50 + 1, a code reduction in cell P / 50, and a
// station marks the cell before the end of its area (both rounded, an exact half to even).
constexpr auto kFaults = std::to_array<FaultDescription>({
    {Fault::kRouteTooLong, "route length above 1000000 m",
     "The 'lunghezza percorso' row of the line source gives a route longer than 1000000 m. "
     "No track cell is made, so nothing is compiled.",
     {{{"The length has a digit too many, or is given in another unit than whole metres.",
        "Write the length in metres, at most 1000000."},
       {"The route really is longer than 1000 km.", "Split it into two scenarios."}}},
     "lunghezza percorso,    8200000"},
    {Fault::kKilometrePostNotMultipleOf50,
     "kilometre-post change whose position or offset is not a multiple of 50",
     "Each 'progressiva chilometrica' row of the line source gives the position where the kilometre reading "
     "changes and the offset of the new reading; both must be multiples of 50 m. The check is made once the "
     "service source has been read, so the fault is reported after every other row.",
     {{{"A position or an offset was copied from a timetable to the metre (9620 instead of 9600).",
        "Round both numbers to a multiple of 50."}}},
     "progressiva chilometrica uno,    9620,    -9550,    0"},
    {Fault::kRepetitionStart, "signal-repetition start not a multiple of 50",
     "The first number of the 'ripetizione segnali' row, where cab signal repetition starts, must be a multiple "
     "of 50 m. Reading of the line source stops at this row.",
     {{{"The start was written to the metre.", "Round it to a multiple of 50."}}},
     "ripetizione segnali 4 codici,    10525,    79900"},
    {Fault::kRepetitionEnd, "signal-repetition end not a multiple of 50",
     "The second number of the 'ripetizione segnali' row, where cab signal repetition ends, must be a multiple "
     "of 50 m (0 for no repetition). Reading of the line source stops at this row.",
     {{{"The end was written to the metre.", "Round it to a multiple of 50."}}},
     "ripetizione segnali 4 codici,    10550,    79910"},
    {Fault::kRepetitionCodes, "signal-repetition row gives neither 4 nor 9 codes",
     "The keyword of the 'ripetizione segnali' row must hold the digit 4 or 9, the number of codes of the cab "
     "signalling. Reading of the line source stops at this row.",
     {{{"The number of codes is written as a word, or left out.",
        "Write 'ripetizione segnali 4 codici' or 'ripetizione segnali 9 codici'."}}},
     "ripetizione segnali quattro codici,    10550,    79900"},
    {Fault::kIndicatorBoardOccupied, "indicator board on an occupied cell",
     "A 'cartello_indicatore' row at P metres goes into cell P / 50 + 1, and that cell already holds a "
     "speed-limit board or another indicator board. Reading of the line source stops at this row.",
     {{{"Two boards stand less than 50 m apart, or at the same position.",
        "Move one of them so that they are at least 50 m apart."}}},
     "indicatori_vmax,  60950,  80,  80,  80,  2,  ,  ,  ,  0\n"
     "cartello_indicatore,  60950,   (Km. 2.256)"},
    {Fault::kCodeReductionOccupied, "code reduction on an occupied cell",
     "An 'abbattimento' row at P metres goes into cell P / 50 (without the added 1 of signals and slowdowns), "
     "and that cell already holds a feature: a signal, a board, a slowdown cell, a station exit or another code "
     "reduction. Reading of the service source stops at this row.",
     {{{"A code reduction 50 m after a signal: the signal at P lies in cell P / 50 + 1, the same cell as a code "
        "reduction at P + 50.",
        "Move the code reduction by 50 m, or write it before the signal's position."},
       {"Two code reductions at the same position or less than 50 m apart.", "Keep one code reduction per 50 m."}}},
     "segnale,   10500,   2, 4, 1,  1, 0,    0,  0,0,0, 0\n"
     "abbattimento,   10550,   270"},
    {Fault::kStationPosition, "station position not a multiple of 50",
     "The first number of a 'stazione' row, the station's position, must be a multiple of 50 m. Reading of the "
     "service source stops at this row.",
     {{{"The position was written to the metre.", "Round it to a multiple of 50."}}},
     "stazione,    3825,  2,  700,  0, 1, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, MILANO LAMBRATE"},
    {Fault::kStationLength, "station length not a multiple of 100",
     "The third number of a 'stazione' row, the length of the station area, must be a multiple of 100 m. "
     "Reading of the service source stops at this row.",
     {{{"The length of the platform was written to the metre or to 50 m.", "Round it to a multiple of 100."}}},
     "stazione,    3800,  2,  650,  0, 1, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, MILANO LAMBRATE"},
    {Fault::kTooManyStations, "too many stations: they reach the slots of the indicator-board texts",
     "Stations and the texts of indicator boards share 79 record slots: with no indicator board 78 stations fit, "
     "and each 'cartello_indicatore' row of the line source takes one more. The station that reaches the boards' "
     "slots is stored, and reading of the service source stops there.",
     {{{"The route has more stations and named points than the records hold (rows of every type count, named "
        "points of type 25 and above too).",
        "Leave out named points that the driver does not need, or split the route."},
       {"Many indicator boards in the line source.", "Use fewer 'cartello_indicatore' rows."}}},
     "78 'stazione' rows in a service source whose line source has one 'cartello_indicatore' row"},
    {Fault::kNoCellBeforeSignal, "no free or lowerable cell in front of a signal before a slowdown warning board",
     "Every signal in the 1000 m in front of a slowdown warning board gets a code reduction point in one of the "
     "two cells in front of it. Both cells hold other features, and neither is a point that could be lowered. "
     "The fault is told at the slowdown's row, at the position written there, with a note for the signal and each "
     "of the two cells.",
     {{{"Signals or boards stand in the 100 m right in front of another signal, less than 2200 m before a "
        "slowdown.",
        "Leave one of the two 50 m cells in front of the signal free: move the feature there."}}},
     "rallentamento,   52600,    80,  250, 0,  1,  80\n"
     "segnale,   50900,   2, 4, 1,  1, 0,    0,  0,0,0, 0\n"
     "segnale,   50950,   2, 4, 1,  1, 0,    0,  0,0,0, 0\n"
     "segnale,   51000,   2, 4, 1,  1, 0,    0,  0,0,0, 0"},
    {Fault::kNoApproachCell, "no free cell for an approach point in front of a slowdown",
     "In front of each slowdown start, code reduction points go into three windows of three cells: 250 to 350 m, "
     "550 to 650 m and 900 to 1000 m before the start cell. Every cell of one window holds another feature. The "
     "fault is told at the slowdown's row, at the position written there, with a note for each cell of the window.",
     {{{"Signals, boards or station exits fill one of the windows.",
        "Move one of those features by 50 m, or move the slowdown."}}},
     "rallentamento,   52600,    80,  250, 0,  1,  80\n"
     "segnale,   52250,   2, 4, 0,  0, 0,    0,  0,0,0, 0\n"
     "segnale,   52300,   2, 4, 0,  0, 0,    0,  0,0,0, 0\n"
     "segnale,   52350,   2, 4, 0,  0, 0,    0,  0,0,0, 0"},
    {Fault::kNoRepeatOrExitCell, "no free cell for a repeat point or an exit point of a slowdown",
     "A slowdown below 110 km/h gets a code reduction point every 400 m after its start (in the due cell or "
     "one of its two neighbours), and one in the two cells in front of the first signal within 600 m after its "
     "end. All the cells tried hold other features. The fault is told at the slowdown's row, at the position "
     "written there, with a note for each cell tried.",
     {{{"Features stand side by side inside a long slow slowdown, 400 m, 800 m, ... after its start.",
        "Move one of them by 50 m."},
       {"Features fill the two cells in front of the first signal after the slowdown.",
        "Move that feature, or the signal."}}},
     "rallentamento,   52600,    60, 1000, 0,  1,  60\n"
     "segnale,   52950,   2, 4, 0,  0, 0,    0,  0,0,0, 0\n"
     "segnale,   53000,   2, 4, 0,  0, 0,    0,  0,0,0, 0\n"
     "segnale,   53050,   2, 4, 0,  0, 0,    0,  0,0,0, 0"},
    {Fault::kBeyondTrack, "feature too close to or beyond the end of the track cells",
     "The track cells reach 7000 m past the route length. A row at P metres needs P + 100 m of cells (a station "
     "P + 800 m). Reading of that source ends at this row as if the file ended there: the rows after it are not "
     "compiled.",
     {{{"A position has a digit too many.", "Correct the position."},
       {"The route length in the line source is too short for the features.",
        "Raise 'lunghezza percorso' to the real length of the route."}}},
     "segnale,   890000,   2, 4, 1,  1, 0,    0,  0,0,0, 0"},
    {Fault::kSignalOccupied, "signal on an occupied cell",
     "A 'segnale' row at P metres goes into cell P / 50 + 1, and that cell already holds a feature: another "
     "signal, a board, a slowdown cell, a code reduction or a station exit. Reading of the service source stops "
     "at this row.",
     {{{"Two signals less than 50 m apart.", "Keep signals at least 50 m apart."},
       {"A signal on the exit cell of a station: the cell before the end of the station area.",
        "Move the signal by 50 m, or change the station's length."},
       {"A signal at the position of a slowdown's start or end.", "Move the signal or the slowdown by 50 m."}}},
     "segnale,    8600,   2, 3, 1,  1, 0,    2,  2,1,1, 240\n"
     "segnale,    8620,   2, 3, 1,  1, 0,    2,  2,1,1, 240"},
    {Fault::kWarningBoardOccupied, "slowdown warning board on an occupied cell",
     "The warning board of a slowdown starting at x metres (x above 1500) goes into cell (x - 1200) / 50 + 1, "
     "and that cell already holds a feature. Reading of the service source stops at this row.",
     {{{"A board, a signal or a station exit stands 1200 m before the slowdown.",
        "Move that feature or the slowdown by 50 m."}}},
     "line source:    indicatori_vmax,  51400,  80,  80,  80,  0,  ,  ,  ,  0\n"
     "service source: rallentamento,   52600,    80,  250, 0,  1,  80"},
    {Fault::kSlowdownStartOccupied, "slowdown start on an occupied cell",
     "The start of a slowdown at x metres goes into cell x / 50 + 1, and that cell already holds a feature. "
     "Reading of the service source stops at this row.",
     {{{"A signal, a board or a station exit at the slowdown's start.", "Move the slowdown or the feature by 50 m."}}},
     "segnale,   52600,   2, 4, 1,  1, 0,    0,  0,0,0, 0\n"
     "rallentamento,   52600,    80,  250, 0,  1,  80"},
    {Fault::kSlowdownEndOccupied, "slowdown end on an occupied cell",
     "The end of a slowdown starting at x metres and l metres long goes into cell (x + l) / 50 + 1, and that "
     "cell already holds a feature. Reading of the service source stops at this row.",
     {{{"A signal, a board or a station exit at the slowdown's end.",
        "Change the slowdown's length, or move the feature by 50 m."}}},
     "segnale,   52850,   2, 4, 1,  1, 0,    0,  0,0,0, 0\n"
     "rallentamento,   52600,    80,  250, 0,  1,  80"},
    {Fault::kApproachBoardsOccupied, "approach boards of a slowdown warning on occupied cells",
     "A slowdown with approach boards (fifth number not 0, start above 1500 m) puts four boards in the four "
     "cells before its warning board, 1250 to 1400 m before its start; one of them holds a feature. The start, "
     "end and warning board are already written. Reading of the service source stops at this row.",
     {{{"A signal, a board or a station exit stands 1250 to 1400 m before the slowdown.",
        "Move that feature, or set the fifth number of the slowdown to 0 for no approach boards."}}},
     "segnale,   51300,   2, 4, 1,  1, 0,    0,  0,0,0, 0\n"
     "rallentamento,   52600,    80,  250, 0,  1,  80"},
    {Fault::kSpeedLimitBoardOccupied, "speed-limit boards on an occupied cell",
     "An 'indicatori_vmax' row at P metres goes into cell P / 50 + 1, and that cell already holds a "
     "speed-limit board or an indicator board. Reading of the line source stops at this row.",
     {{{"Two speed-limit rows less than 50 m apart: the boards of both sides of the track belong in one row.",
        "Put the left and the right board in one row, or move one row by 50 m."}}},
     "indicatori_vmax,  800,  30,  30,  30,  0,  ,  ,  ,  0\n"
     "indicatori_vmax,  820,  60,  60,  60,  0,  ,  ,  ,  0"},
    {Fault::kStationsTooClose, "station starts less than 350 m after the end of the previous one",
     "Station areas must follow each other along the route with at least 350 m between the end of one area and "
     "the start of the next. Reading of the service source stops at this row.",
     {{{"The station rows are not in increasing order of position.", "Sort the 'stazione' rows by position."},
       {"Two stations close together, or a station area too long.",
        "Shorten a length (third number) or leave out one of the two."}}},
     "stazione,    3800,  2,  700,  0, 1, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, MILANO LAMBRATE\n"
     "stazione,    4300, 22,  300,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, TOO CLOSE"},
    {Fault::kStationExitTooEarly, "station exit cell at or before cell 1",
     "A station of type below 25 marks its exit in the cell before the end of its area; the area ends at or "
     "before 100 m, where no exit can be marked. Reading of the service source stops at this row.",
     {{{"A small station at the very start of the route.",
        "Give the starting station type 7 or 8 (its area reaches its length past the position), move it further "
        "on, or use type 25 for a named point without cells."}}},
     "stazione,       0, 22,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, ORIGINE"},
    {Fault::kRuntimeFailure, "run-time failure while reading the sources",
     "A field could not be read or a value could not be stored. The diagnostic says what failed and points at "
     "the field. Reading stops there.",
     {{{"A number field holds text, a decimal point or a unit ('8x000', '12.5', '80km').",
        "Write whole numbers only."},
       {"A number too large for its field (a station's type above 255, a speed above 1638 km/h).",
        "Use a value within the field's range."},
       {"A row has fewer fields than its keyword needs, or the line source has no 'lunghezza percorso' row.",
        "Complete the row, or add the route length after '[generale]'."},
       {"A signal so near the start of the route that the cells its approach codes need lie before the first "
        "one, or another feature placed before the route begins.",
        "Move it to the lowest position the diagnostic names, or further on."}}},
     "lunghezza percorso,    8x000"},
    {Fault::kLineFileMissing, "line source file missing",
     "The line source cannot be found, so nothing is compiled.",
     {{{"The file was moved or renamed.", "Give the path of the line source as it is."}}},
     "scenario-builder compile Prova_linea.txt Prova_5-.txt   (with no Prova_linea.txt)"},
    {Fault::kNoGeneralSection, "line source file has no [generale] section",
     "Everything before the '[generale]' line of the line source is skipped; this file has none, so nothing is "
     "compiled.",
     {{{"The header is misspelt ('[generali]', '[general]').", "Write '[generale]' as the first line."},
       {"The two sources were given the other way round.", "Give the line source first, then the service source."}}},
     "[generali]\nlunghezza percorso,    82000"},
    {Fault::kCurve, "curve without a radius digit 1 to 6, or line plan past metre 1000000",
     "A 'curva' keyword must hold one digit from 1 to 6, for radii of 10000, 5000, 2500, 1000, 500 and 333 m, "
     "and the plan of the route cannot reach past metre 1000000. Reading of the line source stops at this row.",
     {{{"A digit outside 1 to 6, or none ('curvad7', 'curvad').", "Use the digit of the nearest radius, 1 to 6."},
       {"A curve that ends past metre 1000000.", "Correct the curve's position or length."}}},
     "curvad7,  1000,  400"},
    {Fault::kHeaderConstantsInUse, "header slot for the constants already in use",
     "Cell 1 of the track carries the header constants of the compiled track cells; a feature there has already "
     "set its first value. Shown as \" Errore n. 1250\"; no compiled file is written.",
     {{{"A signal, a board or a slowdown less than 25 m from the start of the route, or a code reduction from 26 to "
        "74 m: all of them land in cell 1.",
        "Move the feature to 50 m or beyond (a code reduction to 100 m or beyond)."}}},
     "indicatori_vmax,  0,  30,  30,  30,  0,  ,  ,  ,  0"},
    {Fault::kHeaderCodesInUse, "header slot for the competition codes already in use",
     "Cell 1 of the track carries the competition code of the compiled track cells; a feature there has already "
     "set its second value. Shown as \" Errore n. 1251\"; no compiled file is written.",
     {{{"A signal, a board or a slowdown less than 25 m from the start of the route: they land in cell 1.",
        "Move the feature to 50 m or beyond."}}},
     "indicatori_vmax,  0,  0,  0,  0,  0,  ,  60,  ,  0"},
});

constexpr bool in_increasing_order(std::span<const FaultDescription> table) {
  for (std::size_t i = 1; i < table.size(); ++i)
    if (fault_number(table[i - 1].fault) >= fault_number(table[i].fault)) return false;
  return true;
}

constexpr bool all_described(std::span<const FaultDescription> table) {
  for (const FaultDescription& fault : table) {
    if (fault.meaning.empty() || fault.explanation.empty() || fault.example.empty()) return false;
    if (!causes_told(fault.causes)) return false;
  }
  return true;
}

// Strictly increasing numbers: in order, and none twice.
static_assert(in_increasing_order(kFaults), "the fault table must list each fault once, by increasing number");
static_assert(all_described(kFaults), "every fault needs a meaning, an explanation, a cause with its fix and an example");

}  // namespace

std::span<const FaultDescription> fault_table() { return kFaults; }

const FaultDescription* find_fault(int32_t number) {
  const auto found = std::lower_bound(kFaults.begin(), kFaults.end(), number,
                                      [](const FaultDescription& f, int32_t n) { return fault_number(f.fault) < n; });
  return found != kFaults.end() && fault_number(found->fault) == number ? &*found : nullptr;
}

std::string_view fault_meaning(int32_t number) {
  const FaultDescription* fault = find_fault(number);
  return fault != nullptr ? fault->meaning : "unknown fault";
}

std::span<const FaultCause> filled_causes(const std::array<FaultCause, kMostCauses>& causes) {
  std::size_t count = 0;
  while (count < causes.size() && !causes[count].cause.empty()) ++count;
  return std::span<const FaultCause>(causes).first(count);
}

std::span<const FaultCause> fault_causes(const FaultDescription& fault) { return filled_causes(fault.causes); }

}  // namespace scenario
