// Every input must end as a decoded file or a DecodeError: a crash, a sanitizer report or a
// hang in the decoders or the drawing is a finding.
#include <cstddef>
#include <cstdint>

#include "fuzz/decode_input.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  scenario::fuzzing::decode_fuzz_input({reinterpret_cast<const char*>(data), size});
  return 0;
}
