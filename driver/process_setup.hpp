#pragma once

namespace scenario {

// Readies the process before any file is written: a write past the file-size limit then
// fails with an error that the program reports, instead of killing it half way.
void prepare_process();

}  // namespace scenario
