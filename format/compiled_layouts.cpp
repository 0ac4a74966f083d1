#include "format/compiled_layouts.hpp"

namespace scenario {

const char* describe_cell_kind(int64_t kind) { return cell_kind_name(static_cast<uint8_t>(kind)); }

}  // namespace scenario
