// Prints a page made from the command tables: the manual page or a shell's completion
// script. `make reference-pages` keeps the copies under docs/ current with it.
#include <iostream>
#include <string_view>

#include "driver/manual_page.hpp"
#include "driver/shell_completions.hpp"

int main(int argc, char** argv) {
  const std::string_view page = argc == 2 ? argv[1] : "";
  if (page == "man") std::cout << scenario::manual_page();
  else if (page == "bash") std::cout << scenario::bash_completion();
  else if (page == "zsh") std::cout << scenario::zsh_completion();
  else if (page == "fish") std::cout << scenario::fish_completion();
  else {
    std::cerr << "usage: scenario-reference-pages man|bash|zsh|fish\n";
    return 2;
  }
  std::cout.flush();
  return std::cout ? 0 : 2;
}
