#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>

#include "format/byte_reader.hpp"
#include "format/byte_writer.hpp"
#include "model/sim_record.hpp"

namespace scenario {

// How a field appears in inspect's listing when not as it lies in the file: another name,
// and the file's value times `scale` plus `offset` (a speed stored in units of 5 km/h).
struct ListedAs {
  std::string_view name = "";
  int64_t scale = 1;
  int64_t offset = 0;
};

// One field of a compiled record: its name, the member that holds it (whose type gives the
// width and the encoding: uint8_t, int16_t, int32_t, or a text behind a 16-bit byte count),
// and what it means. The encoder, the decoder, the annotated dump and the listing all walk
// the same fields, so they cannot disagree.
template <typename Record, typename Value>
struct Field {
  using record_type = Record;
  using value_type = Value;

  std::string_view name;
  Value Record::*member;
  std::string_view meaning;
  ByteReader::Describe describe = nullptr;  // the name of a coded value, for the dump
  std::string_view described_in = "";       // the listing column that shows that name
  ListedAs listed = {};
  bool carried = false;  // a running value, carried from one element to the next

  std::string_view listed_name() const { return listed.name.empty() ? name : listed.name; }
  int64_t listed_value(int64_t value) const { return value * listed.scale + listed.offset; }
};

template <typename Record, typename Value>
constexpr Field<Record, Value> field(std::string_view name, Value Record::*member, std::string_view meaning) {
  return {name, member, meaning};
}

// A field that listings show under another name.
template <typename Record, typename Value>
constexpr Field<Record, Value> listed_field(std::string_view name, Value Record::*member, std::string_view meaning,
                                            std::string_view listed_name) {
  return {name, member, meaning, nullptr, "", {listed_name, 1, 0}};
}

// Calls `visit(field)` for each field of `layout` (a tuple of Fields), in file order.
template <typename Layout, typename Visit>
constexpr void for_each_field(const Layout& layout, Visit&& visit) {
  std::apply([&](const auto&... fields) { (visit(fields), ...); }, layout);
}

// Bytes a value of type T takes in the file; a text takes its count's two plus its bytes.
template <typename T>
constexpr size_t fixed_width() {
  if constexpr (std::is_same_v<T, std::string>) return 2;
  else return sizeof(T);
}

// The bytes of a record without the bytes of its texts.
template <typename Layout>
constexpr size_t fixed_bytes(const Layout& layout) {
  size_t bytes = 0;
  for_each_field(layout, [&](const auto& f) { bytes += fixed_width<typename std::decay_t<decltype(f)>::value_type>(); });
  return bytes;
}

void write_value(ByteWriter& w, uint8_t value);
void write_value(ByteWriter& w, int16_t value);
void write_value(ByteWriter& w, int32_t value);
// A 16-bit byte count, then the bytes; a longer text is a run-time failure.
void write_value(ByteWriter& w, const std::string& text);
// The run-time failure of a text too long for its count; nothing for one that fits.
void check_record_text(const std::string& text);

void read_value(ByteReader& r, std::string_view name, ByteReader::Describe describe, uint8_t& value);
void read_value(ByteReader& r, std::string_view name, ByteReader::Describe describe, int16_t& value);
void read_value(ByteReader& r, std::string_view name, ByteReader::Describe describe, int32_t& value);
// Its count is shown as "NAME length".
void read_value(ByteReader& r, std::string_view name, ByteReader::Describe describe, std::string& text);

template <typename Record, typename Layout>
void write_record(ByteWriter& w, const Record& record, const Layout& layout) {
  for_each_field(layout, [&](const auto& f) { write_value(w, record.*f.member); });
}

template <typename Record, typename Layout>
Record read_record(ByteReader& r, const Layout& layout) {
  Record record{};
  for_each_field(layout, [&](const auto& f) { read_value(r, f.name, f.describe, record.*f.member); });
  return record;
}

}  // namespace scenario
