#include "sources/scenario_writers.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "format/file_io.hpp"
#include "format/file_set.hpp"
#include "format/scenario_files.hpp"
#include "tests/program_runner.hpp"
#include "tests/temp_folder.hpp"

namespace scenario {
namespace {

using FileMember = std::string ScenarioFileNames::*;

// Splits a written text file into its lines, insisting that each one ends with CR LF and
// that no lone CR or LF stands anywhere.
std::vector<std::string> lines_of(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "the file does not end with CR LF";
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    EXPECT_EQ(lines.back().find_first_of("\r\n"), std::string::npos) << "line " << lines.size();
    start = end + 2;
  }
  return lines;
}

class ScenarioWriters : public ::testing::Test {
 protected:
  ScenarioWriters() {
    model.scenario_name = "Milano_Tortona";
    model.scenario_number = "5";
  }

  std::vector<std::string> written_lines(FileMember file) {
    return lines_of(read_file(folder.path() / (names.*file)));
  }

  // The column (counted from 1) of every "|" in a line.
  static std::vector<std::size_t> bar_columns(const std::string& line) {
    std::vector<std::size_t> columns;
    for (std::size_t i = 0; i < line.size(); ++i)
      if (line[i] == '|') columns.push_back(i + 1);
    return columns;
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

TEST_F(ScenarioWriters, EachFileHasItsLinesAndNoEndMarker) {
  struct Case {
    void (*writer)(const ScenarioModel&, const std::filesystem::path&);
    FileMember file;
    std::size_t line_count;
    std::string first, last;
  };
  const std::string timetable_rule =
      " |_____|_____|__________|_____|____________________________|________________|_____|";
  const Case cases[] = {
      {dati_linea, &ScenarioFileNames::line_source, 73, "[generale]", "[fine]"},
      {dati_treno, &ScenarioFileNames::service_source, 97, "[generale]", "[fine]"},
      {dati_note, &ScenarioFileNames::notes, 9, "Treno impostato in rango B - la locomotiva \xE8 un E444.",
       "(contatti@scenario-builder.example)"},
      {dati_rallentamenti, &ScenarioFileNames::slowdown_order, 41, "", "     i giorni esclusi i seguenti:........."},
      {dati_scheda, &ScenarioFileNames::train_card, 40, "", timetable_rule},
  };
  for (const Case& c : cases) {
    c.writer(model, folder.path());
    const std::string bytes = read_file(folder.path() / (names.*c.file));
    EXPECT_EQ(bytes.find("riferimento fine del file"), std::string::npos) << names.*c.file;
    const std::vector<std::string> lines = lines_of(bytes);
    ASSERT_EQ(lines.size(), c.line_count) << names.*c.file;
    EXPECT_EQ(lines.front(), c.first) << names.*c.file;
    EXPECT_EQ(lines.back(), c.last) << names.*c.file;
  }
}

TEST_F(ScenarioWriters, SourceFilesHaveTheirSectionsInOrderAndOnlyOneTrailingBlank) {
  dati_linea(model, folder.path());
  dati_treno(model, folder.path());
  const std::vector<std::string> line_source = written_lines(&ScenarioFileNames::line_source);
  const std::vector<std::string> service_source = written_lines(&ScenarioFileNames::service_source);
  ASSERT_EQ(line_source.size(), 73u);
  ASSERT_EQ(service_source.size(), 97u);

  const std::map<std::size_t, std::string> line_sections = {
      {1, "[generale]"}, {10, "[curve]"},     {33, "[pendenze]"},   {48, "[montagne]"},
      {50, "[cartelli]"}, {71, "[indicazioni]"}, {73, "[fine]"}};
  const std::map<std::size_t, std::string> service_sections = {
      {1, "[generale]"},      {6, "[aderenze]"}, {16, "[vel_limite]"}, {29, "[stazioni]"},
      {45, "[rallentamenti]"}, {47, "[segnali]"}, {89, "[codici]"},     {97, "[fine]"}};
  for (const auto& [number, header] : line_sections) EXPECT_EQ(line_source.at(number - 1), header);
  for (const auto& [number, header] : service_sections) EXPECT_EQ(service_source.at(number - 1), header);
  for (std::size_t i = 0; i < line_source.size(); ++i) {
    if (line_sections.count(i + 1) == 0) {
      EXPECT_NE(line_source[i].front(), '[') << "line " << i + 1;
    }
    EXPECT_NE(line_source[i].front(), ' ') << "line " << i + 1;
    EXPECT_NE(line_source[i].back(), ' ') << "line " << i + 1;
  }

  // The clock line is the one line of either file that ends with a blank.
  EXPECT_EQ(service_source.at(4), "orologio,    18              14            15 ");
  EXPECT_EQ(service_source.at(4).size(), 46u);
  for (std::size_t i = 0; i < service_source.size(); ++i) {
    if (service_sections.count(i + 1) == 0) {
      EXPECT_NE(service_source[i].front(), '[') << "line " << i + 1;
    }
    EXPECT_NE(service_source[i].front(), ' ') << "line " << i + 1;
    if (i != 4) {
      EXPECT_NE(service_source[i].back(), ' ') << "line " << i + 1;
    }
  }
  EXPECT_EQ(service_source.at(52), "segnale,    8600,   2, 3, 1,  1, 0,    2,  2,1,1, 240");
}

TEST_F(ScenarioWriters, NotesAreWindows1252WithSingleByteAccents) {
  dati_note(model, folder.path());
  EXPECT_EQ(read_file(folder.path() / names.notes),
            "Treno impostato in rango B - la locomotiva \xE8 un E444.\r\n"
            "Il treno, in realt\xE0, non termina a Tortona ma a Genova Brignole. Coloro che volessero proseguire "
            "possono aprire lo scenario Tortona_Genova_5bis.\r\n"
            "In linea vi sono alcuni segnali chiusi e un rallentamento.\r\n"
            "Alcune stazioni non si trovano su tratto pianeggiante, per cui, se si effettua fermata, bisogna "
            "evitare il movimento del treno.\r\n"
            "La ripetizione segnali, come nella realt\xE0, si attiva solo dopo la stazione di Rogoredo: in uscita "
            "da Milano prestare attenzione ai segnali, soprattutto entrando a Rogoredo.\r\n"
            "Ci sono tre variazioni della progressiva chilometrica.\r\n"
            "\r\n"
            "Progetto scenario-builder - Esempiopoli\r\n"
            "(contatti@scenario-builder.example)\r\n");
}

TEST_F(ScenarioWriters, SlowdownOrderIsDrawnOnItsColumns) {
  dati_rallentamenti(model, folder.path());
  const std::vector<std::string> lines = written_lines(&ScenarioFileNames::slowdown_order);
  ASSERT_EQ(lines.size(), 41u);
  for (const std::size_t empty : {1u, 6u, 35u}) EXPECT_EQ(lines.at(empty - 1), "") << "line " << empty;
  EXPECT_EQ(lines.at(1), std::string(31, ' ') + "Modulo M. 3");
  EXPECT_EQ(lines.at(2), std::string(27, ' ') + "ORDINE DI RALLENTAMENTO");
  EXPECT_EQ(lines.at(3), " " + std::string(80, '_'));
  EXPECT_EQ(lines.at(4), "  Linea  Firenze Pisa");
  EXPECT_EQ(lines.at(6), "  Si ordina al macchinista del treno  5  di effettuare i seguenti rallentamenti");
  EXPECT_EQ(lines.at(7), "  " + std::string(79, '_'));

  const std::vector<std::size_t> bars = {2, 6, 35, 48, 59, 69, 82};
  for (std::size_t number = 9; number <= 34; ++number) {
    EXPECT_EQ(lines.at(number - 1).size(), 82u) << "line " << number;
    EXPECT_EQ(bar_columns(lines.at(number - 1)), bars) << "line " << number;
  }
  EXPECT_EQ(lines.at(12), " | 1 |  Bressana B. - Lungavilla  |     11     |    80    |   250   |   ---      |");
  for (std::size_t number = 14; number <= 33; ++number) {
    EXPECT_EQ(lines.at(number - 1), lines.at(13)) << "line " << number;
    EXPECT_EQ(lines.at(number - 1).find_first_not_of(" |"), std::string::npos) << "line " << number;
  }
  EXPECT_EQ(lines.at(33), lines.at(11));
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (!lines[i].empty()) {
      EXPECT_NE(lines[i].back(), ' ') << "line " << i + 1;
    }

  EXPECT_EQ(lines.at(35), std::string(14, ' ') + "Prescrizioni specifiche");
  EXPECT_EQ(lines.at(36).substr(0, 5), " A - ");
  EXPECT_EQ(lines.at(37).substr(0, 5), " B - ");
  EXPECT_EQ(lines.at(38), " D - Rallentamneto N. ... e N. ...  sono contigui");
  EXPECT_EQ(lines.at(39).substr(0, 5), " C - ");
}

TEST_F(ScenarioWriters, TrainCardKeepsEveryBlankOfItsDrawing) {
  dati_scheda(model, folder.path());
  const std::vector<std::string> lines = written_lines(&ScenarioFileNames::train_card);
  ASSERT_EQ(lines.size(), 40u);
  EXPECT_EQ(lines.at(0), "");
  EXPECT_EQ(lines.at(1), " ");
  EXPECT_EQ(lines.at(11), "");
  EXPECT_EQ(lines.at(6), std::string(68, ' ') + "|" + std::string(14, '_') + "|");

  // Line lengths of the two heading strips and the timetable's top edge.
  const std::map<std::size_t, std::size_t> lengths = {{3, 83}, {4, 84}, {5, 84},  {6, 84},
                                                      {7, 84}, {8, 57}, {9, 64},  {10, 57},
                                                      {11, 59}, {13, 82}};
  for (const auto& [number, length] : lengths) EXPECT_EQ(lines.at(number - 1).size(), length) << "line " << number;
  // Trailing blanks: one on line 8, seven on line 9, two on line 11.
  const std::map<std::size_t, std::size_t> trailing = {{8, 1}, {9, 7}, {10, 0}, {11, 2}};
  for (const auto& [number, blanks] : trailing) {
    const std::string& line = lines.at(number - 1);
    EXPECT_EQ(line.size() - 1 - line.find_last_not_of(' '), blanks) << "line " << number;
  }
  EXPECT_EQ(lines.at(12), "  " + std::string(80, '_'));

  const std::vector<std::size_t> bars = {2, 8, 14, 25, 31, 60, 77, 83};
  for (std::size_t number = 14; number <= 40; ++number) {
    const std::string& line = lines.at(number - 1);
    const bool one_more_blank = number == 25 || number == 33 || number == 35;
    EXPECT_EQ(line.size(), one_more_blank ? 84u : 83u) << "line " << number;
    EXPECT_EQ(line.substr(82), one_more_blank ? "| " : "|") << "line " << number;
    EXPECT_EQ(bar_columns(line), bars) << "line " << number;
  }
  EXPECT_EQ(lines.at(39), lines.at(15));
  EXPECT_EQ(lines.at(16).substr(32, 11), "MILANO C.LE");
  EXPECT_EQ(lines.at(38).substr(32, 7), "TORTONA");
}

TEST_F(ScenarioWriters, ReplaceOlderLongerFilesWholeAndTwoRunsAgree) {
  testing::TempFolder fresh;
  write_scenario_texts(model, fresh.path());
  const auto expected = testing::folder_contents(fresh.path());
  ASSERT_EQ(expected.size(), 5u);

  // Older files of the same names, each longer than its new text.
  for (const auto& [name, bytes] : expected)
    replace_file(folder.path() / name, std::string(bytes.size() + 5000, 'x') + "riferimento fine del file\r\n");
  write_scenario_texts(model, folder.path());
  EXPECT_EQ(testing::folder_contents(folder.path()), expected);
  write_scenario_texts(model, folder.path());
  EXPECT_EQ(testing::folder_contents(folder.path()), expected);
}

}  // namespace
}  // namespace scenario
