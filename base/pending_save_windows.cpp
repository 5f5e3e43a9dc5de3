#include "base/pending_save.h"

#include "base/file_failures.h"

namespace vemra {

// Placeholder until the Windows route is built: every save fails, so that
// nothing is ever half-saved.
class PendingSave::Route {};

PendingSave::PendingSave(const std::string& file_name, std::string_view, const LoadedFile*) {
  throw CreateFailure(file_name, "Saving is not built for Windows yet");
}

PendingSave::~PendingSave() = default;

void PendingSave::MakeDurable() {}

void PendingSave::Commit() {}

void PendingSave::FlushFolder() {}

}  // namespace vemra
