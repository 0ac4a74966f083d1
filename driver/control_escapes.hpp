#pragma once

#include <streambuf>
#include <string>
#include <string_view>

namespace scenario {

// Texts from sources, compiled files and file names may hold control characters; written
// raw to a terminal, an escape sequence would act on it. Shown instead as "\x1b".

// `text` with every byte below 0x20 but the tab, and 0x7f, written as "\xNN".
std::string escaped_controls(std::string_view text);

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
};

}  // namespace scenario
