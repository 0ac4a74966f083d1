#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "model/sim_record.hpp"
#include "model/source_place.hpp"
#include "schema/field_reader.hpp"
#include "schema/row_schema.hpp"
#include "schema/row_tables.hpp"

namespace scenario {

// The value a field of a type is read into.
template <FieldType kType>
struct FieldValue;
template <>
struct FieldValue<FieldType::kLong> {
  using type = int32_t;
};
template <>
struct FieldValue<FieldType::kInteger> {
  using type = int16_t;
};
template <>
struct FieldValue<FieldType::kByte> {
  using type = uint8_t;
};
template <>
struct FieldValue<FieldType::kText> {
  using type = std::string;
};

// The fields behind the keyword of one row whose fields are `kFields`, read as the table says:
// in the row's order, each into the value its type gives (a text into a record's text, at most
// kMaxRecordTextBytes bytes). A field is read when it is first asked for, together with every
// field before it not yet read, so a row that stops at a fault of its first fields leaves the
// rest of the source unread, as the reading of a row always has.
template <const auto& kFields>
class RowValues {
 public:
  static constexpr size_t kCount = std::size(kFields);

  explicit RowValues(FieldReader& reader) : reader_(reader) {}

  // The fields this row reads, as the schema lists them.
  static constexpr std::span<const RowField> fields() { return kFields; }
  template <size_t kIndex>
  static constexpr const RowField& field() {
    static_assert(kIndex < kCount, "the row has no field at this index");
    return kFields[kIndex];
  }

  // Whether a row's entry lists these fields. Told by what the fields say rather than by
  // where they lie: an address compared while the program builds is not a constant to every
  // compiler's checking build.
  static consteval bool same_fields(std::span<const RowField> fields) {
    if (fields.size() != kCount) return false;
    for (size_t i = 0; i < kCount; ++i)
      if (fields[i].name != kFields[i].name || fields[i].type != kFields[i].type ||
          fields[i].unit != kFields[i].unit || fields[i].meaning != kFields[i].meaning)
        return false;
    return true;
  }

  // `kind`, checked as the program builds to be a kind of cell that the row's entry names.
  static consteval CellKind cell_kind(CellKind kind) {
    for (const SectionSchema* section : {&rows::kGeneralSection, &rows::kMainSection, &rows::kServiceSection})
      for (const RowText& row : section->rows)
        if (same_fields(row.fields))
          for (const CellKind named : row.cell_kinds)
            if (named == kind) return kind;
    throw "the row's entry names no such kind of cell";
  }

  // The value of a field, read if it has not been.
  template <size_t kIndex>
  auto& get() {
    read_through<kIndex>();
    return std::get<kIndex>(values_);
  }
  // Where a field began, read if it has not been.
  template <size_t kIndex>
  SourcePlace place() {
    read_through<kIndex>();
    return reader_.place_of(offsets_[kIndex]);
  }
  // Reads every field of the row not read yet.
  void read_all() { read_through<kCount - 1>(); }

 private:
  template <size_t... kIndexes>
  static auto values_of(std::index_sequence<kIndexes...>) -> std::tuple<typename FieldValue<kFields[kIndexes].type>::type...>;
  using Values = decltype(values_of(std::make_index_sequence<kCount>{}));

  template <size_t kIndex>
  void read_through() {
    static_assert(kIndex < kCount, "the row has no field at this index");
    read_each(std::make_index_sequence<kIndex + 1>{});
  }

  template <size_t... kIndexes>
  void read_each(std::index_sequence<kIndexes...>) {
    (read_if_unread<kIndexes>(), ...);
  }

  template <size_t kIndex>
  void read_if_unread() {
    if (kIndex < read_) return;
    auto& value = std::get<kIndex>(values_);
    constexpr FieldType kType = kFields[kIndex].type;
    if constexpr (kType == FieldType::kLong)
      value = reader_.read_long();
    else if constexpr (kType == FieldType::kInteger)
      value = reader_.read_integer();
    else if constexpr (kType == FieldType::kByte)
      value = reader_.read_byte();
    else
      value = reader_.read_text(kMaxRecordTextBytes);
    offsets_[kIndex] = reader_.last_field_offset();
    read_ = kIndex + 1;
  }

  FieldReader& reader_;
  Values values_{};
  std::array<size_t, kCount> offsets_{};
  size_t read_ = 0;
};

// The value a writer of sources gives a field of a type: a number as a whole number of 64
// bits (it may give one that its field cannot hold, which the reader then refuses), a text as
// its field is written.
template <FieldType kType>
using WrittenValue = std::conditional_t<kType == FieldType::kText, std::string, int64_t>;

template <const auto& kFields, size_t... kIndexes>
auto written_tuple(std::index_sequence<kIndexes...>) -> std::tuple<WrittenValue<kFields[kIndexes].type>...>;

// The values of one row of `kFields` as a writer of sources gives them, in the row's order: a
// field added to the row is a value that every writer of the row must then give.
template <const auto& kFields>
struct WrittenValues : decltype(written_tuple<kFields>(std::make_index_sequence<std::size(kFields)>{})) {
  using Values = decltype(written_tuple<kFields>(std::make_index_sequence<std::size(kFields)>{}));
  using Values::Values;

  static constexpr std::span<const RowField> fields() { return kFields; }
  template <size_t kIndex>
  const auto& get() const {
    return std::get<kIndex>(static_cast<const Values&>(*this));
  }
};

}  // namespace scenario
