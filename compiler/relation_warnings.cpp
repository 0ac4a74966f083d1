#include "compiler/relation_warnings.hpp"

#include <charconv>
#include <vector>

#include "compiler/fault_recording.hpp"

namespace scenario {

int64_t written_number(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return 0;
  text = text.substr(first);
  if (text.front() == '+') text.remove_prefix(1);
  int64_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

void warn_of_broken_relations(CompileContext& context, const FieldReader& reader, const RowText* matched) {
  if (matched == nullptr) return;
  const std::vector<FieldReader::ReadField>& read = reader.row_fields();
  std::vector<WrittenField> fields;
  for (size_t i = 0; i < read.size() && i < matched->fields.size(); ++i) {
    const bool text = matched->fields[i].type == FieldType::kText;
    fields.push_back({text ? 0 : written_number(read[i].text), read[i].text, reader.place_of(read[i].offset)});
  }
  for (BrokenRelation& broken : context.relations.row(*matched, fields))
    report_warning(context, broken.warning, std::move(broken.message), broken.place, std::move(broken.fix));
}

}  // namespace scenario
