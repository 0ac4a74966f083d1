#pragma once

#include <cstdint>
#include <memory>

#include "format/byte_reader.hpp"
#include "format/plan_bytes.hpp"
#include "model/line_plan.hpp"

namespace scenario {

// Reads a line plan file in one pass, metre by metre, with the x and the y of each metre
// together. The two columns of a plan file have the same layout, so each is exactly half of
// the file: one reader walks each half, a part at a time when the bytes are a file, and
// nothing of the route's size is held.
class LinePlanReader {
 public:
  struct Metre {
    int64_t metre = 0;
    PlanElement x;
    PlanElement y;
  };

  // DecodeError when the file cannot hold two columns of the same length.
  explicit LinePlanReader(const PlanBytes& bytes);

  bool at_end() const { return x_.at_end(); }
  // The next metre; DecodeError when it breaks the layout the encoder writes (the starting
  // points (0, 0) and (0, 1) or nothing, then doubles, then empty elements, the same tags
  // in both columns) or when the columns end apart.
  Metre next();
  // How many metres next() has read.
  int64_t metres_read() const { return metre_; }

 private:
  // One half of the file, read through a window that moves on as its elements are read.
  class Column {
   public:
    Column(PlanBytes bytes, uint64_t begin, uint64_t end);
    bool at_end() const { return reader_.offset() == end_; }
    // The next element, named `name` and `metre` in messages.
    PlanElement read(const char* name, int64_t metre);
    size_t offset() const { return reader_.offset(); }
    [[noreturn]] void fail(size_t offset, const std::string& reason) const { reader_.fail(offset, reason); }

   private:
    void move_window();

    PlanBytes bytes_;  // shares what it reads from with the other column
    uint64_t end_;
    std::unique_ptr<char[]> buffer_;  // the window of a file; none for bytes in memory
    ByteReader reader_;
  };

  Column x_;
  Column y_;
  int64_t metre_ = 0;
  bool has_start_ = false;
  bool ended_ = false;  // an empty element after the starting points: only empties follow
};

}  // namespace scenario
