// The start of the process: its arguments as the program carries every
// text, UTF-8 byte strings, and its standard streams made ready for it.
#pragma once

#include <string>
#include <vector>

namespace vemra {

// Standard input, output and error, as descriptors.
inline constexpr int kStandardInput = 0;
inline constexpr int kStandardOutput = 1;
inline constexpr int kStandardError = 2;

// The arguments after the program's name. On Windows they are read from
// the system in UTF-16, so that every name survives, and given as UTF-8.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Makes the standard streams ready: a reader of standard output that goes
// away fails the write (and the run says so) rather than ending the run;
// on Windows the console shows UTF-8, and no stream translates line ends.
void PrepareStandardStreams();

}  // namespace vemra
