// What the layout noticed about a text's blocks and regions that a user
// should hear of: a block never closed, a closing word with no block open,
// a region left as it stood that is never ended. They never change the
// formatted text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vemra {

enum class DiagnosticSeverity { kWarning, kInformation };

struct SourceDiagnostic {
  std::int32_t line = 0;  // 1-based line of the input the finding is about
  DiagnosticSeverity severity = DiagnosticSeverity::kWarning;
  std::string message;  // one line, without a line end
  bool operator==(const SourceDiagnostic&) const = default;
};

using SourceDiagnostics = std::vector<SourceDiagnostic>;

}  // namespace vemra
