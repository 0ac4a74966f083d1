#include "decompile/round_trip.hpp"

#include <algorithm>
#include <bit>
#include <utility>

#include "compiler/source_file.hpp"
#include "format/compiled_files.hpp"
#include "format/compiled_layouts.hpp"
#include "format/compiled_files_decoder.hpp"
#include "format/line_plan_reader.hpp"
#include "format/scenario_files.hpp"
#include "model/bit_cast.hpp"
#include "model/fault_record.hpp"
#include "model/approach_codes.hpp"
#include "model/fault_table.hpp"
#include "model/format_rules.hpp"
#include "model/windows_1252.hpp"

namespace scenario {
namespace {

class FaultWords : public FaultSink {
 public:
  explicit FaultWords(std::vector<std::string>& faults) : faults_(faults) {}
  void on_fault(const RecordedFault& fault) override {
    std::string words = "fault " + std::to_string(fault.number) + " (" + std::string(fault_meaning(fault.number)) + ")";
    if (fault.position_m) words += " at " + std::to_string(*fault.position_m) + " m";
    if (fault.place) words += ", " + std::string(fault.place->file) + ":" + std::to_string(fault.place->line);
    if (!fault.detail.empty()) words += ": " + std::string(fault.detail);
    faults_.push_back(std::move(words));
  }
  // Warnings speak of how the sources are written (a recovered source may place a feature
  // off its cell boundary, where it compiles alike), not of what they compile to.

 private:
  std::vector<std::string>& faults_;
};

// Collects the differences of one report, the first few in words.
class Differences {
 public:
  explicit Differences(RoundTripReport& report) : report_(report) {}
  size_t count() const { return report_.differences.size() + report_.unlisted; }
  void add(const std::string& words) {
    if (report_.differences.size() < kListedDifferences)
      report_.differences.push_back(words);
    else
      ++report_.unlisted;
  }

 private:
  RoundTripReport& report_;
};

std::string holds_gives(const std::string& what, const std::string& compiled, const std::string& recovered) {
  return what + ": the compiled file holds " + compiled + ", the recovered sources give " + recovered;
}

// Every field a decoder reads, with the element it belongs to: two decodes of the same
// layout compare field by field.
class FieldLog : public FieldListener {
 public:
  struct Field {
    size_t group;
    std::string name;
    std::string value;
  };
  std::vector<std::string> groups;
  std::vector<Field> fields;

  void on_group(std::string_view label) override { groups.emplace_back(label); }
  void on_field(size_t, std::string_view, std::string_view name, std::string_view value) override {
    fields.push_back({groups.size() - 1, std::string(name), std::string(value)});
  }
};

// What a difference in a field of an element can add: the recovered row behind it.
using RowNote = std::function<std::string(size_t element, const std::string& field, const std::string& compiled)>;

template <typename Decode>
void compare_fields(std::string_view compiled, std::string_view recovered, const char* elements, Decode decode,
                    const RowNote& note, Differences& differences) {
  FieldLog in;
  FieldLog out;
  decode(compiled, &in);
  decode(recovered, &out);
  if (in.groups.size() != out.groups.size())
    differences.add(holds_gives(std::string("number of ") + elements, std::to_string(in.groups.size()),
                                std::to_string(out.groups.size())));
  const size_t common = std::min(in.fields.size(), out.fields.size());
  for (size_t i = 0; i < common; ++i) {
    const FieldLog::Field& a = in.fields[i];
    const FieldLog::Field& b = out.fields[i];
    if (a.name == b.name && a.value == b.value) continue;
    differences.add(holds_gives(in.groups[a.group] + ", " + a.name, a.value, b.value) +
                    (note && a.name == b.name ? note(a.group, a.name, a.value) : ""));
    if (a.name != b.name) return;  // out of step: what follows would not compare
  }
}

// Cells compared a block at a time: only a block whose bytes differ is decoded into words,
// so that two long files that differ never have all their fields in words at once.
void compare_cells(std::string_view compiled, std::string_view recovered, const RowNote& note,
                   Differences& differences) {
  constexpr size_t kBlockCells = 4096;
  const size_t compiled_cells = compiled.size() / kTrackCellBytes;
  const size_t recovered_cells = recovered.size() / kTrackCellBytes;
  if (compiled_cells != recovered_cells)
    differences.add(holds_gives("number of track cells", std::to_string(compiled_cells), std::to_string(recovered_cells)));
  const size_t common = std::min(compiled_cells, recovered_cells);
  for (size_t first = 0; first < common; first += kBlockCells) {
    const size_t count = std::min(kBlockCells, common - first);
    const std::string_view a = compiled.substr(first * kTrackCellBytes, count * kTrackCellBytes);
    const std::string_view b = recovered.substr(first * kTrackCellBytes, count * kTrackCellBytes);
    if (a == b) continue;
    compare_fields(
        a, b, "track cells",
        [first](std::string_view bytes, FieldListener* log) { decode_track_cells(bytes, log, first); },
        [&](size_t cell, const std::string& field, const std::string& value) { return note(first + cell, field, value); },
        differences);
  }
}

std::string element_words(const PlanElement& e) {
  switch (e.tag) {
    case PlanElement::kEmpty: return "nothing";
    case PlanElement::kInt16: return "the integer " + std::to_string(e.integer);
    case PlanElement::kDouble: return format_double(e.real);
  }
  return "?";
}

bool same_element(const PlanElement& a, const PlanElement& b) {
  return a.tag == b.tag && a.integer == b.integer && bit_cast<uint64_t>(a.real) == bit_cast<uint64_t>(b.real);
}

void compare_plans(const PlanBytes& compiled, const PlanBytes& recovered, Differences& differences) {
  LinePlanReader in(compiled);
  LinePlanReader out(recovered);
  while (!in.at_end() && !out.at_end()) {
    const LinePlanReader::Metre a = in.next();
    const LinePlanReader::Metre b = out.next();
    const std::string metre = "line plan, metre " + std::to_string(a.metre);
    if (!same_element(a.x, b.x)) differences.add(holds_gives(metre + ", x", element_words(a.x), element_words(b.x)));
    if (!same_element(a.y, b.y)) differences.add(holds_gives(metre + ", y", element_words(a.y), element_words(b.y)));
  }
  if (!in.at_end() || !out.at_end())
    differences.add(holds_gives("line plan", in.at_end() ? "fewer metres" : "more metres",
                                in.at_end() ? "more" : "fewer"));
}

std::string encoded(const std::function<void(ByteSink&)>& encode) {
  std::string bytes;
  encode_into_string(bytes, encode);
  return bytes;
}

// Whether `encode` writes exactly `expected`, compared as the bytes come, so that a file as
// long as the route is never encoded whole beside it.
bool encodes_to(const PlanBytes& expected, const std::function<void(ByteSink&)>& encode) {
  bool same = true;
  uint64_t end = 0;
  std::string window;
  ByteSink sink([&](uint64_t offset, std::string_view bytes) {
    window.resize(bytes.size());
    same = same && offset + bytes.size() <= expected.size() &&
           expected.read(offset, window).substr(0, bytes.size()) == bytes;
    end = std::max(end, offset + bytes.size());
  });
  encode(sink);
  sink.flush();
  return same && end == expected.size();
}

// The first byte at which the two differ.
uint64_t first_difference(const PlanBytes& compiled, std::string_view recovered) {
  std::string window(size_t{64} << 10, '\0');
  uint64_t offset = 0;
  while (offset < compiled.size() && offset < recovered.size()) {
    const std::string_view part = compiled.read(offset, window);
    const std::string_view other = recovered.substr(offset, part.size());
    const auto at = std::mismatch(part.begin(), part.begin() + static_cast<std::ptrdiff_t>(other.size()), other.begin());
    offset += static_cast<uint64_t>(at.first - part.begin());
    if (at.first != part.begin() + static_cast<std::ptrdiff_t>(other.size())) break;
  }
  return offset;
}

// Compares one file with what the recovered sources encode to; only a file that differs is
// encoded whole, to be told apart in words by `compare_in_words` (which is given the
// recovered bytes). Bytes that differ where no field does are still a difference.
void compare_file(const char* file, const PlanBytes& compiled, const std::function<void(ByteSink&)>& encode,
                  const std::function<void(const std::string&)>& compare_in_words, Differences& differences) {
  if (encodes_to(compiled, encode)) return;
  const std::string recovered = encoded(encode);
  const size_t before = differences.count();
  compare_in_words(recovered);
  if (differences.count() == before)
    differences.add(std::string(file) + ": the bytes differ from byte " + std::to_string(first_difference(compiled, recovered)));
}

std::string row_place(const SourcePlace& place) { return std::string(place.file) + ":" + std::to_string(place.line); }

// The rows of the recovered sources behind a field of cell c: for an approach code, every
// row that writes one into the cell, of which the last one's stays (a station's code is
// known, and the row that writes the code the file holds is the one that should come last);
// for any other field, the row that put the cell's feature there.
std::string recovered_rows(const ScenarioModel& model, const std::unordered_map<int64_t, CellOrigin>& origins, int64_t c,
                           const std::string& field, const std::string& compiled) {
  const auto origin = [&](int64_t cell) -> std::optional<SourcePlace> {
    const auto found = origins.find(cell);
    if (found == origins.end()) return std::nullopt;
    return found->second.row;
  };
  if (field != "approach") {
    const std::optional<SourcePlace> place = origin(c);
    return place ? " (the recovered row " + row_place(*place) + " placed it)" : "";
  }
  std::vector<std::string> writers;
  std::optional<std::string> should_be_last;
  for (int k = 1; k <= kApproachCodeCount; ++k) {
    const int64_t signal = c + 2 * k;
    if (signal <= model.last_cell && model.cell(signal).kind == kSignal && origin(signal))
      writers.push_back(row_place(*origin(signal)));
    const int64_t exit = c + k;
    if (exit > model.last_cell || model.cell(exit).kind != kStationExit || !origin(exit)) continue;
    const SimRecord& station = model.record(model.cell(exit).value1);
    if (!writes_station_approach_codes(station.station_type) || !takes_station_approach_code(c)) continue;
    const std::string code = std::to_string(station_approach_code(k));
    writers.push_back(row_place(*origin(exit)) + " (" + code + ")");
    if (code == compiled) should_be_last = row_place(*origin(exit));
  }
  if (writers.empty()) return "";
  std::string words = " (written by the recovered rows";
  for (const std::string& writer : writers) words += " " + writer;
  return words + (should_be_last ? "; " + *should_be_last + " should come after the others)" : ", the last one's stays)");
}

}  // namespace

Recompiled compile_in_memory(const ScenarioTexts& texts, std::string_view line, std::string_view service,
                             int32_t plan_mode) {
  Recompiled recompiled;
  recompiled.model = std::make_unique<ScenarioModel>();
  ScenarioModel& model = *recompiled.model;
  model.scenario_name = texts.name;
  model.scenario_number = texts.number;
  FaultWords sink(recompiled.faults);
  CompileContext context(model, &sink);
  const ScenarioFileNames names = scenario_file_names(utf8_from_1252(texts.name), utf8_from_1252(texts.number));
  recompiled.line = std::make_unique<SourceFile>(SourceFile::in_memory(names.line_source, std::string(line)));
  recompiled.service = std::make_unique<SourceFile>(SourceFile::in_memory(names.service_source, std::string(service)));
  recompiled.result = compile_scenario(context, plan_mode, *recompiled.line, *recompiled.service);
  // The places point into the sources, which stay with the model.
  recompiled.cell_origins = std::move(context.cell_origins);
  return recompiled;
}

RoundTripReport check_round_trip(const CompiledFiles& files, const RecoveredSources& sources) {
  RoundTripReport report;
  Differences differences(report);
  const Recompiled recompiled = compile_in_memory(sources.texts, sources.line, sources.service, sources.plan_mode);
  report.faults = recompiled.faults;
  if (recompiled.result.status == CompileStatus::kNoTrackCells) {
    differences.add("the recovered sources compile to no track cells, so to no files");
    return report;
  }
  if (recompiled.result.status == CompileStatus::kHeaderFault) {
    differences.add("the recovered sources stop at the header guard with fault " +
                    std::to_string(recompiled.result.shown_fault) + ", so compile to no files");
    return report;
  }
  const ScenarioModel& model = *recompiled.model;

  const ScenarioFileNames names = scenario_file_names(files.name, files.number);
  // Cells and records are told apart field by field, as their decoders read them.
  compare_file(
      names.track_cells.c_str(), files.track_cells, [&](ByteSink& out) { encode_track_cells(model, out); },
      [&](const std::string& recovered) {
        compare_cells(files.track_cells, recovered,
                      [&](size_t cell, const std::string& field, const std::string& compiled) {
                        return recovered_rows(model, recompiled.cell_origins, static_cast<int64_t>(cell), field, compiled);
                      },
                      differences);
      },
      differences);
  compare_file(
      names.records.c_str(), files.records, [&](ByteSink& out) { encode_records(model, out); },
      [&](const std::string& recovered) {
        compare_fields(files.records, recovered, "records",
                       [](std::string_view bytes, FieldListener* log) { decode_records(bytes, log); }, nullptr,
                       differences);
      },
      differences);
  if (files.line_plan) {
    compare_file(
        names.line_plan.c_str(), *files.line_plan, [&](ByteSink& out) { encode_line_plan(model.line_plan, out); },
        [&](const std::string& recovered) { compare_plans(*files.line_plan, recovered, differences); }, differences);
  }
  return report;
}

}  // namespace scenario
