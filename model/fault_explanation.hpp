#pragma once

#include <span>
#include <string>
#include <string_view>

#include "model/fault_table.hpp"
#include "model/warning_table.hpp"

namespace scenario {

// What `explain N` prints: the fault's meaning, the rule behind it, its usual causes each
// with its fix, and an example, wrapped for a terminal.
std::string explain_fault(const FaultDescription& fault);

// What `explain W3` prints, in the same form.
std::string explain_warning(const WarningDescription& warning);

// What `explain` alone prints: every fault number with its meaning, then every warning.
std::string fault_list_text();

// The usual causes and their fixes, as plain text.
std::string help_text(std::span<const FaultCause> causes);

// The heading of a fault's or a warning's section in the source-format reference.
std::string reference_heading(const FaultDescription& fault);
std::string reference_heading(const WarningDescription& warning);
// The anchor of a Markdown heading, as Markdown renderers make it: "fault-8-station-...".
std::string heading_anchor(std::string_view heading);

// Every fault, then every warning, as the source-format reference lists them, in Markdown.
std::string fault_list_markdown();

}  // namespace scenario
