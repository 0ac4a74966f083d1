#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/fault_table.hpp"
#include "model/scenario_model.hpp"

namespace scenario {

inline constexpr int16_t kCellHeaderConstant = 5121;
inline constexpr int16_t kRecordHeaderConstant = 610;

// The work string of both codes: number, then base name, lower-cased, then the padding
// letters; at least 26 characters long.
std::string competition_work_string(const ScenarioModel& model);

// Sum of the first 25 character codes of the work string.
int16_t codice_gara_og(const ScenarioModel& model);
// Sum of p times the p-th character code, p = 1 .. 25.
int32_t codice_gara_st(const ScenarioModel& model);

// Guards the header slots and stamps the constants and codes into cell 1 and record 85.
// Returns the shown fault 1250 / 1251 when a header slot is already in use (then the
// model's header is left as the guard found it), none when stamped. Cell 1 must exist.
std::optional<Fault> stamp_header(ScenarioModel& model);

}  // namespace scenario
