#include "compiler/walk_faults.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/compile_entry.hpp"
#include "model/fault_record.hpp"

namespace scenario {
namespace {

// Keeps every fault it hears of; warnings are not what these tests are about.
struct KeepingFaults : FaultSink {
  std::vector<RecordedFault> faults;
  void on_fault(const RecordedFault& fault) override { faults.push_back(fault); }
};

// A note as the author reads it: its words and the line it points at (0: none).
struct Note {
  std::string text;
  int line;
  bool operator==(const Note&) const = default;
};

std::vector<Note> notes_of(const RecordedFault& fault) {
  std::vector<Note> notes;
  for (const DiagnosticNote& note : fault.notes) notes.push_back({note.message, note.place ? note.place->line : 0});
  return notes;
}

// The faults of a 10 000 m route whose service source holds `rows` from line 2 on.
std::vector<RecordedFault> walk_faults_of(const std::string& rows) {
  ScenarioModel model;
  model.scenario_name = "Prova";
  model.scenario_number = "1";
  SourceFile line = SourceFile::in_memory("Prova_linea.txt", "[generale]\nlunghezza percorso, 10000\n[curve]\n[fine]\n");
  SourceFile service = SourceFile::in_memory("Prova_1-.txt", "[generale]\n" + rows + "[fine]\n");
  KeepingFaults sink;
  EXPECT_EQ(compile_scenario(model, 1, line, service, &sink).status, CompileStatus::kCompiled);
  return sink.faults;
}

TEST(WalkFaults, AreToldAtTheSlowdownRowAsWrittenWithTheCellsTheyNeeded) {
  struct Case {
    const char* what;
    std::string rows;
    int fault;
    int line;          // of the slowdown row
    int32_t position;  // as written in the row, not its cell's
    std::vector<Note> notes;
  };
  const Case cases[] = {
      {"an approach window full of signals",
       "segnale, 4650, 2, 4, 0, 0, 0, 0, 0,0,0, 0\n"
       "segnale, 4700, 2, 4, 0, 0, 0, 0, 0,0,0, 0\n"
       "segnale, 4750, 2, 4, 0, 0, 0, 0, 0,0,0, 0\n"
       "rallentamento, 5010, 120, 250, 0, 0, 0\n",
       12, 5, 5010,
       {{"cell 96 already holds the signal of this row", 4},
        {"cell 95 already holds the signal of this row", 3},
        {"cell 94 already holds the signal of this row", 2}}},
      {"a signal in front of the warning board with both cells in front of it taken",
       "segnale, 3350, 2, 4, 0, 0, 0, 0, 0,0,0, 0\n"
       "segnale, 3400, 2, 4, 0, 0, 0, 0, 0,0,0, 0\n"
       "segnale, 3450, 2, 4, 0, 0, 0, 0, 0,0,0, 0\n"
       "rallentamento, 5020, 120, 250, 0, 0, 0\n",
       11, 5, 5020,
       {{"the signal in cell 70 needs a code reduction point in one of the two cells in front of it; this row "
         "placed the signal",
         4},
        {"cell 69 already holds the signal of this row", 3},
        {"cell 68 already holds the signal of this row", 2}}},
      {"a repeat point 400 m into a slow slowdown with its cell and both neighbours taken",
       "abbattimento, 5400, 30\n"
       "abbattimento, 5450, 30\n"
       "abbattimento, 5500, 30\n"
       "rallentamento, 5000, 60, 1000, 0, 0, 0\n",
       13, 5, 5000,
       {{"cell 109 already holds the code reduction of this row", 3},
        {"cell 108 already holds the code reduction of this row", 2},
        {"cell 110 already holds the code reduction of this row", 4}}},
      {"the exit point in front of the first signal after a slow slowdown",
       "rallentamento, 5000, 60, 250, 0, 0, 0\n"
       "abbattimento, 5350, 30\n"
       "abbattimento, 5400, 30\n"
       "segnale, 5400, 2, 4, 0, 0, 0, 0, 0,0,0, 0\n",
       13, 2, 5000,
       {{"the signal in cell 109 needs a code reduction point in one of the two cells in front of it; this row "
         "placed the signal",
         5},
        {"cell 108 already holds the code reduction of this row", 4},
        {"cell 107 already holds the code reduction of this row", 3}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<RecordedFault> faults = walk_faults_of(c.rows);
    ASSERT_EQ(faults.size(), 1u);
    const RecordedFault& fault = faults.front();
    EXPECT_EQ(fault.number, c.fault);
    ASSERT_TRUE(fault.place.has_value());
    EXPECT_EQ(fault.place->file, "Prova_1-.txt");
    EXPECT_EQ(fault.place->line, c.line);
    EXPECT_EQ(fault.position_m, c.position);
    EXPECT_EQ(notes_of(fault), c.notes);
  }
}

TEST(WalkFaults, KeepTheWalksOrderAndTheLastOneStands) {
  ScenarioModel model;
  model.dimension_cells(40);
  model.cell(38).kind = kSignal;
  model.cell(37).kind = kApproachBoard;
  CompileContext context(model);
  // No row placed these cells: each fault keeps the position of the cell it names.
  record_walk_faults(context, {{Fault::kNoApproachCell, 30, 30, std::nullopt, {25, 24, 23}},
                               {Fault::kNoRepeatOrExitCell, 30, 38, std::nullopt, {38, 37, 41}}});
  EXPECT_EQ(context.error_code, 13);
  EXPECT_EQ(context.error_position_m, 1900);
  KeepingFaults sink;
  context.fault_sink = &sink;
  record_walk_faults(context, {{Fault::kNoRepeatOrExitCell, 30, 38, std::nullopt, {38, 37, 41}}});
  ASSERT_EQ(sink.faults.size(), 1u);
  EXPECT_FALSE(sink.faults[0].place.has_value());
  EXPECT_EQ(sink.faults[0].position_m, 1900);
  EXPECT_EQ(notes_of(sink.faults[0]), (std::vector<Note>{{"cell 38 already holds a feature: signal", 0},
                                                         {"cell 37 already holds a feature: approach board", 0},
                                                         {"cell 41 lies outside the track", 0}}));
}

}  // namespace
}  // namespace scenario
