// Which line comments start or end a region left as it stood.
#include "formatter/region_markers.h"

#include <gtest/gtest.h>

#include <string>

namespace vemra {
namespace {

const char* Name(RegionMarker marker) {
  return marker == RegionMarker::kOff ? "off" : marker == RegionMarker::kOn ? "on" : "none";
}

TEST(RegionMarkers, OnlyTheExactWordsInAnyLetterCaseWithBlanksAround) {
  struct Case {
    std::string comment;
    RegionMarker marker;
    IndentUnit unit = {' ', 2};  // what a TAB becomes when saved
  };
  const Case cases[] = {
      {"// vemrafmt: off", RegionMarker::kOff},
      {"// vemrafmt: on", RegionMarker::kOn},
      {"//vemrafmt: off", RegionMarker::kOff},
      {"//  \t VemraFmt: OFF \t  ", RegionMarker::kOff},
      {"// VEMRAFMT: On", RegionMarker::kOn},
      {"// vemrafmt: on\x01", RegionMarker::kOn},  // trimmed away when saved
      {std::string("// vemrafmt: on\0", 16), RegionMarker::kOn},
      // Anything else on the comment, or other spacing inside it.
      {"// vemrafmt: off please", RegionMarker::kNone},
      {"// vemrafmt:off", RegionMarker::kNone},
      {"// vemrafmt:  off", RegionMarker::kNone},
      {"// vemrafmt : off", RegionMarker::kNone},
      {"/// vemrafmt: off", RegionMarker::kNone},
      {"// \x01vemrafmt: off", RegionMarker::kNone},
      {"// vemrafmt: of", RegionMarker::kNone},
      {"// vemrafmt: onn", RegionMarker::kNone},
      {"// vemrafmt: ", RegionMarker::kNone},
      {"//", RegionMarker::kNone},
      {"// v", RegionMarker::kNone},
      {"// vvemrafmt: off", RegionMarker::kNone},
      // A TAB inside counts as what the saved text holds for it: a marker
      // in the saved text is one in the text formatted.
      {"// vemrafmt:\toff", RegionMarker::kNone},
      {"//\tvemrafmt: on\t", RegionMarker::kOn},
      {"// vemrafmt:\toff", RegionMarker::kOff, {' ', 1}},
      {"// vemrafmt:\toff", RegionMarker::kNone, {'\t', 1}},
      {"// vem\trafmt: o\tn", RegionMarker::kOn, {' ', 0}},
      {"//\tvemrafmt:\toff\t", RegionMarker::kNone, {' ', 2147483647}},
      {"//\tvemrafmt: off\t", RegionMarker::kOff, {' ', 2147483647}},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(Name(RegionMarkerOf(c.comment, c.unit)), Name(c.marker)) << c.comment;
    // The quick look never turns a marker away.
    if (c.marker != RegionMarker::kNone) {
      EXPECT_TRUE(MayBeRegionMarker(c.comment)) << c.comment;
    }
  }
}

}  // namespace
}  // namespace vemra
