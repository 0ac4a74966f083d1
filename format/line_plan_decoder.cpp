#include "format/line_plan_decoder.hpp"

#include <algorithm>
#include <cstring>
#include <vector>

#include "format/byte_reader.hpp"
#include "format/compiled_layouts.hpp"
#include "format/line_plan_reader.hpp"

namespace scenario {

namespace {

// The strides of the layout, from the element table.
constexpr size_t kStartBytes = 2 * plan_element_bytes(PlanElement::kInt16);
constexpr size_t kDoubleBytes = plan_element_bytes(PlanElement::kDouble);
constexpr size_t kEmptyBytes = plan_element_bytes(PlanElement::kEmpty);
static_assert(kPlanTagBytes == 2, "a tag is read as one 16-bit load");
// How much of a file a column reads at a time: whole doubles.
constexpr size_t kWindow = (size_t{64} << 10) / kDoubleBytes * kDoubleBytes;

uint16_t tag_at(const char* element) { return static_cast<uint16_t>(little_endian(std::string_view(element, 2))); }
double double_at(const char* element) {
  return bit_cast<double>(little_endian(std::string_view(element + kPlanTagBytes, 8)));
}
int16_t integer_at(const char* element) {
  return static_cast<int16_t>(little_endian(std::string_view(element + kPlanTagBytes, 2)));
}

// Whether every byte is zero: an empty element is a zero tag and nothing after it.
bool all_zero(std::string_view bytes) {
  uint64_t seen = 0;
  size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    uint64_t word = 0;
    std::memcpy(&word, bytes.data() + i, 8);
    seen |= word;
  }
  for (; i < bytes.size(); ++i) seen |= static_cast<unsigned char>(bytes[i]);
  return seen == 0;
}

}  // namespace

// One half of the file, read in place when it is in memory and through a window of whole
// doubles when it is a file.
class LinePlanDecoder::Column {
 public:
  Column(const PlanBytes& bytes, uint64_t begin, uint64_t size) : bytes_(bytes), begin_(begin), size_(size) {
    if (!bytes_.in_memory()) buffer_.reset(new char[kWindow]);
  }

  uint64_t size() const { return size_; }

  // Up to `wanted` bytes (at most a window) from `offset` of the column; fewer only where
  // the column ends.
  std::string_view at(uint64_t offset, size_t wanted) {
    wanted = static_cast<size_t>(std::min<uint64_t>(wanted, size_ - std::min(offset, size_)));
    if (!buffer_) return bytes_.read(begin_ + offset, {}).substr(0, wanted);
    if (offset < window_at_ || offset + wanted > window_at_ + window_.size()) {
      window_at_ = offset;
      const size_t length = static_cast<size_t>(std::min<uint64_t>(kWindow, size_ - offset));
      window_ = bytes_.read(begin_ + offset, std::span(buffer_.get(), length));
    }
    return window_.substr(static_cast<size_t>(offset - window_at_), wanted);
  }

 private:
  PlanBytes bytes_;
  uint64_t begin_;
  uint64_t size_;
  std::unique_ptr<char[]> buffer_;  // the window of a file; none for bytes in memory
  uint64_t window_at_ = 0;
  std::string_view window_;
};

LinePlanDecoder::LinePlanDecoder(const PlanBytes& bytes) : bytes_(bytes), column_bytes_(bytes.size() / 2) {
  x_ = std::make_unique<Column>(bytes_, 0, column_bytes_);
  y_ = std::make_unique<Column>(bytes_, column_bytes_, column_bytes_);
}

LinePlanDecoder::~LinePlanDecoder() = default;

void LinePlanDecoder::fail() const {
  for (LinePlanReader reader(bytes_); !reader.at_end();) reader.next();
  // Only a file that changed between the two readings gets here.
  throw DecodeError(0, "the line plan file changed while it was read");
}

uint64_t plan_point_offset(int64_t metre) {
  if (metre < 2) return static_cast<uint64_t>(metre) * plan_element_bytes(PlanElement::kInt16);
  return kStartBytes + static_cast<uint64_t>(metre - 2) * kDoubleBytes;
}

void LinePlanDecoder::seek(int64_t metre) {
  PlanPoint starting[2];
  while (metre_ < std::min<int64_t>(metre, 2)) {
    if (next(std::span(starting, static_cast<size_t>(std::min<int64_t>(metre, 2) - metre_))) == 0) return;
  }
  if (stage_ == Stage::kDoubles && metre >= 2) metre_ = metre;
}

void LinePlanDecoder::read_start() {
  if (bytes_.size() % 2 != 0) fail();
  stage_ = Stage::kEnded;
  if (column_bytes_ == 0) return;  // a plan never dimensioned
  const std::string_view x = x_->at(0, kStartBytes);
  if (x.size() < kPlanTagBytes) fail();
  if (tag_at(x.data()) == PlanElement::kEmpty) return finish_at(0);
  const std::string_view y = y_->at(0, kStartBytes);
  if (x.size() < kStartBytes || y.size() < kStartBytes) fail();
  for (size_t i = 0; i < 2; ++i) {
    const char* xe = x.data() + plan_point_offset(static_cast<int64_t>(i));
    const char* ye = y.data() + plan_point_offset(static_cast<int64_t>(i));
    if (tag_at(xe) != PlanElement::kInt16 || tag_at(ye) != PlanElement::kInt16 ||
        PlanPoint{static_cast<double>(integer_at(xe)), static_cast<double>(integer_at(ye))} != kPlanStartingPoints[i])
      fail();
  }
  stage_ = Stage::kDoubles;
}

void LinePlanDecoder::finish_at(uint64_t offset) {
  if (offset > column_bytes_) fail();  // sought past the end
  const uint64_t tail = column_bytes_ - offset;
  if (tail % kEmptyBytes != 0) fail();
  for (Column* column : {x_.get(), y_.get()})
    for (uint64_t at = offset; at < column_bytes_; at += kWindow)
      if (!all_zero(column->at(at, kWindow))) fail();
  metres_ = metre_ + static_cast<int64_t>(tail / kEmptyBytes);
  stage_ = Stage::kEnded;
}

size_t LinePlanDecoder::next(std::span<PlanPoint> out) {
  if (stage_ == Stage::kStart) read_start();
  size_t n = 0;
  for (; n < out.size() && stage_ == Stage::kDoubles && metre_ < 2; ++n) out[n] = kPlanStartingPoints[metre_++];
  while (n < out.size() && stage_ == Stage::kDoubles) {
    const uint64_t at = plan_point_offset(metre_);
    const size_t wanted = std::min(out.size() - n, kWindow / kDoubleBytes) * kDoubleBytes;
    const std::string_view xs = x_->at(at, wanted);
    const std::string_view ys = y_->at(at, wanted);
    const size_t count = std::min(xs.size(), ys.size()) / kDoubleBytes;
    size_t i = 0;
    for (; i < count; ++i) {
      const char* xe = xs.data() + i * kDoubleBytes;
      const char* ye = ys.data() + i * kDoubleBytes;
      if (tag_at(xe) != PlanElement::kDouble || tag_at(ye) != PlanElement::kDouble) break;
      out[n + i] = PlanPoint{double_at(xe), double_at(ye)};
    }
    n += i;
    metre_ += static_cast<int64_t>(i);
    if (i < count || count == 0) finish_at(at + i * kDoubleBytes);
  }
  return n;
}

int64_t probed_computed_points(const PlanBytes& bytes) {
  const uint64_t column = bytes.size() / 2;
  char tag[kPlanTagBytes];
  // The tag of the x column's element at `offset`; empty past the column's end.
  const auto tag_of = [&](uint64_t offset, size_t element_bytes) -> uint16_t {
    if (offset + element_bytes > column) return PlanElement::kEmpty;
    const std::string_view b = bytes.read(offset, std::span(tag, kPlanTagBytes)).substr(0, kPlanTagBytes);
    return b.size() < kPlanTagBytes ? uint16_t{PlanElement::kEmpty} : tag_at(b.data());
  };
  if (tag_of(0, kStartBytes) != PlanElement::kInt16) return 0;
  // Every metre from 2 to `doubles_end` - 1 holds a double; `past` does not.
  auto doubles_end = int64_t{2};
  auto past = static_cast<int64_t>(2 + (column - kStartBytes) / kDoubleBytes);
  while (doubles_end < past) {
    const int64_t middle = doubles_end + (past - doubles_end) / 2;
    if (tag_of(plan_point_offset(middle), kDoubleBytes) == PlanElement::kDouble)
      doubles_end = middle + 1;
    else
      past = middle;
  }
  return doubles_end;
}

LinePlanExtent line_plan_extent(const PlanBytes& bytes) {
  LinePlanDecoder decoder(bytes);
  std::vector<PlanPoint> block(1024);  // a few pages, which stay in the cache
  while (decoder.next(block) > 0) {
  }
  return {decoder.metre(), decoder.metres()};
}

}  // namespace scenario
