#include "compiler/line_source_reader.hpp"

#include <optional>
#include <string>
#include <string_view>

#include "schema/field_reader.hpp"
#include "compiler/kilometre_posts.hpp"
#include "compiler/line_features.hpp"
#include "compiler/main_section_rows.hpp"
#include "compiler/row_placing.hpp"
#include "schema/row_schema.hpp"
#include "schema/section_bounds.hpp"
#include "compiler/relation_warnings.hpp"
#include "compiler/row_shape.hpp"
#include "compiler/source_warnings.hpp"
#include "compiler/fault_recording.hpp"
#include "model/fault_table.hpp"
#include "model/format_rules.hpp"
#include "model/runtime_failure.hpp"
#include "model/windows_1252.hpp"

namespace scenario {
namespace {

// Whether a keyword field that is no row of the line source would be one of a service source.
bool reads_as_service_row(std::string_view lower_keyword) {
  for (const RowText& row : service_section().rows)
    if (row.test.matches(lower_keyword, lower_keyword)) return true;
  return false;
}

// Reads the line source into the model. Every fault but 15 drops the line source and
// returns without the service source; a RuntimeFailure goes to the caller.
class LineSourceReading {
 public:
  LineSourceReading(CompileContext& context, SourceFile& source)
      : context_(context),
        model_(context.model),
        source_(source),
        reader_(source.contents(), source.name()),
        shape_(context, reader_),
        general_spellings_(section_spellings(line_general_section())),
        main_spellings_(section_spellings(line_main_section())) {
    warn_of_texts_over_lines(context_, reader_);
    warn_if_utf8(context_, reader_, source.contents());
  }

  LineSourceOutcome run() {
    if (!find_general_section()) return stop({Fault::kNoGeneralSection});
    if (std::optional<RowFault> fault = read_general_section()) return stop(std::move(*fault));
    context_.row_place.reset();
    warn_if_kilometre_posts_dropped();
    progressive_ordina(model_);
    if (!model_.cells_dimensioned()) throw RuntimeFailure(why_no_route_length(), general_place_);

    LineFeatures features(context_);
    const bool ended_normally = read_main_section(features);
    context_.row_place.reset();
    source_.discard();
    if (!ended_normally) return {};
    features.complete();
    return {true, features.board_slot_counter(), kilometre_post_rows_};
  }

 private:
  // A fault of the general part: the line source is dropped, the service source not read.
  LineSourceOutcome stop(RowFault fault) {
    source_.discard();
    record_row_fault(context_, std::move(fault));
    return {};
  }

  // Two changes sharing the greatest position: ordering drops all three. Told at the last
  // row at that position.
  void warn_if_kilometre_posts_dropped() {
    const std::optional<int32_t> shared = shared_greatest_position(model_);
    if (!shared) return;
    std::optional<SourcePlace> place;
    for (const KilometrePostRow& row : kilometre_post_rows_)
      if (row.position == *shared) place = row.place;
    report_warning(context_, Warning::kKilometrePostsDropped,
                   "two kilometre-post changes share the greatest position, " + std::to_string(*shared) +
                       " m: all three changes are dropped, and the reading is the position itself along the route",
                   place);
  }

  // Why the general section that begins at general_place_ gave no route length.
  std::string why_no_route_length() const {
    const std::string said = "line source without a route length: ";
    if (service_rows_seen_ > 0)
      return said + "its rows are those of a service source; did you swap the two sources?";
    if (!general_end_) return said + "the general section that begins here has no 'lunghezza percorso' row";
    const std::string header = "'" + utf8_from_1252(general_end_->text) + "' on line " + std::to_string(general_end_->line);
    if (begins_general_section(general_end_->text))
      return said + "the general section begins at the first field holding '[generale]', here, and the header " +
             header + " already ends it; take '[generale]' out of this line";
    return said + "the general section that begins here ends at the header " + header +
           " with no 'lunghezza percorso' row before it";
  }

  // Skips every field before the first that holds "[generale]"; false when the file ends
  // first (a "[generale]" that is the very last field counts as not found).
  bool find_general_section() {
    while (!reader_.at_end()) {
      const std::string field = reader_.read_text();
      if (reader_.at_end()) return false;
      if (begins_general_section(field)) {
        general_place_ = reader_.last_field_place();
        return true;
      }
    }
    return false;
  }

  // Returns the fault that ends the reading, none when the section ended.
  std::optional<RowFault> read_general_section() {
    while (!reader_.at_end()) {
      std::string keyword = reader_.read_text();
      if (reader_.at_end()) return std::nullopt;  // the last field of the file is never a row
      for (int i = 0; i < kGeneralSectionDashes && contains(keyword, "-"); ++i) {
        shape_.dashed_field(keyword);
        keyword = reader_.read_text();
      }
      shape_.start_row();
      const RowText* matched = nullptr;
      GeneralRowContext context{context_, reader_, kilometre_post_rows_};
      const std::string lower = lower_case_1252(keyword);
      RowOutcome outcome = place_general_rows(context, keyword, lower, matched);
      warn_of_broken_relations(context_, reader_, matched);
      // The general rows know no end of the reading: every outcome that does not go on is a fault.
      if (outcome.fault) return std::move(outcome.fault);
      if (!matched && reads_as_service_row(lower)) ++service_rows_seen_;
      shape_.end_row(matched, keyword, {general_spellings_, line_general_section().headers,
                                        matched ? std::string_view{} : row_matched_but_for_capitals(line_general_section(), lower)});
      if (ends_general_section(keyword)) {
        general_end_ = GeneralSectionEnd{keyword, reader_.last_field_place().line};
        return std::nullopt;
      }
    }
    return std::nullopt;
  }

  // True when the reading ended normally (the end of the file, or fault 15).
  bool read_main_section(LineFeatures& features) {
    while (!reader_.at_end()) {
      std::string keyword = reader_.read_text();
      if (reader_.at_end()) return true;
      for (int i = 0; i < kDashesAfterGeneral && contains(keyword, "-"); ++i) {
        shape_.dashed_field(keyword);
        keyword = reader_.read_text();
        if (reader_.at_end()) return true;
      }
      shape_.start_row();
      const RowText* matched = nullptr;
      MainRowContext context{context_, reader_, features};
      const std::string lower = lower_case_1252(keyword);
      RowOutcome outcome = place_main_rows(context, keyword, lower, matched);
      if (outcome.fault) record_row_fault(context_, std::move(*outcome.fault));
      if (outcome.next != RowOutcome::Next::kStop) warn_of_broken_relations(context_, reader_, matched);
      switch (outcome.next) {
        case RowOutcome::Next::kNextRow:
          shape_.end_row(matched, keyword, {main_spellings_, line_main_section().headers,
                                            matched ? std::string_view{} : row_matched_but_for_capitals(line_main_section(), lower)});
          break;
        case RowOutcome::Next::kEndReading: return true;
        case RowOutcome::Next::kStop: return false;
      }
    }
    return true;
  }

  CompileContext& context_;
  ScenarioModel& model_;
  SourceFile& source_;
  FieldReader reader_;
  RowShape shape_;
  std::vector<std::string_view> general_spellings_;
  std::vector<std::string_view> main_spellings_;
  std::vector<KilometrePostRow> kilometre_post_rows_;
  int service_rows_seen_ = 0;  // general-section fields that would be rows of a service source
  std::optional<SourcePlace> general_place_;  // where the "[generale]" field was found
  struct GeneralSectionEnd {
    std::string text;  // the header that ended the general section, as written
    int line;
  };
  std::optional<GeneralSectionEnd> general_end_;
};

}  // namespace

LineSourceOutcome read_line_source(CompileContext& context, SourceFile& line_source) {
  ScenarioModel& model = context.model;
  kNameText.in(model.sim_records) = model.scenario_name;
  kNumberText.in(model.sim_records) = model.scenario_number;
  if (!line_source.exists()) {
    record_fault(context, Fault::kLineFileMissing);
    return {};
  }
  return LineSourceReading(context, line_source).run();
}

}  // namespace scenario
