#include "decompile/curve_recovery.hpp"

#include <array>
#include <bit>
#include <optional>

#include "compiler/plan_curves.hpp"
#include "format/line_plan_reader.hpp"
#include "model/bit_cast.hpp"

namespace scenario {
namespace {

// Straight first, then the curvatures of the curve rows, right and left.
struct Turn {
  double curvature = 0.0;
  char digit = '0';  // '0' runs straight
  bool left = false;
};

constexpr std::array<Turn, 13> all_turns() {
  std::array<Turn, 13> turns{};
  for (size_t i = 0; i < kCurveCurvatures.size(); ++i) {
    const auto& [digit, curvature] = kCurveCurvatures[i];
    turns[1 + 2 * i] = {curvature, digit, false};
    turns[2 + 2 * i] = {-curvature, digit, true};
  }
  return turns;
}
constexpr std::array<Turn, 13> kTurns = all_turns();

// A plan that is not a curve plan at all would name every metre: the first few say enough.
constexpr int64_t kNamedUnmatched = 10;

bool same_bits(const PlanPoint& a, const PlanPoint& b) {
  return bit_cast<uint64_t>(a.x) == bit_cast<uint64_t>(b.x) &&
         bit_cast<uint64_t>(a.y) == bit_cast<uint64_t>(b.y);
}

}  // namespace

std::vector<CurveRun> recover_curves(const PlanBytes& plan_bytes, Remarks& remarks) {
  std::vector<CurveRun> runs;
  LinePlanReader reader(plan_bytes);
  PlanPoint before = kPlanStartingPoints[0];
  PlanPoint previous = kPlanStartingPoints[1];
  size_t current = 0;  // index into kTurns of the metre before, tried first
  int64_t unmatched = 0;
  while (!reader.at_end()) {
    const LinePlanReader::Metre m = reader.next();
    if (m.metre < 2 || m.x.tag != PlanElement::kDouble) continue;
    const PlanPoint point{m.x.real, m.y.real};
    std::optional<size_t> found;
    if (same_bits(next_plan_point(before, previous, kTurns[current].curvature), point)) found = current;
    for (size_t i = 0; !found && i < kTurns.size(); ++i)
      if (same_bits(next_plan_point(before, previous, kTurns[i].curvature), point)) found = i;
    if (!found) {
      if (++unmatched <= kNamedUnmatched)
        remarks.push_back("line plan, metre " + std::to_string(m.metre) +
                          ": no curve row turns the track to this point; taken as straight");
      found = 0;
    }
    current = *found;
    const Turn& turn = kTurns[current];
    if (turn.digit != '0') {
      if (!runs.empty() && runs.back().last == m.metre - 1 && runs.back().digit == turn.digit &&
          runs.back().left == turn.left)
        runs.back().last = m.metre;
      else
        runs.push_back({m.metre, m.metre, turn.digit, turn.left});
    }
    before = previous;
    previous = point;
  }
  if (unmatched > kNamedUnmatched)
    remarks.push_back("line plan: " + std::to_string(unmatched - kNamedUnmatched) + " more such metres");
  return runs;
}

}  // namespace scenario
