#include "lsp/open_documents.h"

#include <utility>

#include "lsp/json_rpc.h"

namespace vemra::lsp {

void OpenDocuments::Open(const std::string& uri, std::string text, std::int64_t version) {
  documents_[uri] = OpenDocument{std::move(text), version};
}

void OpenDocuments::Close(const std::string& uri) {
  documents_.erase(uri);
}

OpenDocument* OpenDocuments::Find(const std::string& uri) {
  const auto found = documents_.find(uri);
  return found == documents_.end() ? nullptr : &found->second;
}

OpenDocument& OpenDocuments::Get(const std::string& uri) {
  OpenDocument* document = Find(uri);
  if (!document) throw RequestError(kInvalidParams, "the document " + uri + " is not open");
  return *document;
}

}  // namespace vemra::lsp
