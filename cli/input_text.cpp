#include "cli/input_text.h"

#include <utility>

#include "base/read_whole_file.h"

namespace vemra {

namespace {

// The list takes over the bytes unless they are to be kept as well.
InputText WithText(std::string bytes, std::string name, KeepLoaded keep) {
  InputText input;
  input.name = std::move(name);
  if (keep.bytes) {
    input.lines.AssignText(bytes);
    input.original = std::move(bytes);
  } else {
    input.lines.AdoptText(std::move(bytes));
  }
  if (keep.lines) input.loaded_lines = LinesOf(input.lines);
  return input;
}

}  // namespace

InputText LoadFileInput(const std::string& path, std::string name, KeepLoaded keep) {
  LoadedFile loaded;
  std::string bytes = ReadWholeFile(path, loaded);
  InputText input = WithText(std::move(bytes), std::move(name), keep);
  input.file = std::move(loaded);
  return input;
}

InputText LoadStandardInput(int fd, std::string name, KeepLoaded keep) {
  return WithText(ReadStandardInput(fd), std::move(name), keep);
}

ReviewVerdict ReviewInput(const InputText& input, bool diff) {
  return Review(input.original, input.loaded_lines, input.lines, input.name, diff);
}

}  // namespace vemra
