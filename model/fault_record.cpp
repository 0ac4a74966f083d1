#include "model/fault_record.hpp"

namespace scenario {

Diagnostic diagnostic_of_fault(const RecordedFault& fault) {
  std::string message(fault_meaning(fault.number));
  if (!fault.detail.empty()) message += ": " + std::string(fault.detail);
  Diagnostic diagnostic{Severity::kError, fault.number, std::move(message), fault.place, fault.position_m, fault.notes};
  diagnostic.fix = fault.fix;
  return diagnostic;
}

}  // namespace scenario
