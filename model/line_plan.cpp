#include "model/line_plan.hpp"

#include "model/runtime_failure.hpp"

#include <sys/mman.h>

#include <cstdlib>
#include <new>

namespace scenario {
namespace {

constexpr size_t kHugePage = size_t{2} << 20;

bool on_huge_pages(size_t bytes) { return bytes >= kHugePage; }
size_t rounded_to_huge_pages(size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

}  // namespace

void* allocate_plan_array(size_t bytes) {
  if (!on_huge_pages(bytes)) return ::operator new(bytes);
  void* p = std::aligned_alloc(kHugePage, rounded_to_huge_pages(bytes));
  if (p == nullptr) throw std::bad_alloc();
  ::madvise(p, rounded_to_huge_pages(bytes), MADV_HUGEPAGE);  // a hint: failure changes nothing
  return p;
}

void free_plan_array(void* p, size_t bytes) noexcept {
  if (on_huge_pages(bytes))
    std::free(p);
  else
    ::operator delete(p);
}

LinePlan::LinePlan(int32_t extent_m) : extent_m_(extent_m) {
  if (extent_m < 0) throw RuntimeFailure("line plan with a negative extent");
  // Reserved once, so the metre-by-metre appends never move the arrays.
  const auto capacity = static_cast<size_t>(extent_m > 1 ? extent_m - 1 : 0);
  xs_.reserve(capacity);
  ys_.reserve(capacity);
}

void LinePlan::set_starting_points() {
  if (extent_m_ < 1) throw RuntimeFailure("line plan too short for its starting points");
  has_start_ = true;
  xs_.clear();
  ys_.clear();
}

void LinePlan::fail(const char* what) { throw RuntimeFailure(what); }

PlanElement LinePlan::element(int64_t metre, int axis) const {
  if (metre < 0 || metre > extent_m_ || axis < 0 || axis > 1)
    throw RuntimeFailure("line plan index out of range");
  PlanElement e;
  if (metre < 2) {
    if (has_start_) {
      e.tag = PlanElement::kInt16;
      e.integer = (metre == 1 && axis == 1) ? 1 : 0;
    }
  } else if (metre < computed_end()) {
    e.tag = PlanElement::kDouble;
    const auto i = static_cast<size_t>(metre - 2);
    e.real = axis == 0 ? xs_[i] : ys_[i];
  }
  return e;
}

}  // namespace scenario
