// Which line comments start or end a region left as it stood.
#include "formatter/region_markers.h"

#include <gtest/gtest.h>

#include <string>

namespace vemra {
namespace {

const char* Name(RegionMarker marker) {
  switch (marker) {
    case RegionMarker::kOff:
      return "off";
    case RegionMarker::kOn:
      return "on";
    case RegionMarker::kNone:
      break;
  }
  return "none";
}

TEST(RegionMarkers, OnlyTheExactWordsInAnyLetterCaseAndBlanksAround) {
  struct Case {
    std::string comment;
    RegionMarker marker;
  };
  const IndentUnit two_blanks{' ', 2};
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
      {"// vemrafmt", RegionMarker::kNone},
      {"//", RegionMarker::kNone},
      {"// v", RegionMarker::kNone},
      {"// vvemrafmt: off", RegionMarker::kNone},
      // A TAB inside is judged as the saved text holds it: two blanks here.
      {"// vemrafmt:\toff", RegionMarker::kNone},
      {"//\tvemrafmt: on\t", RegionMarker::kOn},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(Name(RegionMarkerOf(c.comment, two_blanks)), Name(c.marker)) << c.comment;
    // The quick look never turns a marker away.
    if (c.marker != RegionMarker::kNone) {
      EXPECT_TRUE(MayBeRegionMarker(c.comment)) << c.comment;
    }
  }
}

// A TAB that the saved text turns into one blank, or drops, can make a
// marker of a comment; one kept as a TAB cannot.
TEST(RegionMarkers, TabsCountAsTheSavedTextHoldsThem) {
  struct Case {
    const char* comment;
    IndentUnit unit;
    RegionMarker marker;
  };
  const Case cases[] = {
      {"// vemrafmt:\toff", IndentUnit{' ', 1}, RegionMarker::kOff},
      {"// vemrafmt:\toff", IndentUnit{'\t', 1}, RegionMarker::kNone},
      {"// vemrafmt:\toff", IndentUnit{' ', 2}, RegionMarker::kNone},
      {"// vem\trafmt: o\tn", IndentUnit{' ', 0}, RegionMarker::kOn},
      {"// vemrafmt:\t off", IndentUnit{' ', 0}, RegionMarker::kOff},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(Name(RegionMarkerOf(c.comment, c.unit)), Name(c.marker))
        << c.comment << " width " << c.unit.width;
    if (c.marker != RegionMarker::kNone) {
      EXPECT_TRUE(MayBeRegionMarker(c.comment)) << c.comment;
    }
  }
}

}  // namespace
}  // namespace vemra
