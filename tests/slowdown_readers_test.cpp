#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "decompile/decompile.hpp"
#include "decompile/round_trip.hpp"
#include "documents/slowdown_order.hpp"
#include "format/compiled_files.hpp"
#include "plot/route_plot.hpp"
#include "reading/scenario_summary.hpp"
#include "tests/reading_fixture.hpp"

namespace scenario {
namespace {

using testing::replaced;

// A slowdown as a reader tells it: where it starts and ends, and its speed.
struct ReadSlowdown {
  int64_t start_m;
  int64_t end_m;
  int64_t speed_kmh;
  bool operator==(const ReadSlowdown&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ReadSlowdown& s) {
  return out << s.start_m << "–" << s.end_m << " m at " << s.speed_kmh << " km/h";
}

std::vector<ReadSlowdown> from_summary(const LoadedScenario& s) {
  std::ostringstream out;
  print_document_json(summarise_scenario(s), out);
  const nlohmann::json summary = nlohmann::json::parse(out.str());
  std::vector<ReadSlowdown> read;
  for (const nlohmann::json& row : summary["slowdowns"]["slowdowns"])
    read.push_back({row["start_m"].get<int64_t>(), row["end_m"].get<int64_t>(), row["speed_kmh"].get<int64_t>()});
  return read;
}

// The order form gives each slowdown's speed and length in their columns (counted from 1),
// not its start.
std::vector<std::pair<int64_t, int64_t>> from_slowdown_order(const LoadedScenario& s) {
  std::vector<std::pair<int64_t, int64_t>> read;
  const auto number_in = [](const std::string& line, size_t first, size_t last) -> std::optional<int64_t> {
    if (line.size() < last) return std::nullopt;
    std::string field = line.substr(first - 1, last - first + 1);  // columns count from 1
    field.erase(0, field.find_first_not_of(' '));
    field.erase(field.find_last_not_of(' ') + 1);
    if (field.empty() || field.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    return std::stoll(field);
  };
  for (const std::string& line : slowdown_order_lines(s)) {
    const auto row = number_in(line, 3, 5), speed = number_in(line, 49, 58), length = number_in(line, 60, 68);
    if (row && speed && length) read.emplace_back(*speed, *length);
  }
  return read;
}

std::vector<ReadSlowdown> from_plot(const LoadedScenario& s) {
  const std::string svg = render_route_svg(s);
  static const std::regex kMark(R"(class="slowdown"><title>(\d+) km/h from (-?\d+) m to (-?\d+) m</title>)");
  std::vector<ReadSlowdown> read;
  for (auto m = std::sregex_iterator(svg.begin(), svg.end(), kMark); m != std::sregex_iterator(); ++m)
    read.push_back({std::stoll((*m)[2]), std::stoll((*m)[3]), std::stoll((*m)[1])});
  return read;
}

std::vector<ReadSlowdown> from_decompile(const CompiledFiles& files) {
  const std::string service = decompile(files).service;
  static const std::regex kRow(R"(rallentamento,\s*(-?\d+),\s*(-?\d+),\s*(-?\d+),)");
  std::vector<ReadSlowdown> read;
  for (auto m = std::sregex_iterator(service.begin(), service.end(), kRow); m != std::sregex_iterator(); ++m) {
    const int64_t start = std::stoll((*m)[1]);
    read.push_back({start, start + std::stoll((*m)[3]), std::stoll((*m)[2])});
  }
  std::sort(read.begin(), read.end(),
            [](const ReadSlowdown& a, const ReadSlowdown& b) { return a.start_m < b.start_m; });
  return read;
}

// Slowdowns inside, touching and after one another, and of no length: compiled once each,
// every reader tells the same starts, ends and speeds, the ones their rows gave.
TEST(SlowdownReaders, ReadEverySlowdownAsItsRowPlacedIt) {
  const struct {
    const char* rows;
    std::vector<ReadSlowdown> expected;
  } cases[] = {
      {"rallentamento, 20000, 60, 2000, 0, 1, 60\r\nrallentamento, 20500, 30, 300, 0, 1, 30",
       {{20000, 22000, 60}, {20500, 20800, 30}}},
      {"rallentamento, 20000, 60, 2000, 0, 1, 60\r\nrallentamento, 20500, 60, 300, 0, 1, 60",
       {{20000, 22000, 60}, {20500, 20800, 60}}},
      {"rallentamento, 20000, 60, 500, 0, 1, 60\r\nrallentamento, 20550, 40, 500, 0, 1, 40",
       {{20000, 20500, 60}, {20550, 21050, 40}}},
      {"rallentamento, 20000, 60, 500, 0, 1, 60\r\nrallentamento, 30000, 40, 800, 0, 1, 40",
       {{20000, 20500, 60}, {30000, 30800, 40}}},
      {"rallentamento, 20000, 60, 0, 0, 1, 60", {{20000, 20000, 60}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rows);
    const std::string service = replaced(kServiceSourceText, "rallentamento,   52600,    80,  250, 0,  1,  80", c.rows);
    const Recompiled compiled = compile_in_memory({"Milano_Tortona", "5"}, kLineSourceText, service, 0);
    ASSERT_EQ(compiled.result.status, CompileStatus::kCompiled);
    CompiledFiles files{"Milano_Tortona", "5", "", "", std::nullopt};
    encode_track_cells(*compiled.model, files.track_cells);
    encode_records(*compiled.model, files.records);
    const LoadedScenario s = load_scenario_bytes("Milano_Tortona", "5", files.track_cells, files.records, std::nullopt);

    EXPECT_EQ(from_summary(s), c.expected);
    EXPECT_EQ(from_plot(s), c.expected);
    EXPECT_EQ(from_decompile(files), c.expected);
    std::vector<std::pair<int64_t, int64_t>> speeds_and_lengths;
    for (const ReadSlowdown& slowdown : c.expected)
      speeds_and_lengths.emplace_back(slowdown.speed_kmh, slowdown.end_m - slowdown.start_m);
    EXPECT_EQ(from_slowdown_order(s), speeds_and_lengths);
  }
}

}  // namespace
}  // namespace scenario
