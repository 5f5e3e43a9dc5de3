// The failures of the file operations, with the full path and the reason in
// their messages.
#pragma once

#include <string>

#include "base/failures.h"

namespace vemra {

// "Cannot open file "<full path>". <reason for error_code>"
EFOpenError OpenFailure(const std::string& file_name, int error_code);
// "Cannot open file "<full path>". <reason>"
EFOpenError OpenFailure(const std::string& file_name, const std::string& reason);
// "Cannot create file "<full path>". <reason for error_code>"
EFCreateError CreateFailure(const std::string& file_name, int error_code);
// "Cannot create file "<full path>". <reason>"
EFCreateError CreateFailure(const std::string& file_name, const std::string& reason);
// "Stream read error": the file delivered fewer bytes than it holds.
EReadError ReadFailure();
// "Stream write error. Cannot write "<full path>". <reason for error_code>":
// not every byte reached the file. Scripts may match the words in front.
EWriteError WriteFailure(const std::string& file_name, int error_code);
// The same, with a further sentence after the reason.
EWriteError WriteFailure(const std::string& file_name, int error_code, const std::string& more);

// The reason a save or load gives when an earlier save of the file was cut
// off while it wrote over the file in place: backup holds the old bytes.
std::string InterruptedSaveReason(const std::string& backup);
// The reason given while another run writes over the file in place.
std::string SaveInProgressReason(const std::string& backup);
// The reason a save gives when it cannot keep a copy of the old bytes while
// it writes over the file in place.
std::string NoBackupReason(const std::string& detail);
// The reason a save gives when the file is no longer as it was loaded.
std::string ChangedReason();
// The reason a save gives when it would write over a file in place that
// another program has open.
std::string InUseReason();
// The reason a save gives when another program wrote to the file while it
// was written over in place: backup holds the old bytes.
std::string WrittenMeanwhileReason(const std::string& backup);
// The reason a load or save gives when a file stands under the name of the
// file's backup that this program cannot have made for this user (another
// user's, a link, no regular file, or readable by others).
std::string ForeignBackupReason(const std::string& path);
// The reason a load gives for a file of 2 GiB or more, or standard input
// that reaches it: "File too large", in the program's own words, as the
// system's differ and some have none for it.
std::string TooLargeReason();
// The reason a load or save gives for a folder, pipe, socket or device named
// as a file: only regular files are read whole or saved over.
std::string NotRegularReason();

}  // namespace vemra
