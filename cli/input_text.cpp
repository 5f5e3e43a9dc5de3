#include "cli/input_text.h"

#include <utility>

#include "base/read_whole_file.h"

namespace vemra {

namespace {

// The list takes over the bytes unless they are to be kept as well.
InputText WithText(std::string bytes, std::string name, bool keep_bytes) {
  InputText input;
  input.name = std::move(name);
  if (keep_bytes) {
    input.lines.AssignText(bytes);
    input.original = std::move(bytes);
  } else {
    input.lines.AdoptText(std::move(bytes));
  }
  return input;
}

}  // namespace

InputText LoadFileInput(const std::string& path, std::string name, bool keep_bytes) {
  LoadedFile loaded;
  std::string bytes = ReadWholeFile(path, loaded);
  InputText input = WithText(std::move(bytes), std::move(name), keep_bytes);
  input.file = std::move(loaded);
  return input;
}

InputText LoadStandardInput(int fd, std::string name, bool keep_bytes) {
  return WithText(ReadStandardInput(fd), std::move(name), keep_bytes);
}

ReviewVerdict ReviewInput(const InputText& input, const std::string& given_name,
                          const ReviewRequest& request) {
  return Review(input.original, input.lines, input.name, given_name, request);
}

}  // namespace vemra
