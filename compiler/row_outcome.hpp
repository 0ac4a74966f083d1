#pragma once

namespace scenario {

// How a row leaves the reading of its source.
enum class RowOutcome {
  kNext,        // go on with the next keyword field
  kEndReading,  // fault 15: the reading ends as if the source ended here; its end-of-reading steps follow
  kFaultExit,   // another fault: the source is dropped and the compile returns at once
};

}  // namespace scenario
