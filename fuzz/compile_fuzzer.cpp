// Every input must end as a clean compile, a recorded fault or "nothing compiled": a crash,
// a sanitizer report or a hang is a finding.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_input.hpp"
#include "fuzz/route_length_bound.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // Refused without compiling, and kept out of the corpus (the replaying test compiles
  // every kept input whole).
  if (scenario::fuzzing::route_longer_than_fuzzed(input)) return -1;
  scenario::fuzzing::compile_fuzz_input(input);
  return 0;
}
