#include "driver/process_setup.hpp"

#include <csignal>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "format/temporary_files.hpp"

namespace scenario {
namespace {

volatile std::sig_atomic_t pipe_closed = 0;

extern "C" void remember_closed_pipe(int) { pipe_closed = 1; }

}  // namespace

void prepare_process() {
#if defined(__GLIBC__)
  // Blocks up to 4 MiB come from the heap, whose freed pages are used again, rather than
  // from a mapping of their own, made and faulted in page by page each time: a reader's
  // buffers and the picture it builds grow by doubling, and a fault is dear. Larger blocks
  // keep mappings of their own, given back as soon as they are freed, so that the peak
  // memory of a long list that grows stays where it was.
  mallopt(M_MMAP_THRESHOLD, 4 << 20);
#endif
  std::signal(SIGXFSZ, SIG_IGN);
  std::signal(SIGPIPE, remember_closed_pipe);
  remove_temporaries_on_signal();
}

bool output_pipe_closed() { return pipe_closed != 0; }

}  // namespace scenario
