#include "driver/fault_explanation.hpp"

#include <string_view>

namespace scenario {
namespace {

constexpr std::size_t kWidth = 80;

// The words of `text` in lines of at most kWidth characters, each line begun by `indent`
// (the first by `first_indent`).
std::string wrapped(std::string_view text, std::string_view first_indent, std::string_view indent) {
  std::string out, line(first_indent);
  bool line_has_words = false;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find(' ', at), text.size());
    const std::string_view word = text.substr(at, end - at);
    at = end + 1;
    if (word.empty()) continue;
    if (line_has_words && line.size() + 1 + word.size() > kWidth) {
      out += line + "\n";
      line = indent;
      line_has_words = false;
    }
    if (line_has_words) line += ' ';
    line += word;
    line_has_words = true;
  }
  return out + line + "\n";
}

// Each line of an example, indented.
std::string indented(std::string_view text, std::string_view indent) {
  std::string out;
  std::size_t at = 0;
  while (at <= text.size()) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    out += std::string(indent) + std::string(text.substr(at, end - at)) + "\n";
    at = end + 1;
  }
  return out;
}

std::string title(const FaultDescription& fault) {
  return "fault " + std::to_string(fault_number(fault.fault)) + ": " + std::string(fault.meaning);
}

std::string markdown_cell(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '|') out += '\\';
    out += c;
  }
  return out;
}

}  // namespace

std::string fault_help_text(const FaultDescription& fault) {
  std::string text;
  for (const FaultCause& cause : fault_causes(fault))
    text += "- " + std::string(cause.cause) + " Fix: " + std::string(cause.fix) + "\n";
  return text;
}

std::string explain_fault(const FaultDescription& fault) {
  std::string text = title(fault) + "\n\n" + wrapped(fault.explanation, "", "");
  text += "\nUsual causes, each with its fix:\n";
  for (const FaultCause& cause : fault_causes(fault)) {
    text += wrapped(cause.cause, "  - ", "    ");
    text += wrapped(cause.fix, "    Fix: ", "    ");
  }
  return text + "\nExample:\n" + indented(fault.example, "  ");
}

std::string fault_list_text() {
  std::string text = "Faults of scenario-builder ('scenario-builder explain N' tells more of fault N):\n\n";
  for (const FaultDescription& fault : fault_table()) {
    const std::string number = std::to_string(fault_number(fault.fault));
    text += std::string(6 - std::min<std::size_t>(5, number.size()), ' ') + number + "  " +
            std::string(fault.meaning) + "\n";
  }
  return text;
}

std::string fault_list_markdown() {
  std::string text;
  for (const FaultDescription& fault : fault_table()) {
    text += "### Fault " + std::to_string(fault_number(fault.fault)) + ": " + std::string(fault.meaning) + "\n\n";
    text += std::string(fault.explanation) + "\n\n| Usual cause | Fix |\n|---|---|\n";
    for (const FaultCause& cause : fault_causes(fault))
      text += "| " + markdown_cell(cause.cause) + " | " + markdown_cell(cause.fix) + " |\n";
    text += "\n```text\n" + std::string(fault.example) + "\n```\n\n";
  }
  return text;
}

}  // namespace scenario
