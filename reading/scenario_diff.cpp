#include "reading/scenario_diff.hpp"

#include <cmath>
#include <functional>

#include "format/compiled_layouts.hpp"
#include "format/line_plan_points.hpp"
#include "model/windows_1252.hpp"
#include "reading/kilometre_readings.hpp"
#include "reading/station_fields.hpp"
#include "reading/track_reading.hpp"
#include "model/format_rules.hpp"

namespace scenario {
namespace {

constexpr const char* kArrow = " \xE2\x86\x92 ";  // →

// One change: what changed (a station, a cell, a fill), which of its fields, and its value
// before and after. `line` words it otherwise where "what: field before → after" would not.
struct Change {
  std::string what;
  std::string field;
  std::string before;
  std::string after;
  std::string line = "";
};

std::string change_line(const DocumentRow& row) { return field_text(row, "text"); }

void add_row(ReadingDocument& d, const std::string& group, DocumentRow row) {
  for (DocumentSection& section : d.sections)
    if (section.name == group) {
      section.rows.push_back(std::move(row));
      return;
    }
  DocumentSection section{group, {}, "changes", {std::move(row)}, {}};
  section.row_line = change_line;
  d.sections.push_back(std::move(section));
}

// Each change is a row of the group's section: a script reads its parts, a person its line.
void add_change(ReadingDocument& d, const std::string& group, Change change) {
  const std::string text =
      change.what + ": " +
      (!change.line.empty() ? change.line
                            : (change.field.empty() ? "" : change.field + " ") + change.before + kArrow + change.after);
  add_row(d, group,
          {{"kind", text_value(group)},
           {"what", text_value(std::move(change.what))},
           {"field", text_value(std::move(change.field))},
           {"before", text_value(std::move(change.before))},
           {"after", text_value(std::move(change.after))},
           {"text", text_value(text)}});
}

void merge(ReadingDocument& into, ReadingDocument from) {
  for (DocumentSection& section : from.sections)
    for (DocumentRow& row : section.rows) add_row(into, section.name, std::move(row));
}

std::string quoted(const std::string& text_1252) { return "\"" + utf8_from_1252(text_1252) + "\""; }

// The fields of a station in words, in the order a person reads them.
std::vector<std::pair<std::string, std::string>> station_facts(const SimRecord& r) {
  std::vector<std::pair<std::string, std::string>> facts = {
      {"name", quoted(r.text)},
      {"position", grouped_number(r.position_m) + " m"},
      {"type", std::to_string(r.station_type)},
      {"area start", grouped_number(r.start_m) + " m"},
      {"area end", grouped_number(r.end_m) + " m"},
      {"timetable time", r.time_s != 0 ? timetable_text(r.time_s) : "none"},
  };
  for (const StationField& field : stored_station_fields())
    facts.push_back({"field " + std::to_string(field.place), std::to_string(field.value(r))});
  return facts;
}

using Facts = std::vector<std::pair<std::string, std::string>>;

void diff_facts(ReadingDocument& d, const std::string& group, const std::string& subject, const Facts& a,
                const Facts& b) {
  for (size_t i = 0; i < a.size() && i < b.size(); ++i)
    if (a[i].second != b[i].second) add_change(d, group, {subject, a[i].first, a[i].second, b[i].second});
}

using Records = std::array<SimRecord, kRecordCount>;

// A fact of the header records in an author's words, and the fields it is read from.
struct ServiceFact {
  const char* label;
  std::vector<std::pair<int, const void*>> fields;  // each field read: its slot, and its member in kProbe
  std::function<std::string(const Records&)> text;
};

// A record whose members' addresses tell one member from another, whatever its type.
const SimRecord kProbe{};

template <typename T>
std::pair<int, const void*> read_from(const HeaderField<T>& field) {
  return {field.slot, &(kProbe.*field.member)};
}

template <typename T>
ServiceFact number_fact(const char* label, const HeaderField<T>& field, std::string unit = "") {
  return {label, {read_from(field)}, [&field, unit](const Records& r) {
            return (unit == " m" ? grouped_number(field.in(r)) : std::to_string(field.in(r))) + unit;
          }};
}

const std::vector<ServiceFact>& service_facts() {
  static const std::vector<ServiceFact> facts = {
      {"name", {read_from(kNameText)}, [](const Records& r) { return quoted(kNameText.in(r)); }},
      {"number", {read_from(kNumberText)}, [](const Records& r) { return quoted(kNumberText.in(r)); }},
      number_fact("route length", kRouteLength, " m"),
      number_fact("coaches", kCoaches),
      number_fact("braked mass", kBrakedMassPercent, " %"),
      number_fact("sand", kSand),
      {"clock", {read_from(kClockHours), read_from(kClockMinutes), read_from(kClockSeconds)},
       [](const Records& r) { return clock_text(r); }},
      number_fact("background uno", kBackgroundUno),
      number_fact("background due", kBackgroundDue),
      number_fact("background tre", kBackgroundTre),
      {"signal repetition", {read_from(kSignalRepetitionStart), read_from(kSignalRepetitionEnd), read_from(kSignalRepetitionCodes)},
       [](const Records& r) {
         return grouped_number(kSignalRepetitionStart.in(r)) + "–" + grouped_number(kSignalRepetitionEnd.in(r)) + " m, " +
                std::to_string(kSignalRepetitionCodes.in(r)) + " codes";
       }},
      number_fact("record header constant", kRecordHeaderConstantField),
      number_fact("weighted competition code", kWeightedCompetitionCode),
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
// fact in words has named (`named` says so of a member of `probe`), by its place in the
// file: nothing the files hold differs without a word. Returns the record's bytes in `a`.
template <typename Record, typename Layout, typename Named>
uint64_t diff_unnamed_fields(ReadingDocument& d, const std::string& group, const std::string& subject,
                             uint64_t offset, const Record& a, const Record& b, const Layout& layout,
                             const Record& probe, Named named) {
  uint64_t start = offset;
  for_each_field(layout, [&](const auto& f) {
    using Value = typename std::decay_t<decltype(f)>::value_type;
    uint64_t width = fixed_width<Value>();
    if constexpr (std::is_same_v<Value, std::string>) width += (a.*f.member).size();
    if (a.*f.member != b.*f.member && !named(static_cast<const void*>(&(probe.*f.member)))) {
      std::string va, vb;
      if constexpr (std::is_same_v<Value, std::string>) va = quoted(a.*f.member), vb = quoted(b.*f.member);
      else va = std::to_string(a.*f.member), vb = std::to_string(b.*f.member);
      add_change(d, group,
                 {subject + " (bytes " + std::to_string(offset) + "–" + std::to_string(offset + width - 1) + ")",
                  std::string(f.name), va, vb});
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

std::string cell_subject(int64_t cell, const TrackCell& a, const TrackCell& b) {
  const uint8_t kind = b.kind != kFreeCell ? b.kind : a.kind;
  return "cell " + std::to_string(cell) + " (" + grouped_number(feature_position_m(kind, cell)) + " m)";
}

bool same_feature(const TrackCell& a, const TrackCell& b) {
  return a.kind == b.kind && a.value1 == b.value1 && a.value2 == b.value2 && a.value3 == b.value3 &&
         a.value4 == b.value4 && a.signal_time == b.signal_time;
}

// A fill that changes over a stretch of cells: one line per run of cells whose old and
// new values are the same pair.
struct Fill {
  const char* name;
  uint8_t TrackCell::*field;
  std::function<std::string(uint8_t)> text;
};

const std::vector<Fill>& fills() {
  static const std::vector<Fill> all = {
      {"line speed", &TrackCell::speed_limit, [](uint8_t v) { return std::to_string(speed_kmh(v)) + " km/h"; }},
      {"gradient", &TrackCell::gradient,
       [](uint8_t v) { return v == 0 ? std::string("none") : std::to_string(gradient_per_mille(v)) + " per mille"; }},
      {"adhesion", &TrackCell::adhesion, [](uint8_t v) { return std::to_string(v); }},
      {"mountain", &TrackCell::mountain,
       [](uint8_t v) { return v == 0 ? std::string("none") : "type " + std::to_string(v); }},
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
    if (member == &(kCellProbe.*fill.field)) return true;
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

}  // namespace

std::string cell_feature_text(const TrackCell& c) {
  const std::string values = std::to_string(c.value1) + "/" + std::to_string(c.value2) + "/" +
                             std::to_string(c.value3) + "/" + std::to_string(c.value4);
  switch (c.kind) {
    case kFreeCell: return "nothing";
    case kSignal:
      return "signal " + values + (c.signal_time != 0 ? " time " + std::to_string(c.signal_time) : "");
    case kSlowdownStart: return "slowdown start " + std::to_string(c.value1) + " km/h";
    case kSlowdownEnd: return "slowdown end " + std::to_string(c.value1) + " km/h";
    case kSlowdownWarningBoard: return "slowdown warning board " + std::to_string(c.value1) + " km/h";
    case kApproachBoard: return "approach board " + std::to_string(c.value1);
    case kSpeedLimitBoards: return "speed-limit board " + speed_board_text(c);
    case kStationExit: return "exit of station " + std::to_string(c.value1);
    case kMountainMarker: return "mountain marker";
    case kCodeReduction: return "code reduction " + std::to_string(c.value1) + " km/h";
    case kCodeReductionNonPositive: return "code reduction of value 0 or below";
    case kIndicatorBoard: return "indicator board (text in slot " + std::to_string(c.value1) + ")";
    default: return "kind " + std::to_string(c.kind) + " " + values;
  }
}

ReadingDocument diff_records(const std::array<SimRecord, kRecordCount>& a, const std::array<SimRecord, kRecordCount>& b) {
  ReadingDocument d;
  for (int slot = kFirstStationSlot; slot <= kFirstBoardTextSlot; ++slot) {
    const SimRecord& ra = a[static_cast<size_t>(slot)];
    const SimRecord& rb = b[static_cast<size_t>(slot)];
    if (ra == rb) continue;
    const bool board_a = is_board_text(ra), board_b = is_board_text(rb);
    const bool empty_a = ra == SimRecord{}, empty_b = rb == SimRecord{};
    if ((board_a || empty_a) && (board_b || empty_b)) {
      add_change(d, "records", {"board text " + std::to_string(slot), "", empty_a ? "none" : quoted(ra.text),
                                empty_b ? "none" : quoted(rb.text)});
    } else if (board_a || empty_a) {
      const std::string at = "at " + grouped_number(rb.position_m) + " m";
      add_change(d, "records",
                 {"station " + std::to_string(slot) + " " + utf8_from_1252(rb.text), "", "none", at, "added " + at});
    } else if (board_b || empty_b) {
      add_change(d, "records", {"station " + std::to_string(slot) + " " + utf8_from_1252(ra.text), "",
                                "at " + grouped_number(ra.position_m) + " m", "none", "removed"});
    } else {
      diff_facts(d, "records", "station " + std::to_string(slot) + " " + utf8_from_1252(rb.text), station_facts(ra),
                 station_facts(rb));
    }
  }
  const std::string changes_a = changes_text(KilometreReadings(a)), changes_b = changes_text(KilometreReadings(b));
  if (changes_a != changes_b) add_change(d, "records", {"kilometre-post changes", "", changes_a, changes_b});
  for (const ServiceFact& fact : service_facts()) {
    const std::string ta = fact.text(a), tb = fact.text(b);
    if (ta != tb) add_change(d, "records", {"scenario", fact.label, ta, tb});
  }
  uint64_t offset = 0;
  for (int slot = 0; slot < kRecordCount; ++slot) {
    const bool station_slot = slot >= kFirstStationSlot && slot <= kFirstBoardTextSlot;
    offset += diff_unnamed_fields(d, "records", "record " + std::to_string(slot), offset, a[static_cast<size_t>(slot)],
                                  b[static_cast<size_t>(slot)], kSimRecordLayout, kProbe, [&](const void* member) {
                                    return station_slot || named_by_a_service_fact(slot, member);
                                  });
  }
  return d;
}

ReadingDocument diff_cells(const std::vector<TrackCell>& a, const std::vector<TrackCell>& b) {
  ReadingDocument d;
  if (a.size() != b.size())
    add_change(d, "cells", {"track cells", "", std::to_string(a.size()), std::to_string(b.size())});
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const TrackCell& ca = a[i];
    const TrackCell& cb = b[i];
    const auto cell = static_cast<int64_t>(i);
    // A value the feature's words leave out is told by its field instead.
    bool feature_told = false;
    if (!same_feature(ca, cb)) {
      const std::string ta = cell_feature_text(ca), tb = cell_feature_text(cb);
      feature_told = ta != tb;
      if (feature_told) add_change(d, "cells", {cell_subject(cell, ca, cb), "", ta, tb});
    }
    if (ca.approach != cb.approach)
      add_change(d, "approach codes",
                 {"cell " + std::to_string(cell) + " (" + grouped_number(cell * kCellLength_m) + " m)", "",
                  std::to_string(ca.approach), std::to_string(cb.approach)});
    if (!(ca == cb))
      diff_unnamed_fields(d, "cells", "cell " + std::to_string(cell), i * kTrackCellBytes, ca, cb, kTrackCellLayout,
                          kCellProbe, [feature_told](const void* member) {
                            return feature_told ? named_for_a_cell(member) : named_outside_the_feature(member);
                          });
  }
  for (const Fill& fill : fills()) {
    size_t i = 0;
    while (i < common) {
      const uint8_t va = a[i].*fill.field, vb = b[i].*fill.field;
      if (va == vb) {
        ++i;
        continue;
      }
      size_t end = i + 1;
      while (end < common && a[end].*fill.field == va && b[end].*fill.field == vb) ++end;
      add_change(d, "fills",
                 {fill.name,
                  grouped_number(static_cast<int64_t>(i) * kCellLength_m) + "–" +
                      grouped_number(static_cast<int64_t>(end) * kCellLength_m) + " m",
                  fill.text(va), fill.text(vb)});
      i = end;
    }
  }
  return d;
}

namespace {

// The first byte at which two plans' files differ, read a part at a time; none when equal.
std::optional<uint64_t> first_differing_byte(const PlanBytes& a, const PlanBytes& b) {
  constexpr size_t kPart = 64 * 1024;
  std::string part_a(kPart, '\0'), part_b(kPart, '\0');
  const uint64_t common = std::min(a.size(), b.size());
  for (uint64_t offset = 0; offset < common; offset += kPart) {
    const std::string_view va = a.read(offset, part_a), vb = b.read(offset, part_b);
    const size_t length = static_cast<size_t>(std::min<uint64_t>({va.size(), vb.size(), common - offset}));
    for (size_t i = 0; i < length; ++i)
      if (va[i] != vb[i]) return offset + i;
  }
  if (a.size() != b.size()) return common;
  return std::nullopt;
}

ReadingDocument diff_plan_points(const PlanBytes& a, const PlanBytes& b) {
  ReadingDocument d;
  if (a.empty() != b.empty()) {
    add_change(d, "plan", {"line plan", "", a.empty() ? "none" : "present", b.empty() ? "none" : "present"});
    return d;
  }
  LinePlanPoints pa(a), pb(b);
  PlanPoint ha[3], hb[3];  // the last three points of each
  bool more_a = true, more_b = true;
  int64_t metre = 0, run_start = -1;
  std::string run_from, run_to;
  auto close_run = [&](int64_t end) {
    if (run_start < 0) return;
    const std::string metres = "metres " + grouped_number(run_start) + "–" + grouped_number(end);
    add_change(d, "plan", {"plan", metres, run_from, run_to, metres + " differ (" + run_from + kArrow + run_to + ")"});
    run_start = -1;
  };
  for (;; ++metre) {
    PlanPoint p;
    more_a = more_a && pa.next(p);
    if (more_a) ha[0] = ha[1], ha[1] = ha[2], ha[2] = p;
    more_b = more_b && pb.next(p);
    if (more_b) hb[0] = hb[1], hb[1] = hb[2], hb[2] = p;
    if (!more_a || !more_b) break;
    if (metre < 2) continue;
    const double ka = plan_turning(ha[0], ha[1], ha[2]), kb = plan_turning(hb[0], hb[1], hb[2]);
    const bool differs = std::abs(ka - kb) > 1e-9;
    const std::string ta = turning_text(ka), tb = turning_text(kb);
    if (run_start >= 0 && (!differs || ta != run_from || tb != run_to)) close_run(metre - 1);
    if (differs && run_start < 0) run_start = metre, run_from = ta, run_to = tb;
  }
  close_run(metre - 1);
  const int64_t points_a = computed_plan_points(a), points_b = computed_plan_points(b);
  if (points_a != points_b)
    add_change(d, "plan",
               {"plan", "computed to metre", grouped_number(points_a - 1), grouped_number(points_b - 1)});
  return d;
}

}  // namespace

ReadingDocument diff_plans(const PlanBytes& a, const PlanBytes& b) {
  ReadingDocument d = diff_plan_points(a, b);
  if (d.sections.empty())
    if (const std::optional<uint64_t> byte = first_differing_byte(a, b))
      add_change(d, "plan", {"plan", "byte " + grouped_number(static_cast<int64_t>(*byte)), "", "",
                             "the files differ from byte " + grouped_number(static_cast<int64_t>(*byte)) +
                                 " on, in values too small to change the track's turning"});
  return d;
}

ReadingDocument diff_scenarios(const LoadedScenario& a, const LoadedScenario& b) {
  ReadingDocument d = diff_records(a.records, b.records);
  merge(d, diff_cells(a.cells, b.cells));
  merge(d, diff_plans(a.has_plan ? a.plan_bytes : PlanBytes(), b.has_plan ? b.plan_bytes : PlanBytes()));
  return d;
}

}  // namespace scenario
