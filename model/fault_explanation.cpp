#include "model/fault_explanation.hpp"

#include <span>
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

std::string title(const WarningDescription& warning) {
  return warning_id(warning_number(warning.warning)) + ": " + std::string(warning.title);
}

// What `explain` tells of a fault or a warning: its title, the rule, the usual causes each
// with its fix, and an example.
std::string explained(const std::string& heading, std::string_view explanation, std::span<const FaultCause> causes,
                      std::string_view example) {
  std::string text = heading + "\n\n" + wrapped(explanation, "", "");
  text += "\nUsual causes, each with its fix:\n";
  for (const FaultCause& cause : causes) {
    text += wrapped(cause.cause, "  - ", "    ");
    text += wrapped(cause.fix, "    Fix: ", "    ");
  }
  return text + "\nExample:\n" + indented(example, "  ");
}

std::string markdown_cell(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '|') out += '\\';
    out += c;
  }
  return out;
}

// A fault or a warning as the reference lists it.
std::string markdown_entry(const std::string& heading, std::string_view explanation,
                           std::span<const FaultCause> causes, std::string_view example) {
  std::string text = "### " + heading + "\n\n" + std::string(explanation) + "\n\n| Usual cause | Fix |\n|---|---|\n";
  for (const FaultCause& cause : causes)
    text += "| " + markdown_cell(cause.cause) + " | " + markdown_cell(cause.fix) + " |\n";
  return text + "\n```text\n" + std::string(example) + "\n```\n\n";
}

}  // namespace

std::string help_text(std::span<const FaultCause> causes) {
  std::string text;
  for (const FaultCause& cause : causes)
    text += "- " + std::string(cause.cause) + " Fix: " + std::string(cause.fix) + "\n";
  return text;
}

std::string explain_fault(const FaultDescription& fault) {
  return explained(title(fault), fault.explanation, fault_causes(fault), fault.example);
}

std::string explain_warning(const WarningDescription& warning) {
  return explained(title(warning), warning.explanation, warning_causes(warning), warning.example);
}

std::string fault_list_text() {
  std::string text = "Faults of scenario-builder ('scenario-builder explain N' tells more of fault N):\n\n";
  for (const FaultDescription& fault : fault_table()) {
    const std::string number = std::to_string(fault_number(fault.fault));
    text += std::string(6 - std::min<std::size_t>(5, number.size()), ' ') + number + "  " +
            std::string(fault.meaning) + "\n";
  }
  text += "\nWarnings ('scenario-builder explain W3' tells more of warning W3):\n\n";
  for (const WarningDescription& warning : warning_table()) {
    const std::string id = warning_id(warning_number(warning.warning));
    text += std::string(6 - std::min<std::size_t>(5, id.size()), ' ') + id + "  " + std::string(warning.title) + "\n";
  }
  return text;
}

std::string reference_heading(const FaultDescription& fault) {
  return "Fault " + std::to_string(fault_number(fault.fault)) + ": " + std::string(fault.meaning);
}

std::string reference_heading(const WarningDescription& warning) { return title(warning); }

std::string heading_anchor(std::string_view heading) {
  // As Markdown renderers make them: small letters, blanks to hyphens, other marks dropped.
  std::string anchor;
  for (const char c : heading) {
    if (c >= 'A' && c <= 'Z')
      anchor += static_cast<char>(c - 'A' + 'a');
    else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_')
      anchor += c;
    else if (c == ' ')
      anchor += '-';
    else if (static_cast<unsigned char>(c) >= 0x80)
      anchor += c;
  }
  return anchor;
}

std::string fault_list_markdown() {
  std::string text;
  for (const FaultDescription& fault : fault_table())
    text += markdown_entry(reference_heading(fault), fault.explanation, fault_causes(fault), fault.example);
  text += "## Warnings\n\nA warning is told at its place, `FILE:LINE:COLUMN: warning: ...`, and never changes the "
          "compiled files; `--werror` makes each one an error, `-w` silences them.\n\n";
  for (const WarningDescription& warning : warning_table())
    text += markdown_entry(reference_heading(warning), warning.explanation, warning_causes(warning), warning.example);
  return text;
}

}  // namespace scenario
