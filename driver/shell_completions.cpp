#include "driver/shell_completions.hpp"

#include <sstream>
#include <string_view>
#include <vector>

#include "driver/command_line.hpp"
#include "model/fault_table.hpp"

namespace scenario {
namespace {

constexpr std::string_view kProgram = "scenario-builder";

std::string joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
  return text;
}

std::vector<std::string> command_names() {
  std::vector<std::string> names;
  for (const CommandReference& command : command_references()) names.emplace_back(command.name);
  return names;
}

std::vector<std::string> fault_numbers() {
  std::vector<std::string> numbers;
  for (const FaultDescription& fault : fault_table()) numbers.push_back(std::to_string(fault_number(fault.fault)));
  return numbers;
}

// "a|b|c" as its choices.
std::vector<std::string> choices(std::string_view value_name) {
  std::vector<std::string> words;
  std::size_t start = 0;
  while (start <= value_name.size()) {
    const std::size_t end = std::min(value_name.find('|', start), value_name.size());
    words.emplace_back(value_name.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

// "FILE.svg" gives "svg"; "FILE" gives "".
std::string_view file_extension(std::string_view value_name) {
  const std::size_t dot = value_name.find('.');
  return dot == std::string_view::npos ? std::string_view() : value_name.substr(dot + 1);
}

// A text inside single quotes of a shell (bash, zsh and fish alike take '\'' and \').
std::string single_quoted(std::string_view text, std::string_view quote_in_quotes) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') quoted += quote_in_quotes;
    else quoted += c;
  }
  return quoted + "'";
}

// bash

std::string bash_option_words(const CommandReference& command) {
  std::vector<std::string> words;
  for (const OptionReference& option : command.options) {
    if (!option.short_name.empty()) words.emplace_back(option.short_name);
    words.emplace_back(option.long_name);
  }
  words.emplace_back("--help");
  return joined(words);
}

std::string bash_operands(OperandKind kind) {
  switch (kind) {
    case OperandKind::kNone: return "";
    case OperandKind::kSourceFiles: return "_scenario_builder_files txt";
    case OperandKind::kCompiledFile: return "_scenario_builder_files 'dat|sim'";
    case OperandKind::kFolder: return "_scenario_builder_folders";
    case OperandKind::kFoldersOrCompiledFiles: return "_scenario_builder_files 'dat|sim'";
    case OperandKind::kFaultNumber: return "_scenario_builder_words '" + joined(fault_numbers()) + "'";
    case OperandKind::kCommandName: return "_scenario_builder_words '" + joined(command_names()) + "'";
  }
  return "";
}

std::string bash_value(const OptionReference& option) {
  switch (value_kind(option.value_name)) {
    case ValueKind::kFolder: return "_scenario_builder_folders";
    case ValueKind::kFile: return "_scenario_builder_files " + std::string(file_extension(option.value_name));
    case ValueKind::kChoice: return "_scenario_builder_words '" + joined(choices(option.value_name)) + "'";
    case ValueKind::kText: return ":";
  }
  return ":";
}

// fish

std::string fish_operands(OperandKind kind) {
  switch (kind) {
    case OperandKind::kNone: return " -f";
    case OperandKind::kSourceFiles: return " -F -a '(__fish_complete_suffix .txt)'";
    case OperandKind::kCompiledFile: return " -F";
    case OperandKind::kFolder: return " -f -a '(__fish_complete_directories)'";
    case OperandKind::kFoldersOrCompiledFiles: return " -F";
    case OperandKind::kFaultNumber: return " -f -a '" + joined(fault_numbers()) + "'";
    case OperandKind::kCommandName: return " -f -a '" + joined(command_names()) + "'";
  }
  return " -f";
}

std::string fish_value(const OptionReference& option) {
  switch (value_kind(option.value_name)) {
    case ValueKind::kFolder: return " -x -a '(__fish_complete_directories)'";
    case ValueKind::kFile: return " -r -F";
    case ValueKind::kChoice: return " -x -a '" + joined(choices(option.value_name)) + "'";
    case ValueKind::kText: return " -x";
  }
  return " -x";
}

// zsh

std::string zsh_description(std::string_view help) {
  std::string text;
  for (const char c : help) {
    if (c == '[' || c == ']' || c == ':' || c == '\\') text += '\\';
    text += c;
  }
  return text;
}

std::string zsh_value(const OptionReference& option) {
  if (option.value_name.empty()) return "";
  const std::string name(option.value_name);
  switch (value_kind(option.value_name)) {
    case ValueKind::kFolder: return ":" + name + ":_files -/";
    case ValueKind::kFile: return ":" + name + ":_files -g \"*." + std::string(file_extension(option.value_name)) + "\"";
    case ValueKind::kChoice: return ":value:(" + joined(choices(option.value_name)) + ")";
    case ValueKind::kText: return ":" + name + ": ";
  }
  return "";
}

std::string zsh_operands(OperandKind kind) {
  switch (kind) {
    case OperandKind::kNone: return "";
    case OperandKind::kSourceFiles: return "'*:source:_files -g \"*.txt\"'";
    case OperandKind::kCompiledFile: return "':compiled file:_files -g \"*.(dat|sim)\"'";
    case OperandKind::kFolder: return "':folder:_files -/'";
    case OperandKind::kFoldersOrCompiledFiles: return "'*:compiled files or folder:_files -g \"*.(dat|sim)\"'";
    case OperandKind::kFaultNumber: return "':fault:(" + joined(fault_numbers()) + ")'";
    case OperandKind::kCommandName: return "':command:(" + joined(command_names()) + ")'";
  }
  return "";
}

}  // namespace

std::string bash_completion() {
  std::ostringstream script;
  script << "# bash completion for " << kProgram << "; made from its command tables.\n"
         << R"sh(_scenario_builder_words() { COMPREPLY=($(compgen -W "$1" -- "$cur")); }
_scenario_builder_folders() { compopt -o filenames 2>/dev/null; COMPREPLY=($(compgen -d -- "$cur")); }
# Files whose names end in one of the extensions given as "a|b", and folders to go through.
_scenario_builder_files() {
  compopt -o filenames 2>/dev/null
  COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X "!*.@($1)" -- "$cur"))
}
_scenario_builder() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} command="" i
  shopt -s extglob
  for ((i = 1; i < COMP_CWORD; i++)); do
    case ${COMP_WORDS[i]} in -*) ;; *) command=${COMP_WORDS[i]}; break ;; esac
  done
  case $command in
)sh";
  script << "    \"\")\n      _scenario_builder_words '" << joined(command_names()) << " --help --version'\n      ;;\n";
  for (const CommandReference& command : command_references()) {
    script << "    " << command.name << ")\n      case $prev in\n";
    for (const OptionReference& option : command.options) {
      if (option.value_name.empty()) continue;
      script << "        " << (option.short_name.empty() ? "" : std::string(option.short_name) + "|")
             << option.long_name << ") " << bash_value(option) << "; return ;;\n";
    }
    script << "      esac\n      if [[ $cur == -* ]]; then\n        _scenario_builder_words '"
           << bash_option_words(command) << "'\n";
    const std::string operands = bash_operands(command.operand_kind);
    if (!operands.empty()) script << "      else\n        " << operands << "\n";
    script << "      fi\n      ;;\n";
  }
  script << "  esac\n}\ncomplete -F _scenario_builder " << kProgram << "\n";
  return script.str();
}

std::string zsh_completion() {
  std::ostringstream script;
  script << "#compdef " << kProgram << "\n# zsh completion for " << kProgram << "; made from its command tables.\n\n"
         << "_scenario-builder() {\n  local -a commands\n  commands=(\n";
  for (const CommandReference& command : command_references())
    script << "    " << single_quoted(std::string(command.name) + ":" + zsh_description(command.summary), "'\\''")
           << "\n";
  script << "  )\n  if (( CURRENT == 2 )); then\n    _describe command commands\n"
         << "    _arguments '(- *)'{-h,--help}'[show the help]' '(- *)--version[show the version]'\n    return\n  fi\n"
         << "  local command=${words[2]}\n  shift words\n  (( CURRENT-- ))\n  case $command in\n";
  for (const CommandReference& command : command_references()) {
    script << "    " << command.name << ")\n      _arguments -s \\\n        '(- *)'{-h,--help}'[show the help]' \\\n";
    for (const OptionReference& option : command.options) {
      const std::string described = "[" + zsh_description(option.help) + "]" + zsh_value(option);
      if (option.short_name.empty())
        script << "        " << single_quoted(std::string(option.long_name) + described, "'\\''") << " \\\n";
      else
        script << "        '(" << option.short_name << " " << option.long_name << ")'{" << option.short_name << ","
               << option.long_name << "}" << single_quoted(described, "'\\''") << " \\\n";
    }
    const std::string operands = zsh_operands(command.operand_kind);
    script << "        " << (operands.empty() ? "" : operands) << "\n      ;;\n";
  }
  script << "  esac\n}\n\n_scenario-builder \"$@\"\n";
  return script.str();
}

std::string fish_completion() {
  std::ostringstream script;
  const std::string complete = "complete -c " + std::string(kProgram);
  script << "# fish completion for " << kProgram << "; made from its command tables.\n"
         << complete << " -f\n"
         << complete << " -n __fish_use_subcommand -s h -l help -d 'show the help'\n"
         << complete << " -n __fish_use_subcommand -l version -d 'show the version'\n";
  for (const CommandReference& command : command_references())
    script << complete << " -n __fish_use_subcommand -a " << command.name << " -d "
           << single_quoted(command.summary, "\\'") << "\n";
  for (const CommandReference& command : command_references()) {
    const std::string when = " -n '__fish_seen_subcommand_from " + std::string(command.name) + "'";
    script << complete << when << fish_operands(command.operand_kind) << "\n";
    script << complete << when << " -s h -l help -d 'show the help'\n";
    for (const OptionReference& option : command.options) {
      script << complete << when;
      if (!option.short_name.empty()) script << " -s " << option.short_name.substr(1);
      script << " -l " << option.long_name.substr(2);
      if (!option.value_name.empty()) script << fish_value(option);
      script << " -d " << single_quoted(option.help, "\\'") << "\n";
    }
  }
  return script.str();
}

}  // namespace scenario
