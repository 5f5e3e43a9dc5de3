// What a review ("check", "diff" and "list") says about one input: the file
// is loaded and formatted as usual, but never saved; the verdict tells
// whether formatting would change it, "diff" also how, as a patch, and
// "list" names it when it would change.
#pragma once

#include <string>
#include <string_view>

#include "base/string_list.h"

namespace vemra {

// What a review prints besides its verdict, and with which colours.
struct ReviewRequest {
  bool diff = false;            // the patch that formatting would make
  bool list = false;            // the name of a file that would change
  bool colour_verdict = false;  // the verdict's words in colour
  bool colour_patch = false;    // the patch's lines in colour
};

struct ReviewVerdict {
  bool would_change;  // formatting would change the file's bytes
  // "Already formatted: PATH" or "Would reformat: PATH", and with "diff",
  // when the lines would keep their text, the line end they would all get;
  // every line ends in LF.
  std::string text;
  // What standard output carries for the file: with "list" its patch name
  // on a line, with "diff" the patch; empty when it would not change.
  std::string data;
};

// The verdict on a file that held original and, formatted, holds formatted.
// shown_name is the name the verdict shows; given_name the name the file was
// given by, which the patch and the list turn into PatchName.
ReviewVerdict Review(std::string_view original, const TStringList& formatted,
                     const std::string& shown_name, const std::string& given_name,
                     const ReviewRequest& request);

// The name a patch and a list give a file: its path from the current
// folder, with '/' between the parts, so that a patch applies in that
// folder; the name as given when the file lies outside it.
std::string PatchName(const std::string& given_name);

}  // namespace vemra
