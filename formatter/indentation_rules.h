// The indentation rules of the layout pass. Indentation is one TAB per
// level, written right after every LF token; block words change the level
// for the lines that follow, and a closing word that opens its line takes
// back TABs that line already received.
#pragma once

#include "formatter/layout_state.h"
#include "formatter/token_text.h"
#include "formatter/word_tables.h"

namespace vemra {

// Before the token is written.

// "end", "until", "else", "except", "finally", "#endclass" lower the level
// and take a TAB back from their line when they open it.
inline void CloseBlock(LayoutState& state) {
  if ((state.Roles & kClosingWord) == 0) return;
  if ((state.Roles & kKeepsLevel) == 0) --state.Level;
  state.Output.DeleteLastIf('\t');
  // The "end" of a "case" block meets the level its "case" pushed and takes
  // back the second level the block's body was given.
  if (!state.CaseStack.empty() && (state.Roles & kEndWord) != 0 &&
      state.Level == state.CaseStack.back()) {
    state.CaseStack.pop_back();
    --state.Level;
    state.Output.DeleteLastIf('\t');
  }
}

// "read" and "write" start a count over the next three tokens.
inline void CountDownAccessor(LayoutState& state) {
  if (state.PropertyCountdown > 0) --state.PropertyCountdown;
  if ((state.Roles & kAccessorWord) != 0) state.PropertyCountdown = 3;
}

// The second token after "read" or "write" opens the accessor's body, unless
// it is a string or integer variable ("name$", "name%") being accessed.
inline void OpenPropertyBlock(LayoutState& state) {
  const char last = LastByte(state.Token);
  if (state.PropertyCountdown == 1 && last != '$' && last != '%') ++state.Level;
}

// "#define" marks its line, on which every "-" is written against its operand.
inline void EnterDefine(LayoutState& state) {
  if ((state.Roles & kDefineWord) != 0) state.InDefine = true;
}

// After the token is written.

// An LF receives Level TABs, and ends a "#define" line.
inline void IndentNewLine(LayoutState& state) {
  if (state.Token != "\n") return;
  state.Output.AppendIndentation(state.Level);
  state.InDefine = false;
}

// "forward" and "inline" announce a routine header that opens no block.
inline void NoteForwardWord(LayoutState& state) {
  if ((state.Roles & kForwardWord) != 0) state.ForwardPending = true;
}

// A routine word after a forward word is only a declaration: it opens no
// block, and consumes the forward word.
inline void OpenBlock(LayoutState& state) {
  if ((state.Roles & kOpeningWord) == 0) return;
  if ((state.Roles & kRoutineWord) != 0 && state.ForwardPending) {
    state.ForwardPending = false;
    return;
  }
  ++state.Level;
}

// "case" opens a second level for its body; labels stand one level out.
inline void OpenCaseBlock(LayoutState& state) {
  if ((state.Roles & kCaseWord) == 0) return;
  state.CaseStack.push_back(state.Level);
  ++state.Level;
}

// Every ":" moves its line one level out.
inline void OutdentLabel(LayoutState& state) {
  if (state.Token == ":") state.Output.DropIndentationTab();
}

// "else if" shares the level of its "else", so one "end" closes the chain.
inline void OpenIfBlock(LayoutState& state) {
  if ((state.Roles & kIfWord) != 0 && (state.PrevRoles & kElseWord) == 0) ++state.Level;
}

}  // namespace vemra
