// The indentation rules of the layout pass. Indentation is one TAB per
// level, written right after every LF token; block words change the level
// for the lines that follow, and a closing word that opens its line takes
// back TABs that line already received.
#pragma once

#include "formatter/layout_state.h"

namespace vemra {

// Before the token is written.
void CloseBlock(LayoutState& state);         // "end", "until", "else", "except", ...
void CountDownAccessor(LayoutState& state);  // "read", "write" start a three-token count
void OpenPropertyBlock(LayoutState& state);  // the counted token opens a level
void EnterDefine(LayoutState& state);        // "#define" marks its line

// After the token is written.
void IndentNewLine(LayoutState& state);    // LF: Level TABs, and the "#define" line ends
void NoteForwardWord(LayoutState& state);  // "forward", "inline"
void OpenBlock(LayoutState& state);        // "proc", "while", "else", "#class", ...
void OpenCaseBlock(LayoutState& state);    // "case" opens a second level for its body
void OutdentLabel(LayoutState& state);     // ":" moves its line one level out
void OpenIfBlock(LayoutState& state);      // "if", unless right after "else"

}  // namespace vemra
