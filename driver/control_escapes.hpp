#pragma once

#include <streambuf>
#include <string>
#include <string_view>

namespace scenario {

// Texts from sources, compiled files and file names may hold control characters; written
// raw to a terminal, an escape sequence would act on it. Shown instead as "\x1b".

// `text` with every byte below 0x20 but the tab, 0x7f and the C1 controls written as "\xNN".
// A C1 control is U+0080 to U+009F in UTF-8 (0xc2 0x80 to 0xc2 0x9f, both bytes escaped) or
// a lone byte 0x80 to 0x9f outside a UTF-8 character, which an 8-bit terminal takes as one
// (0x9b begins an escape sequence there as "\x1b[" does).
std::string escaped_controls(std::string_view text);

// The escaping of a text that arrives in pieces: a character cut between two pieces is
// still seen whole.
class ControlEscaper {
 public:
  explicit ControlEscaper(bool line_ends_pass) : line_ends_pass_(line_ends_pass) {}

  // Appends `c` to `out`, escaped where it is a control.
  void put(char c, std::string& out);
  // Appends what is held back waiting for the next byte.
  void finish(std::string& out);

 private:
  bool line_ends_pass_;
  bool holding_c2_ = false;  // a 0xc2 that a C1 control may follow
  int continuations_ = 0;    // continuation bytes still expected by the UTF-8 character begun
};

// An output that passes everything on to `target` but control characters, which it writes
// as "\xNN"; line ends and tabs pass as they are. For standard output on a terminal.
class ControlEscapingBuffer : public std::streambuf {
 public:
  explicit ControlEscapingBuffer(std::streambuf* target) : target_(target) {}

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;
  int sync() override;

 private:
  std::streambuf* target_;
  ControlEscaper escaper_{true};
};

}  // namespace scenario
