#include "model/warning_table.hpp"

#include <algorithm>
#include <array>

#include "model/causes_told.hpp"

namespace scenario {
namespace {

// The one table of warnings.
constexpr auto kWarnings = std::to_array<WarningDescription>({
    {Warning::kUnknownHeader, "unknown section header",
     "A field holding '[' and ']' names no section header of its source. Headers only keep a source readable, so the "
     "field is skipped like any other that matches no row.",
     {{{"The header is misspelt.", "Write it as the reference lists it; the warning names the header it is close to."}}},
     "[pendenz]"},
    {Warning::kUnmatchedKeyword, "keyword that matches no row",
     "A keyword field contains none of the words of its section's rows, so it is skipped, and the fields after it are "
     "read one by one as keywords, most of them skipped too: the whole row is dropped. The closing line counts the "
     "rows dropped by a keyword close to a row's.",
     {{{"The keyword is misspelt.", "Write it as the reference lists it; the warning names the keyword it is close to."},
       {"The kilometre-post, background or signal-repetition keyword is written with a capital.",
        "Write it in small letters."},
       {"The row begins with '-', meant as a note marker: a field with a dash stands for the field after it.",
        "Keep notes before [generale]; to keep the row, take the '-' away."}}},
     "segnal,    8600,   2, 3, 1,  1, 0,    2,  2,1,1, 240"},
    {Warning::kRowOverLines, "row running over a line end",
     "A row takes its fields one after another whatever the line ends: a row with too few fields on its line took the "
     "first fields of the next one.",
     {{{"A field is missing from the row.", "Add it; an empty field reads 0."}}},
     "segnale,    8600\n   2, 3, 1,  1, 0,    2,  2,1,1, 240"},
    {Warning::kLineHoldsMore, "line holding more fields than its row",
     "A row ended before its line did, and the rest of the line was read as the next keyword.",
     {{{"A field too many, or two rows on one line.", "Remove the extra field, or put each row on a line of its own."}}},
     "segnale,    8600,   2, 3, 1,  1, 0,    2,  2,1,1, 240, 0"},
    {Warning::kOffCell, "position off its 50 m cell",
     "A position that is not a multiple of 50 m is compiled as if at the cell boundary it rounds to.",
     {{{"The position was copied to the metre.", "Round it to a multiple of 50."}}},
     "segnale,    8610,   2, 3, 1,  1, 0,    2,  2,1,1, 240"},
    {Warning::kPastRouteLength, "position past the route length",
     "The cells reach 7000 m past the route length, so the row is compiled, but the driver never gets there.",
     {{{"The position has a digit too many, or the route length is too short.",
        "Correct the position or the 'lunghezza percorso' row."}}},
     "aderenza, 85000, 100"},
    {Warning::kTextOverLines, "quoted text running over line ends",
     "A text that begins with '\"' ends at the next '\"', whatever lines stand between: the rows between became part "
     "of the text.",
     {{{"The closing quote is missing.", "Add it."}}},
     "stazione, 3800, 2, 700, 0, 1, 0, 1,1,0, 4,1,1, 0, 0, 0, 0, \"MILANO LAMBRATE\n"
     "stazione, 9000, 2, 300, 0, 1, 0, 1,1,0, 4,1,1, 0, 0, 0, 0, \"VOGHERA\""},
    {Warning::kLooksLikeUtf8, "source that looks like UTF-8",
     "The sources are read as Windows-1252, one byte a character: a letter outside ASCII saved as UTF-8 becomes two or "
     "three characters.",
     {{{"The source was saved as UTF-8.",
        "Save it as Windows-1252, or compile with --input-encoding utf-8."}}},
     "stazione, 0, 8, 800, 1, 1, 0, 4,1,0, 2,1,1, 1, 18,15, 0, CITTÀ"},
    {Warning::kMissingRows, "source without the rows a scenario needs",
     "The service source has no line speed, no adhesion or no station row: the route is compiled without them.",
     {{{"The rows were left out or their section header is misspelt.", "Add the rows the warning names."}}},
     "[generale]\nnumero vetture, 12"},
    {Warning::kOutsideRange, "value outside its documented range",
     "The value is stored as its field's rule says (its low bits, or as written), which is rarely what was meant; the "
     "warning says what the file holds.",
     {{{"A digit too many or a sign too many.", "Write a value within the range the reference gives for the field."}}},
     "pendenza,  1200,   200"},
    {Warning::kReadingStopped, "reading stopped by a fault recorded earlier",
     "After a signal or slowdown row every fault then standing ends the reading of the service source, also one "
     "recorded earlier: the rows after this one are not compiled.",
     {{{"An earlier fault.", "Put right the fault the warning names."}}},
     "line source:    pendenza,  88950,   0\n"
     "service source: segnale,    8600,   2, 3, 1,  1, 0,    2,  2,1,1, 240"},
    {Warning::kKilometrePostsDropped, "kilometre-post changes dropped",
     "The three kilometre-post changes are put in order of position; when two share the greatest position, all "
     "three are dropped and the kilometre reading is the position itself along the whole route.",
     {{{"Two changes were given the same position.", "Give each change a position of its own."}}},
     "progressiva chilometrica due,    63200,    63200,    1\nprogressiva chilometrica tre,    63200,    101300,    1"},
    {Warning::kRowOutOfOrder, "row out of position order",
     "Gradient, line speed and adhesion rows apply in the order they are written: each row's value holds from the cell after "
     "the last one written. A row whose position is not past the previous row's cell begins where the previous "
     "row's cells end, not at its own position.",
     {{{"The rows were not written in order of position.", "Write the rows in increasing order of position."},
       {"Two rows were given the same position.", "Keep one row per position."}}},
     "velocita,   3000,    60\nvelocita,   1500,    120"},
    {Warning::kOverwrittenByStationExit, "item overwritten by a station exit",
     "A station's exit marker takes its cell whatever the cell holds: the item that stood there, such as a speed-limit "
     "or indicator board of the line source, is lost from the compiled files.",
     {{{"The item stands where the station area ends.",
        "Move the item to another cell, or change the station's length or position."}}},
     "line source:    indicatori_vmax,  6050,  60,  60,  60,  0,  ,  ,  ,  0\n"
     "service source: stazione,    6000,  4,  300,  0, 0, 0,  1,1,0,  4,1,1,    0,   8,36, 0, BETA"},
    {Warning::kEndsBeforeStart, "stretch that ends before it starts",
     "A mountain stretch, the signal repetition or a slowdown is given a start and an end (or a length): an end at or "
     "before the start leaves the stretch without cells, the repetition ending before it begins, or the slowdown's end "
     "cell at or before its start cell.",
     {{{"The start and the end were swapped.", "Write the smaller position first."},
       {"A slowdown's speed and length were swapped, or the length was left empty.",
        "Write the speed second and a length of at least 50 m third."}}},
     "montagna,   12000,  11500,  3"},
    {Warning::kOverlapsRowBefore, "row before the end of the row before it",
     "Curves and mountain stretches are ordered lists: each begins where the one before it has ended or later. A curve "
     "that begins before the previous curve's end is turned only from that end on, or left out of the plan when it "
     "ends before it; a mountain stretch that begins before the previous one's end writes over its cells and takes "
     "type 3.",
     {{{"The rows were not written in order of position.", "Write the rows in increasing order of position."},
       {"A position or a length has a digit too many.", "Correct it."}}},
     "curvad2,   3000,   800\ncurvas3,   3500,   400"},
    {Warning::kFillAfterZero, "line speed or adhesion list not beginning at 0",
     "Before the first line speed or adhesion row every cell holds 0: the train finds a line speed of 0 km/h, or no "
     "adhesion, over the first metres of the route.",
     {{{"The first row was written at the first feature rather than at the start of the route.",
        "Write the first row at position 0."}}},
     "velocita,   1000,    120"},
    {Warning::kTimeGoesBack, "timetable time earlier than the station before",
     "Stations are written in route order, and their timetable times are stored as written: the train card then lists a "
     "station reached before the one before it. A time more than 12 hours earlier is read as the next day, and a "
     "place without a time (0, 0, 0) is passed over.",
     {{{"A digit of the hours or minutes is wrong.", "Correct the time."},
       {"The station rows are not in route order.", "Write them in increasing order of position."}}},
     "stazione,  2500, 8, 400, 0,0,0, 0,0,0, 0,0,0,0,  10,20,0, ALFA\nstazione,  9000, 2, 300, 0,0,0, 0,0,0, 0,0,0,0,  "
     "10,5,0, BETA"},
    {Warning::kSlowdownOverLineSpeed, "slowdown faster than the line speed",
     "A slowdown lowers the speed: one above the line speed in force at its start (from the line speed rows written "
     "before it) is stored as written, and its boards show a speed the train may not run.",
     {{{"The speed and the length were swapped.", "Write the speed second and the length third."},
       {"The speed has a digit too many.", "Correct it."}}},
     "velocita,   0,    120\nrallentamento,   2600,    600,  50, 0,  1,  0"},
    {Warning::kControlInText, "control character in a text",
     "A station name or an indicator board text holds a tab or another control character: it is stored in the "
     "record as written, and the simulator shows it as a box or a gap.",
     {{{"A tab was typed between words.", "Write a space instead."}}},
     "cartello_indicatore,  1000,   PL\t12"},
    {Warning::kRouteLengthInKilometres, "route length written in kilometres",
     "A route length under 1000 m with rows placed past it was most likely written in kilometres: every later "
     "feature then lies past the route's end, where the driver never gets, or past the track cells (fault 15).",
     {{{"The route length was written in kilometres.", "Write it in metres."}}},
     "lunghezza percorso,    36\n[pendenze]\npendenza,   1500,   6"},
    {Warning::kTimetableTooTight, "timetable time the train cannot keep",
     "The fastest run the limits allow (line speeds, slowdowns, braking before every lower limit and stop, the "
     "train's acceleration, the gradients), plus the dwell at the stops and the regularity margin, reaches the "
     "station later than its timetable time. The time of a stop is its departure, of the last station its arrival. "
     "The warning names the earliest time with the margin and what costs most; `scenario-builder timing` shows the "
     "whole run.",
     {{{"The time was copied wrong, or the stop before it is too late.",
        "Write a time no earlier than the one the warning gives."},
       {"A slowdown or a lower line speed was added after the timetable was made.",
        "Move the time later by what the warning says the slowdown costs."},
       {"The train is faster than the check assumes.",
        "Give its acceleration, braking or margin with the timing options."}}},
     "stazione,   38150,  4,  700,  0, 1, 0,  1,1,0,  4,1,1,   60,  18,25, 0, PAVIA"},
});

// Warning numbers are stable ids: W1 upward with no gap, each once.
constexpr bool numbered_from_w1() {
  for (std::size_t i = 0; i < kWarnings.size(); ++i)
    if (warning_number(kWarnings[i].warning) != static_cast<int32_t>(i) + 1) return false;
  return true;
}

constexpr bool all_described() {
  for (const WarningDescription& warning : kWarnings) {
    if (warning.title.empty() || warning.explanation.empty() || warning.example.empty()) return false;
    if (!causes_told(warning.causes)) return false;
  }
  return true;
}

static_assert(numbered_from_w1(), "the warning table must list each warning once, numbered from W1 with no gap");
static_assert(all_described(), "every warning needs a title, an explanation, a cause with its fix and an example");

}  // namespace

std::string warning_id(int32_t number) { return "W" + std::to_string(number); }

std::span<const WarningDescription> warning_table() { return kWarnings; }

const WarningDescription* find_warning(int32_t number) {
  const auto found = std::find_if(kWarnings.begin(), kWarnings.end(), [number](const WarningDescription& warning) {
    return warning_number(warning.warning) == number;
  });
  return found == kWarnings.end() ? nullptr : &*found;
}

std::span<const FaultCause> warning_causes(const WarningDescription& warning) { return filled_causes(warning.causes); }

}  // namespace scenario
