#include "compiler/track_bounds.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "compiler/compile_entry.hpp"
#include "model/fault_record.hpp"
#include "model/track_cell.hpp"

namespace scenario {
namespace {

// Keeps the faults it hears of, with what failed.
struct KeepingFaults : FaultSink {
  std::vector<int> numbers;
  std::vector<std::string> details;
  std::vector<int> lines;
  void on_fault(const RecordedFault& fault) override {
    numbers.push_back(fault.number);
    details.emplace_back(fault.detail);
    lines.push_back(fault.place ? fault.place->line : 0);
  }
};

// A 10 000 m route with one row in the main section of the line source or in the service
// source, on line 4 either way.
struct Compiled {
  ScenarioModel model;
  KeepingFaults faults;
};
std::unique_ptr<Compiled> compile_row(const std::string& row, bool in_service) {
  auto compiled = std::make_unique<Compiled>();
  compiled->model.scenario_name = "Prova";
  compiled->model.scenario_number = "1";
  SourceFile line = SourceFile::in_memory(
      "Prova_linea.txt", "[generale]\nlunghezza percorso, 10000\n[curve]\n" + (in_service ? "" : row + "\n") + "[fine]\n");
  SourceFile service = SourceFile::in_memory(
      "Prova_1-.txt", "[generale]\nvelocita, 0, 100\naderenza, 0, 100\n" + (in_service ? row + "\n" : "") + "[fine]\n");
  compile_scenario(compiled->model, 1, line, service, &compiled->faults);
  return compiled;
}

TEST(TrackBounds, AFeatureBeforeTheFirstCellSaysWhatItNeededAndTheLowestPositionItMayTake) {
  struct Case {
    std::function<std::string(int64_t)> row;
    bool in_service;
    int64_t lowest;      // the lowest position the fault names: it compiles, a metre lower does not
    std::string detail;  // of fault 25 for the row at `at`
    int64_t at;
  };
  const auto n = [](int64_t position) { return std::to_string(position); };
  const Case cases[] = {
      {[&](int64_t p) { return "segnale, " + n(p) + ", 2, 4, 0, 0, 0, 0, 0,0,0, 0"; }, true, 325,
       "signal at 300 m: its approach codes need the cells up to 400 m in front of its cell, which begin before the "
       "first track cell; the lowest position a signal may take is 325 m (350 m on a 50 m cell boundary)",
       300},
      {[&](int64_t p) { return "rallentamento, " + n(p) + ", 60, 100, 0, 0, 0"; }, true, -75,
       "slowdown at -100 m: its start cell lies before the first track cell; the lowest position a slowdown may take "
       "is -75 m (-50 m on a 50 m cell boundary)",
       -100},
      {[&](int64_t p) { return "rallentamento, 1000, 60, " + n(p - 1000) + ", 0, 0, 0"; }, true, -75,
       "slowdown at 1000 m: its end, at -200 m, lies before the first track cell; the lowest position its end may "
       "take is -75 m (-50 m on a 50 m cell boundary)",
       -200},
      {[&](int64_t p) { return "abbattimento, " + n(p) + ", 5"; }, true, -25,
       "code reduction point at -100 m: its cell lies before the first track cell; the lowest position a code "
       "reduction point may take is -25 m (0 m on a 50 m cell boundary)",
       -100},
      {[&](int64_t p) { return "indicatori_vmax, " + n(p) + ", 30, 30, 30, 0, , , , 0"; }, false, -75,
       "speed-limit boards at -100 m: their cell lies before the first track cell; the lowest position a pair of "
       "speed-limit boards may take is -75 m (-50 m on a 50 m cell boundary)",
       -100},
      {[&](int64_t p) { return "montagna, " + n(p) + ", 500, 1"; }, false, -25,
       "mountain stretch at -100 m: its first cell lies before the first track cell; the lowest position a mountain "
       "stretch may take is -25 m (0 m on a 50 m cell boundary)",
       -100},
      {[&](int64_t p) { return "cartello_indicatore, " + n(p) + ", testo"; }, false, -75,
       "indicator board at -100 m: its cell lies before the first track cell; the lowest position an indicator board "
       "may take is -75 m (-50 m on a 50 m cell boundary)",
       -100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row(c.at));
    const auto failed = compile_row(c.row(c.at), c.in_service);
    EXPECT_EQ(failed->faults.numbers, std::vector<int>{25});
    EXPECT_EQ(failed->faults.details, std::vector<std::string>{c.detail});
    EXPECT_EQ(failed->faults.lines, std::vector<int>{4});
    EXPECT_EQ(compile_row(c.row(c.lowest), c.in_service)->faults.numbers, std::vector<int>{});
    EXPECT_EQ(compile_row(c.row(c.lowest - 1), c.in_service)->faults.numbers, std::vector<int>{25});
  }
}

TEST(TrackBounds, ASignalBeforeTheFirstCellKeepsWhatItWroteBeforeItFailed) {
  // At 150 m the signal takes cell 4 and writes its approach codes into cells 2 and 0; the
  // one for cell -2 fails, as it always did.
  const auto compiled = compile_row("segnale, 150, 2, 4, 0, 0, 0, 0, 0,0,0, 0", true);
  EXPECT_EQ(compiled->faults.numbers, std::vector<int>{25});
  const ScenarioModel& model = compiled->model;
  EXPECT_EQ(model.cell(4).kind, kSignal);
  EXPECT_EQ(model.cell(2).approach, 61);
  EXPECT_EQ(model.cell(0).approach, 62);
}

}  // namespace
}  // namespace scenario
