#include <charconv>
#include <optional>
#include <string_view>

#include "driver/commands.hpp"
#include "driver/diagnostics.hpp"
#include "model/fault_explanation.hpp"

namespace scenario {
namespace {

// The whole of `text` as a number, or none.
std::optional<int32_t> number_of(std::string_view text) {
  int32_t number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return number;
}

}  // namespace

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
  // "W3" (or "w3") is a warning, anything else a fault number.
  const bool is_warning = given.starts_with('W') || given.starts_with('w');
  const std::optional<int32_t> number = number_of(is_warning ? std::string_view(given).substr(1) : given);
  const WarningDescription* warning = is_warning && number ? find_warning(*number) : nullptr;
  const FaultDescription* fault = !is_warning && number ? find_fault(*number) : nullptr;
  if (warning == nullptr && fault == nullptr) {
    Diagnostics(console.err, console.colour)
        .error(std::string(is_warning ? "no warning" : "no fault") + " numbered '" + given +
               "'; 'scenario-builder explain' lists them all");
    return kExitNothing;
  }
  console.out << (warning != nullptr ? explain_warning(*warning) : explain_fault(*fault));
  return kExitClean;
}

}  // namespace scenario
