// Builds one generated program: top-level items (routines, classes,
// directive groups, comments, declarations) until the wanted size is
// reached, each made of balanced blocks of realistic statements.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "bench/random_source.h"
#include "bench/source_writer.h"

namespace vemra {

class ProgramBuilder {
 public:
  ProgramBuilder(std::uint64_t seed, std::size_t approximate_bytes);

  std::string Build();

 private:
  // Top-level items and blocks (program_builder_blocks.cpp).
  void TopLevelItem();
  void Routine(bool in_class);
  void RoutineHeader(std::string_view word);
  void Declaration();
  void ClassDefinition();
  void Property();
  void DirectiveGroup();
  void Conditional(bool in_routine);
  void Body(std::size_t depth);
  void BlockStatement(std::size_t depth);
  void LoopBlock(std::size_t depth);
  void RepeatBlock(std::size_t depth);
  void TryBlock(std::size_t depth);
  void IfBlock(std::size_t depth);
  void CaseBlock(std::size_t depth);
  void CloseBlock(std::string_view word);

  // Statements, expressions and the tokens inside them
  // (program_builder_statements.cpp).
  void SimpleStatement();
  void Assignment();
  void Call();
  void SpecialStatement();
  void Expression(std::size_t depth);
  void Operand(std::size_t depth);
  void ArgumentList(std::size_t count);
  void Literal();
  void MultiLineLiteral();
  void BraceGroup(std::size_t depth);
  void AngleQuoted();
  void Marker();
  void EndStatement(unsigned comment_percent);
  void LineComment();
  void BlockComment();
  std::string CommentText(std::size_t words);

  bool Full() const { return writer_.Size() >= target_; }

  RandomSource random_;  // decides every choice; fixed by the seed
  std::string text_;     // the program written so far
  SourceWriter writer_;  // writes tokens into text_ with messy layout
  std::size_t target_;   // size after which no new statement is started
};

}  // namespace vemra
