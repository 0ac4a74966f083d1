#include "compiler/kilometre_posts.hpp"

#include <array>
#include <climits>

#include "model/runtime_failure.hpp"

namespace scenario {
namespace {

// One change as its row gives it: position, kilometre offset, direction.
struct KilometrePostChange {
  int32_t position = 0;
  int32_t offset = 0;
  int32_t direction = 0;
};

using Slots = std::array<KilometrePostChange, 3>;  // slots 81, 82, 83 in turn

// By position: the one strictly greatest first; the other two by position, an equal pair
// in the order of the words uno, due, tre.
Slots order_by_position(const KilometrePostChange& tre, const KilometrePostChange& due,
                        const KilometrePostChange& uno) {
  auto place = [](const KilometrePostChange& first, const KilometrePostChange& earlier_word,
                  const KilometrePostChange& later_word) {
    if (later_word.position > earlier_word.position) return Slots{first, later_word, earlier_word};
    return Slots{first, earlier_word, later_word};
  };
  if (tre.position > due.position && tre.position > uno.position) return place(tre, uno, due);
  if (due.position > tre.position && due.position > uno.position) return place(due, uno, tre);
  if (uno.position > tre.position && uno.position > due.position) return place(uno, due, tre);
  return Slots{};  // the greatest position is shared: the changes are dropped
}

// By offset, when the positions add up to 0: each test that holds replaces the earlier ones.
Slots order_by_offset(const KilometrePostChange& tre, const KilometrePostChange& due,
                      const KilometrePostChange& uno) {
  Slots slots{};
  if (tre.offset > 0) slots = {tre, due, uno};
  if (due.offset > 0) slots = {due, tre, uno};
  if (uno.offset > 0) slots = {uno, due, tre};
  return slots;
}

}  // namespace

std::optional<int32_t> shared_greatest_position(const ScenarioModel& model) {
  int64_t sum = 0;
  int32_t greatest = INT32_MIN;
  int sharing = 0;
  for (const int slot_number : kKilometrePostSlots) {
    const int32_t position = model.record(slot_number).start_m;
    sum += position;
    if (position > greatest) {
      greatest = position;
      sharing = 1;
    } else if (position == greatest) {
      ++sharing;
    }
  }
  if (sum == 0 || sharing < 2) return std::nullopt;
  return greatest;
}

void progressive_ordina(ScenarioModel& model) {
  Slots read{};
  for (size_t i = 0; i < read.size(); ++i) {
    const SimRecord& slot = model.record(kKilometrePostSlots[i]);
    read[i] = {slot.start_m, slot.end_m, slot.position_m};
  }
  const auto& [tre, due, uno] = read;

  // The sum is exact: positions that add up past 32 bits still order by position.
  const int64_t sum = int64_t{tre.position} + due.position + uno.position;
  const Slots ordered = sum != 0 ? order_by_position(tre, due, uno) : order_by_offset(tre, due, uno);

  // The order stands whole in the slots before any offset is corrected, so a correction
  // that cannot be stored leaves every change in its ordered slot.
  for (size_t i = 0; i < ordered.size(); ++i) {
    SimRecord& slot = model.record(kKilometrePostSlots[i]);
    slot.start_m = ordered[i].position;
    slot.end_m = ordered[i].offset;
    slot.position_m = ordered[i].direction;
  }
  for (const int slot_number : kKilometrePostSlots) {
    SimRecord& slot = model.record(slot_number);
    if (slot.position_m == 1)
      slot.end_m = checked_int32(slot.end_m + kFallingOffsetCorrection_m, "corrected kilometre offset does not fit 32 bits");
  }
}

}  // namespace scenario
