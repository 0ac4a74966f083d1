#pragma once

namespace scenario {

// Readies the process before any file is written: a write past the file-size limit then
// fails with an error that the program reports, instead of killing it half way, and
// SIGINT, SIGTERM and SIGHUP remove the run's temporary files before ending it. A reader
// that closes the program's output early (`| head`) no longer kills it: the write fails,
// and the pipe is remembered as closed.
void prepare_process();

// Whether a write went to a pipe that its reader had closed.
bool output_pipe_closed();

}  // namespace scenario
