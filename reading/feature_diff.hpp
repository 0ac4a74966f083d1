#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/sim_record.hpp"
#include "model/track_cell.hpp"
#include "reading/reading_document.hpp"
#include "reading/track_reading.hpp"

namespace scenario {

// What the changed features account for: the cells whose feature (kind, values, signal
// time) or approach code a changed station, signal or slowdown wrote on either side, and
// the record slots of the changed stations. The comparison of cells and records tells only
// what is left over.
class ExplainedParts {
 public:
  explicit ExplainedParts(size_t cell_count) : features_(cell_count), approach_(cell_count) {}

  void explain_feature(int64_t cell) { mark(features_, cell); }
  void explain_approach(int64_t cell) { mark(approach_, cell); }
  void explain_slot(int slot) {
    if (slot >= 0 && slot < kRecordCount) slots_[static_cast<size_t>(slot)] = true;
  }
  bool feature_explained(size_t cell) const { return cell < features_.size() && features_[cell]; }
  bool approach_explained(size_t cell) const { return cell < approach_.size() && approach_[cell]; }
  bool slot_explained(int slot) const { return slot >= 0 && slot < kRecordCount && slots_[static_cast<size_t>(slot)]; }

 private:
  static void mark(std::vector<bool>& cells, int64_t cell) {
    if (cell >= 0 && static_cast<size_t>(cell) < cells.size()) cells[static_cast<size_t>(cell)] = true;
  }
  std::vector<bool> features_;
  std::vector<bool> approach_;
  std::array<bool, kRecordCount> slots_{};
};

// Signals (matched by position) and slowdowns (matched by their start, as the one pairing
// reads them), changes in the groups "signals" and "slowdowns"; one that went and the
// nearest alike but for its place that came are a move. A change accounts too for the code
// reduction points the signalling walk placed otherwise.
void diff_track_features(ReadingDocument& document, const std::vector<TrackCell>& a, const std::vector<TrackCell>& b,
                         ExplainedParts& explained);

// Stations matched by name in running order, those left over by slot and position (a
// renamed station); changes in the group "stations". A changed station accounts for its
// slots, its exit cell and the approach codes in front of it, as its record places them; a
// station that only shifted slot by as many as came or went before it is not told.
void diff_stations(ReadingDocument& document, const std::vector<Station>& a, const std::vector<Station>& b,
                   ExplainedParts& explained);

}  // namespace scenario
