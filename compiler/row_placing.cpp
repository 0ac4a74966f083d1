#include "compiler/row_placing.hpp"

#include <cstddef>
#include <span>
#include <string>

#include "model/runtime_failure.hpp"
#include "schema/row_tables.hpp"

namespace scenario {
namespace {

// A row of the schema bound to the routine that reads its fields behind the keyword field
// (given as written) and places the feature.
template <typename Context>
struct RowPlacing {
  std::string_view keyword;  // the row's keyword as the schema writes it
  RowOutcome (*place)(Context&, std::string_view keyword);
};

constexpr RowPlacing<GeneralRowContext> kGeneralPlacing[] = {
    {"lunghezza percorso", place_route_length},
    {"progressiva chilometrica tre", place_kilometre_post_tre},
    {"progressiva chilometrica due", place_kilometre_post_due},
    {"progressiva chilometrica uno", place_kilometre_post_uno},
    {"sfondo uno", place_background_uno},
    {"sfondo due", place_background_due},
    {"sfondo tre", place_background_tre},
    {"ripetizione segnali 4 codici", place_signal_repetition},
};

constexpr RowPlacing<MainRowContext> kMainPlacing[] = {
    {"pendenza", place_gradient},
    {"curvad1", place_curve},
    {"montagna", place_mountain},
    {"indicatori_vmax", place_speed_limit_boards},
    {"cartello_indicatore", place_indicator_board},
};

constexpr RowPlacing<ServiceRowContext> kServicePlacing[] = {
    {"percentuale massa frenata", place_braked_mass},
    {"numero vetture", place_coaches},
    {"velocita", place_line_speed},
    {"aderenza", place_adhesion},
    {"orologio", place_clock},
    {"sabbia", place_sand},
    {"segnale", place_signal},
    {"rallentamento", place_slowdown},
    {"abbattimento", place_code_reduction},
    {"stazione", place_station},
};

// Every row of the section bound once, in the section's order.
template <typename Context, size_t kCount>
constexpr bool binds_every_row(const SectionSchema& section, const RowPlacing<Context> (&placing)[kCount]) {
  if (section.rows.size() != kCount) return false;
  for (size_t i = 0; i < kCount; ++i)
    if (section.rows[i].keyword != placing[i].keyword) return false;
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

static_assert(binds_every_row(rows::kGeneralSection, kGeneralPlacing), "a general row without its placing routine");
static_assert(binds_every_row(rows::kMainSection, kMainPlacing), "a main row without its placing routine");
static_assert(binds_every_row(rows::kServiceSection, kServicePlacing), "a service row without its placing routine");

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
