// Every input must end as a clean compile, a recorded fault or "nothing compiled": a crash,
// a sanitizer report or a hang is a finding.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_input.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  scenario::fuzzing::compile_fuzz_input({reinterpret_cast<const char*>(data), size});
  return 0;
}
