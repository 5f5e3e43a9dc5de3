// One input's text on its way through any run: loaded from a named file, a
// walked one or standard input, formatted in place, then saved, written to
// standard output or reviewed. Every run loads and formats through here, so
// that each input is formatted the same way whichever run it is in.
#pragma once

#include <optional>
#include <string>

#include "base/file_identity.h"
#include "base/string_list.h"
#include "cli/review_verdict.h"

namespace vemra {

struct InputText {
  std::string name;                // as reports and messages show it
  std::optional<LoadedFile> file;  // the file it was loaded from; none for standard input
  std::string original;            // its bytes as loaded, when kept
  TStringList lines;               // the text, to be formatted in place
};

// The file at path, opened through the name as given; name is what reports
// call it. With keep_bytes its bytes are kept as loaded, to tell whether
// formatting changed them and how. Throws as ReadWholeFile does.
InputText LoadFileInput(const std::string& path, std::string name, bool keep_bytes);
// The text on standard input, open on fd. Throws as ReadStandardInput does.
InputText LoadStandardInput(int fd, std::string name, bool keep_bytes);

// Whether formatting changed the text's bytes (line ends included), as the
// request asks to be told (see Review); the text must have been loaded
// keeping its bytes. given_name is the name it was given by.
ReviewVerdict ReviewInput(const InputText& input, const std::string& given_name,
                          const ReviewRequest& request);

}  // namespace vemra
