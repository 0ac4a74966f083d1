#include "format/field_layout.hpp"

#include "model/runtime_failure.hpp"

namespace scenario {

void write_value(ByteWriter& w, uint8_t value) { w.u8(value); }
void write_value(ByteWriter& w, int16_t value) { w.i16(value); }
void write_value(ByteWriter& w, int32_t value) { w.i32(value); }
void check_record_text(const std::string& text) {
  if (text.size() > kMaxRecordTextBytes) throw RuntimeFailure("record text longer than 65535 bytes");
}

void write_value(ByteWriter& w, const std::string& text) {
  check_record_text(text);
  w.u16(static_cast<uint16_t>(text.size()));
  w.bytes(text);
}

void read_value(ByteReader& r, std::string_view name, ByteReader::Describe describe, uint8_t& value) {
  value = r.u8(name, describe);
}
void read_value(ByteReader& r, std::string_view name, ByteReader::Describe, int16_t& value) { value = r.i16(name); }
void read_value(ByteReader& r, std::string_view name, ByteReader::Describe, int32_t& value) { value = r.i32(name); }
void read_value(ByteReader& r, std::string_view name, ByteReader::Describe, std::string& text) {
  const uint16_t length = r.u16(std::string(name) + " length");
  text = std::string(r.text(length, name));
}

}  // namespace scenario
