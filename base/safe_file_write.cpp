#include "base/safe_file_write.h"

#include "base/pending_save.h"

namespace vemra {

void WriteFileSafely(const std::string& file_name, std::string_view bytes,
                     const LoadedFile* loaded) {
  PendingSave save(file_name, bytes, loaded);
  save.MakeDurable();
  save.Commit();
  save.FlushFolder();
}

}  // namespace vemra
