#include "driver/process_setup.hpp"

#include <csignal>

#include "format/temporary_files.hpp"

namespace scenario {

void prepare_process() {
  std::signal(SIGXFSZ, SIG_IGN);
  remove_temporaries_on_signal();
}

}  // namespace scenario
