// Replays every kept fuzz input (the seeds and every crasher ever found) through the
// compiler, so that a fixed fault stays fixed in the ordinary test run.
#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz/decode_input.hpp"
#include "fuzz/fuzz_input.hpp"
#include "fuzz/lsp_input.hpp"
#include "fuzz/note_input.hpp"
#include "fuzz/route_length_bound.hpp"
#include "format/file_io.hpp"

namespace scenario {
namespace {

// Runs `replay` on every input kept in fuzz/<corpus>.
void replay_corpus(const char* corpus, void (*replay)(std::string_view)) {
  const std::filesystem::path folder = std::filesystem::path(SCENARIO_TEST_DATA).parent_path().parent_path() / "fuzz" / corpus;
  size_t replayed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    SCOPED_TRACE(entry.path().filename().string());
    replay(read_file(entry.path()));
    ++replayed;
  }
  EXPECT_GT(replayed, 0u);
}

TEST(FuzzCorpus, EveryKeptInputCompilesWithoutCrashing) {
  for (const char* corpus : {"corpus", "long_corpus"})
    replay_corpus(corpus, [](std::string_view input) { fuzzing::compile_fuzz_input(input); });
}

TEST(FuzzCorpus, EveryKeptCompiledFileDecodesOrIsRefusedWithoutCrashing) {
  for (const char* corpus : {"decode_corpus", "long_decode_corpus"}) replay_corpus(corpus, fuzzing::decode_fuzz_input);
}

TEST(FuzzCorpus, EveryKeptCommitNoteIsObeyedOnlyForTheSetsOwnFiles) {
  replay_corpus("note_corpus", fuzzing::read_note_fuzz_input);
}

TEST(FuzzCorpus, EveryKeptClientInputIsServedToItsEnd) {
  replay_corpus("lsp_corpus", fuzzing::serve_lsp_fuzz_input);
}

TEST(FuzzRouteBound, LeavesOutOnlyRoutesBetweenTheFuzzedBoundAndTheLongest) {
  struct Case {
    const char* input;
    bool left_out;
  };
  const Case cases[] = {
      {"[generale]\r\nlunghezza percorso,    82000\r\n", false},
      {"[generale]\r\nlunghezza percorso,    100000\r\n", false},
      {"[generale]\r\nlunghezza percorso,    100001\r\n", true},
      {"[generale]\nLunghezza  Percorso,1000000\n", true},
      {"[generale]\nlunghezza percorso, 1000001\n", false},  // a fault, which is fuzzed
      {"[generale]\nlunghezza percorso, 99999999999999999999\n", false},
      {"[generale]\nlunghezza percorso,\n500000\n", false},  // written another way: compiled
      {"[generale]\nsfondo due, 500000\n", false},
      {"[generale]\nlunghezza percorso, 500", false},
  };
  for (const Case& c : cases) EXPECT_EQ(fuzzing::route_longer_than_fuzzed(c.input), c.left_out) << c.input;
  // The service source after the NUL is not the line source.
  constexpr char kInService[] = "x\0lunghezza percorso, 500000\n";
  EXPECT_FALSE(fuzzing::route_longer_than_fuzzed(std::string_view(kInService, sizeof kInService - 1)));
}

}  // namespace
}  // namespace scenario
