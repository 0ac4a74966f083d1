#include "lsp/message_framing.hpp"

#include <algorithm>
#include <array>
#include <optional>

#include "model/windows_1252.hpp"

namespace scenario {
namespace {

constexpr std::size_t kMostHeaderLineBytes = 4096;
constexpr std::size_t kMostHeaderLines = 32;
constexpr std::string_view kContentLength = "content-length";

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The length a Content-Length header gives: decimal digits only, none for anything else.
std::optional<std::size_t> content_length(std::string_view value) {
  value = trimmed(value);
  if (value.empty() || value.size() > 19) return std::nullopt;
  std::size_t length = 0;
  for (const char c : value) {
    if (c < '0' || c > '9') return std::nullopt;
    length = length * 10 + static_cast<std::size_t>(c - '0');
  }
  return length;
}

}  // namespace

FramedMessage MessageReader::next() {
  using Kind = FramedMessage::Kind;
  std::optional<std::size_t> length;
  std::string problem;
  std::size_t lines = 0;
  bool read_anything = false;
  bool seen_length = false;
  for (;;) {
    // One header line, cut at kMostHeaderLineBytes: the rest of a longer one is dropped.
    std::string line;
    bool too_long = false;
    int c = 0;
    while ((c = in_.sbumpc()) != std::char_traits<char>::eof() && c != '\n') {
      read_anything = true;
      if (line.size() < kMostHeaderLineBytes)
        line += static_cast<char>(c);
      else
        too_long = true;
    }
    if (c == std::char_traits<char>::eof()) return {Kind::kEnd, {}, read_anything ? "the stream ended inside a header" : ""};
    read_anything = true;
    if (line.ends_with('\r')) line.pop_back();
    if (line.empty()) break;
    if (++lines > kMostHeaderLines && problem.empty()) problem = "too many header lines";
    if (too_long && problem.empty()) problem = "a header line longer than " + std::to_string(kMostHeaderLineBytes) + " bytes";
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) {
      if (problem.empty()) problem = "a header line without a colon";
      continue;
    }
    if (lower_case_1252(trimmed(std::string_view(line).substr(0, colon))) != kContentLength) continue;
    if (seen_length) {
      // Which of two lengths frames the body is anyone's guess: the message is refused, and
      // the first length read steps over it.
      if (problem.empty()) problem = "a second Content-Length header";
      continue;
    }
    seen_length = true;
    length = content_length(std::string_view(line).substr(colon + 1));
    if (!length && problem.empty()) problem = "a Content-Length that is not a number";
  }
  if (!length) return {Kind::kMalformed, {}, problem.empty() ? "a header without Content-Length" : problem};
  if (*length > kMostMessageBytes || !problem.empty()) {
    // The body of a header block that is wrong, or too long to hold, is skipped a piece at a
    // time, so that the reading stays in step with the next message.
    std::array<char, 65536> piece;
    std::size_t left = *length;
    while (left > 0) {
      const auto got = in_.sgetn(piece.data(), static_cast<std::streamsize>(std::min(left, piece.size())));
      if (got <= 0) return {Kind::kEnd, {}, "the stream ended inside a message"};
      left -= static_cast<std::size_t>(got);
    }
    if (problem.empty()) problem = "a message of " + std::to_string(*length) + " bytes, more than a message may hold";
    return {Kind::kMalformed, {}, problem};
  }
  std::string body(*length, '\0');
  std::size_t got = 0;
  while (got < body.size()) {
    const auto piece = in_.sgetn(body.data() + got, static_cast<std::streamsize>(body.size() - got));
    if (piece <= 0) return {Kind::kEnd, {}, "the stream ended inside a message"};
    got += static_cast<std::size_t>(piece);
  }
  return {Kind::kMessage, std::move(body), {}};
}

std::string framed(std::string_view body) {
  return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
}

}  // namespace scenario
