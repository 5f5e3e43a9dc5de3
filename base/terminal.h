// The terminal a person reads the program's output on, as far as colour is
// concerned: whether a standard stream leads to one, and whether the user
// has asked programs for no colour.
#pragma once

namespace vemra {

// Whether the standard stream open on fd (kStandardOutput, kStandardError)
// leads to a terminal: a terminal device on POSIX, a console on Windows. A
// pipe or a file is none.
bool IsTerminal(int fd);

// Has the terminal on fd show colour escapes as colours where it must be
// told to (a Windows console); false where it cannot, and the escapes
// would show as text.
bool ShowColourEscapes(int fd);

// Whether the user asked programs to add no colour: NO_COLOR is set in the
// environment and not empty.
bool NoColourAsked();

}  // namespace vemra
