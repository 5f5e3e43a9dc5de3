// The layout's part in the regions left as they stood (verbatim_regions.h):
// it shows the finder every line comment it writes, and keeps what it notes
// for the next pass (next_pass_notes.h) to the lines the finishing pass
// rewrites. A region's lines come to the next pass with the very bytes this
// one read, so nothing in them can make that pass differ.
#pragma once

#include "formatter/layout_state.h"
#include "formatter/next_pass_notes.h"

namespace vemra {

// The work for a comment just written, kept out of the token loop so that
// the loop's own code and registers stay as they are without regions.
[[gnu::noinline]] void NoteCommentForRegions(LayoutState& state);

// After a token is written: a line comment may start or end a region.
inline void NoteRegionMarker(LayoutState& state) {
  if (state.Is(kComment)) [[unlikely]] {
    NoteCommentForRegions(state);
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
