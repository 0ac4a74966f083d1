// The language server with a real client: Neovim's own, headless, driven by a small Lua
// script that opens a source with a fault, waits for the diagnostic and writes it out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "sources/scenario_texts.hpp"
#include "tests/program_runner.hpp"
#include "tests/text_checks.hpp"

namespace scenario {
namespace {

std::string lua_string(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' || c == '\\' ? std::string("\\") + c : std::string(1, c);
  return quoted + "\"";
}

TEST(NeovimClient, ShowsTheDiagnosticOfASourceWithAFault) {
  if (std::system("command -v nvim >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "Neovim (nvim) is not installed; 'scripts/install-deps test' installs it";
  const testing::TempFolder folder;
  const auto line = folder.path() / "Milano_Tortona_linea.txt";
  std::string text(kLineSourceText);
  text.replace(text.find("pendenza,  1200"), 8, "pendenzx");
  testing::write_bytes(line, text);
  testing::write_bytes(folder.path() / "Milano_Tortona_5-.txt", std::string(kServiceSourceText));
  const auto shown = folder.path() / "shown.txt";
  testing::write_bytes(folder.path() / "client.lua",
                       "vim.cmd('edit ' .. vim.fn.fnameescape(" + lua_string(line.string()) + "))\n"
                       "local buffer = vim.api.nvim_get_current_buf()\n"
                       "local client = vim.lsp.start_client({name = 'scenario-builder', cmd = {" +
                           lua_string(SCENARIO_BUILDER_EXE) + ", 'lsp'}, root_dir = " +
                           lua_string(folder.path().string()) + "})\n"
                       "vim.lsp.buf_attach_client(buffer, client)\n"
                       "vim.wait(20000, function() return #vim.diagnostic.get(buffer) > 0 end, 20)\n"
                       "local lines = {}\n"
                       "for _, d in ipairs(vim.diagnostic.get(buffer)) do\n"
                       "  table.insert(lines, string.format('%d:%d: %s: %s', d.lnum + 1, d.col + 1, tostring(d.code), d.message))\n"
                       "end\n"
                       "vim.fn.writefile(lines, " + lua_string(shown.string()) + ")\n"
                       "vim.lsp.stop_client(client)\n"
                       "vim.cmd('qall!')\n");
  const testing::ProgramRun run = testing::run_in(
      "timeout", {"60", "nvim", "--headless", "--clean", "-n", "-c", "luafile client.lua"}, folder.path());
  ASSERT_EQ(run.exit_status, 0) << run.out << run.err;
  const int row = 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(text.find("pendenzx")), '\n'));
  EXPECT_EQ(read_file(shown), std::to_string(row) +
                                  ":1: W2: 'pendenzx' matches no row of this section and is skipped; did you mean "
                                  "'pendenza'?\n");
}

}  // namespace
}  // namespace scenario
