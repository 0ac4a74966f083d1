#include "compiler/source_warnings.hpp"

#include <string>

#include "compiler/fault_recording.hpp"
#include "model/rounding.hpp"
#include "model/windows_1252.hpp"

namespace scenario {

void warn_of_texts_over_lines(const CompileContext& context, FieldReader& reader) {
  reader.on_text_over_lines([&context](const SourcePlace& begin, int end_line, bool closed) {
    if (!closed) {
      // Every row after the quote became its text: nothing after it was compiled.
      report_error(context,
                   "this quoted text begins on line " + std::to_string(begin.line) +
                       " and is never closed: the rest of the file, to line " + std::to_string(end_line) +
                       ", became its text; add the closing '\"'",
                   begin);
      return;
    }
    report_warning(context, Warning::kTextOverLines,
                   "this quoted text begins on line " + std::to_string(begin.line) + " and runs over line ends to line " +
                       std::to_string(end_line) + "; is its closing '\"' missing?",
                   begin);
  });
}

void warn_if_utf8(const CompileContext& context, const FieldReader& reader, std::string_view text) {
  const std::optional<size_t> first = first_utf8_letter(text);
  if (!first) return;
  report_warning(context, Warning::kLooksLikeUtf8,
                 "this source looks like UTF-8: it is read as Windows-1252, so each letter outside ASCII becomes two "
                 "or three; save it as Windows-1252 or compile with --input-encoding utf-8",
                 reader.place_of(*first));
}

void warn_if_moved(const CompileContext& context, int64_t written_m, int64_t compiled_m) {
  if (written_m == compiled_m) return;
  report_warning(context, Warning::kOffCell, "position " + std::to_string(written_m) +
                            " m is not on a 50 m cell boundary: the feature is compiled as if at " +
                            std::to_string(compiled_m) + " m",
                 std::nullopt, DiagnosticFix{std::to_string(written_m), std::to_string(compiled_m)});
}

void warn_if_off_cell_of(const CompileContext& context, int64_t written_m) {
  warn_if_moved(context, written_m, kCellLength_m * cell_of_position(written_m));
}

void warn_if_off_cell_after(const CompileContext& context, int64_t written_m) {
  warn_if_moved(context, written_m, kCellLength_m * (cell_after_position(written_m) - 1));
}

void warn_if_fill_out_of_order(const CompileContext& context, std::string_view keyword, int64_t position_m,
                               int64_t own_cell, int64_t begins_cell) {
  if (begins_cell == own_cell || begins_cell >= context.model.last_cell) return;
  report_warning(context, Warning::kRowOutOfOrder,
                 "this " + std::string(keyword) + " row at " + std::to_string(position_m) +
                     " m is not past the rows before it: rows apply in the order they are written, so its value "
                     "holds from " + std::to_string(begins_cell * kCellLength_m) + " m, not from " +
                     std::to_string(own_cell * kCellLength_m) + " m");
}

}  // namespace scenario
