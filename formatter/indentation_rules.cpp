#include "formatter/indentation_rules.h"

#include "formatter/token_text.h"
#include "formatter/word_tables.h"

namespace vemra {

void CloseBlock(LayoutState& state) {
  if (!IsClosingWord(state.Token)) return;
  if (!IsLevelKeepingWord(state.Token)) --state.Level;
  state.Output.DeleteLastIf('\t');
  // The "end" of a "case" block meets the level its "case" pushed and takes
  // back the second level the block's body was given.
  if (!state.CaseStack.empty() && SameWord(state.Token, "end") &&
      state.Level == state.CaseStack.back()) {
    state.CaseStack.pop_back();
    --state.Level;
    state.Output.DeleteLastIf('\t');
  }
}

void CountDownAccessor(LayoutState& state) {
  if (state.PropertyCountdown > 0) --state.PropertyCountdown;
  if (IsAccessorWord(state.Token)) state.PropertyCountdown = 3;
}

// The second token after "read" or "write" opens the accessor's body, unless
// it is a string or integer variable ("name$", "name%") being accessed.
void OpenPropertyBlock(LayoutState& state) {
  const char last = LastByte(state.Token);
  if (state.PropertyCountdown == 1 && last != '$' && last != '%') ++state.Level;
}

void EnterDefine(LayoutState& state) {
  if (SameWord(state.Token, "#define")) state.InDefine = true;
}

void IndentNewLine(LayoutState& state) {
  if (state.Token != "\n") return;
  state.Output.AppendIndentation(state.Level);
  state.InDefine = false;
}

void NoteForwardWord(LayoutState& state) {
  if (IsForwardWord(state.Token)) state.ForwardPending = true;
}

// A routine word after a forward word is only a declaration: it opens no
// block, and consumes the forward word.
void OpenBlock(LayoutState& state) {
  if (!IsOpeningWord(state.Token)) return;
  if (IsRoutineWord(state.Token) && state.ForwardPending) {
    state.ForwardPending = false;
    return;
  }
  ++state.Level;
}

void OpenCaseBlock(LayoutState& state) {
  if (!SameWord(state.Token, "case")) return;
  state.CaseStack.push_back(state.Level);
  ++state.Level;
}

void OutdentLabel(LayoutState& state) {
  if (state.Token == ":") state.Output.DropIndentationTab();
}

// "else if" shares the level of its "else", so one "end" closes the chain.
void OpenIfBlock(LayoutState& state) {
  if (SameWord(state.Token, "if") && !SameWord(state.PrevToken, "else")) ++state.Level;
}

}  // namespace vemra
