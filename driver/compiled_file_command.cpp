#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <type_traits>

#include "driver/commands.hpp"
#include "driver/diagnostics.hpp"
#include "driver/listing.hpp"
#include "model/windows_1252.hpp"
#include "format/compiled_files_decoder.hpp"
#include "format/compiled_layouts.hpp"
#include "format/file_io.hpp"
#include "format/line_plan_points.hpp"
#include "format/plan_bytes.hpp"
#include "format/scenario_files.hpp"
#include "model/scenario_model.hpp"
#include "model/format_rules.hpp"

namespace scenario {
namespace {

using FileKind = CompiledFileKind;

FileKind kind_of(const std::filesystem::path& file) {
  if (const auto kind = compiled_file_kind(file)) return *kind;
  throw UsageError("cannot tell what '" + file.string() +
                       "' holds from its name: inspect reads *_linea.dat (line plan), *.sim (scenario records) "
                       "and *.dat (track cells)",
                   "inspect");
}

ListingField field(std::string name, int64_t value) { return {std::move(name), value}; }
ListingField field(std::string name, double value) { return {std::move(name), value}; }
ListingField field(std::string name, std::string value) { return {std::move(name), std::move(value)}; }

// The numbers of a record under their listing names, in file order; a coded value is
// followed by what it means.
template <typename Record, typename Layout>
void add_numbers(std::vector<ListingField>& fields, const Record& record, const Layout& layout) {
  for_each_field(layout, [&](const auto& f) {
    if constexpr (!std::is_same_v<typename std::decay_t<decltype(f)>::value_type, std::string>) {
      const int64_t value = record.*f.member;
      fields.push_back(field(std::string(f.listed_name()), f.listed_value(value)));
      if (!f.described_in.empty()) {
        const char* meaning = f.describe(value);
        const bool known = meaning != nullptr && std::string_view(meaning) != "unknown";
        fields.push_back(field(std::string(f.described_in),
                               known ? std::string(meaning) : std::string(f.name) + " " + std::to_string(value)));
      }
    }
  });
}

// ---- track cells

// A cell is listed when it holds a feature, or when a running value (mountain, speed,
// gradient, adhesion) changes there: a compiled track has a speed and a gradient in every cell.
bool worth_listing(const TrackCell& cell, const TrackCell& before) {
  bool listed = false;
  for_each_field(kTrackCellLayout, [&](const auto& f) {
    listed = listed || (f.carried ? cell.*f.member != before.*f.member : cell.*f.member != 0);
  });
  return listed;
}

// Calls `visit(index, cell)` for each cell that the listing shows.
template <typename Visit>
void for_each_listed_cell(const std::vector<TrackCell>& cells, bool all, Visit visit) {
  TrackCell before;
  for (size_t i = 0; i < cells.size(); ++i) {
    const TrackCell& c = cells[i];
    const bool listed = all || worth_listing(c, before);
    before = c;
    if (listed) visit(static_cast<int64_t>(i), c);
  }
}

Listing list_track_cells(std::vector<TrackCell> decoded, bool all) {
  const auto cells = std::make_shared<const std::vector<TrackCell>>(std::move(decoded));
  Listing listing;
  listing.file_kind = "track cells";
  listing.rows_name = "cells";
  const auto count = static_cast<int64_t>(cells->size());
  listing.summary.push_back(field("cell_count", count));
  if (count > 1) {
    listing.summary.push_back(field("header_constant", int64_t{cells->at(1).value1}));
    listing.summary.push_back(field("competition_code", int64_t{cells->at(1).value2}));
  }
  int64_t listed = 0;
  for_each_listed_cell(*cells, all, [&](int64_t, const TrackCell&) { ++listed; });
  listing.summary.push_back(field("listed", listed));
  listing.rows = [cells, all](const std::function<void(const ListingRow&)>& row) {
    ListingRow shown;
    for_each_listed_cell(*cells, all, [&](int64_t i, const TrackCell& c) {
      shown.columns = {field("index", i), field("metres", i * kCellLength_m)};
      add_numbers(shown.columns, c, kTrackCellLayout);
      row(shown);
    });
  };
  return listing;
}

// ---- records

// The numbers of a record under their field names, in file order.
std::vector<ListingField> record_numbers(const SimRecord& r) {
  std::vector<ListingField> numbers;
  add_numbers(numbers, r, kSimRecordLayout);
  return numbers;
}

struct Role {
  std::string name;
  // Field name -> what it means in this role, in the order to show them.
  std::vector<std::pair<std::string_view, std::string_view>> labels;
};

bool only_text(const SimRecord& r) {
  SimRecord numbers_only = r;
  numbers_only.text.clear();
  return numbers_only == SimRecord{};
}

Role role_of(int64_t slot, const SimRecord& r) {
  if (slot == 0) return {"unused slot", {}};
  if (slot <= kFirstBoardTextSlot) {
    if (only_text(r)) return {"board text", {}};
    return {"station",
            {{"position_m", "position_m"}, {"area_start_m", "area_start_m"}, {"area_end_m", "area_end_m"},
             {"type", "type"}, {"timetable_time_s", "timetable_time_s"}, {"field_4", "field_4"},
             {"field_5", "field_5"}, {"field_6", "field_6"}, {"field_7", "field_7"}, {"field_8", "field_8"},
             {"field_9", "field_9"}, {"field_10", "field_10"}, {"field_11", "field_11"}, {"field_12", "field_12"},
             {"field_13", "field_13"}}};
  }
  // Other slots give the station's fields other meanings.
  if (slot < kServiceDataSlot) {
    return {"kilometre-post change",
            {{listed_name_of(kPostChangePosition), "position_m"},
             {listed_name_of(kPostChangeOffset), "offset_m"},
             {listed_name_of(kPostChangeDirection), "direction"}}};
  }
  const auto label = [](const auto& header_field) {
    return std::pair{listed_name_of(header_field.member), header_field.name};
  };
  if (slot == kServiceDataSlot)
    return {"service data", {label(kBrakedMassPercent), label(kRouteLength), label(kCoaches)}};
  if (slot == kScenarioNameSlot) {
    return {"scenario header",
            {label(kBackgroundUno), label(kBackgroundDue), label(kBackgroundTre), label(kRecordHeaderConstantField),
             label(kWeightedCompetitionCode)}};
  }
  return {"scenario header",
          {label(kSignalRepetitionStart), label(kSignalRepetitionEnd), label(kSignalRepetitionCodes), label(kSand), label(kClockHours),
           label(kClockMinutes), label(kClockSeconds)}};
}

std::string clock_text(int64_t seconds) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  return buffer;
}

// The role's fields under their meanings, then any other number that is not 0 under its
// own field name, so that nothing in the file goes unseen.
std::vector<ListingField> record_details(const Role& role, const SimRecord& r) {
  const std::vector<ListingField> numbers = record_numbers(r);
  std::vector<ListingField> details;
  for (const auto& [field_name, label] : role.labels) {
    for (const ListingField& number : numbers) {
      if (number.name == field_name) details.push_back({std::string(label), number.value});
    }
  }
  if (role.name == "station" && r.time_s >= 0) details.push_back(field("timetable_time", clock_text(r.time_s)));
  for (const ListingField& number : numbers) {
    const bool labelled = std::any_of(role.labels.begin(), role.labels.end(),
                                      [&](const auto& label) { return number.name == label.first; });
    if (!labelled && std::get<int64_t>(number.value) != 0) details.push_back(number);
  }
  return details;
}

Listing list_records(const std::array<SimRecord, kRecordCount>& decoded) {
  const auto records = std::make_shared<const std::array<SimRecord, kRecordCount>>(decoded);
  Listing listing;
  listing.file_kind = "scenario records";
  listing.rows_name = "records";
  listing.details_name = "fields";
  const auto filled = std::count_if(records->begin(), records->end(), [](const SimRecord& r) { return r != SimRecord{}; });
  listing.summary.push_back(field("slots", int64_t{kRecordCount}));
  listing.summary.push_back(field("filled", static_cast<int64_t>(filled)));
  listing.rows = [records](const std::function<void(const ListingRow&)>& row) {
    for (size_t slot = 0; slot < records->size(); ++slot) {
      const SimRecord& r = (*records)[slot];
      if (r == SimRecord{}) continue;
      const Role role = role_of(static_cast<int64_t>(slot), r);
      row(ListingRow{{field("slot", static_cast<int64_t>(slot)), field("role", role.name), field("text", utf8_from_1252(r.text))},
                     record_details(role, r)});
    }
  };
  return listing;
}

// ---- line plan

// The plan is read from its file point by point, once for the summary, which checks its
// whole layout, and again for the rows: neither the file nor a point is held.
Listing list_line_plan(const PlanBytes& plan, bool all) {
  int64_t points = 0;
  double min_x = std::numeric_limits<double>::infinity(), max_x = -min_x, min_y = min_x, max_y = -min_x;
  double length = 0.0;
  PlanPoint previous = kPlanStartingPoints[0];
  LinePlanPoints walk(plan);
  for (PlanPoint p; walk.next(p); ++points) {
    min_x = std::min(min_x, p.x);
    max_x = std::max(max_x, p.x);
    min_y = std::min(min_y, p.y);
    max_y = std::max(max_y, p.y);
    length += std::hypot(p.x - previous.x, p.y - previous.y);
    previous = p;
  }
  Listing listing;
  listing.file_kind = "line plan";
  listing.rows_name = "points";
  listing.summary.push_back(field("extent_m", walk.metres_read() - 1));
  listing.summary.push_back(field("computed_points", points));
  if (points == 0) return listing;
  listing.summary.push_back(field("computed_extent_m", points - 1));
  listing.summary.push_back(field("min_x", min_x));
  listing.summary.push_back(field("max_x", max_x));
  listing.summary.push_back(field("min_y", min_y));
  listing.summary.push_back(field("max_y", max_y));
  listing.summary.push_back(field("length_m", length));
  if (all) {
    listing.rows = [plan](const std::function<void(const ListingRow&)>& row) {
      LinePlanPoints points_of_file(plan);
      for (PlanPoint p; points_of_file.next(p);)
        row(ListingRow{{field("metre", points_of_file.metre()), field("x", p.x), field("y", p.y)}, {}});
    };
  }
  return listing;
}

// ---- annotated dump

// Prints every field as the decoder reads it: offset, bytes in hex (eight to a line),
// name and value, with a heading for each cell, record or plan element.
class AnnotatedDump : public FieldListener {
 public:
  explicit AnnotatedDump(std::ostream& out) : out_(out) {}

  void on_group(std::string_view label) override { out_ << "# " << label << '\n'; }

  void on_field(size_t offset, std::string_view bytes, std::string_view name, std::string_view value) override {
    constexpr size_t kPerLine = 8;
    size_t done = 0;
    do {
      const std::string_view part = bytes.substr(done, kPerLine);
      std::string hex;
      for (const char c : part) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02x ", static_cast<unsigned char>(c));
        hex += byte;
      }
      char line[64];
      std::snprintf(line, sizeof line, "%10zu  %-24s", offset + done, hex.c_str());
      out_ << line;
      if (done == 0) {
        char label[32];
        std::snprintf(label, sizeof label, "%-14.*s", static_cast<int>(name.size()), name.data());
        out_ << label << ' ' << utf8_from_1252(value);
      }
      out_ << '\n';
      done += part.size();
    } while (done < bytes.size());
  }

 private:
  std::ostream& out_;
};

void annotate(FileKind kind, std::string_view bytes, const std::string& file, std::ostream& out) {
  static constexpr const char* kKindNames[] = {"track cells", "scenario records", "line plan"};
  out << "# " << file << ": " << kKindNames[static_cast<int>(kind)] << ", " << bytes.size() << " bytes\n";
  out << "#    offset  bytes                   field          value\n";
  AnnotatedDump dump(out);
  switch (kind) {
    case FileKind::kTrackCells: decode_track_cells(bytes, &dump); break;
    case FileKind::kRecords: decode_records(bytes, &dump); break;
    case FileKind::kLinePlan: decode_line_plan(bytes, &dump); break;
  }
  out << "# end of file at byte " << bytes.size() << '\n';
}

Listing listing_of(FileKind kind, const std::string& bytes, const PlanBytes& plan, bool all) {
  switch (kind) {
    case FileKind::kTrackCells: return list_track_cells(decode_track_cells(bytes), all);
    case FileKind::kRecords: return list_records(decode_records(bytes));
    case FileKind::kLinePlan: return list_line_plan(plan, all);
  }
  return {};
}

// A plan read in parts reads both columns at once, so a file cut short may fail first where
// its second half begins; the fault met first in file order says more ("19 plan elements"),
// and a file found faulty is read whole for it.
std::string first_fault_in_file_order(const std::filesystem::path& file, const DecodeError& found) {
  try {
    decode_line_plan(read_compiled_file(file, CompiledFileKind::kLinePlan));
  } catch (const DecodeError& first) {
    return first.what();
  } catch (const FileError&) {
  }
  return found.what();
}

}  // namespace

int run_inspect_command(const InspectCommand& command, Console& console) {
  const FileKind kind = kind_of(command.file);
  Diagnostics diagnostics(console.err, console.colour);
  const std::string shown = command.file.string();
  // A plan listed is read from its file in parts; anything else is read whole.
  const bool plan_in_parts = kind == FileKind::kLinePlan && command.format != InspectCommand::Format::kAnnotate;
  try {
    std::string bytes;
    PlanBytes plan;
    if (plan_in_parts)
      plan = PlanBytes::of_file(command.file);
    else
      bytes = read_compiled_file(command.file, kind);
    if (command.format == InspectCommand::Format::kAnnotate) {
      annotate(kind, bytes, shown, console.out);
      return kExitClean;
    }
    Listing listing = listing_of(kind, bytes, plan, command.all);
    listing.file = shown;
    if (command.format == InspectCommand::Format::kJson) {
      print_json(listing, console.out);
    } else {
      print_table(listing, console.out);
    }
  } catch (const DecodeError& e) {
    console.out.flush();
    diagnostics.error(shown + ": " + (plan_in_parts ? first_fault_in_file_order(command.file, e) : e.what()));
    return kExitNothing;
  } catch (const FileError& e) {
    console.out.flush();
    diagnostics.error("cannot read '" + shown + "': " + e.reason());
    return kExitNothing;
  }
  return kExitClean;
}

}  // namespace scenario
