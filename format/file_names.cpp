#include "format/file_names.hpp"

namespace scenario {

bool has_control_character(std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) return true;
  }
  return false;
}

std::string file_name_fault(std::string_view name) {
  if (name.empty()) return "it is empty";
  if (name == "." || name == "..") return "it names a folder";
  if (name.find('/') != std::string_view::npos) return "it holds a '/'";
  if (has_control_character(name)) return "it holds a control character";
  return "";
}

}  // namespace scenario
