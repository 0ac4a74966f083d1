// Replays every kept fuzz input (the seeds and every crasher ever found) through the
// compiler, so that a fixed fault stays fixed in the ordinary test run.
#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz/fuzz_input.hpp"
#include "format/file_io.hpp"

namespace scenario {
namespace {

TEST(FuzzCorpus, EveryKeptInputCompilesWithoutCrashing) {
  const std::filesystem::path corpus = std::filesystem::path(SCENARIO_TEST_DATA).parent_path().parent_path() / "fuzz" / "corpus";
  size_t replayed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    if (!entry.is_regular_file()) continue;
    SCOPED_TRACE(entry.path().filename().string());
    fuzzing::compile_fuzz_input(read_file(entry.path()));
    ++replayed;
  }
  EXPECT_GT(replayed, 0u);
}

}  // namespace
}  // namespace scenario
