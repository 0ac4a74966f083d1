#include "model/windows_1252.hpp"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>

namespace scenario {
namespace {

// A plain UTF-8 encoder, written out here so that the sweep below does not lean on the
// decoder it checks.
std::string utf8_of(char32_t code) {
  std::string out;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}

TEST(Utf8To1252, WritesOneByteForEachCharacter) {
  struct Case {
    std::string utf8, expected;
  };
  const Case cases[] = {
      {"", ""},
      {"[generale]  , 82000 ", "[generale]  , 82000 "},
      {std::string("a\0b", 3), std::string("a\0b", 3)},
      {"\x7F", "\x7F"},
      {"rango B - la locomotiva \u00E8 un E444", "rango B - la locomotiva \xE8 un E444"},
      {"in realt\u00E0, non", "in realt\xE0, non"},
      {"\u20AC", "\x80"},                  // euro sign, first of the 80-9F stretch
      {"\u201A\u0192", "\x82\x83"},
      {"\u0160\u017D\u0161\u017E", "\x8A\x8E\x9A\x9E"},
      {"\u0178", "\x9F"},                  // last of the 80-9F stretch
      {"\u00A0\u00C0\u00FF", "\xA0\xC0\xFF"},
  };
  for (const Case& c : cases) EXPECT_EQ(utf8_to_1252(c.utf8), c.expected) << c.utf8;
}

TEST(Utf8To1252, KnowsExactlyTheCharactersOfTheCodePage) {
  // 128 ASCII, 96 from A0 to FF and 27 between 80 and 9F: every byte but 81, 8D, 8F, 90, 9D.
  std::set<unsigned char> bytes;
  int mapped = 0;
  for (char32_t code = 0; code < 0x10000; ++code) {
    if (code >= 0xD800 && code <= 0xDFFF) continue;
    try {
      const std::string byte = utf8_to_1252(utf8_of(code));
      ASSERT_EQ(byte.size(), 1u) << std::hex << static_cast<uint32_t>(code);
      bytes.insert(static_cast<unsigned char>(byte[0]));
      ++mapped;
      if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        EXPECT_EQ(static_cast<unsigned char>(byte[0]), code) << std::hex << static_cast<uint32_t>(code);
      }
    } catch (const std::invalid_argument&) {
    }
  }
  EXPECT_EQ(mapped, 251);
  EXPECT_EQ(bytes.size(), 251u);
  for (const int unused : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(bytes.count(static_cast<unsigned char>(unused)), 0u);
}

TEST(Utf8To1252, RefusesWhatItCannotWrite) {
  const std::string refused[] = {
      "\u0100",                       // a Latin letter past the code page
      "\u0081",                       // a control that the code page has no byte for
      "\u4E2D",                       // a CJK character
      "\xF0\x9F\x98\x80",             // a character beyond the first plane
      "\xE8",                         // a Windows-1252 byte in place of UTF-8
      "abc\xC3",                      // a sequence cut short
      "\x80",                         // a stray continuation byte
      "\xC3\x28",                     // a lead byte without its continuation
      "\xC0\xAF",                     // an overlong form of "/"
      "\xE0\x80\xAF",                 // another overlong form
      "\xED\xA0\x80",                 // a surrogate
      "\xF4\x90\x80\x80",             // past U+10FFFF
      "\xFF",                         // never a UTF-8 byte
  };
  for (const std::string& text : refused) EXPECT_THROW(utf8_to_1252(text), std::invalid_argument) << text;
}

}  // namespace
}  // namespace scenario
