#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "driver/command_line.hpp"

namespace scenario {

// What --help shows of one option; the parse reads the names and whether it takes a value.
struct OptionText {
  std::string_view short_name;  // "-o", or "" when there is none
  std::string_view long_name;   // "--output"
  std::string_view value_name;  // "DIR"; "" for a flag, which takes no value (see value_kind)
  std::string_view help;        // one line
  std::string_view group = "";  // flags of one group exclude each other ("--json | --annotate")
};

// One option of command C: its text and what it does to the command (a flag gets "").
template <typename C>
struct Option {
  OptionText text;
  void (*apply)(C& command, std::string_view value);
};

// Everything the command line knows of command C: its name, its operands, its options and
// its help. Adding an option is one entry in `options` and a field in C.
template <typename C>
struct CommandSpec {
  std::string_view name;
  std::string_view operands;     // as the usage shows them: "LINE SERVICE", "[DIR]"
  OperandKind operand_kind;      // what they name, for the shell completions
  std::string_view summary;      // its line in the program's help
  std::string_view description;  // the paragraphs between the usage and the options
  std::span<const Option<C>> options;
  // Takes the operand at `index` (0 for the first); returns why it is refused, "" when taken.
  std::string (*take_operand)(C& command, std::string_view operand, std::size_t index);
  // After the last argument; returns what is missing or too much, "" when all is well.
  std::string (*check)(const C& command, std::size_t operand_count);
  std::string_view epilogue = "";  // the paragraph after the options, if any
};

// Walks one command's arguments: options (with "--opt VALUE" or "--opt=VALUE") and the
// operands, "--" ending the options.
class ArgumentWalk {
 public:
  ArgumentWalk(std::span<const std::string_view> arguments, std::string_view command)
      : arguments_(arguments), command_(command) {}

  // Moves to the next argument; false at the end.
  bool next();

  bool is_option() const { return is_option_; }
  // The argument, or the option's name without its "=VALUE".
  std::string_view argument() const { return option_; }
  bool is(const OptionText& option) const;
  bool is_help() const;

  // The value of the current option: after "=" or the next argument.
  std::string value();
  // A flag takes no value.
  void flag() const;

  [[noreturn]] void fail(const std::string& message) const;
  [[noreturn]] void unknown() const;

 private:
  std::span<const std::string_view> arguments_;
  std::string_view command_;
  std::size_t index_ = 0;
  bool options_ended_ = false;
  bool is_option_ = false;
  std::string_view option_;
  std::optional<std::string_view> inline_value_;
};

// The help of a command from its parts; `options` in the table's order, "-h, --help" added.
std::string command_help(std::string_view name, std::string_view operands, std::string_view description,
                         const std::vector<OptionText>& options, std::string_view epilogue);

// The message for two options of one group given together.
std::string exclusive_options_message(const std::vector<OptionText>& options, std::string_view group);

template <typename C>
std::vector<OptionText> option_texts(const CommandSpec<C>& table) {
  std::vector<OptionText> texts;
  for (const Option<C>& option : table.options) texts.push_back(option.text);
  return texts;
}

template <typename C>
std::string help_of(const CommandSpec<C>& table) {
  return command_help(table.name, table.operands, table.description, option_texts(table), table.epilogue);
}

// Parses one command's arguments (those after its name) by its table. Throws UsageError.
template <typename C>
Command parse_by_table(const CommandSpec<C>& table, std::span<const std::string_view> arguments) {
  C command{};
  ArgumentWalk walk(arguments, table.name);
  std::vector<const Option<C>*> used;
  std::size_t operand_count = 0;
  while (walk.next()) {
    if (walk.is_help()) return HelpCommand{std::string(table.name)};
    if (!walk.is_option()) {
      const std::string refused = table.take_operand(command, walk.argument(), operand_count++);
      if (!refused.empty()) walk.fail(refused);
      continue;
    }
    const Option<C>* option = nullptr;
    for (const Option<C>& candidate : table.options)
      if (walk.is(candidate.text)) option = &candidate;
    if (option == nullptr) walk.unknown();
    std::string value;
    if (option->text.value_name.empty()) {
      walk.flag();
      for (const Option<C>* earlier : used) {
        if (!option->text.group.empty() && earlier != option && earlier->text.group == option->text.group)
          walk.fail(exclusive_options_message(option_texts(table), option->text.group));
      }
    } else {
      value = walk.value();
      const ValueKind kind = value_kind(option->text.value_name);
      if (value.empty() && (kind == ValueKind::kFolder || kind == ValueKind::kFile))
        walk.fail("option " + std::string(walk.argument()) + " needs a " +
                  (kind == ValueKind::kFolder ? "folder" : "file") + " name, not an empty one");
      for (const Option<C>* earlier : used)
        if (earlier == option) walk.fail("option " + std::string(walk.argument()) + " given twice");
    }
    try {
      option->apply(command, value);
    } catch (const UsageError& e) {
      // An option's value that does not suit it: the command's usage error.
      walk.fail(e.what());
    }
    used.push_back(option);
  }
  const std::string missing = table.check(command, operand_count);
  if (!missing.empty()) walk.fail(missing);
  return command;
}

}  // namespace scenario
