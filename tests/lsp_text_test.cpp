// The pieces of the language server that work on text alone: framing, positions, file
// names and URIs, the edits of code actions.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "format/file_uri.hpp"
#include "lsp/code_actions.hpp"
#include "lsp/diagnostics_publisher.hpp"
#include "lsp/message_framing.hpp"
#include "lsp/source_pairing.hpp"
#include "lsp/text_lines.hpp"

namespace scenario {
namespace {

using Kind = FramedMessage::Kind;

TEST(MessageReader, ReadsEachFrameAndTellsWhatIsWrongWithTheRest) {
  struct Case {
    std::string name;
    std::string input;
    std::vector<std::pair<Kind, std::string>> read;  // kind and body (or problem) of each
  };
  const std::vector<Case> cases = {
      {"two messages", "Content-Length: 2\r\n\r\n{}Content-Length: 3\r\n\r\n[1]",
       {{Kind::kMessage, "{}"}, {Kind::kMessage, "[1]"}, {Kind::kEnd, ""}}},
      {"any case, a content type, bare line feeds",
       "content-LENGTH:  2 \nContent-Type: application/vscode-jsonrpc; charset=utf-8\n\n{}",
       {{Kind::kMessage, "{}"}, {Kind::kEnd, ""}}},
      {"no length", "Content-Type: x\r\n\r\nContent-Length: 1\r\n\r\n1",
       {{Kind::kMalformed, "a header without Content-Length"}, {Kind::kMessage, "1"}}},
      {"a length that is no number", "Content-Length: -1\r\n\r\n",
       {{Kind::kMalformed, "a Content-Length that is not a number"}, {Kind::kEnd, ""}}},
      {"a body cut short", "Content-Length: 10\r\n\r\n{}", {{Kind::kEnd, "the stream ended inside a message"}}},
      {"a header cut short", "Content-Len", {{Kind::kEnd, "the stream ended inside a header"}}},
      {"a line longer than a header may be", "X: " + std::string(10000, 'a') + "\r\nContent-Length: 1\r\n\r\n1",
       {{Kind::kMalformed, "a header line longer than 4096 bytes"}, {Kind::kEnd, ""}}},
      {"a body larger than a message may be, skipped",
       "Content-Length: " + std::to_string(kMostMessageBytes + 1) + "\r\n\r\n" + std::string(kMostMessageBytes + 1, ' ') +
           "Content-Length: 1\r\n\r\n1",
       {{Kind::kMalformed, "a message of 67108865 bytes, more than a message may hold"}, {Kind::kMessage, "1"}}},
  };
  for (const Case& c : cases) {
    std::istringstream in(c.input);
    MessageReader reader(in);
    for (const auto& [kind, text] : c.read) {
      const FramedMessage message = reader.next();
      EXPECT_EQ(message.kind, kind) << c.name;
      EXPECT_EQ(kind == Kind::kMessage ? message.body : message.problem, text) << c.name;
    }
  }
}

TEST(TextLines, CountsUtf16UnitsOverWhatUtf8Holds) {
  // "Città" has one two-byte character, the clef one four-byte character (two UTF-16 units).
  const std::string line = "Citt\xc3\xa0, \xf0\x9d\x84\x9e, x";
  struct Case {
    size_t byte;
    int units;
  };
  for (const Case& c : std::vector<Case>{{0, 0}, {4, 4}, {6, 5}, {8, 7}, {12, 9}, {15, 12}, {99, 12}}) {
    EXPECT_EQ(utf16_of_byte(line, c.byte), c.units) << c.byte;
    if (c.byte <= line.size()) {
      EXPECT_EQ(byte_of_utf16(line, c.units), c.byte) << c.units;
    }
  }
  EXPECT_EQ(byte_of_character(line, 5), 6u);

  const std::string text = "ab\r\nCitt\xc3\xa0 x\ny";
  struct Position {
    int line;
    int units;
    size_t byte;
  };
  for (const Position& p : std::vector<Position>{{0, 1, 1}, {0, 9, 2}, {1, 5, 10}, {1, 6, 11}, {2, 0, 13}, {2, 1, 14}, {7, 0, 14}})
    EXPECT_EQ(byte_of_position(text, p.line, p.units), p.byte) << p.line << ":" << p.units;
  EXPECT_EQ(text_lines("a\r\nb\rc\n\nd"), (std::vector<std::string_view>{"a", "b", "c", "", "d"}));
}

TEST(DiagnosticsPublisher, APlaceBecomesTheRangeOfItsField) {
  const std::string text = "[generale]\r\nCitt\xc3\xa0,  pendenzx ,  12\r\n";
  struct Case {
    int line;
    int column;  // in characters, from 1
    int start;
    int end;
  };
  for (const Case& c : std::vector<Case>{{2, 1, 0, 5}, {2, 9, 8, 16}, {2, 21, 20, 22}, {1, 1, 0, 10}, {9, 1, 0, 0}}) {
    const nlohmann::json range = range_of_place(text_lines(text), c.line, c.column);
    const int line = c.line <= 2 ? c.line - 1 : 0;
    EXPECT_EQ(range, (nlohmann::json{{"start", {{"line", line}, {"character", c.start}}},
                                     {"end", {{"line", line}, {"character", c.end}}}}))
        << c.line << ":" << c.column;
  }
}

TEST(SourcePairing, TheFileNameRuleFindsEachSourcesPartner) {
  struct Case {
    std::string file;
    std::optional<SourceRole> role;
    std::string line_source;  // the partner of a service source, "" for none
  };
  const std::vector<Case> cases = {
      {"/a/Milano_Tortona_linea.txt", SourceRole::kLine, ""},
      {"/a/Milano_Tortona_5-.txt", SourceRole::kService, "/a/Milano_Tortona_linea.txt"},
      {"/a/Prova_12-.txt", SourceRole::kService, "/a/Prova_linea.txt"},
      {"/a/Prova-.txt", std::nullopt, ""},
      {"/a/Prova_-.txt", std::nullopt, ""},
      {"/a/_linea.txt", std::nullopt, ""},
      {"/a/notes.txt", std::nullopt, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(source_role(c.file), c.role) << c.file;
    const auto line = line_source_of(c.file);
    EXPECT_EQ(line ? line->string() : "", c.line_source) << c.file;
  }
  EXPECT_TRUE(is_service_source_of("/a/Prova_7-.txt", "/a/Prova_linea.txt"));
  EXPECT_FALSE(is_service_source_of("/b/Prova_7-.txt", "/a/Prova_linea.txt"));
  EXPECT_FALSE(is_service_source_of("/a/Altra_7-.txt", "/a/Prova_linea.txt"));
  EXPECT_EQ(role_of_text("untitled", "[generale]\n[stazioni]\n"), SourceRole::kService);
  EXPECT_EQ(role_of_text("untitled", "[generale]\n[curve]\n"), SourceRole::kLine);
}

TEST(FileUri, PathsAndFileUrisTurnIntoEachOther) {
  struct Case {
    std::string uri;
    std::optional<std::string> path;
  };
  const std::vector<Case> cases = {
      {"file:///home/x/Citt%C3%A0%20a.txt", "/home/x/Citt\xc3\xa0 a.txt"},
      {"file://localhost/a%2Fb", "/a/b"},
      {"FILE:///a", "/a"},
      {"file://elsewhere/a", std::nullopt},
      {"untitled:Untitled-1", std::nullopt},
      {"file:///a%2", std::nullopt},
      {"file:///a%zz", std::nullopt},
      {"file:///a%00b", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(path_of_file_uri(c.uri), c.path) << c.uri;
  EXPECT_EQ(path_of_file_uri(uri_of_path("/home/x/Citt\xc3\xa0 #1.txt")), "/home/x/Citt\xc3\xa0 #1.txt");
}

TEST(CodeActions, AFixReplacesItsWholeFieldOnTheDiagnosticsLine) {
  const std::string text = "[segnali]\nsegnale, 13250, 1325, Citt\xc3\xa0\nsegnale, 1325\n";
  struct Case {
    int line;
    int character;
    std::string written;
    std::optional<std::pair<int, int>> replaced;  // UTF-16 start and end, none when no edit
  };
  const std::vector<Case> cases = {
      {1, 0, "1325", std::pair{16, 20}},   // not the part of 13250
      {2, 0, "1325", std::pair{9, 13}},
      {1, 0, "Citt\xc3\xa0", std::pair{22, 27}},
      {1, 0, "999", std::nullopt},         // no longer written: nothing to fix
      {5, 0, "1325", std::nullopt},        // past the text
  };
  for (const Case& c : cases) {
    const nlohmann::json diagnostic = {
        {"range", {{"start", {{"line", c.line}, {"character", c.character}}}, {"end", {{"line", c.line}, {"character", 1}}}}},
        {"message", "m"},
        {"data", {{"fix", {{"written", c.written}, {"replacement", "1300"}}}}}};
    const nlohmann::json actions =
        code_actions("file:///a", text, {{"context", {{"diagnostics", nlohmann::json::array({diagnostic})}}}});
    if (!c.replaced) {
      EXPECT_EQ(actions, nlohmann::json::array()) << c.written;
      continue;
    }
    ASSERT_EQ(actions.size(), 1u) << c.written;
    const nlohmann::json edit = actions[0]["edit"]["changes"]["file:///a"][0];
    EXPECT_EQ(edit["range"]["start"]["character"], c.replaced->first) << c.written;
    EXPECT_EQ(edit["range"]["end"]["character"], c.replaced->second) << c.written;
    EXPECT_EQ(edit["newText"], "1300");
  }
}

}  // namespace
}  // namespace scenario
