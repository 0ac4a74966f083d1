#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "format/file_io.hpp"
#include "tests/program_runner.hpp"

namespace scenario {
namespace {

using testing::run_build_seam;
using testing::run_seam;
using testing::run_program;
using testing::shell_quoted;
using testing::TempFolder;
using testing::write_bytes;

// A browser that renders SVG headless, or "" when the machine has none.
std::string headless_browser() {
  for (const char* name : {"chromium", "chromium-browser"}) {
    const std::string probe = std::string("command -v ") + name + " >/dev/null 2>&1";
    if (std::system(probe.c_str()) == 0) return name;
  }
  return "";
}

// The picture as a browser draws it: a PNG of the page's size, not blank.
void expect_renders(const std::string& browser, const std::filesystem::path& svg, const TempFolder& scratch) {
  const auto png = svg.parent_path() / (svg.stem().string() + ".png");
  run_program("timeout 120 " + browser + " --headless --no-sandbox --disable-gpu --hide-scrollbars --screenshot=" +
                  shell_quoted(png.string()) + " --window-size=1200,1185 " + shell_quoted("file://" + svg.string()),
              scratch.path());
  ASSERT_TRUE(std::filesystem::exists(png)) << svg;
  const std::string bytes = read_file(png);
  EXPECT_EQ(bytes.substr(1, 3), "PNG");
  EXPECT_GT(bytes.size(), 20000u) << "a drawn route compresses to tens of kilobytes; a blank page to far less";
}

// The built-in route, a 500 km route and a window of it, drawn by a real browser.
TEST(PictureRender, BrowserDrawsTheBuiltInRouteALongOneAndAWindow) {
  const std::string browser = headless_browser();
  if (browser.empty()) GTEST_SKIP() << "no headless Chromium here (Debian package 'chromium'): pictures not rendered";
  TempFolder folder, scratch, long_route;
  ASSERT_EQ(run_build_seam(folder.path()).exit_status, 0);
  ASSERT_EQ(run_seam({"plot", "-o", "builtin.svg"}, folder.path()).exit_status, 0);
  expect_renders(browser, folder.path() / "builtin.svg", scratch);

  // 500 km: the built-in sources with the route made longer and the last rows spread out.
  ASSERT_EQ(run_seam({"sources", "-o", long_route.path().string()}, "/").exit_status, 0);
  std::string line = read_file(long_route.path() / "Milano_Tortona_linea.txt");
  line.replace(line.find("82000"), 5, "500000");
  line.replace(line.find("curvad4,  77100,  500"), 21, "curvad4,  77100,  500\r\ncurvas2,  200000,  3000\r\n"
                                                       "curvad5,  350000,  800");
  write_bytes(long_route.path() / "Milano_Tortona_linea.txt", line);
  ASSERT_EQ(run_seam({"compile", "Milano_Tortona_linea.txt", "Milano_Tortona_5-.txt"}, long_route.path()).exit_status,
            0);
  ASSERT_EQ(run_seam({"plot", "-o", "long.svg"}, long_route.path()).exit_status, 0);
  ASSERT_EQ(run_seam({"plot", "--from", "190000", "--to", "230000", "--axis", "km", "-o", "window.svg"},
                        long_route.path())
                .exit_status,
            0);
  expect_renders(browser, long_route.path() / "long.svg", scratch);
  expect_renders(browser, long_route.path() / "window.svg", scratch);
}

}  // namespace
}  // namespace scenario
