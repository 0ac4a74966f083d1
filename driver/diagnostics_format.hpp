#pragma once

namespace scenario {

// How diagnostics are printed on standard error: for a person, one JSON object per line, or
// one SARIF 2.1.0 document for code-scanning tools and editors.
enum class DiagnosticsFormat { kText, kJson, kSarif };

}  // namespace scenario
