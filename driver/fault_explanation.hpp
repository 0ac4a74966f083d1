#pragma once

#include <string>

#include "model/fault_table.hpp"

namespace scenario {

// What `explain N` prints: the fault's meaning, the rule behind it, its usual causes each
// with its fix, and an example, wrapped for a terminal.
std::string explain_fault(const FaultDescription& fault);

// What `explain` alone prints: every fault number with its meaning.
std::string fault_list_text();

// The usual causes and their fixes, as plain text.
std::string fault_help_text(const FaultDescription& fault);

// Every fault as the source-format reference lists it, in Markdown.
std::string fault_list_markdown();

}  // namespace scenario
