#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "format/file_io.hpp"
#include "tests/program_runner.hpp"

namespace scenario {
namespace {

using testing::run_build_seam;
using testing::run_seam;
using testing::TempFolder;
using testing::write_bytes;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The built-in run's compiled files in a folder of their own.
struct BuiltinFiles {
  TempFolder folder;
  BuiltinFiles() { EXPECT_EQ(run_build_seam(folder.path()).exit_status, 0); }
  std::string bytes(const std::string& name) const { return read_file(folder.path() / name); }
};

TEST(DecompileCommand, BuiltinFilesGiveSourcesThatCompileToTheSameBytes) {
  const BuiltinFiles built;
  TempFolder out;
  const auto run = run_seam({"decompile", built.folder.path().string(), "-o", "src"}, out.path());
  ASSERT_EQ(run.exit_status, 0) << run.err;
  EXPECT_EQ(run.out, "src/Milano_Tortona_linea.txt\nsrc/Milano_Tortona_5-.txt\nround trip exact\n");

  // The proof again, by the compile command an author would run.
  const auto compile = run_seam(
      {"compile", "src/Milano_Tortona_linea.txt", "src/Milano_Tortona_5-.txt", "-o", "again"}, out.path());
  ASSERT_EQ(compile.exit_status, 0) << compile.err;
  EXPECT_EQ(compile.err, "");
  for (const char* file : {"Milano_Tortona_linea.dat", "Milano_Tortona_5.sim", "Milano_Tortona_5.dat"})
    EXPECT_EQ(read_file(out.path() / "again" / file), built.bytes(file)) << file;

  // Sources already there are kept unless the author says --force.
  const std::string kept = read_file(out.path() / "src" / "Milano_Tortona_5-.txt");
  write_bytes(out.path() / "src" / "Milano_Tortona_5-.txt", "edited");
  const auto refused = run_seam({"decompile", built.folder.path().string(), "-o", "src"}, out.path());
  EXPECT_EQ(refused.exit_status, 2);
  EXPECT_TRUE(contains(refused.err, "already holds Milano_Tortona_linea.txt, Milano_Tortona_5-.txt")) << refused.err;
  EXPECT_EQ(read_file(out.path() / "src" / "Milano_Tortona_5-.txt"), "edited");
  EXPECT_EQ(run_seam({"decompile", built.folder.path().string(), "-o", "src", "--force"}, out.path()).exit_status,
            0);
  EXPECT_EQ(read_file(out.path() / "src" / "Milano_Tortona_5-.txt"), kept);
}

// A name outside ASCII: the records carry it in Windows-1252, the file names in UTF-8 as
// the compile command wrote them, or in Windows-1252 as another system may have. Either way
// the scenario is found, by its name given in UTF-8 too, and comes back under the name of
// its records, in UTF-8.
TEST(DecompileCommand, ANameOutsideAsciiFromTheRecordsWhateverTheFileNames) {
  const BuiltinFiles built;
  TempFolder work;
  const auto sources = run_seam({"decompile", built.folder.path().string(), "-o", "builtin"}, work.path());
  ASSERT_EQ(sources.exit_status, 0) << sources.err;
  const auto compile = run_seam({"compile", "builtin/Milano_Tortona_linea.txt", "builtin/Milano_Tortona_5-.txt",
                                    "--name", "Santhi\xc3\xa0", "--number", "5", "-o", "utf8"},
                                   work.path());
  ASSERT_EQ(compile.exit_status, 0) << compile.err;
  std::filesystem::create_directory(work.path() / "cp1252");
  for (const char* suffix : {"_linea.dat", "_5.sim", "_5.dat"})
    std::filesystem::copy_file(work.path() / "utf8" / (std::string("Santhi\xc3\xa0") + suffix),
                               work.path() / "cp1252" / (std::string("Santhi\xe0") + suffix));

  struct Case {
    const char* folder;
    std::vector<std::string> options;
  };
  for (const Case& c : {Case{"utf8", {}}, Case{"cp1252", {}}, Case{"cp1252", {"--name", "Santhi\xc3\xa0"}},
                        Case{"utf8", {"--name", "Santhi\xe0", "--number", "5"}}}) {
    std::vector<std::string> arguments{"decompile", c.folder, "-o", std::string("back-") + c.folder, "--force"};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    const auto run = run_seam(arguments, work.path());
    SCOPED_TRACE(std::string(c.folder) + (c.options.empty() ? "" : " " + c.options[1]));
    EXPECT_EQ(run.exit_status, 0) << run.out << run.err;
    EXPECT_TRUE(contains(run.out, "round trip exact")) << run.out;
    EXPECT_TRUE(contains(run.out, std::string("back-") + c.folder + "/Santhi\xc3\xa0_5-.txt")) << run.out;
  }
}

TEST(DecompileCommand, WithoutAPlanFileTheLineSourceHasNoCurves) {
  const BuiltinFiles built;
  std::filesystem::remove(built.folder.path() / "Milano_Tortona_linea.dat");
  const auto run = run_seam({"decompile", "--no-verify"}, built.folder.path());
  ASSERT_EQ(run.exit_status, 0) << run.err;
  const std::string line = built.bytes("Milano_Tortona_linea.txt");
  EXPECT_TRUE(contains(line, "[curve]\r\n[pendenze]\r\n")) << line;
  const auto checked = run_seam({"decompile", "--force"}, built.folder.path());
  EXPECT_EQ(checked.exit_status, 0) << checked.err;
  EXPECT_TRUE(contains(checked.out, "round trip exact")) << checked.out;
  EXPECT_FALSE(std::filesystem::exists(built.folder.path() / "Milano_Tortona_linea.dat"));
}

TEST(DecompileCommand, WhatNoSourceGivesIsNamedAndADamagedFileRefused) {
  const BuiltinFiles built;
  const std::string original_cells = built.bytes("Milano_Tortona_5.dat");
  std::string cells = original_cells;
  cells[15 * 300] = 7;
  write_bytes(built.folder.path() / "Milano_Tortona_5.dat", cells);
  const auto edited = run_seam({"decompile", "-o", "src"}, built.folder.path());
  EXPECT_EQ(edited.exit_status, 1) << edited.err;
  EXPECT_TRUE(contains(edited.out,
                       "round trip not exact: the recompiled files differ\n"
                       "  track cell 300, kind: the compiled file holds 7 (unknown), the recovered sources give 0"))
      << edited.out;
  EXPECT_TRUE(std::filesystem::exists(built.folder.path() / "src" / "Milano_Tortona_5-.txt"));

  write_bytes(built.folder.path() / "Milano_Tortona_5.dat", cells.substr(0, 100));
  const auto damaged = run_seam({"decompile", ".", "-o", "other"}, built.folder.path());
  EXPECT_EQ(damaged.exit_status, 2);
  EXPECT_TRUE(contains(damaged.err, "Milano_Tortona_5.dat: byte 100: the file ends inside field")) << damaged.err;
  EXPECT_FALSE(std::filesystem::exists(built.folder.path() / "other"));

  // The plan is read from its file in parts: a coordinate far into it is found all the same.
  write_bytes(built.folder.path() / "Milano_Tortona_5.dat", original_cells);
  std::string plan = built.bytes("Milano_Tortona_linea.dat");
  plan[plan.size() / 2 - 100 * 10 + 2] = '\x55';  // x of metre 88899
  write_bytes(built.folder.path() / "Milano_Tortona_linea.dat", plan);
  const auto bent = run_seam({"decompile", "-o", "bent"}, built.folder.path());
  EXPECT_EQ(bent.exit_status, 1) << bent.err;
  EXPECT_TRUE(contains(bent.out, "line plan, metre 88899, x: the compiled file holds ")) << bent.out;
  write_bytes(built.folder.path() / "Milano_Tortona_linea.dat", plan.substr(1));
  const auto odd = run_seam({"decompile", "-o", "odd"}, built.folder.path());
  EXPECT_EQ(odd.exit_status, 2);
  EXPECT_TRUE(contains(odd.err, "Milano_Tortona_linea.dat: byte 1779963: an odd number of bytes")) << odd.err;
}

}  // namespace
}  // namespace scenario
