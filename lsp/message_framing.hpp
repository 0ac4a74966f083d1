#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>

namespace scenario {

// The most bytes a message body may hold; a longer one is skipped unread.
inline constexpr std::size_t kMostMessageBytes = std::size_t{64} << 20;

// What the reader found next on its stream.
struct FramedMessage {
  enum class Kind {
    kMessage,    // `body` holds one message
    kMalformed,  // a header block that frames no message; `problem` says why, reading goes on
    kEnd,        // the stream ended (between messages or inside one: the client is gone)
  };
  Kind kind = Kind::kEnd;
  std::string body;
  std::string problem;
};

// Reads messages framed as the Language Server Protocol frames them: header lines ended
// by CR LF ("Content-Length: N", any "Content-Type"), an empty line, then N bytes of body.
// A bare LF ends a header line too. Nothing it reads makes it hold more than one body of at
// most kMostMessageBytes and a header line of a few kilobytes.
class MessageReader {
 public:
  explicit MessageReader(std::istream& in) : in_(*in.rdbuf()) {}

  FramedMessage next();

 private:
  std::streambuf& in_;
};

// A body with its header, ready to be written.
std::string framed(std::string_view body);

}  // namespace scenario
