#include "model/windows_1252.hpp"

namespace scenario {

std::string lower_case_1252(std::string_view text) {
  std::string lower(text);
  for (char& ch : lower) {
    const auto c = static_cast<unsigned char>(ch);
    unsigned char l = c;
    if (c >= 'A' && c <= 'Z') l = static_cast<unsigned char>(c + 32);
    else if (c >= 0xC0 && c <= 0xDE && c != 0xD7) l = static_cast<unsigned char>(c + 32);
    else if (c == 0x8A || c == 0x8C || c == 0x8E) l = static_cast<unsigned char>(c + 16);
    else if (c == 0x9F) l = 0xFF;
    ch = static_cast<char>(l);
  }
  return lower;
}

}  // namespace scenario
