#include "decompile/line_source_recovery.hpp"

#include <algorithm>
#include <array>
#include <map>

#include "schema/row_schema.hpp"
#include "compiler/kilometre_posts.hpp"
#include "compiler/line_features.hpp"
#include "compiler/mountain_stretches.hpp"
#include "decompile/fill_recovery.hpp"
#include "decompile/row_writers.hpp"
#include "decompile/source_text.hpp"
#include "model/format_rules.hpp"
#include "model/runtime_failure.hpp"
#include "model/scenario_model.hpp"

namespace scenario {
namespace {

constexpr int64_t kCell_m = CompiledScenario::kCell_m;

using Triple = std::array<int32_t, 3>;  // position, offset, direction

Triple triple_of(const SimRecord& r) { return {r.start_m, r.end_m, r.position_m}; }

// The rows "uno", "due" and "tre" that put slots 83, 82 and 81 back as they are: the offset
// correction undone, then the first arrangement of the three changes among the words that
// the ordering turns into the slots (the plainest, "uno" the smallest, first).
void kilometre_post_rows(const CompiledScenario& s, SourceText& text, Remarks& remarks) {
  std::array<Triple, 3> slots{};  // 81, 82, 83
  std::array<Triple, 3> read{};
  for (size_t i = 0; i < 3; ++i) {
    slots[i] = triple_of(s.records[static_cast<size_t>(kKilometrePostSlots[i])]);
    read[i] = slots[i];
    if (read[i][2] == kFallingDirection) {
      const int64_t offset = int64_t{read[i][1]} - kFallingOffsetCorrection_m;
      if (offset < INT32_MIN) remarks.push_back("record " + std::to_string(kKilometrePostSlots[i]) +
                                                ": an offset no kilometre-post row gives");
      else
        read[i][1] = static_cast<int32_t>(offset);
    }
  }
  std::array<size_t, 3> order{0, 1, 2};  // the triple read as tre, due, uno
  std::array<size_t, 3> chosen = order;
  bool found = false;
  do {
    ScenarioModel trial;
    for (size_t i = 0; i < 3; ++i) {
      SimRecord& r = trial.record(kKilometrePostSlots[i]);
      std::tie(r.start_m, r.end_m, r.position_m) = std::tuple(read[order[i]][0], read[order[i]][1], read[order[i]][2]);
    }
    try {
      progressive_ordina(trial);
    } catch (const RuntimeFailure&) {
      continue;
    }
    bool same = true;
    for (size_t i = 0; i < 3; ++i) same = same && triple_of(trial.record(kKilometrePostSlots[i])) == slots[i];
    if (same) {
      chosen = order;
      found = true;
    }
  } while (!found && std::next_permutation(order.begin(), order.end()));
  if (!found) remarks.push_back("records 81 to 83: kilometre-post changes that no three rows are ordered into");

  // The rows of slots 81, 82 and 83, written "uno" first.
  static constexpr std::string (*kWriters[3])(const WrittenValues<rows::kKilometrePostFields>&) = {
      write_kilometre_post_tre_row, write_kilometre_post_due_row, write_kilometre_post_uno_row};
  for (size_t w = 3; w-- > 0;) {
    const Triple& t = read[chosen[w]];
    text.line(kWriters[w]({t[0], t[1], t[2]}));
  }
}

void general_rows(const CompiledScenario& s, SourceText& text, Remarks& remarks) {
  text.line("[generale]");
  text.line(write_route_length_row({s.records[kServiceDataSlot].end_m}));
  kilometre_post_rows(s, text, remarks);
  const SimRecord& backgrounds = s.records[kScenarioNameSlot];
  text.line(write_background_uno_row({backgrounds.start_m}));
  text.line(write_background_due_row({backgrounds.position_m}));
  text.line(write_background_tre_row({backgrounds.end_m}));
  const SimRecord& repetition = s.records[kScenarioNumberSlot];
  int codes = repetition.position_m;
  if (codes == 0 && repetition.end_m == 0) codes = 4;  // a row ending at 0 counts no codes
  if (codes != 4 && codes != 9) {
    remarks.push_back("record 86: signal repetition with " + std::to_string(repetition.position_m) +
                      " codes, which no row gives");
    codes = 4;
  }
  text.line(write_signal_repetition_row(codes, {repetition.start_m, repetition.end_m}));
}

void curve_rows(const CompiledScenario& s, const std::vector<CurveRun>& curves, SourceText& text, Remarks& remarks) {
  text.line("[curve]");
  const int64_t last_row_m = CompiledScenario::kCell_m * s.last_cell() - CompiledScenario::kRowEndMargin_m;
  int64_t plan_cursor = 0;  // the metre after the last curve
  for (const CurveRun& run : curves) {
    // The straight part of a row runs up to its position, the curve from there on. Right
    // after another curve a row may stand anywhere before: it bends from where that ended.
    int64_t position = run.first - 1;
    if (!s.row_fits(position) && plan_cursor == run.first) position = std::min(position, last_row_m);
    plan_cursor = run.last + 1;
    if (!s.row_fits(position)) {
      remarks.push_back("line plan, metres " + std::to_string(run.first) + " to " + std::to_string(run.last) +
                        ": a curve too near the end of the route for a curve row");
      continue;
    }
    text.line(write_curve_row(run.left, run.digit, {position, run.last - position}));
  }
}

void gradient_rows(const CompiledScenario& s, SourceText& text) {
  text.line("[pendenze]");
  for (const FillRow& row : recover_fill(s.cells, &TrackCell::gradient))
    text.line(write_gradient_row({row.cell * kCell_m, int64_t{row.value} - kGradientBias}));
}

// One mountain stretch over cells first .. last.
struct Stretch {
  int64_t first = 0;
  int64_t last = 0;
  int type = 0;  // the byte the cells hold
  bool markers = false;
  int64_t start_m = 0;
  int64_t end_m = 0;
};

bool is_marker_place(const Stretch& stretch, int64_t c) { return (c - stretch.first + 1) % kMarkerEvery == 0; }

// A later row over the end of a stretch: the row before it reaches into a run of type 3
// (the later row's type, since it starts before the earlier one ends) when the earlier one's
// markers stand there in its own step, or when its type comes back after the run.
struct Overlap {
  int64_t reach = 0;         // the last cell the earlier row covers
  bool markers = false;      // its marker mode, which its markers under the run may tell
  int64_t resumed_last = 0;  // the end of the run of its type after the type-3 run it covers
};

// The last marker at the places of `stretch` in cells from .. to, before the first of its
// places that is free (where its row, reaching so far, would have set one); `stretch.last`
// when there is none.
int64_t markers_reach(const std::vector<TrackCell>& cells, const Stretch& stretch, int64_t from, int64_t to) {
  int64_t reach = stretch.last;
  int64_t m = from;
  while (!is_marker_place(stretch, m)) ++m;
  for (; m <= to; m += kMarkerEvery) {
    const uint8_t kind = cells[static_cast<size_t>(m)].kind;
    if (kind == kFreeCell) break;
    if (kind == kMountainMarker) reach = m;
  }
  return reach;
}

Overlap overlapped_end(const std::vector<TrackCell>& cells, const Stretch& before, int64_t run_first, int64_t run_last) {
  const int64_t n = static_cast<int64_t>(cells.size());
  const auto kind = [&](int64_t c) { return cells[static_cast<size_t>(c)].kind; };
  const Overlap none{before.last, before.markers, run_last};
  if (before.type == 0 || before.type == kCloseFollowerType || before.last != run_first - 1) return none;
  // Markers are possible when no place of one in its own cells is left free.
  bool may_mark = true;
  for (int64_t m = before.first; m <= before.last; ++m)
    if (is_marker_place(before, m) && kind(m) == kFreeCell) may_mark = false;
  int64_t resumed = run_last;
  while (resumed + 1 < n && cells[static_cast<size_t>(resumed + 1)].mountain == before.type) ++resumed;
  if (resumed > run_last) {
    // Its type comes back: its row covered the run, with its markers, if any, at each of its
    // places there (or a feature placed since) and none out of its step where it came back.
    // Markers the run shows at its places may be its own or the later row's.
    const bool shows_markers = may_mark && markers_reach(cells, before, run_first, resumed) > before.last;
    for (const bool markers : {before.markers || shows_markers, before.markers}) {
      bool fits = true;
      for (int64_t m = run_first; m <= resumed; ++m) {
        const bool place = is_marker_place(before, m);
        if (markers && place && kind(m) == kFreeCell) fits = false;
        if (m > run_last && kind(m) == kMountainMarker && !(markers && place)) fits = false;
      }
      if (fits) return {resumed, markers, resumed};
    }
  }
  if (!may_mark) return none;
  const int64_t reach = markers_reach(cells, before, run_first, run_last);
  if (reach > before.last) return {reach, true, run_last};
  return none;
}

// Runs of one mountain type; markers set every fourth cell of a stretch tell its marker mode,
// and markers on cells of type 0 make stretches of their own.
std::vector<Stretch> mountain_stretches(const CompiledScenario& s, Remarks& remarks) {
  std::vector<Stretch> stretches;
  const auto& cells = s.cells;
  const int64_t n = static_cast<int64_t>(cells.size());
  for (int64_t c = 0; c < n;) {
    const TrackCell& cell = cells[static_cast<size_t>(c)];
    if (cell.mountain == 0 && cell.kind != kMountainMarker) {
      ++c;
      continue;
    }
    Stretch stretch;
    stretch.type = cell.mountain;
    if (cell.mountain == 0) {
      // A marker is the fourth cell of its stretch; the next markers follow every four cells.
      stretch.first = std::max<int64_t>(c - 3, 0);
      stretch.last = c;
      stretch.markers = true;
      while (stretch.last + 4 < n && cells[static_cast<size_t>(stretch.last + 4)].kind == kMountainMarker &&
             cells[static_cast<size_t>(stretch.last + 4)].mountain == 0)
        stretch.last += 4;
      stretches.push_back(stretch);
      c = stretch.last + 1;
      continue;
    }
    int64_t run_last = c;
    while (run_last + 1 < n && cells[static_cast<size_t>(run_last + 1)].mountain == cell.mountain) ++run_last;
    // The stretch before may reach under this run, its markers there its own.
    int64_t resumed_last = run_last;
    std::optional<Stretch> under;
    if (cell.mountain == kCloseFollowerType && !stretches.empty()) {
      Stretch& before = stretches.back();
      const Overlap overlap = overlapped_end(cells, before, c, run_last);
      if (overlap.reach > before.last) {
        before.last = overlap.reach;
        before.markers = overlap.markers;
        resumed_last = overlap.resumed_last;
        under = before;
      }
    }
    const auto under_marker = [&](int64_t m) {
      return under && under->markers && m <= under->last && is_marker_place(*under, m) &&
             cells[static_cast<size_t>(m)].kind == kMountainMarker;
    };
    // A run of type 3 may be several stretches, each a close follower of the one before:
    // where the markers fall out of step, or stop, the next one begins.
    for (int64_t first = c; first <= run_last;) {
      Stretch part{first, run_last, cell.mountain, false, 0, 0};
      std::optional<int64_t> free_marker_place;  // the last place of a marker left free
      for (int64_t m = first; m <= run_last; ++m) {
        if (under_marker(m)) continue;  // the stretch beneath's, whatever this one's mode
        const uint8_t kind = cells[static_cast<size_t>(m)].kind;
        const bool marker_place = is_marker_place(part, m);
        const bool follower = part.type == kCloseFollowerType;
        std::optional<int64_t> next;
        if (kind == kMountainMarker && marker_place && free_marker_place && follower) {
          next = *free_marker_place + 1;  // the markers start: a follower with them
        } else if (kind == kMountainMarker && marker_place) {
          part.markers = true;
        } else if (kind == kMountainMarker && follower && m - 3 > first) {
          next = m - 3;  // a follower whose fourth cell this is
        } else if (kind == kMountainMarker) {
          remarks.push_back(cell_name(m) + ": a mountain marker out of step with its stretch");
        } else if (kind == kFreeCell && marker_place && part.markers && follower) {
          // The markers stop: a follower begins by here, where its own first marker tells.
          next = m;
          for (int64_t later = m + 1; later <= std::min(m + 3, run_last); ++later)
            if (cells[static_cast<size_t>(later)].kind == kMountainMarker) next = later - 3;
        } else if (kind == kFreeCell && marker_place) {
          free_marker_place = m;
        }
        if (next) {
          part.last = *next - 1;
          break;
        }
      }
      const int64_t next_first = part.last + 1;
      // A follower that begins before this one's end: the markers this one set under it.
      if (part.markers && next_first <= run_last) {
        const int64_t reach = markers_reach(cells, part, next_first, run_last);
        if (reach > part.last) {
          part.last = reach;
          under = part;
        }
      }
      stretches.push_back(part);
      first = next_first;
    }
    c = resumed_last + 1;
  }
  return stretches;
}
// Cells first .. last are those of a stretch from S to E: S / 50 and (E / 50 − 1), rounded.
// Stretches closer than 150 m to the one before take type 3; where the plain positions are
// that close, the start moves up and the end before it down within their cells.
void mountain_rows(const CompiledScenario& s, SourceText& text, Remarks& remarks) {
  text.line("[montagne]");
  std::vector<Stretch> stretches = mountain_stretches(s, remarks);
  for (size_t i = 0; i < stretches.size(); ++i) {
    Stretch& st = stretches[i];
    st.start_m = st.first * kCell_m;
    st.end_m = (st.last + 1) * kCell_m;
    if (i == 0 || st.type == kCloseFollowerType) continue;
    Stretch& before = stretches[i - 1];
    if (st.start_m - before.end_m > kCloseFollowerGap_m) continue;
    st.start_m = st.first * kCell_m + (st.first % 2 == 0 ? 25 : 24);
    before.end_m = (before.last + 1) * kCell_m - (before.last % 2 == 0 ? 25 : 24);
    if (st.start_m - before.end_m <= kCloseFollowerGap_m)
      remarks.push_back(cell_name(st.first) + ": a mountain stretch of type " + std::to_string(st.type) +
                        " within 150 m of the one before, which the compiler makes type 3");
  }
  for (const Stretch& st : stretches) {
    if (!s.row_fits(st.start_m)) {
      remarks.push_back(cell_name(st.first) + ": a mountain stretch too near the end of the route for a row");
      continue;
    }
    const int type = st.markers ? st.type + kMarkerTypeOffset : (st.type <= kMarkerTypeOffset ? st.type : st.type - 256);
    text.line(write_mountain_row({st.start_m, st.end_m, type}));
  }
}

// A packed board value as the left speed in hundreds and the right one in units of 5 km/h.
std::pair<int64_t, int64_t> board_speeds(int16_t packed) {
  int64_t hundreds = packed / 100;
  int64_t units = packed % 100;
  if (units < 0) {
    units += 100;
    --hundreds;
  }
  return {5 * hundreds, 5 * units};
}

std::string speed_limit_board_row(int64_t c, const TrackCell& cell) {
  // position, three left speeds, left stripes, three right speeds, right stripes
  const auto [left_a, right_a] = board_speeds(cell.value1);
  const auto [left_b, right_b] = board_speeds(cell.value2);
  const auto [left_c, right_c] = board_speeds(cell.value3);
  return write_speed_limit_boards_row(
      {(c - 1) * kCell_m, left_a, left_b, left_c, cell.value4 / 10, right_a, right_b, right_c, cell.value4 % 10});
}

void board_rows(const CompiledScenario& s, const std::set<int64_t>& taken_exit_cells, SourceText& text,
                Remarks& remarks) {
  text.line("[cartelli]");
  for (int64_t c = 0; c <= s.last_cell(); ++c) {
    const TrackCell& cell = s.cells[static_cast<size_t>(c)];
    // A station exit takes its cell whatever it held: values of a board beneath it remain.
    const bool under_exit = cell.kind == kStationExit && !taken_exit_cells.contains(c) &&
                            (cell.value2 != 0 || cell.value3 != 0 || cell.value4 != 0);
    if (cell.kind != kSpeedLimitBoards && !under_exit) continue;
    if (!s.row_fits((c - 1) * kCell_m)) {
      remarks.push_back(cell_name(c) + ": speed-limit boards where no row can place them");
      continue;
    }
    TrackCell board = cell;
    if (under_exit) board.value1 = 0;
    text.line(speed_limit_board_row(c, board));
  }

  text.line("[indicazioni]");
  std::map<int, int64_t, std::greater<>> boards;  // slot → cell, the first board in slot 80
  for (int64_t c = 0; c <= s.last_cell(); ++c)
    if (s.cells[static_cast<size_t>(c)].kind == kIndicatorBoard) boards[s.cells[static_cast<size_t>(c)].value1] = c;
  // A board whose cell a station exit then took left its text alone: any exit cell that
  // keeps no other feature's values takes its row back.
  std::vector<int64_t> bare_exits;
  for (int64_t c = s.last_cell(); c >= 0; --c) {
    const TrackCell& cell = s.cells[static_cast<size_t>(c)];
    if (cell.kind == kStationExit && !taken_exit_cells.contains(c) && cell.value2 == 0 && cell.value3 == 0 &&
        cell.value4 == 0 && s.row_fits((c - 1) * kCell_m))
      bare_exits.push_back(c);
  }
  for (int slot = kFirstBoardTextSlot; slot > kFirstBoardTextSlot - s.indicator_board_count(); --slot) {
    if (boards.contains(slot)) continue;
    if (bare_exits.empty()) {
      remarks.push_back("record " + std::to_string(slot) + ": a board text whose board no cell shows");
      continue;
    }
    boards[slot] = bare_exits.back();
    bare_exits.pop_back();
  }
  int expected_slot = kFirstBoardTextSlot;
  for (const auto& [slot, c] : boards) {
    if (slot != expected_slot-- || slot < 1) {
      remarks.push_back(cell_name(c) + ": an indicator board whose text is in record " + std::to_string(slot) +
                        ", out of the order boards take their records");
    }
    if (slot < 1 || slot >= kRecordCount) continue;
    const std::optional<std::string> field = text_field(s.records[static_cast<size_t>(slot)].text);
    if (!field) remarks.push_back("record " + std::to_string(slot) + ": a board text that no text field reads as");
    text.line(write_indicator_board_row({(c - 1) * kCell_m, field.value_or("")}));
  }
}

}  // namespace

std::string recover_line_source(const CompiledScenario& scenario, const std::vector<CurveRun>& curves,
                                const std::set<int64_t>& taken_exit_cells, Remarks& remarks) {
  SourceText text;
  general_rows(scenario, text, remarks);
  curve_rows(scenario, curves, text, remarks);
  gradient_rows(scenario, text);
  mountain_rows(scenario, text, remarks);
  board_rows(scenario, taken_exit_cells, text, remarks);
  text.line("[fine]");
  return text.bytes();
}

}  // namespace scenario
