// The words and pieces of text generated programs are made of. Names end in
// "$" (texts) and "%" (integers) as often as real programs use them.
#pragma once

#include <string_view>

namespace vemra::vocabulary {

inline constexpr std::string_view kVariables[] = {
    "count",  "total",  "index",  "name$",  "size%",          "item",       "buffer$",
    "result", "value",  "i%",     "j%",     "node",           "list.Count", "self.Width",
    "left",   "right",  "handle", "flags%", "text$",          "offset",     "Parent.Items",
    "key$",   "cursor", "x",      "y",      "limit%",         "_tmp",       "row.Cells",
    "ch$",    "first",  "last",   "pos%",   "Form1.Caption$", "data",       "level"};

inline constexpr std::string_view kRoutineNames[] = {
    "Init",        "LoadItems", "SaveToFile", "Compute", "Draw",    "OnClick",  "Parse",
    "FindNext",    "Max",       "Min",        "Clear",   "AddLine", "GetName$", "SetSize",
    "Validate",    "Sort",      "Swap",       "Execute", "Refresh", "Close",    "ReadHeader",
    "WriteFooter", "Main",      "Run",        "Dispose", "Reset"};

inline constexpr std::string_view kClassNames[] = {"Customer", "Shape",  "Window", "Parser",
                                                   "Account",  "Node",   "Report", "Timer",
                                                   "Document", "Stream", "Button"};

inline constexpr std::string_view kParameters[] = {
    "a",    "b",     "text$", "n%",       "sender", "value",  "index%", "&buf",
    "list", "count", "x",     "caption$", "flags%", "source", "&out"};

inline constexpr std::string_view kNumbers[] = {"0",   "1",    "2",    "10",     "42",   "100",
                                                "255", "0x1F", "0xFF", "3.14",   "1e-5", "2.5E+3",
                                                ".5",  "1000", "7",    "0x8000", "16",   "1.2.3"};

inline constexpr std::string_view kSingleQuoted[] = {"'abc'",
                                                     "'Hello, world'",
                                                     "'a'",
                                                     "''",
                                                     "'C:\\temp\\'",
                                                     "'x = 1; y'",
                                                     "'/* no */'",
                                                     "'// no'",
                                                     "'Gr\xFC\xDF"
                                                     "e'",
                                                     "'\tTAB'",
                                                     "'{brace'",
                                                     "'#id 1'"};

inline constexpr std::string_view kDoubleQuoted[] = {
    "\"plain\"",      "\"line\\n\"",  "\"say \\\"hi\\\"\"", "\"C:\\\\dir\\\\\"",
    "\"tab\\there\"", "\"'single'\"", "\"caf\xE9\"",        "\"\"",
    "\"a\\\\\"",      "\"100%\"",     "\"{ not a group\"",  "\"/* kept */\""};

inline constexpr std::string_view kHashNumbers[] = {"#13#10", "#13", "#10",  "#9", "#0",
                                                    "#0x1F",  "#27", "#255", "#1F"};

// Infix operators between two operands, every operator of the tokenizer's
// tables among them; "&=" and "&&" are written as people write them.
inline constexpr std::string_view kInfixOperators[] = {
    "+",  "-",   "*",   "/",   "%", "<<", ">>", "^",  "|",  "||", "^^", "&", "&&", "and",
    "or", "xor", "div", "mod", "<", ">",  "<=", ">=", "<>", "!=", "==", "=", "|&"};

inline constexpr std::string_view kComparisons[] = {"<", ">", "<=", ">=", "<>", "!=", "==", "="};

inline constexpr std::string_view kAssignments[] = {
    "=", ":=", "+=", "-=", "*=", "/=", "&=", "|=", "^=", "||=", "="};

inline constexpr std::string_view kCommentWords[] = {
    "the",   "loop", "ends", "when", "all",  "items",     "are",     "read",
    "TODO:", "keep", "in",   "sync", "with", "caller",    "(see",    "below)",
    "x++",   "a<>b", "*",    "end",  "proc", "\xE9t\xE9", "#define", "'quote",
    "\"dq",  "{",    "}",    "if",   "fast", "path",      "-1",      "--"};

inline constexpr std::string_view kIncludeFiles[] = {"'common.inc'", "\"system.vmh\"",
                                                     "'forms\\dialog.inc'", "'types.inc'"};

inline constexpr std::string_view kSymbols[] = {"DEBUG", "RELEASE", "TRACE", "WIN32",
                                                "UNICODE_OFF"};

inline constexpr std::string_view kCaseLabels[] = {"1",   "2",   "'a'", "'b'", "10",    "0x1F",
                                                   "Red", "#13", "'x'", "255", "'\xE4'"};

}  // namespace vemra::vocabulary
