#include "compiler/field_ranges.hpp"

#include <limits>
#include <string>

#include "compiler/fault_recording.hpp"

namespace scenario {
namespace {

bool outside(const RowField& field, int64_t written) {
  return field.range && (written < field.range->low || written > field.range->high);
}

// "is outside 0…23", or "is below 1" for a range with no upper end.
std::string range_text(const ValueRange& range) {
  if (range.high == std::numeric_limits<int32_t>::max()) return "is below " + std::to_string(range.low);
  if (range.high == range.low + 1) return "is not " + std::to_string(range.low) + " or " + std::to_string(range.high);
  return "is outside " + std::to_string(range.low) + "…" + std::to_string(range.high);
}

}  // namespace

void warn_if_outside_range(const CompileContext& context, const RowField& field, int64_t written, std::string_view held,
                           const SourcePlace& place) {
  if (!outside(field, written)) return;
  report_warning(context, Warning::kOutsideRange,
                 std::string(field.name) + " " + std::to_string(written) + std::string(unit_after_value(field)) + " " +
                     range_text(*field.range) + ": the file holds " + std::string(held),
                 place);
}

void warn_if_outside_range(const CompileContext& context, const RowField& field, int64_t written, int64_t held,
                           const SourcePlace& place) {
  if (outside(field, written))
    warn_if_outside_range(context, field, written, std::to_string(held) + std::string(unit_after_value(field)), place);
}

}  // namespace scenario
