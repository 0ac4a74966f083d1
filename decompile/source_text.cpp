#include "decompile/source_text.hpp"

#include "sources/line_table.hpp"

namespace scenario {

SourceText& SourceText::line(std::string_view text) {
  append_text_line(bytes_, text);
  return *this;
}

std::string padded(int64_t value, int blanks) { return std::string(static_cast<size_t>(blanks), ' ') + std::to_string(value); }

std::string column(int64_t value, int width) {
  std::string digits = std::to_string(value);
  if (digits.size() < static_cast<size_t>(width)) digits.insert(0, static_cast<size_t>(width) - digits.size(), ' ');
  return digits;
}

std::optional<std::string> text_field(std::string_view text) {
  const auto is_blank = [](char c) { return c == ' ' || c == '\t'; };
  const bool needs_quotes = text.find_first_of(",\r\n") != std::string_view::npos ||
                            (!text.empty() && (is_blank(text.front()) || is_blank(text.back())));
  if (!needs_quotes) {
    if (!text.empty() && text.front() == '"') return std::nullopt;
    return std::string(text);
  }
  if (text.find('"') != std::string_view::npos) return std::nullopt;
  return "\"" + std::string(text) + "\"";
}

}  // namespace scenario
