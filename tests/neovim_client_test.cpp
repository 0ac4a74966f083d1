// The language server with a real client: the Neovim set-up of docs/editors.md, taken from
// the document as it stands, in headless Neovim with `scenario-builder` on PATH. A small Lua
// probe opens the sources, waits for the diagnostics and writes out what the editor holds.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "sources/scenario_texts.hpp"
#include "tests/program_runner.hpp"
#include "tests/text_checks.hpp"

namespace scenario {
namespace {

// The first ```lua block after the Neovim heading of the editors' document.
std::string documented_neovim_setup() {
  const std::string document = read_file(std::filesystem::path(SCENARIO_DOCS) / "editors.md");
  const size_t heading = document.find("\n## Neovim");
  const size_t begin = document.find("```lua\n", heading);
  const size_t end = document.find("\n```\n", begin);
  if (heading == std::string::npos || begin == std::string::npos || end == std::string::npos) return "";
  return document.substr(begin + 7, end - (begin + 7)) + "\n";
}

// Opens the line source given on the command line, then its service source; writes the file
// type and encoding of each, the diagnostics of the first, the text a completion on its
// first [pendenze] row inserts, and how many clients run.
constexpr std::string_view kProbe = R"(
local function clients(buffer)
  if vim.lsp.get_clients then return vim.lsp.get_clients({ bufnr = buffer }) end
  return buffer and vim.lsp.buf_get_clients(buffer) or vim.lsp.get_active_clients()
end
local line = vim.api.nvim_get_current_buf()
vim.wait(20000, function() return #vim.diagnostic.get(line) > 0 end, 20)
local shown = { 'line: ' .. vim.bo.filetype .. ', ' .. vim.bo.fileencoding }
for _, d in ipairs(vim.diagnostic.get(line)) do
  table.insert(shown, string.format('%d:%d: %s: %s', d.lnum + 1, d.col + 1, tostring(d.code), d.message))
end
local row = vim.fn.search('^\\[pendenze\\]')
local answers = vim.lsp.buf_request_sync(line, 'textDocument/completion',
  { textDocument = { uri = vim.uri_from_bufnr(line) }, position = { line = row, character = 0 } }, 20000)
for _, answer in pairs(answers or {}) do
  for _, item in ipairs(answer.result and answer.result.items or {}) do
    if item.label == 'pendenza' then table.insert(shown, 'completes [[' .. item.textEdit.newText .. ']]') end
  end
end
vim.cmd('edit Milano_Tortona_5-.txt')
local service = vim.api.nvim_get_current_buf()
vim.wait(20000, function() return next(clients(service)) ~= nil end, 20)
table.insert(shown, 'service: ' .. vim.bo.filetype .. ', ' .. vim.bo.fileencoding)
table.insert(shown, 'clients: ' .. #clients())
vim.fn.writefile(shown, 'shown.txt')
for _, client in pairs(clients()) do vim.lsp.stop_client(client.id) end
vim.wait(5000, function() return next(clients()) == nil end, 20)
vim.cmd('qall!')
)";

TEST(NeovimClient, TheDocumentedSetUpDetectsTheSourcesAndShowsTheServersFindings) {
  if (std::system("command -v nvim >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "Neovim (nvim) is not installed; 'scripts/install-deps test' installs it";
  const std::string setup = documented_neovim_setup();
  ASSERT_TRUE(testing::contains(setup, "'scenario-builder', 'lsp'"));
  const testing::TempFolder folder;
  // The set-up calls the program from PATH; the editor's own files stay in the folder.
  const auto bin = folder.path() / "bin";
  std::filesystem::create_directories(bin);
  std::filesystem::create_symlink(SCENARIO_BUILDER_EXE, bin / "scenario-builder");
  testing::write_bytes(folder.path() / "init.lua", setup);
  testing::write_bytes(folder.path() / "probe.lua", std::string(kProbe));
  std::string text(kLineSourceText);
  text.replace(text.find("pendenza,  1200"), 8, "pendenzx");
  testing::write_bytes(folder.path() / "Milano_Tortona_linea.txt", text);
  // A letter outside ASCII, as Windows-1252 writes it.
  std::string service(kServiceSourceText);
  service.replace(service.find("ROGOREDO"), 8, "ROGOREDO \xC0");
  testing::write_bytes(folder.path() / "Milano_Tortona_5-.txt", service);

  const std::string home = folder.path().string();
  const testing::ProgramRun run = testing::run_in(
      "env",
      {"PATH=" + bin.string() + ":" + std::getenv("PATH"), "XDG_CONFIG_HOME=" + home, "XDG_DATA_HOME=" + home,
       "XDG_STATE_HOME=" + home, "XDG_CACHE_HOME=" + home, "timeout", "60", "nvim", "--headless", "-u", "init.lua",
       "-i", "NONE", "-n", "-c", "luafile probe.lua", "Milano_Tortona_linea.txt"},
      folder.path());
  ASSERT_EQ(run.exit_status, 0) << run.out << run.err;
  const int row = 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(text.find("pendenzx")), '\n'));
  EXPECT_EQ(read_file(folder.path() / "shown.txt"),
            "line: scenario_line, cp1252\n" + std::to_string(row) +
                ":1: W2: 'pendenzx' matches no row of this section and is skipped; did you mean 'pendenza'?\n"
                "completes [[pendenza, ]]\n"
                "service: scenario_service, cp1252\n"
                "clients: 1\n");
}

}  // namespace
}  // namespace scenario
