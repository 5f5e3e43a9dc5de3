// One input's text on its way through any run: loaded from a named file, a
// walked one or standard input, formatted in place, then saved, written to
// standard output or reviewed. Every run loads and formats through here, so
// that each input is formatted the same way whichever run it is in.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/file_identity.h"
#include "base/string_list.h"
#include "cli/review_verdict.h"

namespace vemra {

// What a run keeps of a text as it was loaded, besides the text itself.
struct KeepLoaded {
  bool bytes = false;  // to tell whether formatting changed them
  bool lines = false;  // to show a diff
};

struct InputText {
  std::string name;                       // as reports and messages show it
  std::optional<LoadedFile> file;         // the file it was loaded from; none for standard input
  std::string original;                   // its bytes as loaded, when kept
  std::vector<std::string> loaded_lines;  // its lines as loaded, when kept
  TStringList lines;                      // the text, to be formatted in place
};

// The file at path, opened through the name as given; name is what reports
// call it. Throws as ReadWholeFile does.
InputText LoadFileInput(const std::string& path, std::string name, KeepLoaded keep);
// The text on standard input, open on fd. Throws as ReadStandardInput does.
InputText LoadStandardInput(int fd, std::string name, KeepLoaded keep);

// Whether formatting changed the text's bytes (line ends included) and, with
// diff, how; the text must have been loaded keeping its bytes, and with diff
// its lines.
ReviewVerdict ReviewInput(const InputText& input, bool diff);

}  // namespace vemra
