#include "driver/process_setup.hpp"

#include <csignal>

namespace scenario {

void prepare_process() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace scenario
