#include "compiler/line_source_reader.hpp"

#include <optional>
#include <string>
#include <string_view>

#include "compiler/field_reader.hpp"
#include "compiler/kilometre_posts.hpp"
#include "compiler/line_features.hpp"
#include "compiler/row_shape.hpp"
#include "compiler/source_warnings.hpp"
#include "format/compiled_files.hpp"
#include "model/rounding.hpp"
#include "model/runtime_failure.hpp"
#include "model/fault_record.hpp"
#include "model/fault_table.hpp"
#include "model/format_rules.hpp"

namespace scenario {
namespace {

constexpr int32_t kLongestRoute_m = 1000000;
constexpr int kGeneralDashReads = 10;
constexpr int kMainDashReads = 2;

bool starts_with_dash_after_blanks(std::string_view field) {
  const size_t first = field.find_first_not_of(" \t");
  return first != std::string_view::npos && field[first] == '-';
}

// A header such as "[curve]" ends the general section; one that begins with "-" does not.
bool ends_general_section(std::string_view field) {
  return contains(field, "[") && contains(field, "]") && !starts_with_dash_after_blanks(field);
}

constexpr std::string_view kLineHeaders[] = {"[generale]", "[curve]",       "[pendenze]", "[montagne]",
                                             "[cartelli]",  "[indicazioni]", "[fine]"};
constexpr std::string_view kGeneralKeywords[] = {
    "lunghezza percorso", "progressiva chilometrica uno", "progressiva chilometrica due",
    "progressiva chilometrica tre", "sfondo uno", "sfondo due", "sfondo tre", "ripetizione segnali 4 codici"};
constexpr std::string_view kMainKeywords[] = {"pendenza", "curvad1", "curvas1", "montagna", "indicatori_vmax",
                                              "cartello_indicatore"};
constexpr SectionWords kGeneralWords{kGeneralKeywords, kLineHeaders};
constexpr SectionWords kMainWords{kMainKeywords, kLineHeaders};

// Reads the line source into the model. Every fault but 15 drops the line source and
// returns without the service source; a RuntimeFailure goes to the caller.
class LineSourceReading {
 public:
  LineSourceReading(ScenarioModel& model, SourceFile& source)
      : model_(model), source_(source), reader_(source.contents(), source.name()), shape_(model, reader_) {
    warn_of_texts_over_lines(model_, reader_);
    warn_if_utf8(model_, reader_, source.contents());
  }

  LineSourceOutcome run() {
    if (!find_general_section()) return stop(Fault::kNoGeneralSection);
    if (const auto fault = read_general_section()) return stop(*fault);
    model_.row_place.reset();
    progressive_ordina(model_);

    LineFeatures features(model_);
    const bool ended_normally = read_main_section(features);
    model_.row_place.reset();
    source_.discard();
    if (!ended_normally) return {};
    features.complete();
    return {true, features.board_slot_counter(), kilometre_post_rows_};
  }

 private:
  // A fault of the general part: the line source is dropped, the service source not read.
  LineSourceOutcome stop(Fault fault) {
    source_.discard();
    record_fault(model_, fault);
    return {};
  }

  // Skips every field before the first that holds "[generale]"; false when the file ends
  // first (a "[generale]" that is the very last field counts as not found).
  bool find_general_section() {
    while (!reader_.at_end()) {
      const std::string field = reader_.read_text();
      if (reader_.at_end()) return false;
      if (contains_ignoring_case(field, "[generale]")) return true;
    }
    return false;
  }

  // Returns the fault that ends the reading, none when the section ended.
  std::optional<Fault> read_general_section() {
    while (!reader_.at_end()) {
      std::string keyword = reader_.read_text();
      if (reader_.at_end()) return std::nullopt;  // the last field of the file is never a row
      for (int i = 0; i < kGeneralDashReads && contains(keyword, "-"); ++i) keyword = reader_.read_text();
      shape_.start_row();
      matched_ = false;
      if (const auto fault = general_row(keyword)) return fault;
      shape_.end_row(matched_, keyword, kGeneralWords);
      if (ends_general_section(keyword)) return std::nullopt;
    }
    return std::nullopt;
  }

  // The eight tests, in order, on the same keyword field.
  std::optional<Fault> general_row(std::string_view keyword) {
    if (matches(contains_ignoring_case(keyword, "percorso") && contains_ignoring_case(keyword, "lunghezza"))) {
      if (const auto fault = route_length()) return fault;
    }
    // "tre" into slot 81, "due" into 82, "uno" into 83; progressive_ordina reorders them.
    if (matches(contains(keyword, "tre") && contains(keyword, "progressiva"))) read_kilometre_post(kKilometrePostSlots[0]);
    if (matches(contains(keyword, "due") && contains(keyword, "progressiva"))) read_kilometre_post(kKilometrePostSlots[1]);
    if (matches(contains(keyword, "uno") && contains(keyword, "progressiva"))) read_kilometre_post(kKilometrePostSlots[2]);
    // The backgrounds go to slot 85 in the order uno, tre, due.
    if (matches(contains(keyword, "sfondo") && contains(keyword, "uno"))) kBackgroundUno.in(model_.sim_records) = reader_.read_long();
    if (matches(contains(keyword, "sfondo") && contains(keyword, "due"))) kBackgroundDue.in(model_.sim_records) = reader_.read_long();
    if (matches(contains(keyword, "sfondo") && contains(keyword, "tre"))) kBackgroundTre.in(model_.sim_records) = reader_.read_long();
    if (matches(contains(keyword, "segnali") && contains(keyword, "ripetizione"))) return signal_repetition(keyword);
    return std::nullopt;
  }

  // Notes that a keyword test matched, for the warning of a keyword field that matches none.
  bool matches(bool test) {
    matched_ = matched_ || test;
    return test;
  }

  std::optional<Fault> route_length() {
    const int32_t length = reader_.read_long();
    kRouteLength.in(model_.sim_records) = length;
    if (length > kLongestRoute_m) return Fault::kRouteTooLong;
    const int32_t extent = checked_int32(int64_t{length} + kRouteExtension_m, "route extent does not fit 32 bits");
    const int64_t last_cell = cell_of_position(extent);
    // Refused before anything is dimensioned, so the model keeps its earlier cells.
    if (last_cell < 0 || (model_.plan_mode != 0 && extent < 0)) throw RuntimeFailure("route length below zero");
    model_.route_extent_m = extent;
    model_.dimension_cells(static_cast<int32_t>(last_cell));
    if (model_.plan_mode != 0) model_.line_plan = LinePlan(extent);
    return std::nullopt;
  }

  void read_kilometre_post(int slot_number) {
    SimRecord& slot = model_.record(slot_number);
    slot.start_m = reader_.read_long();
    slot.end_m = reader_.read_long();
    slot.position_m = reader_.read_long();
    if (model_.row_place)
      kilometre_post_rows_.push_back({slot.start_m, slot.end_m, slot.position_m, *model_.row_place});
  }

  std::optional<Fault> signal_repetition(std::string_view keyword) {
    int32_t& start = kSignalRepetitionStart.in(model_.sim_records);
    int32_t& end = kSignalRepetitionEnd.in(model_.sim_records);
    start = reader_.read_long();
    end = reader_.read_long();
    if (start % kCellLength_m != 0) return Fault::kRepetitionStart;
    if (end % kCellLength_m != 0) return Fault::kRepetitionEnd;
    int32_t& codes = kSignalRepetitionCodes.in(model_.sim_records);
    if (contains(keyword, "4"))
      codes = 4;
    else if (contains(keyword, "9"))
      codes = 9;
    else
      return Fault::kRepetitionCodes;
    if (end == 0) codes = 0;
    return std::nullopt;
  }

  // True when the reading ended normally (the end of the file, or fault 15).
  bool read_main_section(LineFeatures& features) {
    while (!reader_.at_end()) {
      std::string keyword = reader_.read_text();
      if (reader_.at_end()) return true;
      for (int i = 0; i < kMainDashReads && contains(keyword, "-"); ++i) {
        keyword = reader_.read_text();
        if (reader_.at_end()) return true;
      }
      shape_.start_row();
      matched_ = false;
      switch (main_row(features, keyword)) {
        case RowOutcome::kNext:
          shape_.end_row(matched_, keyword, kMainWords);
          break;
        case RowOutcome::kEndReading: return true;
        case RowOutcome::kFaultExit: return false;
      }
    }
    return true;
  }

  // The five tests, in order, on the same keyword field; a row that does not go on ends them.
  RowOutcome main_row(LineFeatures& features, std::string_view keyword) {
    RowOutcome outcome = RowOutcome::kNext;
    auto test = [&](bool applies, auto&& row) {
      if (outcome == RowOutcome::kNext && matches(applies)) outcome = row();
    };
    test(contains_ignoring_case(keyword, "pendenza"), [&] {
      const int32_t position = reader_.read_long();
      return features.gradient_row(position, reader_.read_long());
    });
    // Without a plan a curve row is read as fields that match nothing, as meant.
    if (model_.plan_mode == 0 && contains_ignoring_case(keyword, "curva")) matched_ = true;
    test(contains_ignoring_case(keyword, "curva") && model_.plan_mode != 0, [&] {
      const int32_t position = reader_.read_long();
      return features.curve_row(keyword, position, reader_.read_long());
    });
    test(contains_ignoring_case(keyword, "montagna"), [&] {
      const int32_t start = reader_.read_long();
      const int32_t end = reader_.read_long();
      return features.mountain_row(start, end, reader_.read_long());
    });
    test(contains_ignoring_case(keyword, "indicatori_v"), [&] {
      SpeedLimitBoardRow row;
      for (int32_t* field : {&row.posizione, &row.vas, &row.vbs, &row.vcs, &row.strisces, &row.vad, &row.vbd,
                             &row.vcd, &row.strisced})
        *field = reader_.read_long();
      return features.speed_limit_board_row(row);
    });
    test(contains_ignoring_case(keyword, "cartello") && contains_ignoring_case(keyword, "indicat"), [&] {
      const int32_t position = reader_.read_long();
      return features.indicator_board_row(position, reader_.read_text(kMaxRecordTextBytes));
    });
    return outcome;
  }

  ScenarioModel& model_;
  SourceFile& source_;
  FieldReader reader_;
  RowShape shape_;
  bool matched_ = false;
  std::vector<KilometrePostRow> kilometre_post_rows_;
};

}  // namespace

LineSourceOutcome read_line_source(ScenarioModel& model, SourceFile& line_source) {
  kNameText.in(model.sim_records) = model.scenario_name;
  kNumberText.in(model.sim_records) = model.scenario_number;
  if (!line_source.exists()) {
    record_fault(model, Fault::kLineFileMissing);
    return {};
  }
  return LineSourceReading(model, line_source).run();
}

}  // namespace scenario
