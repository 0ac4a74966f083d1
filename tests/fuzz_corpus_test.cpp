// Replays every kept fuzz input (the seeds and every crasher ever found) through the
// compiler, so that a fixed fault stays fixed in the ordinary test run.
#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz/decode_input.hpp"
#include "fuzz/fuzz_input.hpp"
#include "fuzz/lsp_input.hpp"
#include "fuzz/note_input.hpp"
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
  replay_corpus("corpus", [](std::string_view input) { fuzzing::compile_fuzz_input(input); });
}

TEST(FuzzCorpus, EveryKeptCompiledFileDecodesOrIsRefusedWithoutCrashing) {
  replay_corpus("decode_corpus", fuzzing::decode_fuzz_input);
}

TEST(FuzzCorpus, EveryKeptCommitNoteIsObeyedOnlyForTheSetsOwnFiles) {
  replay_corpus("note_corpus", fuzzing::read_note_fuzz_input);
}

TEST(FuzzCorpus, EveryKeptClientInputIsServedToItsEnd) {
  replay_corpus("lsp_corpus", fuzzing::serve_lsp_fuzz_input);
}

}  // namespace
}  // namespace scenario
