#include "driver/process_setup.hpp"

#include <csignal>

#include "format/temporary_files.hpp"

namespace scenario {
namespace {

volatile std::sig_atomic_t pipe_closed = 0;

extern "C" void remember_closed_pipe(int) { pipe_closed = 1; }

}  // namespace

void prepare_process() {
  std::signal(SIGXFSZ, SIG_IGN);
  std::signal(SIGPIPE, remember_closed_pipe);
  remove_temporaries_on_signal();
}

bool output_pipe_closed() { return pipe_closed != 0; }

}  // namespace scenario
