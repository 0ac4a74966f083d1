#include "compiler/service_source_reader.hpp"

namespace scenario {

// Placeholder until the service-source reader lands.
void read_service_source(ScenarioModel& model, SourceFile& service_source, int32_t board_slot_counter) {
  (void)model;
  (void)service_source;
  (void)board_slot_counter;
}

}  // namespace scenario
