#pragma once

#include <string_view>
#include <vector>

#include "driver/commands.hpp"

namespace scenario {

// The program as a function: the command line (without the program's name) read and run,
// results and diagnostics to `console`, and the exit status returned. What only a process
// has (its signals, the checks of its standard output) stays in main.
int run_main(const std::vector<std::string_view>& arguments, Console& console);

}  // namespace scenario
