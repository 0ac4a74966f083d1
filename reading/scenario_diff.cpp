#include "reading/scenario_diff.hpp"

#include <algorithm>
#include <cmath>
#include <functional>

#include "format/compiled_layouts.hpp"
#include "model/windows_1252.hpp"
#include "reading/diff_change.hpp"
#include "reading/feature_diff.hpp"
#include "reading/kilometre_readings.hpp"
#include "reading/track_reading.hpp"
#include "model/format_rules.hpp"

namespace scenario {
namespace {

using Records = std::array<SimRecord, kRecordCount>;

// A fact of the header records in an author's words, and the fields it is read from.
struct ServiceFact {
  const char* field;  // its key for a script
  const char* words;
  std::vector<std::pair<int, const void*>> fields;  // each field read: its slot, and its member in kProbe
  std::function<DocumentValue(const Records&)> value;
  const char* unit = "";
};

// A record whose members' addresses tell one member from another, whatever its type.
const SimRecord kProbe{};

template <typename T>
std::pair<int, const void*> read_from(const HeaderField<T>& field) {
  return {field.slot, &(kProbe.*field.member)};
}

template <typename T>
ServiceFact number_fact(const char* field_name, const char* words, const HeaderField<T>& field, const char* unit = "") {
  const auto value = [&field](const Records& r) { return grouped_value(field.in(r)); };
  return {field_name, words, {read_from(field)}, value, unit};
}

ServiceFact text_fact(const char* words, const HeaderField<std::string>& field) {
  return {words, words, {read_from(field)}, [&field](const Records& r) {
            return DocumentValue{utf8_from_1252(field.in(r)), quoted_1252(field.in(r))};
          }};
}

const std::vector<ServiceFact>& service_facts() {
  static const std::vector<ServiceFact> facts = {
      text_fact("name", kNameText),
      text_fact("number", kNumberText),
      number_fact("route_length_m", "route length", kRouteLength, " m"),
      number_fact("coaches", "coaches", kCoaches),
      number_fact("braked_mass_percent", "braked mass", kBrakedMassPercent, " %"),
      number_fact("sand", "sand", kSand),
      {"clock", "clock", {read_from(kClockHours), read_from(kClockMinutes), read_from(kClockSeconds)},
       [](const Records& r) { return text_value(clock_text(r)); }},
      number_fact("background_uno", "background uno", kBackgroundUno),
      number_fact("background_due", "background due", kBackgroundDue),
      number_fact("background_tre", "background tre", kBackgroundTre),
      number_fact("signal_repetition_start_m", "signal repetition start", kSignalRepetitionStart, " m"),
      number_fact("signal_repetition_end_m", "signal repetition end", kSignalRepetitionEnd, " m"),
      number_fact("signal_repetition_codes", "signal repetition codes", kSignalRepetitionCodes),
      number_fact("record_header_constant", "record header constant", kRecordHeaderConstantField),
      number_fact("weighted_competition_code", "weighted competition code", kWeightedCompetitionCode),
  };
  return facts;
}

bool named_by_a_service_fact(int slot, const void* member) {
  for (const ServiceFact& fact : service_facts())
    for (const auto& field : fact.fields)
      if (field == std::pair{slot, member}) return true;
  return false;
}

// Each field of one record (or cell) at byte `offset` of its file that differs and that no
// change in words has told (`named` says so of a member of `probe`), by its place in the
// file: nothing the files hold differs without a word. Returns the record's bytes in `a`.
template <typename Record, typename Layout, typename Named>
uint64_t diff_unnamed_fields(ReadingDocument& d, const std::string& group, const std::string& kind, int64_t index,
                             uint64_t offset, const Record& a, const Record& b, const Layout& layout,
                             const Record& probe, Named named) {
  uint64_t start = offset;
  for_each_field(layout, [&](const auto& f) {
    using Value = typename std::decay_t<decltype(f)>::value_type;
    uint64_t width = fixed_width<Value>();
    if constexpr (std::is_same_v<Value, std::string>) width += (a.*f.member).size();
    if (a.*f.member != b.*f.member && !named(static_cast<const void*>(&(probe.*f.member)))) {
      const auto value = [](const Value& v) {
        if constexpr (std::is_same_v<Value, std::string>)
          return DocumentValue{utf8_from_1252(v), quoted_1252(v)};
        else
          return number_value(v);
      };
      const auto last = static_cast<int64_t>(offset + width - 1);
      const std::string what =
          kind + " " + std::to_string(index) + " (bytes " + std::to_string(offset) + "–" + std::to_string(last) + ")";
      add_change(d, group,
                 {kind, "changed", what,
                  {{kind, number_value(index)}, {"bytes", numbers_value({static_cast<int64_t>(offset), last}, "")}},
                  std::string(f.name), std::string(f.name), value(a.*f.member), value(b.*f.member)});
    }
    offset += width;
  });
  return offset - start;
}

std::string changes_text(const KilometreReadings& km) {
  std::string text;
  for (const KilometrePostChange& c : km.changes())
    text += (text.empty() ? "" : "; ") + std::string("from ") + grouped_number(c.position_m) + " m " +
            (c.falling ? "falling" : "rising") + ", offset " + grouped_number(c.offset_m) + " m";
  return text.empty() ? "none" : text;
}

bool is_board_text(const SimRecord& r) {
  SimRecord numbers = r;
  numbers.text.clear();
  return numbers == SimRecord{} && !r.text.empty();
}

// The stations of records read alone: every slot that holds more than a text.
std::vector<Station> stations_of_records(const Records& records) {
  std::vector<Station> stations;
  for (int slot = kFirstStationSlot; slot <= kFirstBoardTextSlot; ++slot) {
    const SimRecord& r = records[static_cast<size_t>(slot)];
    if (!(r == SimRecord{}) && !is_board_text(r)) stations.push_back({slot, &r, 0, Station::Call::kPass});
  }
  return stations;
}

bool holds_station(const std::vector<Station>& stations, int slot) {
  return std::any_of(stations.begin(), stations.end(), [slot](const Station& s) { return s.slot == slot; });
}

std::vector<DocumentField> cell_where(int64_t cell, int64_t position_m) {
  return {{"cell", number_value(cell)}, {"position_m", metres_value(position_m)}};
}

std::string cell_what(int64_t cell, int64_t position_m) {
  return "cell " + std::to_string(cell) + " (" + grouped_number(position_m) + " m)";
}

bool same_feature(const TrackCell& a, const TrackCell& b) {
  return a.kind == b.kind && a.value1 == b.value1 && a.value2 == b.value2 && a.value3 == b.value3 &&
         a.value4 == b.value4 && a.signal_time == b.signal_time;
}

// A fill that changes over a stretch of cells: one line per run of cells whose old and
// new values are the same pair.
struct Fill {
  const char* name;
  const char* field;  // its key for a script
  uint8_t TrackCell::*member;
  std::function<DocumentValue(uint8_t)> value;
  const char* unit = "";
};

const std::vector<Fill>& fills() {
  static const std::vector<Fill> all = {
      {"line speed", "speed_kmh", &TrackCell::speed_limit, [](uint8_t v) { return number_value(speed_kmh(v)); },
       " km/h"},
      {"gradient", "gradient_per_mille", &TrackCell::gradient,
       [](uint8_t v) { return v == 0 ? no_value() : number_value(gradient_per_mille(v)); }, " per mille"},
      {"adhesion", "adhesion", &TrackCell::adhesion, [](uint8_t v) { return number_value(v); }},
      {"mountain", "mountain_type", &TrackCell::mountain,
       [](uint8_t v) { return v == 0 ? no_value() : number_value(v, "type " + std::to_string(v)); }},
  };
  return all;
}

// A cell whose members' addresses tell one member from another.
const TrackCell kCellProbe{};

// Whether a member of kCellProbe is one told apart from the cell's feature: its approach
// code or a fill.
bool named_outside_the_feature(const void* member) {
  if (member == &kCellProbe.approach) return true;
  for (const Fill& fill : fills())
    if (member == &(kCellProbe.*fill.member)) return true;
  return false;
}

// Whether a member of kCellProbe is one that the words of a cell change tell: its feature,
// its approach code or a fill.
bool named_for_a_cell(const void* member) {
  const TrackCell& p = kCellProbe;
  for (const void* named : {static_cast<const void*>(&p.kind), static_cast<const void*>(&p.value1),
                            static_cast<const void*>(&p.value2), static_cast<const void*>(&p.value3),
                            static_cast<const void*>(&p.value4), static_cast<const void*>(&p.signal_time)})
    if (member == named) return true;
  return named_outside_the_feature(member);
}

// The header facts, the kilometre-post changes, the board texts, and every field of a slot
// that no station's change explains.
void diff_record_slots(ReadingDocument& d, const Records& a, const Records& b, const std::vector<Station>& stations_a,
                       const std::vector<Station>& stations_b, const ExplainedParts& explained) {
  std::array<bool, kRecordCount> text_told{};
  for (int slot = kFirstStationSlot; slot <= kFirstBoardTextSlot; ++slot) {
    const SimRecord& ra = a[static_cast<size_t>(slot)];
    const SimRecord& rb = b[static_cast<size_t>(slot)];
    // A slot that is no station holds an indicator board's text, or nothing.
    if (ra.text == rb.text || explained.slot_explained(slot) || holds_station(stations_a, slot) ||
        holds_station(stations_b, slot))
      continue;
    const auto board_text = [](const SimRecord& r) {
      return r.text.empty() ? no_value() : DocumentValue{utf8_from_1252(r.text), quoted_1252(r.text)};
    };
    add_change(d, "records", {"board text", "changed", "board text in slot " + std::to_string(slot),
                              {{"slot", number_value(slot)}}, "text", "", board_text(ra), board_text(rb)});
    text_told[static_cast<size_t>(slot)] = true;
  }
  const std::string changes_a = changes_text(KilometreReadings(a)), changes_b = changes_text(KilometreReadings(b));
  const bool post_changes_told = changes_a != changes_b;
  if (post_changes_told)
    add_change(d, "records", {"kilometre posts", "changed", "kilometre-post changes", {}, "", "", text_value(changes_a),
                              text_value(changes_b)});
  for (const ServiceFact& fact : service_facts()) {
    DocumentValue va = fact.value(a), vb = fact.value(b);
    if (va.json != vb.json || va.text != vb.text)
      add_change(d, "records", {"scenario", "changed", "scenario", {}, fact.field, fact.words, va, vb, fact.unit});
  }
  const auto told = [&](int slot, const void* member) {
    if (slot >= kFirstStationSlot && slot <= kFirstBoardTextSlot)
      return explained.slot_explained(slot) || (text_told[static_cast<size_t>(slot)] && member == &kProbe.text);
    if (std::find(std::begin(kKilometrePostSlots), std::end(kKilometrePostSlots), slot) != std::end(kKilometrePostSlots))
      return post_changes_told && (member == &(kProbe.*kPostChangePosition) || member == &(kProbe.*kPostChangeOffset) ||
                                   member == &(kProbe.*kPostChangeDirection));
    return named_by_a_service_fact(slot, member);
  };
  uint64_t offset = 0;
  for (int slot = 0; slot < kRecordCount; ++slot)
    offset += diff_unnamed_fields(d, "records", "record", slot, offset, a[static_cast<size_t>(slot)],
                                  b[static_cast<size_t>(slot)], kSimRecordLayout, kProbe,
                                  [&](const void* member) { return told(slot, member); });
}

// The cells' features, approach codes and other fields that no feature's change explains,
// then the fills as stretches.
void diff_cell_fields(ReadingDocument& d, const std::vector<TrackCell>& a, const std::vector<TrackCell>& b,
                      const ExplainedParts& explained) {
  if (a.size() != b.size())
    add_change(d, "cells",
               {"cells", "changed", "track cells", {}, "count", "", number_value(static_cast<int64_t>(a.size())),
                number_value(static_cast<int64_t>(b.size()))});
  const size_t common = std::min(a.size(), b.size());
  // The codes the post-pass stamps into a cell are the scenario's.
  const std::pair<const char*, int16_t TrackCell::*> codes[] = {{"cell header constant", kCellHeaderConstantValue},
                                                               {"sum competition code", kSumCompetitionCodeValue}};
  std::vector<const void*> codes_told;
  for (const auto& [words, member] : codes)
    if (common > kCodesCell && a[kCodesCell].*member != b[kCodesCell].*member) {
      std::string field = words;
      std::replace(field.begin(), field.end(), ' ', '_');
      add_change(d, "cells", {"scenario", "changed", "scenario", {}, field, words,
                              grouped_value(a[kCodesCell].*member), grouped_value(b[kCodesCell].*member)});
      codes_told.push_back(&(kCellProbe.*member));
    }
  for (size_t i = 0; i < common; ++i) {
    const TrackCell& ca = a[i];
    const TrackCell& cb = b[i];
    if (ca == cb) continue;
    const auto cell = static_cast<int64_t>(i);
    // A value the feature's words leave out is told by its field instead.
    bool feature_told = explained.feature_explained(i);
    if (!same_feature(ca, cb) && !feature_told) {
      const std::string ta = cell_feature_text(ca), tb = cell_feature_text(cb);
      feature_told = ta != tb;
      const int64_t p = feature_position_m(cb.kind != kFreeCell ? cb.kind : ca.kind, cell);
      if (feature_told)
        add_change(d, "cells", {"cell", "changed", cell_what(cell, p), cell_where(cell, p), "", "", text_value(ta),
                                text_value(tb)});
    }
    if (ca.approach != cb.approach && !explained.approach_explained(i))
      add_change(d, "approach codes", {"approach code", "changed", cell_what(cell, cell * kCellLength_m),
                                       cell_where(cell, cell * kCellLength_m), "approach", "",
                                       number_value(ca.approach), number_value(cb.approach)});
    diff_unnamed_fields(d, "cells", "cell", cell, i * kTrackCellBytes, ca, cb, kTrackCellLayout, kCellProbe,
                        [&](const void* member) {
                          if (i == kCodesCell && std::find(codes_told.begin(), codes_told.end(), member) != codes_told.end()) return true;
                          return feature_told ? named_for_a_cell(member) : named_outside_the_feature(member);
                        });
  }
  for (const Fill& fill : fills()) {
    size_t i = 0;
    while (i < common) {
      const uint8_t va = a[i].*fill.member, vb = b[i].*fill.member;
      if (va == vb) {
        ++i;
        continue;
      }
      size_t end = i + 1;
      while (end < common && a[end].*fill.member == va && b[end].*fill.member == vb) ++end;
      const int64_t from = static_cast<int64_t>(i) * kCellLength_m, to = static_cast<int64_t>(end) * kCellLength_m;
      add_change(d, "fills",
                 {"fill", "changed", fill.name, {{"from_m", metres_value(from)}, {"to_m", metres_value(to)}},
                  fill.field, grouped_number(from) + "–" + grouped_number(to) + " m", fill.value(va), fill.value(vb),
                  fill.unit});
      i = end;
    }
  }
}

// One value of a cell as a kind's diff words show it.
std::string cell_value_text(const TrackCell& c, CellValueText value) {
  switch (value) {
    case CellValueText::kValue1: return std::to_string(c.value1);
    case CellValueText::kValues:
      return std::to_string(c.value1) + "/" + std::to_string(c.value2) + "/" + std::to_string(c.value3) + "/" +
             std::to_string(c.value4);
    case CellValueText::kSignalTime: return c.signal_time != 0 ? " time " + std::to_string(c.signal_time) : "";
    case CellValueText::kSpeedBoard: return speed_board_text(c);
    case CellValueText::kKindCode: return std::to_string(c.kind);
  }
  return "";
}

}  // namespace

std::string cell_feature_text(const TrackCell& c) {
  std::string text;
  each_diff_words_piece(cell_kind_entry(c.kind).diff_words, [&](std::string_view words) { text += words; },
                        [&](CellValueText value) { text += cell_value_text(c, value); });
  return text;
}

ReadingDocument diff_records(const Records& a, const Records& b) {
  ReadingDocument d;
  ExplainedParts explained(0);
  const std::vector<Station> stations_a = stations_of_records(a), stations_b = stations_of_records(b);
  diff_stations(d, stations_a, stations_b, explained);
  diff_record_slots(d, a, b, stations_a, stations_b, explained);
  return d;
}

ReadingDocument diff_cells(const std::vector<TrackCell>& a, const std::vector<TrackCell>& b) {
  ReadingDocument d;
  if (a == b) return d;
  ExplainedParts explained(std::max(a.size(), b.size()));
  diff_track_features(d, a, b, explained);
  diff_cell_fields(d, a, b, explained);
  return d;
}

ReadingDocument diff_scenarios(const LoadedScenario& a, const LoadedScenario& b) {
  ReadingDocument d;
  ExplainedParts explained(std::max(a.cells.size(), b.cells.size()));
  const std::vector<Station> stations_a = stations_of(a.cells, a.records, KilometreReadings(a.records));
  const std::vector<Station> stations_b = stations_of(b.cells, b.records, KilometreReadings(b.records));
  diff_stations(d, stations_a, stations_b, explained);
  const bool cells_differ = a.cells != b.cells;  // most comparisons of two builds change only a part
  if (cells_differ) diff_track_features(d, a.cells, b.cells, explained);
  diff_record_slots(d, a.records, b.records, stations_a, stations_b, explained);
  if (cells_differ) diff_cell_fields(d, a.cells, b.cells, explained);
  merge_changes(d, diff_plans(a.has_plan ? a.plan_bytes : PlanBytes(), a.has_plan ? a.plan_points : 0,
                              b.has_plan ? b.plan_bytes : PlanBytes(), b.has_plan ? b.plan_points : 0));
  return d;
}

}  // namespace scenario
