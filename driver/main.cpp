#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string_view>
#include <vector>

#include "driver/commands.hpp"
#include "driver/control_escapes.hpp"
#include "driver/descriptor_output.hpp"
#include "driver/diagnostics.hpp"
#include "driver/process_setup.hpp"
#include "driver/run_main.hpp"

using namespace scenario;

namespace {

// Standard output that could not be written whole (a full disk, /dev/full) fails the
// command, whatever it printed: a cut listing must not pass for a whole one.
//
// A reader that stopped reading (`| head`) wanted no more: the command ends quietly, with
// the status of output that could not be written whole.
int with_output_checked(int status, const DescriptorOutputBuffer& output, Diagnostics& diagnostics) {
  errno = 0;
  std::cout.flush();
  if (std::cout && output.failure() == 0 && std::fflush(stdout) == 0 && std::ferror(stdout) == 0) return status;
  if (output_pipe_closed() || output.failure() == EPIPE) return kExitNothing;
  // The reason of the write that failed, kept when it failed ("No space left on device").
  const int error = output.failure() != 0 ? output.failure() : errno;
  diagnostics.error(std::string("cannot write to standard output: ") +
                    (error != 0 ? std::strerror(error) : "it could not be written whole"));
  return kExitNothing;
}

}  // namespace

int main(int argc, char** argv) {
  prepare_process();
  // Listings and summaries on a terminal show control characters escaped.
  // Kept to the end of the process: standard output is flushed after main returns.
  // Written to the descriptor directly, which keeps why a write failed.
  auto* const output = new DescriptorOutputBuffer(1);
  std::cout.rdbuf(output);
  if (::isatty(1) == 1) std::cout.rdbuf(new ControlEscapingBuffer(output));
  Console console{std::cout, std::cerr, colour_wanted(2)};
  Diagnostics diagnostics(std::cerr, console.colour);
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  return with_output_checked(run_main(arguments, console), *output, diagnostics);
}
