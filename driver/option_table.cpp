#include "driver/option_table.hpp"

#include <algorithm>

namespace scenario {
namespace {

constexpr std::size_t kHelpWidth = 80;  // the usage line wraps before this column
constexpr OptionText kHelpOption{"-h", "--help", "", "show this help and exit"};

// "-o, --output DIR" or "--check".
std::string option_label(const OptionText& option) {
  std::string label = option.short_name.empty() ? "" : std::string(option.short_name) + ", ";
  label += option.long_name;
  if (!option.value_name.empty()) label += " " + std::string(option.value_name);
  return label;
}

// "[-o DIR]", "[--check]", or for a group "[--json | --annotate]".
std::vector<std::string> usage_items(const std::vector<OptionText>& options) {
  std::vector<std::string> items;
  std::vector<std::string_view> groups_done;
  for (const OptionText& option : options) {
    if (!option.group.empty()) {
      if (std::find(groups_done.begin(), groups_done.end(), option.group) != groups_done.end()) continue;
      groups_done.push_back(option.group);
      std::string item = "[";
      for (const OptionText& member : options) {
        if (member.group != option.group) continue;
        if (item.size() > 1) item += " | ";
        item += member.long_name;
      }
      items.push_back(item + "]");
      continue;
    }
    std::string item = "[" + std::string(option.short_name.empty() ? option.long_name : option.short_name);
    if (!option.value_name.empty()) item += " " + std::string(option.value_name);
    items.push_back(item + "]");
  }
  return items;
}

}  // namespace

bool ArgumentWalk::next() {
  if (index_ >= arguments_.size()) return false;
  const std::string_view arg = arguments_[index_++];
  if (!options_ended_ && arg == "--") {
    options_ended_ = true;
    return next();
  }
  is_option_ = !options_ended_ && arg.size() > 1 && arg.front() == '-';
  inline_value_.reset();
  option_ = arg;
  if (is_option_ && arg.starts_with("--")) {
    if (const std::size_t equals = arg.find('='); equals != std::string_view::npos) {
      option_ = arg.substr(0, equals);
      inline_value_ = arg.substr(equals + 1);
    }
  }
  return true;
}

bool ArgumentWalk::is(const OptionText& option) const {
  return is_option_ && ((!option.short_name.empty() && option_ == option.short_name) || option_ == option.long_name);
}

bool ArgumentWalk::is_help() const { return is(kHelpOption); }

std::string ArgumentWalk::value() {
  if (inline_value_) return std::string(*inline_value_);
  if (index_ >= arguments_.size()) fail("option " + std::string(option_) + " needs a value");
  return std::string(arguments_[index_++]);
}

void ArgumentWalk::flag() const {
  if (inline_value_) fail("option " + std::string(option_) + " takes no value");
}

void ArgumentWalk::fail(const std::string& message) const { throw UsageError(message, std::string(command_)); }

void ArgumentWalk::unknown() const {
  fail("unknown option '" + std::string(option_) + "' for " + std::string(command_));
}

std::string exclusive_options_message(const std::vector<OptionText>& options, std::string_view group) {
  std::string names;
  for (const OptionText& option : options) {
    if (option.group != group) continue;
    if (!names.empty()) names += " and ";
    names += option.long_name;
  }
  return names + " cannot be used together";
}

std::string command_help(std::string_view name, std::string_view operands, std::string_view description,
                         const std::vector<OptionText>& options, std::string_view epilogue) {
  std::string usage = "usage: scenario-builder " + std::string(name);
  const std::size_t indent = usage.size() + 1;
  if (!operands.empty()) usage += " " + std::string(operands);
  std::size_t line_start = 0;
  for (const std::string& item : usage_items(options)) {
    if (usage.size() - line_start + 1 + item.size() > kHelpWidth) {
      usage += "\n" + std::string(indent - 1, ' ');
      line_start = usage.size() - indent + 1;
    }
    usage += " " + item;
  }

  std::vector<OptionText> listed = options;
  listed.push_back(kHelpOption);
  std::size_t column = 0;
  for (const OptionText& option : listed) column = std::max(column, option_label(option).size());
  column += 3;

  std::string text = usage + "\n\n" + std::string(description) + "\noptions:\n";
  for (const OptionText& option : listed) {
    const std::string label = option_label(option);
    text += "  " + label + std::string(column - label.size(), ' ') + std::string(option.help) + "\n";
  }
  if (!epilogue.empty()) text += "\n" + std::string(epilogue);
  return text;
}

}  // namespace scenario
