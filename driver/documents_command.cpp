#include "documents/form_drawing.hpp"
#include "documents/slowdown_order.hpp"
#include "documents/train_card.hpp"
#include "driver/commands.hpp"
#include "driver/compiled_scenario_search.hpp"
#include "driver/diagnostics.hpp"
#include "driver/output_folder.hpp"
#include "format/file_io.hpp"
#include "format/file_set.hpp"
#include "format/scenario_files.hpp"
#include "model/windows_1252.hpp"

namespace scenario {
namespace {

// An option's text as the card carries it; a character the card's code page lacks is the
// author's to change.
std::string option_text_1252(const std::string& text, const char* option) {
  try {
    return utf8_to_1252(text);
  } catch (const std::invalid_argument&) {
    throw UsageError(std::string(option) + " '" + text + "' holds a character that Windows-1252 lacks", "documents");
  }
}

}  // namespace

int run_documents_command(const DocumentsCommand& command, Console& console) {
  Diagnostics diagnostics(console.err, console.colour);
  const TrainDetails details{option_text_1252(command.train_class, "--class"), option_text_1252(command.rank, "--rank"),
                             option_text_1252(command.mass_t, "--mass")};
  LoadedScenario scenario;
  try {
    scenario = load_scenario_files(located_scenario(command.folder, command.name, command.number, "documents"));
  } catch (const FileError& e) {
    diagnostics.error(e.what());
    return kExitNothing;
  }
  const ScenarioFileNames names = scenario_file_names(scenario.name, scenario.number);
  std::string card, order;
  try {
    card = form_bytes(train_card_lines(scenario, details));
    order = form_bytes(slowdown_order_lines(scenario));
  } catch (const std::length_error& e) {
    diagnostics.error(e.what());
    return kExitNothing;
  }
  // Both documents or neither; without --force the set refuses, under the folder's lock,
  // documents already there.
  ensure_folder(command.output);
  FileSet documents(command.output, {names.train_card, names.slowdown_order},
                    set_options(command.wait, command.force, diagnostics));
  documents.add(names.train_card, card);
  documents.add(names.slowdown_order, order);
  documents.commit();
  console.out << (command.output / names.train_card).string() << "\n"
              << (command.output / names.slowdown_order).string() << "\n";
  return kExitClean;
}

}  // namespace scenario
