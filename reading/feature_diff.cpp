#include "reading/feature_diff.hpp"

#include <algorithm>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <tuple>

#include "model/approach_codes.hpp"
#include "model/format_rules.hpp"
#include "model/windows_1252.hpp"
#include "reading/diff_change.hpp"
#include "reading/station_fields.hpp"

namespace scenario {
namespace {

// One fact of a feature: its key for a script, its words for a person, its value and unit.
struct Fact {
  std::string field;
  std::string words;
  DocumentValue value;
  std::string unit = "";
};

bool same_fact(const Fact& a, const Fact& b) { return a.value.json == b.value.json && a.value.text == b.value.text; }

// Each fact that differs, as a change of the thing `what` found by `where`, told to `tell`.
template <typename Tell>
bool tell_fact_changes(const std::string& kind, const std::string& what, const std::vector<DocumentField>& where,
                       const std::vector<Fact>& a, const std::vector<Fact>& b, Tell tell) {
  bool changed = false;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (same_fact(a[i], b[i])) continue;
    const std::string unit = a[i].unit == b[i].unit ? a[i].unit : "";
    DocumentValue before = a[i].value, after = b[i].value;
    if (unit.empty()) before.text += a[i].unit, after.text += b[i].unit;
    tell(Change{kind, "changed", what, where, a[i].field, a[i].words, before, after, unit});
    changed = true;
  }
  return changed;
}

// The same, as changes of the section `group`.
bool diff_facts(ReadingDocument& d, const std::string& group, const std::string& kind, const std::string& what,
                const std::vector<DocumentField>& where, const std::vector<Fact>& a, const std::vector<Fact>& b) {
  return tell_fact_changes(kind, what, where, a, b, [&](Change change) { add_change(d, group, std::move(change)); });
}

std::string facts_text(const std::vector<Fact>& facts) {
  std::string text;
  for (const Fact& fact : facts)
    text += (text.empty() ? "" : ", ") + (fact.words.empty() ? "" : fact.words + " ") + fact.value.text + fact.unit;
  return text;
}

// Changes of one feature kind, each with the cell it is told at.
struct Told {
  int64_t cell;
  ReadingDocument changes;
};

Told told_at(int64_t cell, const std::string& group, Change change) {
  Told told{cell, {}};
  add_change(told.changes, group, std::move(change));
  return told;
}

// The changes into `d` by their cells; whether there were any.
bool tell_in_running_order(ReadingDocument& d, std::vector<Told> told) {
  std::stable_sort(told.begin(), told.end(), [](const Told& x, const Told& y) { return x.cell < y.cell; });
  for (Told& t : told) merge_changes(d, std::move(t.changes));
  return !told.empty();
}

// A thing on one side only: its main value on that side, null on the other.
Change one_sided(const char* kind, bool removed, std::string what, std::vector<DocumentField> where, std::string field,
                 DocumentValue value, const std::string& details) {
  const char* change = removed ? "removed" : "added";
  return {kind,
          change,
          std::move(what),
          std::move(where),
          std::move(field),
          "",
          removed ? value : no_value(),
          removed ? no_value() : value,
          "",
          std::string(change) + " (" + details + ")"};
}

// A thing that left `from_m` for `to_m`, alike otherwise.
Change moved(const char* kind, std::string what, std::vector<DocumentField> where, std::string field, int64_t from_m,
             int64_t to_m, const std::string& details) {
  return {kind,
          "moved",
          std::move(what),
          std::move(where),
          std::move(field),
          "",
          grouped_value(from_m),
          grouped_value(to_m),
          " m",
          "moved to " + grouped_number(to_m) + " m (" + details + ")"};
}

// The cells of things on one side only, by what they are alike in: a thing that went is
// paired with the nearest alike one that came (the lower cell on a tie), each at most once.
template <typename Alike>
class NearestAlike {
 public:
  void add(const Alike& alike, int64_t cell) { by_alike_[alike].insert(cell); }

  std::optional<int64_t> take(const Alike& alike, int64_t cell) {
    const auto found = by_alike_.find(alike);
    if (found == by_alike_.end() || found->second.empty()) return std::nullopt;
    std::set<int64_t>& cells = found->second;
    auto nearest = cells.lower_bound(cell);
    if (nearest == cells.end() || (nearest != cells.begin() && cell - *std::prev(nearest) <= *nearest - cell))
      nearest = std::prev(nearest);
    const int64_t taken = *nearest;
    cells.erase(nearest);
    taken_.insert(taken);
    return taken;
  }

  bool taken(int64_t cell) const { return taken_.contains(cell); }

 private:
  std::map<Alike, std::set<int64_t>> by_alike_;
  std::set<int64_t> taken_;
};

// ---- signals

std::vector<int64_t> signal_values(const TrackCell& c) { return {c.value1, c.value2, c.value3, c.value4}; }

std::string values_text(const TrackCell& c) {
  return std::to_string(c.value1) + "/" + std::to_string(c.value2) + "/" + std::to_string(c.value3) + "/" +
         std::to_string(c.value4);
}

std::string signal_text(const TrackCell& c) {
  return c.signal_time != 0 ? values_text(c) + " time " + std::to_string(c.signal_time) : values_text(c);
}

bool same_signal(const TrackCell& a, const TrackCell& b) {
  return signal_values(a) == signal_values(b) && a.signal_time == b.signal_time;
}

std::vector<int64_t> cells_of_kind(const std::vector<TrackCell>& cells, uint8_t kind) {
  std::vector<int64_t> found;
  for (size_t i = 0; i < cells.size(); ++i)
    if (cells[i].kind == kind) found.push_back(static_cast<int64_t>(i));
  return found;
}

void explain_signal(ExplainedParts& explained, int64_t cell) {
  explained.explain_feature(cell);
  for (int k = 1; k <= kApproachCodeCount; ++k) explained.explain_approach(signal_approach_cell(cell, k));
}

std::string at_text(int64_t position_m) { return "at " + grouped_number(position_m) + " m"; }

bool diff_signals(ReadingDocument& d, const std::vector<TrackCell>& a, const std::vector<TrackCell>& b,
                  ExplainedParts& explained) {
  const std::vector<int64_t> in_a = cells_of_kind(a, kSignal), in_b = cells_of_kind(b, kSignal);
  std::vector<int64_t> removed, added;
  std::set_difference(in_a.begin(), in_a.end(), in_b.begin(), in_b.end(), std::back_inserter(removed));
  std::set_difference(in_b.begin(), in_b.end(), in_a.begin(), in_a.end(), std::back_inserter(added));
  std::vector<int64_t> kept;
  std::set_intersection(in_a.begin(), in_a.end(), in_b.begin(), in_b.end(), std::back_inserter(kept));
  // Changes in running order: a signal that stays, moves, goes or comes, by its old place.
  std::vector<Told> told;
  auto where = [](int64_t position_m) { return std::vector<DocumentField>{{"position_m", metres_value(position_m)}}; };
  auto what = [](int64_t position_m) { return "signal " + at_text(position_m); };
  for (const int64_t c : kept) {
    const TrackCell& ca = a[static_cast<size_t>(c)];
    const TrackCell& cb = b[static_cast<size_t>(c)];
    if (same_signal(ca, cb)) continue;
    const int64_t p = feature_position_m(kSignal, c);
    if (signal_values(ca) != signal_values(cb))
      told.push_back(told_at(
          c, "signals",
          {"signal", "changed", what(p), where(p), "values", "values",
           numbers_value(signal_values(ca), values_text(ca)), numbers_value(signal_values(cb), values_text(cb))}));
    else
      told.push_back(told_at(c, "signals",
                             {"signal", "changed", what(p), where(p), "time", "time", number_value(ca.signal_time),
                              number_value(cb.signal_time)}));
    explain_signal(explained, c);
  }
  // A removed signal and an added one of the same values and time, nearest first: a move.
  NearestAlike<std::string> came;
  for (const int64_t c : added) came.add(signal_text(b[static_cast<size_t>(c)]), c);
  for (const int64_t c : removed) {
    const TrackCell& ca = a[static_cast<size_t>(c)];
    const std::optional<int64_t> nearest = came.take(signal_text(ca), c);
    const int64_t p = feature_position_m(kSignal, c);
    explain_signal(explained, c);
    if (!nearest) {
      told.push_back(told_at(c, "signals",
                             one_sided("signal", true, what(p), where(p), "values",
                                       numbers_value(signal_values(ca), values_text(ca)), signal_text(ca))));
      continue;
    }
    const int64_t to = feature_position_m(kSignal, *nearest);
    explain_signal(explained, *nearest);
    told.push_back(told_at(c, "signals", moved("signal", what(p), where(p), "position_m", p, to, signal_text(ca))));
  }
  for (const int64_t c : added) {
    if (came.taken(c)) continue;
    const TrackCell& cb = b[static_cast<size_t>(c)];
    const int64_t p = feature_position_m(kSignal, c);
    explain_signal(explained, c);
    told.push_back(told_at(c, "signals",
                           one_sided("signal", false, what(p), where(p), "values",
                                     numbers_value(signal_values(cb), values_text(cb)), signal_text(cb))));
  }
  return tell_in_running_order(d, std::move(told));
}

// ---- slowdowns

// A slowdown with what the comparison tells of it beyond its cells, read from the cells
// once: its changes are made into rows as they are printed, from these alone.
struct ReadSlowdown {
  Slowdown slowdown;
  int16_t field_4 = 0;  // the start's third value
  int16_t field_6 = 0;  // the start's second value
  int approach_boards = 0;
};

int approach_boards_of(const std::vector<TrackCell>& cells, const Slowdown& s) {
  int boards = 0;
  for (int i = 1; i <= kApproachBoardCount && s.warning_cell >= 0; ++i) {
    const int64_t board = s.warning_cell - i;
    if (board >= 0 && cells[static_cast<size_t>(board)].kind == kApproachBoard) ++boards;
  }
  return boards;
}

std::vector<ReadSlowdown> read_slowdowns(const std::vector<TrackCell>& cells) {
  std::vector<ReadSlowdown> read;
  const std::vector<Slowdown> slowdowns = slowdowns_of(cells);
  read.reserve(slowdowns.size());
  for (const Slowdown& s : slowdowns) {
    const TrackCell& start = cells[static_cast<size_t>(s.start_cell)];
    read.push_back({s, start.value3, start.value2, approach_boards_of(cells, s)});
  }
  return read;
}

// The cells a slowdown wrote: start, end, warning board and the approach boards before it.
void explain_slowdown(ExplainedParts& explained, const std::vector<TrackCell>& cells, const Slowdown& s) {
  explained.explain_feature(s.start_cell);
  explained.explain_feature(s.end_cell);
  if (s.warning_cell < 0) return;
  explained.explain_feature(s.warning_cell);
  for (int i = 1; i <= kApproachBoardCount; ++i) {
    const int64_t board = s.warning_cell - i;
    if (board >= 0 && cells[static_cast<size_t>(board)].kind == kApproachBoard) explained.explain_feature(board);
  }
}

std::vector<Fact> slowdown_facts(const ReadSlowdown& read) {
  const Slowdown& s = read.slowdown;
  const int boards = read.approach_boards;
  return {
      {"speed_kmh", "", number_value(s.speed_kmh), " km/h"},
      {"length_m", "length", grouped_value((s.end_cell - s.start_cell) * kCellLength_m), " m"},
      {"warning_board_m", "warning board",
       s.warning_cell >= 0 ? grouped_value(feature_position_m(kSlowdownWarningBoard, s.warning_cell)) : no_value(),
       s.warning_cell >= 0 ? " m" : ""},
      {"approach_boards", "approach boards", number_value(boards, boards != 0 ? std::to_string(boards) : "none")},
      {"field_4", "field 4", number_value(read.field_4)},
      {"field_6", "field 6", number_value(read.field_6)},
  };
}

std::string slowdown_what(int64_t start_m) { return "slowdown " + at_text(start_m); }
std::vector<DocumentField> slowdown_where(int64_t start_m) { return {{"start_m", metres_value(start_m)}}; }

// What a slowdown is apart from where it stands: a removed one and an added one alike in
// these moved.
std::vector<Fact> slowdown_shape(const ReadSlowdown& s) {
  std::vector<Fact> facts = slowdown_facts(s);
  std::erase_if(facts, [](const Fact& fact) { return fact.field == "warning_board_m"; });
  return facts;
}

// The same as values to match by: speed, length in cells, approach boards, fields 4 and 6;
// a few numbers, where the words of every slowdown would take a hundred bytes each.
using SlowdownShape = std::tuple<int, int64_t, int, int16_t, int16_t>;

SlowdownShape shape_key(const ReadSlowdown& s) {
  return {s.slowdown.speed_kmh, s.slowdown.end_cell - s.slowdown.start_cell, s.approach_boards, s.field_4, s.field_6};
}

// One slowdown change, told in running order by `cell`: indices into the slowdowns of
// either side (a moved one's `b` is where it went).
struct SlowdownChange {
  enum class How : uint8_t { kChanged, kMoved, kRemoved, kAdded };
  int64_t cell = 0;
  How how = How::kChanged;
  uint32_t a = 0;
  uint32_t b = 0;
};

// What the slowdowns' rows are made from as they are printed.
struct SlowdownChanges {
  std::vector<ReadSlowdown> a, b;
  std::vector<SlowdownChange> told;
};

template <typename Tell>
void tell_slowdown_change(const SlowdownChanges& all, const SlowdownChange& change, Tell tell) {
  using How = SlowdownChange::How;
  const ReadSlowdown& s = change.how == How::kAdded ? all.b[change.b] : all.a[change.a];
  const int64_t p = feature_position_m(kSlowdownStart, s.slowdown.start_cell);
  switch (change.how) {
    case How::kChanged:
      tell_fact_changes("slowdown", slowdown_what(p), slowdown_where(p), slowdown_facts(s),
                        slowdown_facts(all.b[change.b]), tell);
      return;
    case How::kMoved:
      tell(moved("slowdown", slowdown_what(p), slowdown_where(p), "start_m", p,
                 feature_position_m(kSlowdownStart, all.b[change.b].slowdown.start_cell),
                 facts_text(slowdown_shape(s))));
      return;
    case How::kRemoved:
    case How::kAdded:
      tell(one_sided("slowdown", change.how == How::kRemoved, slowdown_what(p), slowdown_where(p), "speed_kmh",
                     number_value(s.slowdown.speed_kmh), facts_text(slowdown_facts(s))));
      return;
  }
}

bool diff_slowdowns(ReadingDocument& d, const std::vector<TrackCell>& a, const std::vector<TrackCell>& b,
                    ExplainedParts& explained) {
  using How = SlowdownChange::How;
  auto all = std::make_shared<SlowdownChanges>();
  all->a = read_slowdowns(a);
  all->b = read_slowdowns(b);
  const std::vector<ReadSlowdown>& in_a = all->a;
  const std::vector<ReadSlowdown>& in_b = all->b;
  std::vector<SlowdownChange>& told = all->told;
  const auto index = [](size_t i) { return static_cast<uint32_t>(i); };
  std::vector<size_t> removed, added;  // indices into in_a, in_b
  size_t i = 0, j = 0;
  while (i < in_a.size() || j < in_b.size()) {
    const bool take_a =
        j == in_b.size() || (i < in_a.size() && in_a[i].slowdown.start_cell <= in_b[j].slowdown.start_cell);
    const bool take_b =
        i == in_a.size() || (j < in_b.size() && in_b[j].slowdown.start_cell <= in_a[i].slowdown.start_cell);
    if (take_a && take_b) {
      const std::vector<Fact> facts_a = slowdown_facts(in_a[i]), facts_b = slowdown_facts(in_b[j]);
      if (!std::equal(facts_a.begin(), facts_a.end(), facts_b.begin(), facts_b.end(), same_fact)) {
        told.push_back({in_a[i].slowdown.start_cell, How::kChanged, index(i), index(j)});
        explain_slowdown(explained, a, in_a[i].slowdown);
        explain_slowdown(explained, b, in_b[j].slowdown);
      }
    } else if (take_a) {
      removed.push_back(i);
    } else {
      added.push_back(j);
    }
    i += take_a ? 1 : 0;
    j += take_b ? 1 : 0;
  }
  // A removed slowdown and an added one alike but for their place, nearest first: a move.
  // Only an added one of the shape of a removed one may be taken.
  std::set<SlowdownShape> removed_shapes;
  for (const size_t r : removed) removed_shapes.insert(shape_key(in_a[r]));
  NearestAlike<SlowdownShape> came;
  for (const size_t k : added)
    if (const SlowdownShape shape = shape_key(in_b[k]); removed_shapes.contains(shape))
      came.add(shape, in_b[k].slowdown.start_cell);
  // The added slowdown that starts at `cell`: no two slowdowns share a start cell.
  const auto added_at = [&](int64_t cell) {
    return *std::lower_bound(added.begin(), added.end(), cell,
                             [&](size_t k, int64_t c) { return in_b[k].slowdown.start_cell < c; });
  };
  for (const size_t r : removed) {
    const Slowdown& s = in_a[r].slowdown;
    const std::optional<int64_t> nearest = came.take(shape_key(in_a[r]), s.start_cell);
    explain_slowdown(explained, a, s);
    if (nearest) {
      const size_t to = added_at(*nearest);
      explain_slowdown(explained, b, in_b[to].slowdown);
      told.push_back({s.start_cell, How::kMoved, index(r), index(to)});
    } else {
      told.push_back({s.start_cell, How::kRemoved, index(r), 0});
    }
  }
  for (const size_t k : added) {
    const Slowdown& s = in_b[k].slowdown;
    if (came.taken(s.start_cell)) continue;
    explain_slowdown(explained, b, s);
    told.push_back({s.start_cell, How::kAdded, 0, index(k)});
  }
  if (told.empty()) return false;
  std::stable_sort(told.begin(), told.end(),
                   [](const SlowdownChange& x, const SlowdownChange& y) { return x.cell < y.cell; });
  add_made_changes(d, "slowdowns", [all](const std::function<void(const DocumentRow&)>& row) {
    for (const SlowdownChange& change : all->told)
      tell_slowdown_change(*all, change, [&](Change said) { row(change_row(std::move(said))); });
  });
  return true;
}

// ---- stations

std::vector<Fact> station_facts(const Station& station) {
  const SimRecord& r = *station.record;
  std::vector<Fact> facts = {
      {"name", "name", DocumentValue{utf8_from_1252(r.text), quoted_1252(r.text)}},
      {"slot", "slot", number_value(station.slot)},
      {"position_m", "position", grouped_value(r.position_m), " m"},
      {"type", "type", number_value(r.station_type)},
      {"area_start_m", "area start", grouped_value(r.start_m), " m"},
      {"area_end_m", "area end", grouped_value(r.end_m), " m"},
      {"timetable_time_s", "time", number_value(r.time_s, r.time_s != 0 ? timetable_text(r.time_s) : "none")},
  };
  for (const StationField& field : stored_station_fields())
    facts.push_back({field.name, "field " + std::to_string(field.place), number_value(field.value(r))});
  return facts;
}

void explain_station(ExplainedParts& explained, const Station& station) {
  const SimRecord& r = *station.record;
  explained.explain_slot(station.slot);
  if (!marks_exit(r.station_type)) return;
  const int64_t exit = station_exit_cell(r.end_m);
  explained.explain_feature(exit);
  if (!writes_station_approach_codes(r.station_type)) return;
  for (int k = 1; k <= kApproachCodeCount; ++k) explained.explain_approach(station_approach_cell(exit, k));
}

// Where a station stands and what it is, for one that comes or goes.
std::string station_summary(const Station& station) {
  const SimRecord& r = *station.record;
  return "at " + grouped_number(r.position_m) + " m, type " + std::to_string(r.station_type) + ", time " +
         (r.time_s != 0 ? timetable_text(r.time_s) : "none");
}

std::string station_what(const Station& station) { return "station " + quoted_1252(station.record->text); }

std::vector<DocumentField> station_where(const Station& station) {
  return {{"slot", number_value(station.slot)}, {"position_m", metres_value(station.record->position_m)}};
}

}  // namespace

void diff_track_features(ReadingDocument& d, const std::vector<TrackCell>& a, const std::vector<TrackCell>& b,
                         ExplainedParts& explained) {
  const bool signals_changed = diff_signals(d, a, b, explained);
  if (!diff_slowdowns(d, a, b, explained) && !signals_changed) return;
  // The signalling walk places its code reduction points by the signals and slowdowns: a
  // changed one accounts for the points the walk placed differently.
  for (const std::vector<TrackCell>* cells : {&a, &b})
    for (const CodeReduction& point : code_reductions_of(*cells))
      if (point.added) explained.explain_feature(point.cell);
}

void diff_stations(ReadingDocument& d, const std::vector<Station>& a, const std::vector<Station>& b,
                   ExplainedParts& explained) {
  constexpr size_t kNone = static_cast<size_t>(-1);
  std::vector<size_t> partner(a.size(), kNone);  // into b
  std::vector<bool> b_taken(b.size(), false);
  // By name in running order, then what is left by slot and position: a renamed station.
  for (size_t i = 0; i < a.size(); ++i)
    for (size_t j = 0; j < b.size(); ++j)
      if (!b_taken[j] && a[i].record->text == b[j].record->text) {
        partner[i] = j, b_taken[j] = true;
        break;
      }
  for (size_t i = 0; i < a.size(); ++i)
    for (size_t j = 0; j < b.size() && partner[i] == kNone; ++j)
      if (!b_taken[j] && a[i].slot == b[j].slot && a[i].record->position_m == b[j].record->position_m)
        partner[i] = j, b_taken[j] = true;
  size_t next_b = 0;  // the added ones told where they come in running order
  auto tell_added_before = [&](int slot) {
    for (; next_b < b.size() && (slot < 0 || b[next_b].slot < slot); ++next_b) {
      if (b_taken[next_b]) continue;
      const Station& s = b[next_b];
      add_change(d, "stations",
                 one_sided("station", false, station_what(s), station_where(s), "name",
                           text_value(utf8_from_1252(s.record->text)), station_summary(s)));
      explain_station(explained, s);
    }
  };
  for (size_t i = 0; i < a.size(); ++i) {
    tell_added_before(a[i].slot);
    if (partner[i] == kNone) {
      add_change(d, "stations",
                 one_sided("station", true, station_what(a[i]), station_where(a[i]), "name",
                           text_value(utf8_from_1252(a[i].record->text)), station_summary(a[i])));
      explain_station(explained, a[i]);
      continue;
    }
    const Station& other = b[partner[i]];
    // A station that only moved up or down the slots by as many as came or went before it
    // is told by those.
    const auto unmatched_before = [](const auto& stations, const auto& matched, int slot) {
      int64_t count = 0;
      for (size_t k = 0; k < stations.size() && stations[k].slot < slot; ++k) count += matched(k) ? 0 : 1;
      return count;
    };
    const int64_t came_before = unmatched_before(b, [&](size_t k) { return b_taken[k]; }, other.slot);
    const int64_t went_before = unmatched_before(a, [&](size_t k) { return partner[k] != kNone; }, a[i].slot);
    std::vector<Fact> facts_a = station_facts(a[i]), facts_b = station_facts(other);
    if (other.slot - a[i].slot == came_before - went_before)
      for (std::vector<Fact>* facts : {&facts_a, &facts_b})
        std::erase_if(*facts, [](const Fact& fact) { return fact.field == "slot"; });
    if (diff_facts(d, "stations", "station", station_what(other), station_where(other), facts_a, facts_b) ||
        other.slot != a[i].slot) {
      explain_station(explained, a[i]);
      explain_station(explained, other);
    }
  }
  tell_added_before(-1);
}

}  // namespace scenario
