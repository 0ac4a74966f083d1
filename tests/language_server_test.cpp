// The language server as an editor meets it: the built program driven through a pipe.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "lsp/message_framing.hpp"
#include "model/windows_1252.hpp"
#include "reading/kilometre_readings.hpp"
#include "sources/scenario_texts.hpp"
#include "tests/lsp_session.hpp"
#include "tests/text_checks.hpp"

namespace scenario {
namespace {

using nlohmann::json;
using testing::LspRun;
using testing::LspScript;

// The built-in scenario's two sources on disk, in a folder of the test.
struct SourceFolder {
  testing::TempFolder folder;
  std::filesystem::path line = folder.path() / "Milano_Tortona_linea.txt";
  std::filesystem::path service = folder.path() / "Milano_Tortona_5-.txt";
  std::string line_uri = testing::file_uri(line);
  std::string service_uri = testing::file_uri(service);

  SourceFolder() {
    testing::write_bytes(line, std::string(kLineSourceText));
    testing::write_bytes(service, std::string(kServiceSourceText));
  }
};

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// The 0-based line of a text that holds `part`.
int line_holding(const std::string& text, const std::string& part) {
  const size_t at = text.find(part);
  EXPECT_NE(at, std::string::npos) << part;
  return static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(at), '\n'));
}

json diagnostic_with_code(const json& list, const std::string& code) {
  for (const json& diagnostic : list)
    if (diagnostic.value("code", "") == code) return diagnostic;
  return nullptr;
}

TEST(LanguageServer, AFaultIsShownAtItsRowAndClearsOnceFixed) {
  const SourceFolder sources;
  const std::string service(kServiceSourceText);
  const std::string faulty = replaced(service, "stazione,    3800,", "stazione,    3825,");
  const LspRun run =
      LspScript().initialize().open(sources.service_uri, faulty).change(sources.service_uri, 2, service).finish().run(
          sources.folder.path());
  EXPECT_EQ(run.exit_status, 0) << run.err;

  const std::vector<json> lists = run.published(sources.service_uri);
  ASSERT_EQ(lists.size(), 2u);
  const json fault = diagnostic_with_code(lists[0], "fault 8");
  ASSERT_FALSE(fault.is_null()) << lists[0].dump(1);
  EXPECT_EQ(fault["severity"], 1);
  EXPECT_EQ(fault["range"]["start"]["line"], line_holding(faulty, "stazione,    3825,"));
  // The link names the reference where the program runs: the copy beside the built program.
  const std::string href = fault["codeDescription"]["href"].get<std::string>();
  EXPECT_TRUE(href.ends_with("/source-format.md#fault-8-station-position-not-a-multiple-of-50")) << href;
  const auto reference = path_of_file_uri(href.substr(0, href.find('#')));
  ASSERT_TRUE(reference.has_value()) << href;
  EXPECT_TRUE(std::filesystem::is_regular_file(*reference)) << href;
  EXPECT_EQ(lists[1], json::array());
  // The partner was read from disk, and its (empty) list published with the pair.
  EXPECT_EQ(run.published(sources.line_uri), (std::vector<json>{json::array(), json::array()}));
}

TEST(LanguageServer, AChangeOfARangeEditsTheTextItNames) {
  const SourceFolder sources;
  const std::string service(kServiceSourceText);
  const int row = line_holding(service, "stazione,    3800,");
  // "3800" stands at characters 13 to 17 of its row; the ranged edit makes it 3825.
  const json change = {{"textDocument", {{"uri", sources.service_uri}, {"version", 2}}},
                       {"contentChanges",
                        json::array({{{"range", {{"start", {{"line", row}, {"character", 15}}},
                                                 {"end", {{"line", row}, {"character", 17}}}}},
                                      {"text", "25"}}})}};
  const LspRun run = LspScript()
                         .initialize()
                         .open(sources.service_uri, service)
                         .notify("textDocument/didChange", change)
                         .finish()
                         .run(sources.folder.path());
  const std::vector<json> lists = run.published(sources.service_uri);
  ASSERT_EQ(lists.size(), 2u);
  EXPECT_EQ(lists[0], json::array());
  const json fault = diagnostic_with_code(lists[1], "fault 8");
  ASSERT_FALSE(fault.is_null()) << lists[1].dump(1);
  EXPECT_EQ(fault["range"]["start"]["line"], row);
}

TEST(LanguageServer, ThePartnerOnDiskIsReadAsWindows1252AndPlacedInUtf16) {
  const SourceFolder sources;
  // "à" is one byte on disk and one UTF-16 unit in the editor; the second row on the line is
  // a misspelt keyword, warned of at its place.
  const std::string row = "cartello_indicatore,  60950, Citt\xe0, pendenzx";
  testing::write_bytes(sources.line, replaced(std::string(kLineSourceText), "cartello_indicatore,  60950,   (Km. 2.256)", row));
  const LspRun run =
      LspScript().initialize().open(sources.service_uri, std::string(kServiceSourceText)).finish().run(sources.folder.path());

  const std::vector<json> lists = run.published(sources.line_uri);
  ASSERT_EQ(lists.size(), 1u);
  json warned = nullptr;
  for (const json& diagnostic : lists[0])
    if (diagnostic["range"]["start"]["line"] == line_holding(std::string(kLineSourceText), "cartello_indicatore,  60950"))
      warned = diagnostic;
  ASSERT_FALSE(warned.is_null()) << lists[0].dump(1);
  EXPECT_EQ(warned["range"]["start"]["character"], 36);
  EXPECT_EQ(warned["range"]["end"]["character"], 44);
}

// Whatever ends the lines (CR LF, LF, a lone CR), the error stands at the line of its character.
TEST(LanguageServer, ATextWindows1252CannotHoldIsAnErrorAtItsLine) {
  const SourceFolder sources;
  for (const std::string line_end : {"\r\n", "\n", "\r"}) {
    std::string line;
    for (const char c : replaced(std::string(kLineSourceText), "(Km. 2.256)", "(Km. 2.256 \xc5\x91)"))
      line += c == '\n' ? line_end : std::string(1, c);
    const LspRun run = LspScript().initialize().open(sources.line_uri, line).finish().run(sources.folder.path());
    EXPECT_EQ(run.exit_status, 0);
    const std::vector<json> lists = run.published(sources.line_uri);
    ASSERT_EQ(lists.size(), 1u);
    ASSERT_EQ(lists[0].size(), 1u) << lists[0].dump(1);
    EXPECT_EQ(lists[0][0]["severity"], 1) << lists[0].dump(1);
    const std::string before = line.substr(0, line.find("(Km. 2.256"));
    EXPECT_EQ(lists[0][0]["range"]["start"]["line"], std::count(before.begin(), before.end(), line_end.back()))
        << "line end of " << line_end.size() << " bytes ending in " << int(line_end.back());
  }
}

TEST(LanguageServer, CodeActionsOfferTheFixAndTheExplanation) {
  const SourceFolder sources;
  const std::string faulty = replaced(std::string(kLineSourceText), "pendenza,  1200", "pendenzx,  1200");
  const int row = line_holding(faulty, "pendenzx");
  LspScript script;
  script.initialize().open(sources.line_uri, faulty);
  const LspRun published = LspScript(script).finish().run(sources.folder.path());
  const json warning = diagnostic_with_code(published.published(sources.line_uri).at(0), "W2");
  ASSERT_FALSE(warning.is_null());
  EXPECT_EQ(warning["data"]["fix"], (json{{"written", "pendenzx"}, {"replacement", "pendenza"}}));

  // The client hands back the diagnostic as it was published.
  const LspRun run = script
                         .request(2, "textDocument/codeAction",
                                  {{"textDocument", {{"uri", sources.line_uri}}},
                                   {"range", warning["range"]},
                                   {"context", {{"diagnostics", json::array({warning})}}}})
                         .request(3, "workspace/executeCommand",
                                  {{"command", "scenario-builder.explain"}, {"arguments", {"W2"}}})
                         .finish()
                         .run(sources.folder.path());
  const json actions = run.answer(2)["result"];
  ASSERT_EQ(actions.size(), 2u) << actions.dump(1);
  const json edit = actions[0]["edit"]["changes"][sources.line_uri][0];
  EXPECT_EQ(edit["newText"], "pendenza");
  EXPECT_EQ(edit["range"], (json{{"start", {{"line", row}, {"character", 0}}}, {"end", {{"line", row}, {"character", 8}}}}));
  EXPECT_EQ(actions[1]["command"]["arguments"], json::array({"W2"}));
  bool explained = false;
  for (const json& message : run.messages)
    if (message.value("method", "") == "window/showMessage")
      explained = message["params"]["message"].get<std::string>().starts_with("W2: keyword that matches no row");
  EXPECT_TRUE(explained);
}

// The clear mends of a fault and of a broken relation come as code actions too: a station
// off its cell rounded to it (fault 8), the first line speed row moved to 0 (W17).
TEST(LanguageServer, CodeActionsMendAStationOffItsCellAndAFillNotFromZero) {
  const SourceFolder sources;
  struct Case {
    std::string from, to, code, mended;
  };
  for (const Case& c : {Case{"stazione,    3800,", "stazione,    3810,", "fault 8", "3800"},
                        Case{"velocita,   0,    30", "velocita,   300,    30", "W17", "0"}}) {
    SCOPED_TRACE(c.code);
    LspScript script;
    script.initialize().open(sources.service_uri, replaced(std::string(kServiceSourceText), c.from, c.to));
    const LspRun published = LspScript(script).finish().run(sources.folder.path());
    const json diagnostic = diagnostic_with_code(published.published(sources.service_uri).at(0), c.code);
    ASSERT_FALSE(diagnostic.is_null()) << published.published(sources.service_uri).at(0).dump(1);
    const LspRun run = script
                           .request(2, "textDocument/codeAction",
                                    {{"textDocument", {{"uri", sources.service_uri}}},
                                     {"range", diagnostic["range"]},
                                     {"context", {{"diagnostics", json::array({diagnostic})}}}})
                           .finish()
                           .run(sources.folder.path());
    const json actions = run.answer(2)["result"];
    ASSERT_FALSE(actions.empty());
    EXPECT_EQ(actions[0]["edit"]["changes"][sources.service_uri][0]["newText"], c.mended) << actions.dump(1);
  }
}

TEST(LanguageServer, HoverTellsHeadersKeywordsFieldsAndPositions) {
  const SourceFolder sources;
  const std::string line(kLineSourceText);
  // A gradient row past the first change of the kilometre readings (9600 m, offset -9550).
  const std::string gradient_row = "pendenza,  23200";
  struct Case {
    std::string row;  // a part of the hovered line, the cursor at its start plus `offset`
    int offset;
    std::vector<std::string> told;
  };
  const std::vector<Case> cases = {
      {"[curve]", 2, {"**[curve]**: a section header of the line source", "`pendenza`"}},
      {"lunghezza percorso", 3, {"**lunghezza percorso**: a row of the general section of the line source",
                                 "lunghezza percorso, length", "| length | L | metres, 0 to 1000000 (fault 1 above) |"}},
      {"pendenza,  1200,   5", 19, {"**gradient** of `pendenza` (L): ‰, −100 to 155", "above 0 the track climbs"}},
      {gradient_row, 12, {"**position** of `pendenza`", "23200 m falls in cell 464 (23200 m)",
                          "the kilometre reading there is " + kilometre_text(23200 - 9550) + " km"}},
      {"curvad2,  1400,  1350", 10, {"1400 m falls in cell 28 (1400 m)"}},
  };
  LspScript script;
  script.initialize().open(sources.line_uri, line);
  for (size_t i = 0; i < cases.size(); ++i) {
    const size_t at = line.find(cases[i].row);
    ASSERT_NE(at, std::string::npos) << cases[i].row;
    const size_t line_start = line.rfind('\n', at) == std::string::npos ? 0 : line.rfind('\n', at) + 1;
    script.at(static_cast<int>(10 + i), "textDocument/hover", sources.line_uri, line_holding(line, cases[i].row),
              static_cast<int>(at - line_start) + cases[i].offset);
  }
  const LspRun run = script.finish().run(sources.folder.path());
  for (size_t i = 0; i < cases.size(); ++i) {
    const json hover = run.answer(static_cast<int>(10 + i))["result"];
    ASSERT_TRUE(hover.is_object()) << cases[i].row;
    const std::string text = hover["contents"]["value"].get<std::string>();
    for (const std::string& told : cases[i].told) EXPECT_TRUE(testing::contains(text, told)) << cases[i].row << "\n" << text;
  }
}

TEST(LanguageServer, HoverOnAStationsPositionNamesItsExitCell) {
  const SourceFolder sources;
  // Position 3800, type 2, length 700: the area ends at 3800 + 350 = 4150 m, in cell 83; the
  // exit is the cell before. With the sixth field set the area ends 50 m further. Type 25 is
  // a named point.
  const std::string service = replaced(std::string(kServiceSourceText), "stazione,    9550, 12,  600,  0, 1, 0,",
                                       "stazione,    9550, 12,  600,  0, 1, 1,");
  struct Case {
    std::string row;
    std::string told;
  };
  const std::vector<Case> cases = {
      {"stazione,    3800,", "The station's exit is cell 82 (4100 m), the cell before its area ends at 4150 m."},
      {"stazione,    9550,", "The station's exit is cell 197 (9850 m), the cell before its area ends at 9900 m."},
      {"stazione,    1300,", "A named point (type 25 and up) marks no exit cell."},
  };
  LspScript script;
  script.initialize().open(sources.service_uri, service);
  for (size_t i = 0; i < cases.size(); ++i)
    script.at(static_cast<int>(10 + i), "textDocument/hover", sources.service_uri, line_holding(service, cases[i].row), 14);
  const LspRun run = script.finish().run(sources.folder.path());
  for (size_t i = 0; i < cases.size(); ++i) {
    const json hover = run.answer(static_cast<int>(10 + i))["result"];
    ASSERT_TRUE(hover.is_object()) << cases[i].row;
    EXPECT_TRUE(testing::contains(hover["contents"]["value"].get<std::string>(), cases[i].told)) << cases[i].row;
  }
}

TEST(LanguageServer, CompletionOffersTheRowsOfTheHeaderAtTheCursorAsTheClientTakesThem) {
  const SourceFolder sources;
  const json snippets = {{"textDocument", {{"completion", {{"completionItem", {{"snippetSupport", true}}}}}}}};
  struct Case {
    std::string source;  // "line" or "service"
    std::string after;   // the empty line is opened after the line that holds this
    bool snippets;       // whether the client takes snippets
    std::vector<std::string> offered;  // label, then its text
    std::vector<std::string> not_offered;
  };
  const std::vector<Case> cases = {
      {"line", "[pendenze]", true, {"pendenza", "pendenza, ${1:position}, ${2:gradient}", "[curve]", "[curve]"},
       {"lunghezza percorso", "stazione", "curvad1", "montagna"}},
      {"line", "lunghezza percorso", true,
       {"lunghezza percorso", "lunghezza percorso, ${1:length}", "[fine]", "[fine]"}, {"pendenza"}},
      {"service", "[stazioni]", true,
       {"stazione", "stazione, ${1:position}, ${2:type}, ${3:length}", "[segnali]", "[segnali]"},
       {"pendenza", "segnale", "velocita"}},
      // Without snippets: the keyword and a comma, nothing a client would insert as written.
      {"service", "[segnali]", false, {"segnale", "segnale, "}, {"stazione"}},
      {"line", "[fine]", false, {"[curve]", "[curve]"}, {"pendenza", "curvad1"}},
  };
  for (const Case& c : cases) {
    const bool line = c.source == "line";
    const std::string uri = line ? sources.line_uri : sources.service_uri;
    std::string text(line ? kLineSourceText : kServiceSourceText);
    const int row = line_holding(text, c.after) + 1;
    text.insert(text.find('\n', text.find(c.after)) + 1, "\n");
    const LspRun run = LspScript()
                           .initialize(c.snippets ? snippets : json::object())
                           .open(uri, text)
                           .at(2, "textDocument/completion", uri, row, 0)
                           .finish()
                           .run(sources.folder.path());
    const json items = run.answer(2)["result"]["items"];
    const auto item = [&](const std::string& label) {
      for (const json& candidate : items)
        if (candidate["label"] == label) return candidate;
      return json(nullptr);
    };
    for (size_t i = 0; i + 1 < c.offered.size(); i += 2) {
      const json offered = item(c.offered[i]);
      ASSERT_FALSE(offered.is_null()) << c.after << ": " << c.offered[i];
      EXPECT_EQ(offered["textEdit"]["newText"].get<std::string>().substr(0, c.offered[i + 1].size()), c.offered[i + 1])
          << offered.dump();
      EXPECT_EQ(offered["insertTextFormat"], c.snippets && c.offered[i].front() != '[' ? 2 : 1) << offered.dump();
    }
    for (const std::string& label : c.not_offered) EXPECT_TRUE(item(label).is_null()) << c.after << ": " << label;
  }
  // Past a row's keyword, in its numbers (and the blanks before them), no row may start.
  const std::string line(kLineSourceText);
  const int row = line_holding(line, "pendenza,  1200,   5");
  const LspRun run = LspScript()
                         .initialize()
                         .open(sources.line_uri, line)
                         .at(2, "textDocument/completion", sources.line_uri, row, 10)
                         .at(3, "textDocument/completion", sources.line_uri, row, 13)
                         .finish()
                         .run(sources.folder.path());
  EXPECT_EQ(run.answer(2)["result"]["items"], json::array());
  EXPECT_EQ(run.answer(3)["result"]["items"], json::array());
}

TEST(LanguageServer, SymbolsAreTheSectionsWithStationsSignalsAndSlowdowns) {
  const SourceFolder sources;
  const LspRun run = LspScript()
                         .initialize()
                         .open(sources.service_uri, std::string(kServiceSourceText))
                         .request(2, "textDocument/documentSymbol", {{"textDocument", {{"uri", sources.service_uri}}}})
                         .finish()
                         .run(sources.folder.path());
  const json sections = run.answer(2)["result"];
  const auto children_of = [&](const std::string& header) {
    for (const json& section : sections)
      if (section["name"] == header) return section["children"];
    return json::array();
  };
  struct Case {
    std::string section;
    std::string name;
    std::string detail;
  };
  for (const Case& c : std::vector<Case>{{"[stazioni]", "MILANO LAMBRATE", "3800 m"},
                                         {"[segnali]", "segnale at 1750 m", "segnale"},
                                         {"[rallentamenti]", "rallentamento at 52600 m", "rallentamento"}}) {
    bool found = false;
    for (const json& child : children_of(c.section)) found = found || (child["name"] == c.name && child["detail"] == c.detail);
    EXPECT_TRUE(found) << c.section << " " << c.name << "\n" << children_of(c.section).dump(1);
  }
  EXPECT_EQ(children_of("[generale]"), json::array());
}

TEST(LanguageServer, ExitStatusTellsWhetherTheClientShutTheServerDown) {
  const testing::TempFolder folder;
  struct Case {
    std::string name;
    LspScript script;
    int status;
  };
  const std::vector<Case> cases = {
      {"shutdown, then exit", LspScript().initialize().finish(), 0},
      {"exit without shutdown", LspScript().initialize().notify("exit"), 1},
      {"the client goes without a word", LspScript().initialize(), 1},
      {"the client goes inside a message", LspScript().initialize().raw("Content-Length: 50\r\n\r\n{\"jsonrpc\""), 1},
  };
  for (const Case& c : cases) {
    const LspRun run = c.script.run(folder.path());
    EXPECT_EQ(run.exit_status, c.status) << c.name << "\n" << run.err;
    EXPECT_EQ(run.answer(1)["result"]["capabilities"]["textDocumentSync"]["change"], 1) << c.name;
  }
}

TEST(LanguageServer, MalformedMessagesAreAnsweredWithProtocolErrorsAndTheServerGoesOn) {
  const testing::TempFolder folder;
  const auto body = [](const std::string& text) { return framed(text); };
  struct Case {
    std::string name;
    std::string message;
    std::vector<int> errors;  // the error codes answered
  };
  const std::vector<Case> cases = {
      {"invalid JSON", body("{\"jsonrpc\": \"2.0\", \"id\": 5, "), {-32700}},
      {"a header without Content-Length", "Content-Type: application/vscode-jsonrpc\r\n\r\n", {-32700}},
      {"a Content-Length that is no number", "Content-Length: 12x\r\n\r\n", {-32700}},
      {"a header line without a colon", "Content-Length 5\r\n\r\n", {-32700}},
      {"two Content-Length headers", "Content-Length: 2\r\nContent-Length: 2\r\n\r\n{}", {-32700}},
      {"a JSON array", body("[1, 2]"), {-32600}},
      {"arrays nested past any message", body(std::string(100000, '[') + std::string(100000, ']')), {-32700}},
      {"a request nested past any message",
       body(R"({"jsonrpc": "2.0", "id": 5, "method": "shutdown", "params": )" + std::string(300, '[') +
            std::string(300, ']') + "}"),
       {-32700}},
      {"a message without a method", body(R"({"jsonrpc": "2.0", "id": 5})"), {-32600}},
      {"an id that is an object", body(R"({"jsonrpc": "2.0", "id": {}, "method": "shutdown"})"), {-32600}},
      {"an unknown method", body(R"({"jsonrpc": "2.0", "id": 5, "method": "textDocument/unheardOf"})"), {-32601}},
      {"an unknown notification", body(R"({"jsonrpc": "2.0", "method": "$/unheardOf"})"), {}},
      {"a cancellation", body(R"({"jsonrpc": "2.0", "method": "$/cancelRequest", "params": {"id": 1}})"), {}},
      {"hover without its document", body(R"({"jsonrpc": "2.0", "id": 5, "method": "textDocument/hover", "params": {}})"),
       {-32602}},
      {"hover of a document not open",
       body(R"({"jsonrpc": "2.0", "id": 5, "method": "textDocument/hover", "params": {"textDocument": {"uri": "file:///x"},
            "position": {"line": 0, "character": 0}}})"),
       {-32602}},
      {"a change of a document not open",
       body(R"({"jsonrpc": "2.0", "method": "textDocument/didChange", "params": {"textDocument": {"uri": "file:///x"},
            "contentChanges": [{"text": "x"}]}})"),
       {}},
      {"an open without text", body(R"({"jsonrpc": "2.0", "method": "textDocument/didOpen", "params": {}})"), {}},
      {"a second initialize", body(R"({"jsonrpc": "2.0", "id": 5, "method": "initialize", "params": {}})"), {-32600}},
      {"an explanation of nothing",
       body(R"({"jsonrpc": "2.0", "id": 5, "method": "workspace/executeCommand", "params": {"command": "scenario-builder.explain", "arguments": ["W999"]}})"),
       {-32602}},
  };
  for (const Case& c : cases) {
    const LspRun run = LspScript().initialize().raw(c.message).finish().run(folder.path());
    EXPECT_EQ(run.error_codes(), c.errors) << c.name;
    // The server still answers what follows, and exits as asked.
    EXPECT_TRUE(run.answer(9999).contains("result")) << c.name;
    EXPECT_EQ(run.exit_status, 0) << c.name << "\n" << run.err;
  }
}

TEST(LanguageServer, ANameSentIsEchoedCutShort) {
  const testing::TempFolder folder;
  const std::string method(1 << 20, 'm');
  const LspRun run = LspScript().initialize().request(5, method).finish().run(folder.path());
  const std::string message = run.answer(5)["error"]["message"].get<std::string>();
  EXPECT_LT(message.size(), 200u);
  EXPECT_TRUE(message.starts_with("no method 'mmm")) << message;
  EXPECT_TRUE(message.ends_with("... (1048576 bytes)'")) << message;
}

// Positions no int can hold are held to the start or the end: a change at line 1e300 adds
// to the end of the text, hover and completion there answer.
TEST(LanguageServer, PositionsPastAnyNumberAreHeldToTheText) {
  const SourceFolder sources;
  // The source without its last row, which the change at the end puts back after a misspelt one.
  const std::string service = replaced(std::string(kServiceSourceText), "[fine]\n", "");
  const json far = {{"line", 1e300}, {"character", 1e300}};
  const json change = {{"textDocument", {{"uri", sources.service_uri}, {"version", 2}}},
                       {"contentChanges", json::array({{{"range", {{"start", far}, {"end", far}}},
                                                        {"text", "segnal,    8600,\n[fine]\n"}}})}};
  const json at_far = {{"textDocument", {{"uri", sources.service_uri}}}, {"position", far}};
  const json before_start = {{"textDocument", {{"uri", sources.service_uri}}},
                             {"position", {{"line", -1e300}, {"character", -5}}}};
  const LspRun run = LspScript()
                         .initialize()
                         .open(sources.service_uri, service)
                         .notify("textDocument/didChange", change)
                         .request(5, "textDocument/hover", at_far)
                         .request(6, "textDocument/completion", before_start)
                         .finish()
                         .run(sources.folder.path());
  EXPECT_EQ(run.exit_status, 0) << run.err;
  EXPECT_TRUE(run.answer(5).contains("result")) << run.answer(5).dump();
  EXPECT_TRUE(run.answer(6).contains("result")) << run.answer(6).dump();
  const std::vector<json> lists = run.published(sources.service_uri);
  ASSERT_EQ(lists.size(), 2u);
  const int last_line = static_cast<int>(std::count(service.begin(), service.end(), '\n'));
  bool at_the_end = false;
  for (const json& diagnostic : lists[1]) at_the_end |= diagnostic["range"]["start"]["line"] == last_line;
  EXPECT_TRUE(at_the_end) << lists[1].dump(1);
}

TEST(LanguageServer, RequestsBeforeInitializeOrAfterShutdownAreRefused) {
  const testing::TempFolder folder;
  const LspRun before = LspScript().request(2, "textDocument/documentSymbol").initialize().finish().run(folder.path());
  EXPECT_EQ(before.answer(2)["error"]["code"], -32002);
  EXPECT_EQ(before.exit_status, 0);

  const LspRun after =
      LspScript().initialize().request(2, "shutdown").request(3, "textDocument/documentSymbol").notify("exit").run(folder.path());
  EXPECT_EQ(after.answer(3)["error"]["code"], -32600);
  EXPECT_EQ(after.exit_status, 0);
}

TEST(LanguageServer, AMessageLongerThanAnyIsSkippedWithoutBeingHeld) {
  const testing::TempFolder folder;
  const LspRun run =
      LspScript().initialize().raw("Content-Length: 99999999999\r\n\r\n{}").run(folder.path());
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_TRUE(run.answer(1).contains("result"));
}

}  // namespace
}  // namespace scenario
