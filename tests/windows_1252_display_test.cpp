#include <gtest/gtest.h>

#include <string>

#include "model/windows_1252.hpp"

namespace scenario {
namespace {

TEST(Utf8From1252, EveryByteWithACharacterComesBackTheSame) {
  for (int byte = 0; byte < 256; ++byte) {
    const std::string one(1, static_cast<char>(byte));
    const bool undefined = byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
    if (undefined) {
      EXPECT_EQ(utf8_from_1252(one), "\xEF\xBF\xBD") << byte;  // U+FFFD
    } else {
      EXPECT_EQ(utf8_to_1252(utf8_from_1252(one)), one) << byte;
    }
  }
  EXPECT_EQ(utf8_from_1252("Citt\xE0 \x80"), "Citt\u00E0 \u20AC");
}

}  // namespace
}  // namespace scenario
