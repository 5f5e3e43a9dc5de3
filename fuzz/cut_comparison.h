// The table cutter against the plain cutting rules: both must give the same
// tokens, cut by the same rules, and remove the same ones for "#id" markers,
// on any text. Shared by the fuzz target and the unit tests.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "formatter/table_cutter.h"

namespace vemra {

// Empty when a TableCutter of the given shape, filling `room` records at a
// time, cuts text exactly as token_cutting::CutKeptToken does, read both as
// a joined text and as a text as it was loaded; otherwise the first
// difference.
std::string CompareWithPlainCut(std::string_view text, const CutterShape& shape, std::size_t room);

}  // namespace vemra
