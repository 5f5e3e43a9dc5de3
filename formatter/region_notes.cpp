#include "formatter/region_notes.h"

#include "formatter/region_markers.h"

namespace vemra {

void NoteCommentForRegions(LayoutState& state) {
  if (state.Token[1] == '/' && MayBeRegionMarker(state.Token)) {
    state.NextPassMayDiffer = state.Regions.NoteLineComment(
        state.Token, state.Output.CurrentLineStart(), state.NextPassMayDiffer);
  }
}

}  // namespace vemra
