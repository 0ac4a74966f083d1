#include "sources/scenario_writers.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include "format/file_io.hpp"
#include "format/file_set.hpp"
#include "format/scenario_files.hpp"
#include "tests/program_runner.hpp"
#include "tests/temp_folder.hpp"

namespace scenario {
namespace {

using FileMember = std::string ScenarioFileNames::*;

// The line (counted from 1) where two texts first differ, for a readable failure.
std::size_t first_differing_line(const std::string& a, const std::string& b) {
  const auto left = std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first;
  return 1 + static_cast<std::size_t>(std::count(a.begin(), left, '\n'));
}

class ScenarioWriters : public ::testing::Test {
 protected:
  ScenarioWriters() {
    model.scenario_name = "Milano_Tortona";
    model.scenario_number = "5";
  }

  testing::TempFolder folder;
  ScenarioModel model;
  const ScenarioFileNames names = scenario_file_names("Milano_Tortona", "5");
};

TEST_F(ScenarioWriters, WriteFiveFilesNamedAfterTheScenario) {
  struct Case {
    std::string name, number;
    std::set<std::string> files;
  };
  const Case cases[] = {
      {"Milano_Tortona",
       "5",
       {"Milano_Tortona_linea.txt", "Milano_Tortona_5-.txt", "Milano_Tortona_5_note.txt",
        "Milano_Tortona_5_rallentamenti.txt", "Milano_Tortona_5_scheda_treno.txt"}},
      {"Prova", "12", {"Prova_linea.txt", "Prova_12-.txt", "Prova_12_note.txt", "Prova_12_rallentamenti.txt",
                       "Prova_12_scheda_treno.txt"}},
  };
  for (const Case& c : cases) {
    testing::TempFolder own;
    model.scenario_name = c.name;
    model.scenario_number = c.number;
    write_scenario_texts(model, own.path());
    std::set<std::string> written;
    for (const auto& [name, bytes] : testing::folder_contents(own.path())) written.insert(name);
    EXPECT_EQ(written, c.files);  // and no temporary file left beside them
  }
}

// Every byte of each text: its lines, its blanks, its CR LF line ends, its Windows-1252
// accents, and no end marker of the line table.
TEST_F(ScenarioWriters, EachTextEqualsItsGoldenFile) {
  struct Case {
    void (*writer)(const ScenarioModel&, const std::filesystem::path&);
    FileMember file;
  };
  const Case cases[] = {
      {dati_linea, &ScenarioFileNames::line_source},
      {dati_treno, &ScenarioFileNames::service_source},
      {dati_note, &ScenarioFileNames::notes},
      {dati_rallentamenti, &ScenarioFileNames::slowdown_order},
      {dati_scheda, &ScenarioFileNames::train_card},
  };
  const std::filesystem::path golden = std::filesystem::path(SCENARIO_TEST_DATA) / "golden";
  for (const Case& c : cases) {
    const std::string& name = names.*c.file;
    c.writer(model, folder.path());
    const std::string written = read_file(folder.path() / name);
    const std::string expected = read_file(golden / name);
    EXPECT_TRUE(written == expected) << name << " differs from its golden file from line "
                                     << first_differing_line(written, expected);
  }
}

}  // namespace
}  // namespace scenario
