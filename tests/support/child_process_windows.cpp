#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/windows/unique_handle.h"
#include "base/windows/wide_text.h"
#include "tests/support/child_process.h"
#include "tests/support/test_system.h"

namespace vemra::testing {

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(std::filesystem::path(WideText(path)), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One argument as the program's own splitting of its command line
// (CommandLineToArgvW) gives it back: quoted when it holds a blank, a quote
// or nothing, with the backslashes in front of a quote doubled.
std::wstring Quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    return argument;
  }
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted.push_back(c);
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

HANDLE Inheritable(HANDLE handle) {
  if (handle != INVALID_HANDLE_VALUE) SetHandleInformation(handle, HANDLE_FLAG_INHERIT, 1);
  return handle;
}

HANDLE OpenFile(const std::string& path, DWORD access, DWORD disposition) {
  return Inheritable(CreateFileW(WidePath(path).c_str(), access,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Starts the command line with the three handles as its standard streams,
// waits for it up to the deadline (none when zero) and gives its exit
// status, or kHung when it was killed at the deadline.
int RunCommand(std::wstring command, HANDLE in, HANDLE out, HANDLE err,
               std::chrono::milliseconds deadline) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return -1;
  }
  const UniqueHandle child(process.hProcess);
  CloseHandle(process.hThread);
  const DWORD wait = deadline.count() > 0 ? static_cast<DWORD>(deadline.count()) : INFINITE;
  if (WaitForSingleObject(child.Get(), wait) == WAIT_TIMEOUT) {
    TerminateProcess(child.Get(), 1);
    WaitForSingleObject(child.Get(), INFINITE);
    return kHung;
  }
  DWORD status = 0;
  if (!GetExitCodeProcess(child.Get(), &status)) return -1;
  return static_cast<int>(status);
}

std::wstring CommandLine(const std::string& program, const std::vector<std::string>& arguments) {
  std::wstring command = Quoted(WideText(program));
  for (const std::string& argument : arguments) command += L" " + Quoted(WideText(argument));
  return command;
}

}  // namespace

ChildOutcome RunChild(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& input, OutputTo output, std::chrono::milliseconds deadline,
                      void (*in_child)()) {
  if (in_child != nullptr) return {-1, "", "no code runs in a child before its program here"};
  if (output == OutputTo::kDevFull) return {-1, "", "no device that is always full here"};
  const std::string folder = NewPrivateFolder("vemra-streams-");
  if (folder.empty()) return {-1, "", "no folder"};
  const std::string in_path = folder + "\\in";
  const std::string out_path = folder + "\\out";
  const std::string err_path = folder + "\\err";
  {
    std::ofstream file(std::filesystem::path(WideText(in_path)), std::ios::binary);
    file << input;
  }
  ChildOutcome outcome;
  {
    const UniqueHandle in(OpenFile(in_path, GENERIC_READ, OPEN_EXISTING));
    const UniqueHandle err(OpenFile(err_path, GENERIC_WRITE, CREATE_ALWAYS));
    UniqueHandle out;
    if (output == OutputTo::kCapture) {
      out.Reset(OpenFile(out_path, GENERIC_WRITE, CREATE_ALWAYS));
    } else {
      HANDLE read_end = nullptr;
      HANDLE write_end = nullptr;
      if (CreatePipe(&read_end, &write_end, nullptr, 0)) {
        CloseHandle(read_end);
        out.Reset(Inheritable(write_end));
      }
    }
    if (!in.Valid() || !out.Valid() || !err.Valid()) return {-1, "", "no streams"};
    outcome.status =
        RunCommand(CommandLine(program, arguments), in.Get(), out.Get(), err.Get(), deadline);
  }
  outcome.output = ReadAll(out_path);
  outcome.errors = ReadAll(err_path);
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(WideText(folder)), ignored);
  return outcome;
}

ChildOutcome RunProgramLine(const std::string& program, const std::string& arguments) {
  const std::string folder = NewPrivateFolder("vemra-line-");
  if (folder.empty()) return {-1, "", "no folder"};
  const std::string out_path = folder + "\\out";
  ChildOutcome outcome;
  {
    const UniqueHandle null(OpenFile("NUL", GENERIC_READ, OPEN_EXISTING));
    const UniqueHandle out(OpenFile(out_path, GENERIC_WRITE, CREATE_ALWAYS));
    const HANDLE err = Inheritable(GetStdHandle(STD_ERROR_HANDLE));
    std::wstring command = Quoted(WideText(program));
    if (!arguments.empty()) command += L" " + WideText(arguments);
    outcome.status = RunCommand(command, null.Get(), out.Get(), err, kChildDeadline);
  }
  outcome.output = ReadAll(out_path);
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(WideText(folder)), ignored);
  return outcome;
}

ChildOutcome RunShellLine(const std::string&) {
  return {-1, "", "no POSIX shell here"};
}

}  // namespace vemra::testing
