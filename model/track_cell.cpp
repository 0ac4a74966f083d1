#include "model/track_cell.hpp"

namespace scenario {

const char* cell_kind_name(uint8_t kind) {
  switch (kind) {
    case kFreeCell: return "free";
    case kSignal: return "signal";
    case kSlowdownEnd: return "slowdown end";
    case kSlowdownStart: return "slowdown start";
    case kSlowdownWarningBoard: return "slowdown warning board";
    case kApproachBoard: return "approach board";
    case kSpeedLimitBoards: return "speed-limit boards";
    case kStationExit: return "station exit";
    case kMountainMarker: return "mountain marker";
    case kCodeReduction: return "code reduction";
    case kCodeReductionNonPositive: return "code reduction (value 0 or below)";
    case kIndicatorBoard: return "indicator board";
    default: return "unknown";
  }
}

}  // namespace scenario
