#include "base/file_failures.h"

#include "base/expand_path.h"
#include "base/system_error_text.h"
#include "textutil/quote_name.h"

namespace vemra {

namespace {

// The full path in double quotes; a name with control bytes has them
// escaped, so that the message stays on its one line.
std::string Quoted(const std::string& file_name) {
  return '"' + EscapedName(ExpandPath(file_name)) + '"';
}

std::string FileMessage(const char* verb, const std::string& file_name, const std::string& reason) {
  return std::string("Cannot ") + verb + " file " + Quoted(file_name) + ". " + reason;
}

}  // namespace

EFOpenError OpenFailure(const std::string& file_name, int error_code) {
  return OpenFailure(file_name, SystemErrorText(error_code));
}

EFOpenError OpenFailure(const std::string& file_name, const std::string& reason) {
  return EFOpenError(FileMessage("open", file_name, reason));
}

EFCreateError CreateFailure(const std::string& file_name, int error_code) {
  return CreateFailure(file_name, SystemErrorText(error_code));
}

EFCreateError CreateFailure(const std::string& file_name, const std::string& reason) {
  return EFCreateError(FileMessage("create", file_name, reason));
}

EReadError ReadFailure() {
  return EReadError("Stream read error");
}

EWriteError WriteFailure(const std::string& file_name, int error_code) {
  return EWriteError("Stream write error. Cannot write " + Quoted(file_name) + ". " +
                     SystemErrorText(error_code));
}

EWriteError WriteFailure(const std::string& file_name, int error_code, const std::string& more) {
  return EWriteError(WriteFailure(file_name, error_code).Message() + ". " + more);
}

std::string InterruptedSaveReason(const std::string& backup) {
  return "An earlier save of it was interrupted while it wrote over the file, whose old bytes "
         "are kept in \"" +
         EscapedName(backup) +
         "\": compare the two, then copy the backup over the file or remove the backup, and "
         "run again";
}

std::string SaveInProgressReason(const std::string& backup) {
  return "Another run is writing over it right now (its old bytes are kept in \"" +
         EscapedName(backup) + "\" until it is done)";
}

std::string NoBackupReason(const std::string& detail) {
  return "No backup of its old bytes can be made: " + detail;
}

std::string ChangedReason() {
  return "It changed while it was being formatted, and was left as it is now";
}

std::string InUseReason() {
  return "It is open in another program, and was left as it is: written over in place now, it "
         "could lose what that program writes";
}

std::string WrittenMeanwhileReason(const std::string& backup) {
  return "Another program wrote to it while it was being written over; it was left as it is "
         "now, and its old bytes are kept in \"" +
         EscapedName(backup) + "\": compare the two, then remove the backup, and run again";
}

std::string ForeignBackupReason(const std::string& path) {
  return "A file stands under the name of its backup, \"" + EscapedName(path) +
         "\", that is no backup this program made for this user: look at it, move it out of "
         "the way, and run again";
}

std::string TooLargeReason() {
  return "File too large";
}

std::string NotRegularReason() {
  return "It is not a regular file";
}

}  // namespace vemra
