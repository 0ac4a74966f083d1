// Every kind of track cell is told by its entry: a code finds its own, a code of no kind the
// unknown kind's; and the readers go by the entry, so that a kind's mark, summary row and
// words come with its entry alone.
#include "model/cell_kinds.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "compiler/compile_entry.hpp"
#include "compiler/source_file.hpp"

#include "plot/route_plot.hpp"
#include "reading/scenario_diff.hpp"
#include "reading/scenario_summary.hpp"
#include "reading/track_reading.hpp"
#include "schema/row_schema.hpp"
#include "sources/scenario_texts.hpp"
#include "tests/scenario_generator.hpp"
#include "tests/reading_fixture.hpp"

namespace scenario {
namespace {

TEST(CellKinds, EachCodeFindsItsOwnEntryAndAnyOtherTheUnknownKind) {
  size_t found = 0;
  for (int code = 0; code < 256; ++code) {
    const CellKindEntry& entry = cell_kind_entry(static_cast<uint8_t>(code));
    if (entry.name == "unknown") continue;
    EXPECT_EQ(entry.code, code);
    ++found;
  }
  EXPECT_EQ(found, cell_kinds().size());
  const TrackCell unknown{.kind = 7, .value1 = 1, .value2 = -2, .value3 = 3, .value4 = 4};
  EXPECT_STREQ(cell_kind_name(7), "unknown");
  EXPECT_EQ(cell_feature_text(unknown), "kind 7 1/-2/3/4");
  EXPECT_EQ(feature_position_m(7, 10), 500);
}

// The words diff tells each kind in, its values put in place of the braces.
TEST(CellKinds, DiffWordsTakeTheCellsValues) {
  const struct {
    TrackCell cell;
    std::string words;
  } cases[] = {
      {{.kind = kFreeCell}, "nothing"},
      {{.kind = kSignal, .value1 = 32, .value2 = 11, .value3 = 11, .value4 = 8, .signal_time = 240},
       "signal 32/11/11/8 time 240"},
      {{.kind = kSignal, .value1 = 32, .value2 = 11, .value3 = 11, .value4 = 8}, "signal 32/11/11/8"},
      {{.kind = kSlowdownStart, .value1 = 80}, "slowdown start 80 km/h"},
      {{.kind = kIndicatorBoard, .value1 = 79}, "indicator board (text in slot 79)"},
      {{.kind = kCodeReductionNonPositive, .value1 = -3}, "code reduction of value 0 or below"},
  };
  for (const auto& [cell, words] : cases) EXPECT_EQ(cell_feature_text(cell), words);
}

// One cell of each kind put into the built-in route where nothing stands: the profile
// draws it exactly when its kind has a mark, and a kind told among the boards has its row
// under its words and its count.
TEST(CellKinds, TheReadersTellEachKindByItsEntry) {
  const LoadedScenario& builtin = testing::builtin_scenario();
  const int64_t free_cell = 600;  // 29 950 m: no feature within 500 m
  for (int64_t c = free_cell - 10; c <= free_cell + 10; ++c)
    ASSERT_EQ(builtin.cells[static_cast<size_t>(c)].kind, kFreeCell) << c;
  const std::string plain_svg = render_route_svg(builtin);
  for (const CellKindEntry& kind : cell_kinds()) {
    if (kind.code == kFreeCell || kind.summary_group == SummaryGroup::kSlowdowns) continue;  // a slowdown needs its pair
    LoadedScenario s = builtin;
    TrackCell& cell = s.cells[static_cast<size_t>(free_cell)];
    cell.kind = kind.code;
    cell.value1 = cell.value2 = cell.value3 = 60;
    EXPECT_EQ(render_route_svg(s) != plain_svg, kind.plot_mark != PlotMarkShape::kNotDrawn) << kind.name;

    const ReadingDocument summary = summarise_scenario(s);
    for (const DocumentSection& section : summary.sections) {
      if (section.name != "boards") continue;
      size_t rows = 0;
      for (const DocumentRow& row : section.rows)
        for (const DocumentField& field : row)
          rows += field.name == "board" && field.value.text == kind.summary_words &&
                  row.front().value.text.starts_with("29 950");
      EXPECT_EQ(rows, kind.summary_group == SummaryGroup::kBoards ? 1u : 0u) << kind.name;
    }
  }
}

bool names(const RowText& row, uint8_t kind) {
  return std::find(row.cell_kinds.begin(), row.cell_kinds.end(), kind) != row.cell_kinds.end();
}

// The row a cell's origin names: the keyword field at the row's place.
const RowText* row_at(const SourcePlace& place) {
  std::string_view keyword = place.line_text.substr(static_cast<size_t>(place.column - 1));
  return row_read_as(keyword.substr(0, keyword.find(',')));
}

// Each row names the kinds of cell it takes: every such kind has its entry, every kind but the
// free cell is taken by some row, and the compiler fills a cell only with a kind that the row
// which placed it names.
TEST(CellKinds, EachRowNamesTheKindsItTakesAndTakesNoOther) {
  for (const RowText* row : every_row())
    for (const CellKind kind : row->cell_kinds) EXPECT_NE(cell_kind_entry(kind).name, "unknown") << row->keyword;
  for (const CellKindEntry& entry : cell_kinds()) {
    const std::vector<const RowText*> rows = every_row();
    const bool taken = std::any_of(rows.begin(), rows.end(), [&](const RowText* row) { return names(*row, entry.code); });
    EXPECT_EQ(taken, entry.code != kFreeCell) << entry.name;
  }

  const testing::GeneratedScenario generated[] = {{std::string(kLineSourceText), std::string(kServiceSourceText)},
                                                  testing::generate_scenario(38, 30000),
                                                  testing::generate_scenario(3801, 45000)};
  for (const testing::GeneratedScenario& sources : generated) {
    ScenarioModel model;
    CompileContext context(model);
    SourceFile line = SourceFile::in_memory("linea.txt", sources.line);
    SourceFile service = SourceFile::in_memory("servizio.txt", sources.service);
    ASSERT_EQ(compile_scenario(context, 1, line, service).last_fault, 0);
    ASSERT_FALSE(context.cell_origins.empty());
    for (const auto& [cell, origin] : context.cell_origins) {
      const RowText* row = row_at(origin.row);
      ASSERT_NE(row, nullptr) << origin.row.line_text;
      EXPECT_TRUE(names(*row, model.cell(cell).kind))
          << row->keyword << " placed " << cell_kind_name(model.cell(cell).kind) << " in cell " << cell;
    }
  }
}

}  // namespace
}  // namespace scenario
