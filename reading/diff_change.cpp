#include "reading/diff_change.hpp"

#include "model/windows_1252.hpp"

namespace scenario {
namespace {

std::string change_line(const DocumentRow& row) { return field_text(row, "text"); }

DocumentSection& group_section(ReadingDocument& d, const std::string& group) {
  for (DocumentSection& section : d.sections)
    if (section.name == group) return section;
  DocumentSection section{group, {}, "changes", {}, {}};
  section.row_line = change_line;
  return d.sections.emplace_back(std::move(section));
}

void add_row(ReadingDocument& d, const std::string& group, DocumentRow row) {
  group_section(d, group).rows.push_back(std::move(row));
}

}  // namespace

DocumentRow change_row(Change change) {
  const std::string said = !change.line.empty()
                               ? change.line
                               : (change.words.empty() ? "" : change.words + " ") + change.before.text + kChangeArrow +
                                     change.after.text + change.unit;
  DocumentRow row = {{"kind", text_value(std::move(change.kind))},
                     {"change", text_value(std::move(change.change))},
                     {"what", text_value(change.what)}};
  for (DocumentField& field : change.where) row.push_back(std::move(field));
  row.push_back({"field", text_value(std::move(change.field))});
  row.push_back({"before", std::move(change.before)});
  row.push_back({"after", std::move(change.after)});
  row.push_back({"text", text_value(change.what + ": " + said)});
  return row;
}

void add_change(ReadingDocument& d, const std::string& group, Change change) {
  add_row(d, group, change_row(std::move(change)));
}

void add_made_changes(ReadingDocument& d, const std::string& group, RowMaker rows) {
  DocumentSection& section = group_section(d, group);
  if (!section.made_rows) {
    section.made_rows = std::move(rows);
    return;
  }
  section.made_rows = [before = std::move(section.made_rows), rows = std::move(rows)](const auto& row) {
    before(row);
    rows(row);
  };
}

void merge_changes(ReadingDocument& into, ReadingDocument from) {
  for (DocumentSection& section : from.sections) {
    for (DocumentRow& row : section.rows) add_row(into, section.name, std::move(row));
    if (section.made_rows) add_made_changes(into, section.name, std::move(section.made_rows));
  }
}

DocumentValue grouped_value(int64_t number) { return number_value(number, grouped_number(number)); }

std::string quoted_1252(const std::string& text_1252) { return "'" + utf8_from_1252(text_1252) + "'"; }

}  // namespace scenario
