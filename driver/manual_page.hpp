#pragma once

#include <string>

namespace scenario {

// The manual page scenario-builder(1), in roff, made from the command tables: every command
// with its operands, options and exit statuses, the files a scenario is made of, examples.
std::string manual_page();

}  // namespace scenario
