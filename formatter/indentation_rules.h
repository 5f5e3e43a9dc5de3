// The indentation rules of the layout pass. Indentation is one TAB per
// level, written right after every LF token; block words change the level
// for the lines that follow, and a closing word that opens its line takes
// back TABs that line already received.
#pragma once

#include "formatter/layout_state.h"
#include "formatter/word_tables.h"

namespace vemra {

// The level changes, told to the record of blocks when one is kept.
inline void NoteOpened(LayoutState& state, bool second_level = false) {
  if (state.Blocks != nullptr) {
    state.Blocks->Opened(state.Blocks->OffsetOf(state.Token), state.Token, second_level);
  }
}
inline void NoteClosed(LayoutState& state) {
  if (state.Blocks != nullptr)
    state.Blocks->Closed(state.Blocks->OffsetOf(state.Token), state.Token);
}

// Before the token is written.

// "end", "until", "else", "except", "finally", "#endclass" lower the level
// and take a TAB back from their line when they open it.
inline void CloseBlock(LayoutState& state) {
  if (!state.Is(kClosingWord)) return;
  if (!state.Is(kKeepsLevel)) {
    --state.Level;
    NoteClosed(state);
  }
  state.Output.DeleteLastIf('\t');
  // The "end" of a "case" block meets the level its "case" pushed and takes
  // back the second level the block's body was given.
  if (!state.CaseStack.empty() && state.Is(kEndWord) && state.Level == state.CaseStack.back()) {
    state.CaseStack.pop_back();
    --state.Level;
    NoteClosed(state);
    state.Output.DeleteLastIf('\t');
  }
}

// "read" and "write" start a count over the next three tokens.
inline void CountDownAccessor(LayoutState& state) {
  if (state.PropertyCountdown > 0) --state.PropertyCountdown;
  if (state.Is(kAccessorWord)) {
    state.PropertyCountdown = 3;
    if (state.Blocks != nullptr)
      state.Blocks->Accessor(state.Blocks->OffsetOf(state.Token), state.Token);
  }
}

// The second token after "read" or "write" opens the accessor's body, unless
// it is a string or integer variable ("name$", "name%") being accessed.
inline void OpenPropertyBlock(LayoutState& state) {
  if (state.PropertyCountdown == 1 && !state.Is(kEndsInSigil)) {
    ++state.Level;
    if (state.Blocks != nullptr) state.Blocks->AccessorOpened();
  }
}

// "#define" marks its line, on which every "-" is written against its operand.
inline void EnterDefine(LayoutState& state) {
  if (state.Is(kDefineWord)) state.InDefine = true;
}

// After the token is written.

// An LF receives Level TABs, and ends a "#define" line.
inline void IndentNewLine(LayoutState& state) {
  if (!state.Is(kLineFeed)) return;
  state.Output.AppendIndentation(state.Level);
  state.InDefine = false;
}

// "forward" and "inline" announce a routine header that opens no block.
inline void NoteForwardWord(LayoutState& state) {
  if (state.Is(kForwardWord)) state.ForwardPending = true;
}

// A routine word after a forward word is only a declaration: it opens no
// block, and consumes the forward word.
inline void OpenBlock(LayoutState& state) {
  if (!state.Is(kOpeningWord)) return;
  if (state.Is(kRoutineWord) && state.ForwardPending) {
    state.ForwardPending = false;
    return;
  }
  ++state.Level;
  NoteOpened(state);
}

// "case" opens a second level for its body; labels stand one level out.
inline void OpenCaseBlock(LayoutState& state) {
  if (!state.Is(kCaseWord)) return;
  state.CaseStack.push_back(state.Level);
  ++state.Level;
  NoteOpened(state, true);
}

// Every ":" moves its line one level out.
inline void OutdentLabel(LayoutState& state) {
  if (state.Is(kColon)) state.Output.DropIndentationTab();
}

// "else if" shares the level of its "else", so one "end" closes the chain.
inline void OpenIfBlock(LayoutState& state) {
  if (state.Is(kIfWord) && !state.PrevIs(kElseWord)) {
    ++state.Level;
    NoteOpened(state);
  }
}

}  // namespace vemra
