#include "postpass/signalling_walk.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/track_cell.hpp"

namespace scenario {
namespace {

// One item of a hand-made layout: the cell, its kind and its first value.
struct Item {
  int cell;
  uint8_t kind;
  int16_t value1 = 0;
};

// Shorthands for the layouts below.
Item signal(int c) { return {c, kSignal}; }
Item warning_board(int c) { return {c, kSlowdownWarningBoard, 80}; }
Item start(int c, int16_t speed) { return {c, kSlowdownStart, speed}; }
Item end(int c, int16_t speed) { return {c, kSlowdownEnd, speed}; }
Item taken(int c) { return {c, kApproachBoard, 1}; }  // any cell that is not free
Item point(int c, int16_t speed = 180) { return {c, kCodeReduction, speed}; }
Item marker(int c) { return {c, kMountainMarker}; }

struct WalkCase {
  std::string name;
  int32_t last_cell;
  std::vector<Item> layout;
  std::vector<Item> changed;  // what the walk should have written over the layout
  int fault = 0;              // last fault recorded, 0 when none
  int fault_cell = 0;
};

ScenarioModel model_with(int32_t last_cell, const std::vector<Item>& items) {
  ScenarioModel model;
  model.dimension_cells(last_cell);
  for (const Item& item : items) {
    model.cell(item.cell).kind = item.kind;
    model.cell(item.cell).value1 = item.value1;
  }
  return model;
}

std::string describe(const TrackCell& cell) {
  return std::string(cell_kind_name(cell.kind)) + " " + std::to_string(cell.value1);
}

void expect_walk(const WalkCase& c) {
  SCOPED_TRACE(c.name);
  ScenarioModel model = model_with(c.last_cell, c.layout);
  ScenarioModel expected = model;
  for (const Item& item : c.changed) {
    expected.cell(item.cell).kind = item.kind;
    expected.cell(item.cell).value1 = item.value1;
  }
  const std::vector<WalkFault> faults = run_signalling_walk(model);
  for (int32_t i = 0; i <= c.last_cell; ++i)
    EXPECT_EQ(describe(model.cell(i)), describe(expected.cell(i))) << "cell " << i;
  EXPECT_EQ(faults.empty() ? 0 : fault_number(faults.back().fault), c.fault);
  EXPECT_EQ(faults.empty() ? 0 : faults.back().fault_cell, c.fault_cell);
}

TEST(SignallingWalk, SignalsInFrontOfAWarningBoard) {
  const WalkCase cases[] = {
      {"signal one cell in front of the board", 60, {signal(29), warning_board(30)}, {point(28)}},
      {"the cell just in front taken: the next one", 60, {taken(28), signal(29), warning_board(30)}, {point(27)}},
      {"a mountain marker counts as free", 60, {marker(28), signal(29), warning_board(30)}, {point(28)}},
      {"every signal within 20 cells, not only the nearest",
       60,
       {signal(20), signal(25), signal(35), warning_board(40)},
       {point(19), point(24), point(34)}},
      {"a signal 21 cells in front is out of reach", 60, {signal(19), warning_board(40)}, {}},
      {"a point already there is lowered to 180",
       60,
       {point(28, 270), taken(27), signal(29), warning_board(30)},
       {point(28, 180)}},
      {"a slower point stays as it is", 60, {taken(28), point(27, 150), signal(29), warning_board(30)}, {}},
      {"no cell in front of the signal", 60, {taken(28), taken(27), signal(29), warning_board(30)}, {}, 11, 29},
      {"a signal in cell 3 is still looked at", 60, {signal(3), warning_board(6)}, {point(2)}},
      {"signals below cell 3 are not looked at", 60, {signal(2), warning_board(6)}, {}},
      {"a board in the last two cells is never visited", 40, {signal(35), warning_board(39)}, {}},
      {"the last visited cell still counts", 40, {signal(35), warning_board(38)}, {point(34)}},
  };
  for (const WalkCase& c : cases) expect_walk(c);
}

TEST(SignallingWalk, ApproachPointsInFrontOfASlowdownStart) {
  const WalkCase cases[] = {
      {"start at cell 7: no window fits", 60, {start(7, 120), end(9, 120)}, {}},
      {"start at cell 8: the first window only", 60, {start(8, 120), end(10, 120)}, {point(3)}},
      {"start at cell 14: the first two windows", 60, {start(14, 120), end(16, 120)}, {point(9), point(3)}},
      {"start at cell 21: all three windows",
       60,
       {start(21, 120), end(23, 120)},
       {point(16), point(10), point(3)}},
      {"an occupied cell is skipped, a point of another speed is not looked at",
       60,
       {point(25, 100), taken(24), start(30, 120), end(40, 120)},
       {point(23), point(19), point(12)}},
      {"a whole window occupied: fault 12, the other windows still tried",
       60,
       {taken(23), taken(24), taken(25), start(30, 120), end(40, 120)},
       {point(19), point(12)},
       12,
       30},
      {"a start in the last two cells is never visited", 40, {start(39, 60)}, {}},
  };
  for (const WalkCase& c : cases) expect_walk(c);
}

TEST(SignallingWalk, RepeatAndExitPoints) {
  const WalkCase cases[] = {
      {"110 km/h or more: no repeat and no exit point",
       60,
       {start(10, 110), end(30, 110), signal(32)},
       {point(5)}},
      {"80 km/h over 250 m: no repeat point, exit point in front of a signal 12 cells on",
       60,
       {start(30, 80), end(35, 80), signal(47)},
       {point(25), point(19), point(12), point(46)}},
      {"a signal 13 cells after the end is beyond the look-ahead",
       60,
       {start(30, 80), end(35, 80), signal(48)},
       {point(25), point(19), point(12)}},
      {"the exit point goes one further when the cell in front is taken",
       60,
       {start(30, 80), end(35, 80), taken(39), signal(40), signal(45)},
       {point(25), point(19), point(12), point(38)}},
      {"no cell in front of the exit signal: fault 13 at the end cell",
       60,
       {start(30, 80), end(35, 80), taken(38), taken(39), signal(40)},
       {point(25), point(19), point(12)},
       13,
       35},
      {"a long slow slowdown: a point every 8 cells",
       60,
       {start(10, 60), end(40, 60)},
       {point(5), point(18), point(26), point(34)}},
      {"the point due at the end cell goes in front of it",
       60,
       {start(10, 60), end(18, 60)},
       {point(5), point(17)}},
      {"a taken repeat cell: the one before, and the count goes on from there",
       60,
       {start(10, 60), taken(26), end(40, 60)},
       {point(5), point(18), point(25), point(33)}},
      {"the cell before taken too: the one after",
       60,
       {start(10, 60), taken(25), taken(26), end(45, 60)},
       {point(5), point(18), point(27), point(35), point(43)}},
      {"all three taken: fault 13, no further repeat point in this slowdown",
       60,
       {start(10, 60), taken(25), taken(26), taken(27), end(50, 60), signal(55)},
       {point(5), point(18), point(54)},
       13,
       26},
      {"no end before the last cell: repeats stop there, no exit point",
       30,
       {start(20, 60), signal(29)},
       {point(15), point(9), point(28)}},
      {"the cell after the last one is never free",
       28,
       {start(20, 60), taken(27), taken(28)},
       {point(15), point(9)},
       13,
       28},
      {"the exit search stops at the last cell", 40, {start(30, 80), end(35, 80)}, {point(25), point(19), point(12)}},
  };
  for (const WalkCase& c : cases) expect_walk(c);
}

TEST(SignallingWalk, FaultsDoNotStopTheWalkAndTheLastOneStays) {
  expect_walk({"fault 11 first, then a fault 12 further on",
               80,
               {taken(8), taken(9), signal(10), warning_board(15), taken(43), taken(44), taken(45), start(50, 120),
                end(52, 120)},
               {point(39), point(32)},
               12,
               50});
}

TEST(SignallingWalk, NothingToWalkWithoutCells) {
  ScenarioModel model;
  model.last_cell = 1780;  // a length was read, but the cells never came
  std::vector<WalkFault> faults;
  EXPECT_NO_THROW(faults = run_signalling_walk(model));
  EXPECT_TRUE(faults.empty());

  ScenarioModel tiny;
  tiny.dimension_cells(2);
  tiny.cell(1).kind = kSlowdownStart;
  EXPECT_NO_THROW(run_signalling_walk(tiny));
  EXPECT_EQ(tiny.cell(0).kind, kFreeCell);
}

}  // namespace
}  // namespace scenario
