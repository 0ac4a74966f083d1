#pragma once

#include <string_view>

#include "compiler/general_section_rows.hpp"
#include "compiler/main_section_rows.hpp"
#include "compiler/row_outcome.hpp"
#include "compiler/service_section_rows.hpp"
#include "schema/row_schema.hpp"

namespace scenario {

// Makes a section's keyword tests in the schema's order on one keyword field: each row whose
// test matches is placed by the routine the compiler binds to it, and the later tests still
// run, so a field holding two keywords places two rows; a row whose outcome does not go on
// ends the tests with it. `lower_keyword`: the field in small letters. `matched` is the first
// row whose test matched, null when none did.
RowOutcome place_general_rows(GeneralRowContext& context, std::string_view keyword, std::string_view lower_keyword,
                              const RowText*& matched);
RowOutcome place_main_rows(MainRowContext& context, std::string_view keyword, std::string_view lower_keyword,
                           const RowText*& matched);
RowOutcome place_service_rows(ServiceRowContext& context, std::string_view keyword, std::string_view lower_keyword,
                              const RowText*& matched);

}  // namespace scenario
