#include "postpass/competition_codes.hpp"

#include <string_view>

#include "model/windows_1252.hpp"
#include "model/fault_table.hpp"
#include "model/format_rules.hpp"

namespace scenario {
namespace {

constexpr std::string_view kPadding = "mnbvcxzlkjhgfdsapoiuytrewq";
constexpr int kCountedCharacters = 25;

}  // namespace

std::string competition_work_string(const ScenarioModel& model) {
  std::string work = lower_case_1252(kNumberText.in(model.sim_records) + kNameText.in(model.sim_records));
  work += kPadding;
  return work;
}

int16_t codice_gara_og(const ScenarioModel& model) {
  const std::string work = competition_work_string(model);
  int sum = 0;
  for (int p = 1; p <= kCountedCharacters; ++p) sum += static_cast<unsigned char>(work[static_cast<size_t>(p - 1)]);
  return static_cast<int16_t>(sum);  // at most 25 × 255
}

int32_t codice_gara_st(const ScenarioModel& model) {
  const std::string work = competition_work_string(model);
  int32_t sum = 0;
  for (int p = 1; p <= kCountedCharacters; ++p) sum += p * static_cast<unsigned char>(work[static_cast<size_t>(p - 1)]);
  return sum;  // at most 255 × 325
}

std::optional<Fault> stamp_header(ScenarioModel& model) {
  int16_t& constant = kRecordHeaderConstantField.in(model.sim_records);
  int32_t& code = kWeightedCompetitionCode.in(model.sim_records);
  TrackCell& first = model.cell(1);
  if (constant != 0 || first.value1 != 0) return Fault::kHeaderConstantsInUse;
  constant = kRecordHeaderConstant;
  first.value1 = kCellHeaderConstant;
  if (code != 0 || first.value2 != 0) return Fault::kHeaderCodesInUse;
  code = codice_gara_st(model);
  first.value2 = codice_gara_og(model);
  return std::nullopt;
}

}  // namespace scenario
