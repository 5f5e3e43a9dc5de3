// Top-level items and the blocks of routine bodies. Every block a builder
// opens is closed again, so a generated program is balanced; "forward" and
// "inline" only precede a routine header without body, as they must.
#include <algorithm>

#include "bench/program_builder.h"
#include "bench/program_vocabulary.h"

namespace vemra {
namespace {

constexpr std::string_view kRoutineWords[] = {"proc", "func", "nproc", "nfunc", "proc", "func"};
constexpr std::size_t kMaxDepth = 5;

}  // namespace

using namespace vocabulary;

ProgramBuilder::ProgramBuilder(std::uint64_t seed, std::size_t approximate_bytes)
    : random_(seed), writer_(random_, text_), target_(approximate_bytes) {}

std::string ProgramBuilder::Build() {
  text_.reserve(target_ + target_ / 8 + 256);
  while (!Full()) TopLevelItem();
  // Now and then the last line has no line end.
  if (!text_.empty() && random_.Chance(10)) {
    while (!text_.empty() && (text_.back() == '\r' || text_.back() == '\n')) text_.pop_back();
  }
  return std::move(text_);
}

void ProgramBuilder::TopLevelItem() {
  std::size_t roll = random_.Below(100);
  if (roll < 45) {
    Routine(false);
  } else if (roll < 58) {
    ClassDefinition();
  } else if (roll < 70) {
    DirectiveGroup();
  } else if (roll < 78) {
    BlockComment();
  } else if (roll < 86) {
    Declaration();
  } else if (roll < 92) {
    LineComment();
  } else {
    writer_.EndLine();  // an empty line, sometimes several
    if (random_.Chance(30)) writer_.EndLine();
  }
}

void ProgramBuilder::RoutineHeader(std::string_view word) {
  writer_.Keyword(word);
  writer_.Token(random_.Pick(kRoutineNames));
  writer_.Attached("(");
  ArgumentList(random_.Below(4));
  writer_.Token(")");
  writer_.EndLine();
}

void ProgramBuilder::Routine(bool in_class) {
  if (random_.Chance(50)) LineComment();
  RoutineHeader(random_.Pick(kRoutineWords));
  writer_.Nest();
  if (random_.Chance(25)) {
    writer_.Keyword("#locals");
    writer_.Token(random_.Pick(kVariables));
    writer_.EndLine();
  }
  if (in_class && random_.Chance(30)) {
    writer_.Keyword("#inherited");
    writer_.Token(random_.Pick(kRoutineNames));
    writer_.EndLine();
  }
  Body(1);
  CloseBlock("end");
  if (random_.Chance(40)) writer_.EndLine();
}

// "forward" and "inline" declare a routine without a body; "forward" may
// also stand on a line of its own in front of the header.
void ProgramBuilder::Declaration() {
  std::size_t count = random_.Between(1, 3);
  for (std::size_t i = 0; i < count; ++i) {
    writer_.Keyword(random_.Chance(60) ? "forward" : "inline");
    if (random_.Chance(15)) writer_.EndLine();
    RoutineHeader(random_.Pick(kRoutineWords));
  }
  if (random_.Chance(30)) {
    writer_.Keyword("event");
    writer_.Token(random_.Pick(kRoutineNames));
    writer_.Attached("(");
    writer_.Token("sender");
    writer_.Token(")");
    writer_.EndLine();
  }
}

void ProgramBuilder::ClassDefinition() {
  writer_.Keyword("#class");
  writer_.Token(random_.Pick(kClassNames));
  writer_.EndLine();
  writer_.Nest();
  if (random_.Chance(60)) {
    writer_.Keyword("#inherited");
    writer_.Token(random_.Pick(kClassNames));
    writer_.EndLine();
  }
  writer_.Keyword("#object");
  writer_.Token(random_.Pick(kClassNames));
  writer_.EndLine();
  std::size_t members = random_.Between(1, 4);
  for (std::size_t i = 0; i < members && !Full(); ++i) {
    if (random_.Chance(40)) {
      Property();
    } else {
      Routine(true);
    }
  }
  CloseBlock("#endclass");
}

// A property's "read" at the end of its line, and a "write(v)" whose name
// does not end in "$" or "%", each open a block that an "end" closes;
// "write(v$)" opens none.
void ProgramBuilder::Property() {
  writer_.Keyword("property");
  writer_.Token(random_.Pick(kVariables));
  writer_.EndLine();
  writer_.Keyword("read");
  writer_.EndLine();
  writer_.Nest();
  writer_.Keyword("return");
  Expression(1);
  writer_.EndLine();
  CloseBlock("end");
  writer_.Keyword("write");
  writer_.Attached("(");
  if (random_.Chance(30)) {
    writer_.Token(random_.Chance(50) ? "v$" : "n%");
    writer_.Token(")");
    writer_.EndLine();
    return;
  }
  writer_.Token("value");
  writer_.Token(")");
  writer_.EndLine();
  writer_.Nest();
  Assignment();
  CloseBlock("end");
}

void ProgramBuilder::DirectiveGroup() {
  static constexpr std::string_view kFileDirectives[] = {"#include", "#import",  "#library",
                                                         "#link",    "#include", "#debugfile"};
  for (std::size_t n = random_.Between(1, 3); n > 0; --n) {
    writer_.Keyword(random_.Pick(kFileDirectives));
    writer_.Token(random_.Pick(kIncludeFiles));
    writer_.EndLine();
  }
  writer_.Keyword("#define");
  writer_.Token(random_.Pick(kSymbols));
  std::size_t shape = random_.Below(3);
  if (shape == 0) {
    writer_.Token("-");
    writer_.Token(random_.Pick(kNumbers));
  } else if (shape == 1) {
    Expression(1);
  }
  writer_.EndLine();
  static constexpr std::string_view kDeclarations[] = {"#declare", "#declareapi", "#c_declare",
                                                       "#c_declareapi"};
  writer_.Keyword(random_.Pick(kDeclarations));
  writer_.Token(random_.Pick(kRoutineNames));
  writer_.Attached("(");
  ArgumentList(random_.Below(3));
  writer_.Token(")");
  writer_.Token(random_.Pick(kIncludeFiles));
  writer_.EndLine();
  static constexpr std::string_view kLoneDirectives[] = {"#globals", "#noppc", "#debugon",
                                                         "#debugoff", "#debug"};
  writer_.Keyword(random_.Pick(kLoneDirectives));
  writer_.EndLine();
  if (random_.Chance(40)) Conditional(false);
  if (random_.Chance(25)) {
    writer_.Keyword("#namespace");
    writer_.Token(random_.Pick(kClassNames));
    writer_.EndLine();
    Routine(false);
    writer_.Keyword("#endnamespace");
    writer_.EndLine();
  }
}

// "#ifdef"/"#ifndef" ... "#else" ... "#endif" around statements or, at the
// top level, around directives.
void ProgramBuilder::Conditional(bool in_routine) {
  writer_.Keyword(random_.Chance(60) ? "#ifdef" : "#ifndef");
  writer_.Token(random_.Pick(kSymbols));
  writer_.EndLine();
  for (int branch = 0; branch < 2; ++branch) {
    if (in_routine) {
      SimpleStatement();
    } else {
      writer_.Keyword(branch == 0 ? "#debugon" : "#debugoff");
      writer_.EndLine();
    }
    if (branch == 0) {
      if (random_.Chance(50)) break;
      writer_.Keyword("#else");
      writer_.EndLine();
    }
  }
  writer_.Keyword("#endif");
  writer_.EndLine();
}

void ProgramBuilder::Body(std::size_t depth) {
  std::size_t statements = random_.Between(1, depth == 1 ? 10 : 4);
  for (std::size_t i = 0; i < statements; ++i) {
    if (i > 0 && Full()) return;
    std::size_t roll = random_.Below(100);
    if (depth < kMaxDepth && roll < 30) {
      BlockStatement(depth);
    } else if (roll < 34) {
      Conditional(true);
    } else if (roll < 38) {
      LineComment();
    } else if (roll < 40) {
      BlockComment();
    } else {
      SimpleStatement();
    }
  }
}

void ProgramBuilder::BlockStatement(std::size_t depth) {
  switch (random_.Below(6)) {
    case 0:
      LoopBlock(depth);
      break;
    case 1:
      RepeatBlock(depth);
      break;
    case 2:
      TryBlock(depth);
      break;
    case 3:
    case 4:
      IfBlock(depth);
      break;
    default:
      CaseBlock(depth);
  }
}

// "while", "foreach", "foreachrev", "for" and "using" blocks, all closed by
// "end".
void ProgramBuilder::LoopBlock(std::size_t depth) {
  switch (random_.Below(5)) {
    case 0:
      writer_.Keyword("while");
      Expression(1);
      break;
    case 1:
    case 2:
      writer_.Keyword(random_.Chance(70) ? "foreach" : "foreachrev");
      writer_.Token(random_.Pick(kVariables));
      writer_.Token("in");
      writer_.Token(random_.Pick(kVariables));
      break;
    case 3:
      writer_.Keyword("for");
      writer_.Tokens({"i%", "=", "1", "to"});
      Expression(1);
      break;
    default:
      writer_.Keyword("using");
      writer_.Token(random_.Pick(kVariables));
  }
  writer_.EndLine();
  writer_.Nest();
  Body(depth + 1);
  CloseBlock("end");
}

void ProgramBuilder::RepeatBlock(std::size_t depth) {
  writer_.Keyword("repeat");
  writer_.EndLine();
  writer_.Nest();
  Body(depth + 1);
  writer_.Unnest();
  writer_.Keyword("until");
  Expression(1);
  writer_.EndLine();
}

void ProgramBuilder::TryBlock(std::size_t depth) {
  writer_.Keyword("try");
  writer_.EndLine();
  writer_.Nest();
  Body(depth + 1);
  writer_.Unnest();
  writer_.Keyword(random_.Chance(60) ? "except" : "finally");
  writer_.EndLine();
  writer_.Nest();
  Body(depth + 1);
  CloseBlock("end");
}

// "if", any number of "else if" (on one line, so one "end" closes the
// chain), an optional "else".
void ProgramBuilder::IfBlock(std::size_t depth) {
  writer_.Keyword("if");
  if (random_.Chance(30)) {
    writer_.Token("(");
    Expression(1);
    writer_.Token(")");
  } else {
    Expression(2);
  }
  writer_.EndLine();
  writer_.Nest();
  Body(depth + 1);
  for (std::size_t n = random_.Below(3); n > 0; --n) {
    writer_.Unnest();
    writer_.Keyword("else");
    writer_.Keyword("if");
    Expression(1);
    writer_.EndLine();
    writer_.Nest();
    Body(depth + 1);
  }
  if (random_.Chance(50)) {
    writer_.Unnest();
    writer_.Keyword("else");
    writer_.EndLine();
    writer_.Nest();
    Body(depth + 1);
  }
  CloseBlock("end");
}

// Labels stand on their own line or carry the first statement; a label may
// list several values.
void ProgramBuilder::CaseBlock(std::size_t depth) {
  writer_.Keyword("case");
  Expression(1);
  writer_.EndLine();
  writer_.Nest();
  for (std::size_t labels = random_.Between(1, 4); labels > 0; --labels) {
    writer_.Token(random_.Pick(kCaseLabels));
    if (random_.Chance(25)) {
      writer_.Attached(",");
      writer_.Token(random_.Pick(kCaseLabels));
    }
    writer_.Attached(":");
    if (random_.Chance(40)) {
      Assignment();
      continue;
    }
    writer_.EndLine();
    writer_.Nest();
    Body(std::min(depth + 1, kMaxDepth));
    writer_.Unnest();
  }
  CloseBlock("end");
}

void ProgramBuilder::CloseBlock(std::string_view word) {
  writer_.Unnest();
  writer_.Keyword(word);
  writer_.EndLine();
}

}  // namespace vemra
