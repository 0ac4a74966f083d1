#pragma once

#include <cstdint>
#include <span>
#include <memory>
#include <utility>
#include <vector>

namespace scenario {

// One element of the line plan as the plan file carries it: empty, a 16-bit integer or a
// double (tags 0, 2 and 5 of the file).
struct PlanElement {
  enum Tag : uint16_t { kEmpty = 0, kInt16 = 2, kDouble = 5 };
  Tag tag = kEmpty;
  int16_t integer = 0;
  double real = 0.0;
  bool operator==(const PlanElement&) const = default;
};

struct PlanPoint {
  double x = 0.0;
  double y = 0.0;
};

// The plan coordinates of the track metre by metre, metres 0 to extent_m. Only what was
// computed is stored: the two starting points (integers) and the doubles from metre 2 up
// to the plan cursor; every other element is empty, so the tags follow from the index.
void* allocate_plan_array(size_t bytes);
void free_plan_array(void* p, size_t bytes) noexcept;

// The allocator of the plan's coordinate arrays, which hold up to a million doubles each:
// new elements are left uninitialised (every one is written right after), and a large
// array is asked to live on huge pages, sparing thousands of page faults.
template <typename T>
struct PlanArrayAllocator {
  using value_type = T;
  template <typename U>
  struct rebind {
    using other = PlanArrayAllocator<U>;
  };
  PlanArrayAllocator() = default;
  template <typename U>
  PlanArrayAllocator(const PlanArrayAllocator<U>&) noexcept {}

  T* allocate(size_t n) { return static_cast<T*>(allocate_plan_array(n * sizeof(T))); }
  void deallocate(T* p, size_t n) noexcept { free_plan_array(p, n * sizeof(T)); }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    if constexpr (sizeof...(Args) == 0)
      ::new (static_cast<void*>(p)) U;
    else
      ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
  template <typename U>
  bool operator==(const PlanArrayAllocator<U>&) const noexcept {
    return true;
  }
};

class LinePlan {
 public:
  LinePlan() = default;
  explicit LinePlan(int32_t extent_m);

  bool dimensioned() const { return extent_m_ >= 0; }
  int32_t extent_m() const { return extent_m_; }

  // Metres 0 and 1 become the integer points (0, 0) and (0, 1).
  void set_starting_points();
  bool has_starting_points() const { return has_start_; }

  // The first metre not computed yet (2 once the starting points stand).
  int32_t computed_end() const { return static_cast<int32_t>(2 + xs_.size()); }

  // Stores the point of metre computed_end(); a metre past extent_m is a run-time failure.
  void append_point(double x, double y) {
    if (!has_start_ || computed_end() > extent_m_) fail("line plan index out of range");
    xs_.push_back(x);
    ys_.push_back(y);
  }

  // Appends the points of metres computed_end() .. last, each made from the two points
  // before it by `next(before, previous)`. Metres past extent_m are a run-time failure,
  // raised once every metre up to extent_m has been appended.
  template <typename Next>
  void append_through(int64_t last, Next next) {
    if (last < computed_end()) return;
    const bool too_far = last > extent_m_;
    if (too_far) last = extent_m_;
    if (last >= computed_end()) {
      PlanPoint before = point(computed_end() - 2);
      PlanPoint previous = point(computed_end() - 1);
      const auto first = xs_.size();
      const auto count = static_cast<size_t>(last - computed_end() + 1);
      xs_.resize(first + count);
      ys_.resize(first + count);
      double* x = xs_.data() + first;
      double* y = ys_.data() + first;
      for (size_t i = 0; i < count; ++i) {
        const PlanPoint p = next(before, previous);
        x[i] = p.x;
        y[i] = p.y;
        before = previous;
        previous = p;
      }
    }
    if (too_far) fail("line plan index out of range");
  }

  // A computed point (metres 0 and 1 included); any other metre is a run-time failure.
  PlanPoint point(int64_t metre) const {
    if (metre >= 2 && metre < computed_end()) {
      const auto i = static_cast<size_t>(metre - 2);
      return {xs_[i], ys_[i]};
    }
    if (has_start_ && (metre == 0 || metre == 1)) return {0.0, static_cast<double>(metre)};
    fail("line plan point not computed");
  }

  // The computed doubles of one axis (0 is x, 1 is y), metres 2 .. computed_end() - 1.
  std::span<const double> column(int axis) const { return axis == 0 ? xs_ : ys_; }

  // Element (metre, axis) with its tag; axis 0 is x, 1 is y. Checked.
  PlanElement element(int64_t metre, int axis) const;

 private:
  [[noreturn]] static void fail(const char* what);

  int32_t extent_m_ = -1;
  bool has_start_ = false;
  std::vector<double, PlanArrayAllocator<double>> xs_;  // metres 2 .. computed_end() - 1
  std::vector<double, PlanArrayAllocator<double>> ys_;
};

}  // namespace scenario
