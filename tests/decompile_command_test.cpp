#include <gtest/gtest.h>

#include <string>

#include "format/file_io.hpp"
#include "tests/program_runner.hpp"

namespace scenario {
namespace {

using testing::copy_program_into;
using testing::run_builder;
using testing::run_in;
using testing::TempFolder;
using testing::write_bytes;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The built-in run's compiled files in a folder of their own.
struct BuiltinFiles {
  TempFolder folder;
  BuiltinFiles() {
    const auto program = copy_program_into(folder.path());
    EXPECT_EQ(run_in(program, {}, folder.path()).exit_status, 0);
  }
  std::string bytes(const std::string& name) const { return read_file(folder.path() / name); }
};

TEST(DecompileCommand, BuiltinFilesGiveSourcesThatCompileToTheSameBytes) {
  const BuiltinFiles built;
  TempFolder out;
  const auto run = run_builder({"decompile", built.folder.path().string(), "-o", "src"}, out.path());
  ASSERT_EQ(run.exit_status, 0) << run.err;
  EXPECT_EQ(run.out, "src/Milano_Tortona_linea.txt\nsrc/Milano_Tortona_5-.txt\nround trip exact\n");

  // The proof again, by the compile command an author would run.
  const auto compile = run_builder(
      {"compile", "src/Milano_Tortona_linea.txt", "src/Milano_Tortona_5-.txt", "-o", "again"}, out.path());
  ASSERT_EQ(compile.exit_status, 0) << compile.err;
  EXPECT_EQ(compile.err, "");
  for (const char* file : {"Milano_Tortona_linea.dat", "Milano_Tortona_5.sim", "Milano_Tortona_5.dat"})
    EXPECT_EQ(read_file(out.path() / "again" / file), built.bytes(file)) << file;

  // Sources already there are kept unless the author says --force.
  const std::string kept = read_file(out.path() / "src" / "Milano_Tortona_5-.txt");
  write_bytes(out.path() / "src" / "Milano_Tortona_5-.txt", "edited");
  const auto refused = run_builder({"decompile", built.folder.path().string(), "-o", "src"}, out.path());
  EXPECT_EQ(refused.exit_status, 2);
  EXPECT_TRUE(contains(refused.err, "already holds Milano_Tortona_linea.txt, Milano_Tortona_5-.txt")) << refused.err;
  EXPECT_EQ(read_file(out.path() / "src" / "Milano_Tortona_5-.txt"), "edited");
  EXPECT_EQ(run_builder({"decompile", built.folder.path().string(), "-o", "src", "--force"}, out.path()).exit_status,
            0);
  EXPECT_EQ(read_file(out.path() / "src" / "Milano_Tortona_5-.txt"), kept);
}

TEST(DecompileCommand, WithoutAPlanFileTheLineSourceHasNoCurves) {
  const BuiltinFiles built;
  std::filesystem::remove(built.folder.path() / "Milano_Tortona_linea.dat");
  const auto run = run_builder({"decompile", "--no-verify"}, built.folder.path());
  ASSERT_EQ(run.exit_status, 0) << run.err;
  const std::string line = built.bytes("Milano_Tortona_linea.txt");
  EXPECT_TRUE(contains(line, "[curve]\r\n[pendenze]\r\n")) << line;
  const auto checked = run_builder({"decompile", "--force"}, built.folder.path());
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
  const auto edited = run_builder({"decompile", "-o", "src"}, built.folder.path());
  EXPECT_EQ(edited.exit_status, 1) << edited.err;
  EXPECT_TRUE(contains(edited.out,
                       "round trip not exact: the recompiled files differ\n"
                       "  track cell 300, kind: the compiled file holds 7 (unknown), the recovered sources give 0"))
      << edited.out;
  EXPECT_TRUE(std::filesystem::exists(built.folder.path() / "src" / "Milano_Tortona_5-.txt"));

  write_bytes(built.folder.path() / "Milano_Tortona_5.dat", cells.substr(0, 100));
  const auto damaged = run_builder({"decompile", ".", "-o", "other"}, built.folder.path());
  EXPECT_EQ(damaged.exit_status, 2);
  EXPECT_TRUE(contains(damaged.err, "Milano_Tortona_5.dat: byte 100: the file ends inside field")) << damaged.err;
  EXPECT_FALSE(std::filesystem::exists(built.folder.path() / "other"));

  // The plan is read from its file in parts: a coordinate far into it is found all the same.
  write_bytes(built.folder.path() / "Milano_Tortona_5.dat", original_cells);
  std::string plan = built.bytes("Milano_Tortona_linea.dat");
  plan[plan.size() / 2 - 100 * 10 + 2] = '\x55';  // x of metre 88899
  write_bytes(built.folder.path() / "Milano_Tortona_linea.dat", plan);
  const auto bent = run_builder({"decompile", "-o", "bent"}, built.folder.path());
  EXPECT_EQ(bent.exit_status, 1) << bent.err;
  EXPECT_TRUE(contains(bent.out, "line plan, metre 88899, x: the compiled file holds ")) << bent.out;
  write_bytes(built.folder.path() / "Milano_Tortona_linea.dat", plan.substr(1));
  const auto odd = run_builder({"decompile", "-o", "odd"}, built.folder.path());
  EXPECT_EQ(odd.exit_status, 2);
  EXPECT_TRUE(contains(odd.err, "Milano_Tortona_linea.dat: byte 1779963: an odd number of bytes")) << odd.err;
}

}  // namespace
}  // namespace scenario
