#pragma once

namespace scenario {

// Readies the process before any file is written: a write past the file-size limit then
// fails with an error that the program reports, instead of killing it half way, and
// SIGINT, SIGTERM and SIGHUP remove the run's temporary files before ending it.
void prepare_process();

}  // namespace scenario
