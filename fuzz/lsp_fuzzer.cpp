// Every input must be served to its end without a crash, a hang or a sanitizer report.
#include <cstddef>
#include <cstdint>

#include "fuzz/lsp_input.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  scenario::fuzzing::serve_lsp_fuzz_input({reinterpret_cast<const char*>(data), size});
  return 0;
}
