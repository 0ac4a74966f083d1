#include <charconv>

#include "driver/commands.hpp"
#include "driver/diagnostics.hpp"
#include "driver/fault_explanation.hpp"

namespace scenario {

int run_explain_command(const ExplainCommand& command, Console& console) {
  if (command.markdown) {
    console.out << fault_list_markdown();
    return kExitClean;
  }
  if (!command.fault) {
    console.out << fault_list_text();
    return kExitClean;
  }
  const std::string& given = *command.fault;
  int32_t number = 0;
  const auto [end, error] = std::from_chars(given.data(), given.data() + given.size(), number);
  const FaultDescription* fault =
      error == std::errc() && end == given.data() + given.size() ? find_fault(number) : nullptr;
  if (fault == nullptr) {
    Diagnostics(console.err, console.colour)
        .error("no fault numbered '" + given + "'; 'scenario-builder explain' lists them all");
    return kExitNothing;
  }
  console.out << explain_fault(*fault);
  return kExitClean;
}

}  // namespace scenario
