// The file a document's URI names, as the settings lookup takes it.
#pragma once

#include <string>

namespace vemra::lsp {

// "file:///home/a%20b/x.vem" -> "/home/a b/x.vem"; "file:///C:/x.vem" ->
// "C:/x.vem"; empty for a URI of another scheme (an unsaved buffer).
std::string PathOfUri(const std::string& uri);

}  // namespace vemra::lsp
