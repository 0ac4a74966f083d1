#include "compiler/row_placing.hpp"

#include <cstddef>
#include <span>
#include <string>

#include "model/runtime_failure.hpp"
#include "schema/row_tables.hpp"

namespace scenario {
namespace {

// A row of the schema bound to the routine that places the feature from the row's values,
// which are read behind the keyword field (given as written) as the routine asks for them.
template <typename Context>
struct RowPlacing {
  std::string_view keyword;          // the row's keyword as the schema writes it
  std::span<const RowField> fields;  // the fields its routine takes
  RowOutcome (*place)(Context&, std::string_view keyword);
};

template <auto kPlace>
struct BoundRoutine;
template <typename Context, typename Values, RowOutcome (*kPlace)(Context&, std::string_view, Values&)>
struct BoundRoutine<kPlace> {
  static RowOutcome place(Context& context, std::string_view keyword) {
    Values values(context.reader);
    return kPlace(context, keyword, values);
  }
  static constexpr RowPlacing<Context> placing(std::string_view keyword) { return {keyword, Values::fields(), place}; }
};

// `kPlace` as the routine of the row `keyword`.
template <auto kPlace>
constexpr auto bind(std::string_view keyword) {
  return BoundRoutine<kPlace>::placing(keyword);
}

constexpr RowPlacing<GeneralRowContext> kGeneralPlacing[] = {
    bind<place_route_length>("lunghezza percorso"),
    bind<place_kilometre_post_tre>("progressiva chilometrica tre"),
    bind<place_kilometre_post_due>("progressiva chilometrica due"),
    bind<place_kilometre_post_uno>("progressiva chilometrica uno"),
    bind<place_background_uno>("sfondo uno"),
    bind<place_background_due>("sfondo due"),
    bind<place_background_tre>("sfondo tre"),
    bind<place_signal_repetition>("ripetizione segnali 4 codici"),
};

constexpr RowPlacing<MainRowContext> kMainPlacing[] = {
    bind<place_gradient>("pendenza"),
    bind<place_curve>("curvad1"),
    bind<place_mountain>("montagna"),
    bind<place_speed_limit_boards>("indicatori_vmax"),
    bind<place_indicator_board_row>("cartello_indicatore"),
};

constexpr RowPlacing<ServiceRowContext> kServicePlacing[] = {
    bind<place_braked_mass>("percentuale massa frenata"),
    bind<place_coaches>("numero vetture"),
    bind<place_line_speed>("velocita"),
    bind<place_adhesion>("aderenza"),
    bind<place_clock>("orologio"),
    bind<place_sand>("sabbia"),
    bind<place_signal>("segnale"),
    bind<place_slowdown>("rallentamento"),
    bind<place_code_reduction>("abbattimento"),
    bind<place_station>("stazione"),
};

// Every row of the section bound once, in the section's order, each to a routine that takes
// the row's own fields.
template <typename Context, size_t kCount>
constexpr bool binds_every_row(const SectionSchema& section, const RowPlacing<Context> (&placing)[kCount]) {
  if (section.rows.size() != kCount) return false;
  for (size_t i = 0; i < kCount; ++i) {
    if (section.rows[i].keyword != placing[i].keyword) return false;
    if (section.rows[i].fields.data() != placing[i].fields.data()) return false;
  }
  return true;
}

template <typename Context, size_t kCount>
RowOutcome place_rows_of_keyword(const SectionSchema& section, const RowPlacing<Context> (&placing)[kCount],
                                 Context& context, std::string_view keyword, std::string_view lower_keyword,
                                 const RowText*& matched) {
  matched = nullptr;
  const int column = context.reader.last_field_place().column;
  for (size_t i = 0; i < kCount; ++i) {
    const RowText& row = section.rows[i];
    if (!row.test.matches(keyword, lower_keyword)) continue;
    if (matched == nullptr) matched = &row;
    RowOutcome outcome;
    try {
      outcome = placing[i].place(context, keyword);
    } catch (const RuntimeFailure& failure) {
      throw RuntimeFailure(std::string(failure.what()) + matched_by_containment(row, keyword, lower_keyword, column),
                           failure.place());
    }
    if (!outcome.goes_on()) return outcome;
  }
  return RowOutcome::next_row();
}

}  // namespace

static_assert(binds_every_row(rows::kGeneralSection, kGeneralPlacing), "a general row without its placing routine, or bound to one that takes other fields");
static_assert(binds_every_row(rows::kMainSection, kMainPlacing), "a main row without its placing routine, or bound to one that takes other fields");
static_assert(binds_every_row(rows::kServiceSection, kServicePlacing), "a service row without its placing routine, or bound to one that takes other fields");

RowOutcome place_general_rows(GeneralRowContext& context, std::string_view keyword, std::string_view lower_keyword,
                              const RowText*& matched) {
  return place_rows_of_keyword(line_general_section(), kGeneralPlacing, context, keyword, lower_keyword, matched);
}

RowOutcome place_main_rows(MainRowContext& context, std::string_view keyword, std::string_view lower_keyword,
                           const RowText*& matched) {
  return place_rows_of_keyword(line_main_section(), kMainPlacing, context, keyword, lower_keyword, matched);
}

RowOutcome place_service_rows(ServiceRowContext& context, std::string_view keyword, std::string_view lower_keyword,
                              const RowText*& matched) {
  return place_rows_of_keyword(service_section(), kServicePlacing, context, keyword, lower_keyword, matched);
}

}  // namespace scenario
