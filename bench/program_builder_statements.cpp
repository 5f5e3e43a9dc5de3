// Statements, expressions and the tokens inside them: every literal kind,
// brace groups, angle-quoted runs, "#" numbers, markers and comments.
#include "bench/program_builder.h"
#include "bench/program_vocabulary.h"

namespace vemra {

using namespace vocabulary;

void ProgramBuilder::SimpleStatement() {
  std::size_t roll = random_.Below(100);
  if (roll < 45) {
    Assignment();
  } else if (roll < 65) {
    Call();
  } else if (roll < 75) {
    writer_.Keyword("return");
    if (random_.Chance(80)) Expression(2);
    EndStatement(15);
  } else {
    SpecialStatement();
  }
}

void ProgramBuilder::Assignment() {
  if (random_.Chance(4)) Marker();
  writer_.Token(random_.Pick(kVariables));
  if (random_.Chance(15)) {
    writer_.Attached("[");
    Expression(1);
    writer_.Token("]");
  }
  writer_.Token(random_.Pick(kAssignments));
  Expression(random_.Between(1, 3));
  if (random_.Chance(20)) writer_.Attached(";");
  EndStatement(12);
}

void ProgramBuilder::Call() {
  if (random_.Chance(15)) {
    writer_.Token(random_.Pick(kClassNames));
    writer_.Attached("::");
    writer_.Attached(random_.Pick(kRoutineNames));
  } else {
    writer_.Token(random_.Pick(kRoutineNames));
  }
  writer_.Attached("(");
  ArgumentList(random_.Below(4));
  writer_.Token(")");
  if (random_.Chance(10)) {
    writer_.Token("/*");
    writer_.Attached(CommentText(2));
    writer_.Token("*/");
  }
  writer_.EndLine();
}

// The statements with a shape of their own: increments, labels, the
// conditional operator, pointers, "::" standing apart, markers and
// multi-line tokens.
void ProgramBuilder::SpecialStatement() {
  switch (random_.Below(12)) {
    case 0:
      writer_.Token(random_.Pick(kVariables));
      writer_.Token(random_.Chance(50) ? "++" : "--");
      break;
    case 1:
      writer_.Token(random_.Chance(50) ? "++" : "--");
      writer_.Token(random_.Pick(kVariables));
      writer_.Attached(";");
      break;
    case 2:
      writer_.Token(random_.Chance(50) ? "again" : "retry");
      writer_.Attached(":");
      break;
    case 3:
      writer_.Token(random_.Pick(kVariables));
      writer_.Token("=");
      Expression(1);
      writer_.Token("?");
      Operand(1);
      writer_.Token(":");
      Operand(1);
      break;
    case 4:
      writer_.Tokens({"p", "^", ".next", "="});
      writer_.Token(random_.Chance(50) ? "@" : "@@");
      writer_.Token(random_.Pick(kRoutineNames));
      break;
    case 5:
      writer_.Token(random_.Pick(kClassNames));
      writer_.Token("::");
      writer_.Token(random_.Pick(kVariables));
      writer_.Token("=");
      writer_.Token("~");
      writer_.Token(random_.Pick(kVariables));
      break;
    case 6:
      Marker();
      writer_.Token(random_.Pick(kVariables));
      writer_.Tokens({"=", "$", "FF"});
      break;
    case 7:
      writer_.Token(random_.Pick(kVariables));
      writer_.Token("=");
      MultiLineLiteral();
      break;
    case 8:
      writer_.Tokens({"data", "="});
      BraceGroup(0);
      break;
    case 9:
      writer_.Tokens({"caption$", "="});
      AngleQuoted();
      writer_.Token("+");
      writer_.Token(random_.Pick(kHashNumbers));
      break;
    case 10:
      writer_.Tokens({"&handle", "=", "not"});
      Expression(1);
      break;
    default:
      writer_.Token(random_.Chance(50) ? "ok" : "done");
      writer_.Token("=");
      writer_.Token("!");
      writer_.Token(random_.Pick(kVariables));
      writer_.Token("||");
      writer_.Token(random_.Pick(kVariables));
      writer_.Tokens({"!=", "-", "1"});
  }
  writer_.EndLine();
}

void ProgramBuilder::Expression(std::size_t depth) {
  if (random_.Chance(10)) writer_.Keyword("not");
  Operand(depth);
  std::size_t terms = random_.Below(depth + 1);
  for (std::size_t i = 0; i < terms; ++i) {
    std::string_view op = random_.Pick(kInfixOperators);
    if (op.front() >= 'a' && op.front() <= 'z') {
      writer_.Keyword(op);
    } else {
      writer_.Token(op);
    }
    if (random_.Chance(8)) writer_.Token("-");  // a unary minus: "a * -1"
    Operand(depth);
  }
}

void ProgramBuilder::Operand(std::size_t depth) {
  std::size_t roll = random_.Below(100);
  if (roll < 35) {
    writer_.Token(random_.Pick(kVariables));
  } else if (roll < 55) {
    writer_.Token(random_.Pick(kNumbers));
  } else if (roll < 67) {
    Literal();
  } else if (roll < 77 && depth > 0) {
    writer_.Token("(");
    Expression(depth - 1);
    writer_.Token(")");
  } else if (roll < 87 && depth > 0) {
    writer_.Token(random_.Pick(kRoutineNames));
    writer_.Attached("(");
    ArgumentList(random_.Below(3));
    writer_.Token(")");
  } else if (roll < 93) {
    writer_.Token(random_.Pick(kVariables));
    writer_.Attached("[");
    writer_.Token(random_.Pick(kNumbers));
    writer_.Token("]");
  } else if (roll < 96) {
    writer_.Token(random_.Pick(kHashNumbers));
  } else {
    writer_.Tokens({"[", "1", ",", "2", "]"});
  }
}

void ProgramBuilder::ArgumentList(std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) writer_.Attached(",");
    if (random_.Chance(60)) {
      writer_.Token(random_.Pick(kParameters));
    } else {
      Operand(0);
    }
  }
}

void ProgramBuilder::Literal() {
  std::size_t roll = random_.Below(100);
  if (roll < 50) {
    writer_.Token(random_.Pick(kSingleQuoted));
  } else if (roll < 85) {
    writer_.Token(random_.Pick(kDoubleQuoted));
  } else {
    // Text followed by line-end characters: 'text' #13#10
    writer_.Token(random_.Pick(kSingleQuoted));
    writer_.Token(random_.Pick(kHashNumbers));
  }
}

// A single-quoted literal may run over several lines; those lines keep
// their own indentation.
void ProgramBuilder::MultiLineLiteral() {
  std::string literal = "'";
  for (std::size_t lines = random_.Between(2, 4); lines > 0; --lines) {
    // An apostrophe in the text would end the literal early.
    for (char c : CommentText(random_.Between(1, 5))) literal += c == '\'' ? '`' : c;
    if (lines > 1) {
      literal += writer_.LineBreak();
      if (random_.Chance(50)) literal += "    ";
    }
  }
  literal += '\'';
  writer_.Token(literal);
}

// Brace groups nest and may span lines; everything inside passes through
// the formatter unchanged.
void ProgramBuilder::BraceGroup(std::size_t depth) {
  std::string group = "{";
  for (std::size_t items = random_.Between(1, 4); items > 0; --items) {
    group += ' ';
    group += random_.Pick(kNumbers);
    group += random_.Chance(30) ? "," : "";
    if (random_.Chance(25)) {
      group += writer_.LineBreak();
      group += "\t  ";
    }
  }
  writer_.Token(group);
  if (depth < 2 && random_.Chance(40)) BraceGroup(depth + 1);
  writer_.Token("}");
}

void ProgramBuilder::AngleQuoted() {
  std::string run = "\x8B";
  run += CommentText(random_.Between(1, 3));
  run += '\x9B';
  writer_.Token(run);
}

// A marker removes itself and the next token. Most markers stand in front of
// a token of the same line; a few end their line and so take its line break.
void ProgramBuilder::Marker() {
  static constexpr std::string_view kMarkers[] = {"#id", "#ID", "#Id", "#id"};
  writer_.Token(random_.Pick(kMarkers));
  if (random_.Chance(2)) {
    writer_.EndLine();
    return;
  }
  writer_.Token(random_.Chance(50) ? random_.Pick(kNumbers) : random_.Pick(kVariables));
}

// Ends a statement's line, with a trailing comment in percent cases.
void ProgramBuilder::EndStatement(unsigned comment_percent) {
  if (random_.Chance(comment_percent)) {
    LineComment();
  } else {
    writer_.EndLine();
  }
}

void ProgramBuilder::LineComment() {
  writer_.Token("//");
  if (random_.Chance(80)) writer_.Attached(" ");
  writer_.Attached(CommentText(random_.Between(1, 8)));
  writer_.EndLine();
}

// Block comments of one or several lines, with star borders, an inner "/*"
// and the empty comment among them.
void ProgramBuilder::BlockComment() {
  std::string comment = "/*";
  std::size_t lines = random_.Between(0, 5);
  if (lines == 0 && random_.Chance(70)) {
    comment += ' ';
    comment += CommentText(4);
    comment += " /* inner ";
  }
  for (std::size_t i = 0; i < lines; ++i) {
    comment += writer_.LineBreak();
    comment += random_.Chance(50) ? " * " : "   ";
    comment += CommentText(random_.Between(1, 10));
  }
  if (lines > 0) comment += writer_.LineBreak();
  comment += random_.Chance(20) ? " **/" : "*/";
  writer_.Token(comment);
  writer_.EndLine();
}

std::string ProgramBuilder::CommentText(std::size_t words) {
  std::string text;
  for (std::size_t i = 0; i < words; ++i) {
    if (i > 0) text += random_.Chance(90) ? " " : "\t";
    text += random_.Pick(kCommentWords);
  }
  return text;
}

}  // namespace vemra
