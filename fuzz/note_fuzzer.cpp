// Every input must be read as a note that is obeyed or one that is not: a crash, a
// sanitizer report, or a note obeyed that names anything but the set's own files, is a
// finding.
#include <cstddef>
#include <cstdint>

#include "fuzz/note_input.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  scenario::fuzzing::read_note_fuzz_input({reinterpret_cast<const char*>(data), size});
  return 0;
}
