// The documents the client has open: each one's text, as bytes, and the
// version the client gave it.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace vemra::lsp {

struct OpenDocument {
  std::string text;
  std::int64_t version = 0;
};

class OpenDocuments {
 public:
  void Open(const std::string& uri, std::string text, std::int64_t version);
  void Close(const std::string& uri);
  // The document, or null when it is not open.
  OpenDocument* Find(const std::string& uri);
  // The open document; throws RequestError (kInvalidParams) when it is not
  // open.
  OpenDocument& Get(const std::string& uri);

 private:
  std::map<std::string, OpenDocument> documents_;
};

}  // namespace vemra::lsp
