#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "format/line_plan_decoder.hpp"
#include "reading/diff_change.hpp"
#include "reading/scenario_diff.hpp"
#include "reading/track_reading.hpp"

namespace scenario {
namespace {

// Metres compared by their bytes at a time: a part of each column that stays in the cache.
constexpr int64_t kBlockMetres = 4096;
// How much of a file is read at a time when the bytes are compared.
constexpr size_t kPart = size_t{64} << 10;

// Compares stretches of two plans' bytes, read a part at a time.
class ByteComparison {
 public:
  ByteComparison(const PlanBytes& a, const PlanBytes& b) : a_(a), b_(b), part_a_(kPart), part_b_(kPart) {}

  // The first byte from which `length` bytes of a (from at_a) and of b (from at_b) differ,
  // counted from there; none when they are the same.
  std::optional<uint64_t> first_difference(uint64_t at_a, uint64_t at_b, uint64_t length) {
    for (uint64_t done = 0; done < length;) {
      const size_t wanted = static_cast<size_t>(std::min<uint64_t>(kPart, length - done));
      const std::string_view va = a_.read(at_a + done, std::span(part_a_.data(), wanted)).substr(0, wanted);
      const std::string_view vb = b_.read(at_b + done, std::span(part_b_.data(), wanted)).substr(0, wanted);
      const size_t count = std::min(va.size(), vb.size());
      if (count == 0) return done;
      if (std::memcmp(va.data(), vb.data(), count) != 0) {
        size_t i = 0;
        while (va[i] == vb[i]) ++i;
        return done + i;
      }
      done += count;
    }
    return std::nullopt;
  }
  bool same(uint64_t at_a, uint64_t at_b, uint64_t length) { return !first_difference(at_a, at_b, length); }

 private:
  const PlanBytes& a_;
  const PlanBytes& b_;
  std::vector<char> part_a_, part_b_;
};

// The runs of metres whose turning differs between the two plans, told as they close.
class TurningRuns {
 public:
  explicit TurningRuns(ReadingDocument& d) : d_(d) {}

  // The metre whose turnings are ka and kb, the metres before it told.
  void metre(int64_t metre, double ka, double kb) {
    const bool differs = std::abs(ka - kb) > 1e-9;
    if (!differs) return close(metre - 1);
    // The words are made only where the turnings differ.
    std::string ta = turning_text(ka), tb = turning_text(kb);
    if (start_ >= 0 && (ta != from_ || tb != to_)) close(metre - 1);
    if (start_ < 0) start_ = metre, from_ = std::move(ta), to_ = std::move(tb);
  }
  // A run still open ends at `end`.
  void close(int64_t end) {
    if (start_ < 0) return;
    const std::string metres = "metres " + grouped_number(start_) + "–" + grouped_number(end);
    add_change(d_, "plan",
               {"plan", "changed", "plan", {{"from_metre", number_value(start_)}, {"to_metre", number_value(end)}},
                "turning", "", text_value(from_), text_value(to_), "", metres + " differ (" + from_ + kChangeArrow + to_ + ")"});
    start_ = -1;
  }

 private:
  ReadingDocument& d_;
  int64_t start_ = -1;
  std::string from_, to_;
};

// The points of metres from .. to - 1 of a plan.
void read_points(LinePlanDecoder& decoder, int64_t from, int64_t to, std::vector<PlanPoint>& out) {
  decoder.seek(from);
  out.resize(static_cast<size_t>(to - from));
  size_t got = 0;
  while (got < out.size()) {
    const size_t n = decoder.next(std::span(out).subspan(got));
    if (n == 0) throw DecodeError(0, "the line plan file changed while it was read");
    got += n;
  }
}

// The turning of each metre both plans compute, compared. The bytes are compared first, a
// block of metres at a time: only where they differ are the points decoded, with the two
// metres after a block whose turning its points move. Returns whether every byte of the two
// files was found the same.
bool diff_turnings(ReadingDocument& d, const PlanBytes& a, int64_t points_a, const PlanBytes& b, int64_t points_b) {
  const int64_t common = std::min(points_a, points_b);
  const uint64_t column_a = a.size() / 2, column_b = b.size() / 2;
  ByteComparison bytes(a, b);
  LinePlanDecoder decoder_a(a), decoder_b(b);
  std::vector<PlanPoint> pa, pb;
  TurningRuns runs(d);
  bool all_same = true;
  int64_t done = 0;  // the metres before it have been compared
  for (int64_t block = 0; block < common; block += kBlockMetres) {
    const int64_t end = std::min(block + kBlockMetres, common);
    const uint64_t from_byte = plan_point_offset(block), length = plan_point_offset(end) - from_byte;
    if (bytes.same(from_byte, from_byte, length) && bytes.same(column_a + from_byte, column_b + from_byte, length))
      continue;
    all_same = false;
    // A metre between the last block read and this one had the same points in both.
    if (block > done) runs.close(done - 1);
    const int64_t first = std::max(block, done), last = std::min(end + 2, common);
    const int64_t base = std::max<int64_t>(first - 2, 0);
    read_points(decoder_a, base, last, pa);
    read_points(decoder_b, base, last, pb);
    for (int64_t metre = std::max<int64_t>(first, 2); metre < last; ++metre) {
      const auto i = static_cast<size_t>(metre - base);
      runs.metre(metre, plan_turning(pa[i - 2], pa[i - 1], pa[i]), plan_turning(pb[i - 2], pb[i - 1], pb[i]));
    }
    done = last;
  }
  runs.close(std::min(done, common) - 1);
  if (!all_same || points_a != points_b || a.size() != b.size()) return false;
  // The empty elements behind the points.
  const uint64_t tail_at = plan_point_offset(common), tail = column_a - std::min(tail_at, column_a);
  return common == 0 ? bytes.same(0, 0, a.size())
                     : bytes.same(tail_at, tail_at, tail) && bytes.same(column_a + tail_at, column_b + tail_at, tail);
}

}  // namespace

ReadingDocument diff_plans(const PlanBytes& a, int64_t points_a, const PlanBytes& b, int64_t points_b) {
  ReadingDocument d;
  if (a.empty() != b.empty()) {
    const auto present = [](const PlanBytes& plan) { return plan.empty() ? no_value() : text_value("present"); };
    add_change(d, "plan",
               {"plan", a.empty() ? "added" : "removed", "line plan", {}, "", "", present(a), present(b)});
    return d;
  }
  const bool same_files = diff_turnings(d, a, points_a, b, points_b);
  if (points_a != points_b)
    add_change(d, "plan", {"plan", "changed", "plan", {}, "computed_to_metre", "computed to metre",
                           grouped_value(points_a - 1), grouped_value(points_b - 1)});
  if (!d.sections.empty() || same_files) return d;
  ByteComparison bytes(a, b);
  const uint64_t common = std::min(a.size(), b.size());
  std::optional<uint64_t> byte = bytes.first_difference(0, 0, common);
  if (!byte && a.size() != b.size()) byte = common;
  if (byte)
    add_change(d, "plan", {"plan", "changed", "plan", {{"byte", number_value(static_cast<int64_t>(*byte))}}, "", "",
                           no_value(""), no_value(""), "",
                           "the files differ from byte " + grouped_number(static_cast<int64_t>(*byte)) +
                               " on, in values too small to change the track's turning"});
  return d;
}

}  // namespace scenario
