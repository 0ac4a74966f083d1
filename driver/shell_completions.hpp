#pragma once

#include <string>

namespace scenario {

// Completion scripts for the program, made from the command tables: the commands, each
// command's options, the choices an option takes and files of the kind an operand or an
// option names.
std::string bash_completion();
std::string zsh_completion();
std::string fish_completion();

}  // namespace scenario
