// Prints a page made from the command tables: the manual page or a shell's completion
// script; the sources' TextMate grammar made from the row schema; or the source-format reference read from standard input with its row tables made
// again from the row schema. `make reference-pages` and `make fault-reference` keep the
// copies under docs/ current with it.
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>

#include "driver/manual_page.hpp"
#include "driver/row_reference.hpp"
#include "driver/shell_completions.hpp"
#include "driver/source_grammar.hpp"

int main(int argc, char** argv) {
  const std::string_view page = argc == 2 ? argv[1] : "";
  if (page == "man") std::cout << scenario::manual_page();
  else if (page == "bash") std::cout << scenario::bash_completion();
  else if (page == "zsh") std::cout << scenario::zsh_completion();
  else if (page == "fish") std::cout << scenario::fish_completion();
  else if (page == "grammar") std::cout << scenario::source_grammar_json();
  else if (page == "source-format") {
    const std::string reference{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
    std::cout << scenario::with_current_row_tables(reference);
  } else {
    std::cerr << "usage: scenario-reference-pages man|bash|zsh|fish|grammar|source-format\n";
    return 2;
  }
  std::cout.flush();
  return std::cout ? 0 : 2;
}
