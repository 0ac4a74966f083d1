#include <exception>
#include <iostream>
#include <string_view>

#include "driver/build_run.hpp"
#include "driver/process_setup.hpp"
#include "driver/program_folder.hpp"
#include "model/file_io.hpp"
#include "postpass/fault_table.hpp"

using namespace scenario;

namespace {

int report_result(const ScenarioModel& model, const CompileResult& result) {
  switch (result.status) {
    case CompileStatus::kHeaderFault:
      std::cerr << " Errore n. " << result.shown_fault << std::endl;
      return 2;
    case CompileStatus::kNoTrackCells:
      std::cerr << "scenario-builder: error: fault " << model.error_code << ": " << fault_meaning(model.error_code)
                << "; no track cells, nothing compiled" << std::endl;
      return 2;
    case CompileStatus::kCompiled:
      break;
  }
  return model.error_code == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  prepare_process();
  try {
    if (argc > 1) {
      const std::string_view arg = argv[1];
      if (arg == "--version") {
        std::cout << "scenario-builder " << SCENARIO_BUILDER_VERSION << "\n";
        return 0;
      }
      std::cout << "usage: scenario-builder\n  with no arguments, builds the built-in scenario into the program's folder\n";
      return arg == "--help" || arg == "-h" || arg == "help" ? 0 : 2;
    }
    ScenarioModel model;
    const CompileResult result = run_builtin_build(model, program_folder(), std::cout);
    return report_result(model, result);
  } catch (const FileError& e) {
    std::cerr << "scenario-builder: error: " << e.what() << std::endl;
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "scenario-builder: internal error: " << e.what() << std::endl;
    return 3;
  }
}
