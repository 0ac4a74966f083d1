#include "driver/scenario_identity.hpp"

#include <stdexcept>

#include "driver/command_line.hpp"
#include "format/compiled_files.hpp"
#include "format/file_names.hpp"
#include "format/scenario_files.hpp"
#include "model/windows_1252.hpp"

namespace scenario {
namespace {

// A name or number becomes part of file names: it must be one plain file-name part.
void check_file_name_part(const std::string& value, const char* what) {
  const std::string subject = std::string("the scenario ") + what;
  if (value.empty()) throw UsageError(subject + " is empty", "compile");
  // A newline or a tab would break the commit note of the files named after it, and an
  // escape sequence would reach the terminal with every message that names them.
  if (has_control_character(value)) throw UsageError(subject + " holds a control character", "compile");
  const bool has_separator = value.find_first_of(std::string_view("/\\\0", 3)) != std::string::npos;
  if (has_separator || value == "." || value == "..") {
    throw UsageError(subject + " '" + value + "' cannot be part of a file name", "compile");
  }
}

// The records carry the name and number as Windows-1252 text, with a 16-bit byte count.
std::string record_text(const std::string& value, const char* what) {
  const std::string subject = std::string("the scenario ") + what + " '" + value + "'";
  std::string text;
  try {
    text = utf8_to_1252(value);
  } catch (const std::invalid_argument& e) {
    throw UsageError(subject + " cannot be written in Windows-1252, as the compiled files carry it: " + e.what(),
                     "compile");
  }
  if (text.size() > kMaxRecordTextBytes) throw UsageError(subject + " is longer than a record's text", "compile");
  return text;
}

}  // namespace

ScenarioIdentity infer_scenario_identity(const std::filesystem::path& line_source,
                                         const std::filesystem::path& service_source,
                                         const std::optional<std::string>& name,
                                         const std::optional<std::string>& number) {
  ScenarioIdentity identity;
  const std::string line_file = line_source.filename().string();
  if (name) {
    identity.name = *name;
  } else if (line_file.size() > kLineSourceSuffix.size() && line_file.ends_with(kLineSourceSuffix)) {
    identity.name = line_file.substr(0, line_file.size() - kLineSourceSuffix.size());
  } else {
    throw UsageError("cannot tell the scenario name from '" + line_file +
                         "': a line source is named NAME_linea.txt; give the name with --name NAME",
                     "compile");
  }
  check_file_name_part(identity.name, "name");

  const std::string service_file = service_source.filename().string();
  const std::string prefix = identity.name + "_";
  if (number) {
    identity.number = *number;
  } else if (service_file.size() > prefix.size() + kServiceSourceSuffix.size() && service_file.starts_with(prefix) &&
             service_file.ends_with(kServiceSourceSuffix)) {
    identity.number = service_file.substr(prefix.size(), service_file.size() - prefix.size() - kServiceSourceSuffix.size());
  } else {
    throw UsageError("cannot tell the scenario number from '" + service_file + "': the service source of scenario '" +
                         identity.name + "' is named " + prefix + "N-.txt; give the number with --number N",
                     "compile");
  }
  check_file_name_part(identity.number, "number");
  identity.name_text = record_text(identity.name, "name");
  identity.number_text = record_text(identity.number, "number");
  return identity;
}

}  // namespace scenario
