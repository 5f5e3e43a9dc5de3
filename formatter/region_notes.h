// The layout's part in the regions left as they stood (verbatim_regions.h):
// it shows the finder every line comment it writes, and keeps what it notes
// for the next pass (next_pass_notes.h) to the lines the finishing pass
// rewrites. A region's lines come to the next pass with the very bytes this
// one read, so nothing in them can make that pass differ.
#pragma once

#include "formatter/layout_state.h"
#include "formatter/next_pass_notes.h"
#include "formatter/region_markers.h"

namespace vemra {

// After a line comment is written: it may start or end a region.
inline void NoteRegionMarker(LayoutState& state) {
  if (state.Is(kComment) && state.Token[1] == '/' && MayBeRegionMarker(state.Token)) [[unlikely]] {
    state.NextPassMayDiffer = state.Regions.NoteLineComment(
        state.Token, state.Output.CurrentLineStart(), state.NextPassMayDiffer);
  }
}

// After the last token. A text that ends inside a region ends as it stood.
inline void NoteTextEnd(LayoutState& state) {
  if (state.Regions.InRegion()) {
    state.NextPassMayDiffer = state.Regions.NoteBeforeRegion();
  } else {
    NoteLastLineEndRemoved(state);
  }
}

}  // namespace vemra
