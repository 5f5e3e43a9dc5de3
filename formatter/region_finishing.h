// The finishing pass of a text with regions left as they stood
// (verbatim_regions.h): the laid-out lines around the regions are finished
// as ever, and each region's lines take the place of those the layout made
// of them, byte for byte, each followed by the chosen line end.
#pragma once

#include <string_view>
#include <vector>

#include "formatter/finishing_pass.h"
#include "formatter/format_options.h"
#include "formatter/verbatim_regions.h"

namespace vemra {

// The finished lines of laid_out with its regions, in order, in their
// place. Empty lines are collapsed on either side of a region, never into
// one. Throws ETextTooLarge when the result would pass the size limit.
FinishedLines FinishLinesAroundRegions(std::string_view laid_out,
                                       const std::vector<VerbatimRegion>& regions,
                                       const FormatOptions& options);

}  // namespace vemra
