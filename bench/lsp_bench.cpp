#include "bench/lsp_bench.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>

#include "base/failures.h"
#include "base/string_list.h"
#include "bench/program_generator.h"
#include "formatter/format_source.h"

namespace vemra {

namespace {

using Clock = std::chrono::steady_clock;

// A server started as a child, with pipes to its standard input and output.
class ServerProcess {
 public:
  explicit ServerProcess(const std::string& program) {
    int to_child[2];
    int from_child[2];
    if (pipe(to_child) != 0 || pipe(from_child) != 0) throw Exception("cannot make pipes");
    pid_ = fork();
    if (pid_ < 0) throw Exception("cannot start " + program);
    if (pid_ == 0) {
      dup2(to_child[0], 0);
      dup2(from_child[1], 1);
      close(to_child[1]);
      close(from_child[0]);
      std::freopen("/dev/null", "w", stderr);
      execl(program.c_str(), program.c_str(), "-lsp=1", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(to_child[0]);
    close(from_child[1]);
    in_ = to_child[1];
    out_ = from_child[0];
  }
  ~ServerProcess() {
    close(in_);
    close(out_);
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == 0) kill(pid_, SIGKILL);
    waitpid(pid_, &status, 0);
  }
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  void Send(const std::string& body) {
    const std::string message =
        "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    std::size_t sent = 0;
    while (sent < message.size()) {
      const ssize_t n = write(in_, message.data() + sent, message.size() - sent);
      if (n <= 0) throw Exception("the server stopped reading");
      sent += static_cast<std::size_t>(n);
    }
  }

  // The body of the next message.
  std::string Receive() {
    std::size_t blank;
    while ((blank = buffer_.find("\r\n\r\n")) == std::string::npos) Fill();
    const std::size_t length = std::stoul(buffer_.substr(buffer_.find(':') + 1, blank));
    while (buffer_.size() < blank + 4 + length) Fill();
    std::string body = buffer_.substr(blank + 4, length);
    buffer_.erase(0, blank + 4 + length);
    return body;
  }

  // The body of the next answer to a request, notifications passed over.
  std::string ReceiveAnswer() {
    for (;;) {
      std::string body = Receive();
      if (body.rfind("{\"id\":", 0) == 0 || body.rfind("{\"error\":", 0) == 0) return body;
    }
  }

  // The resident memory of the server, in kilobytes.
  long ResidentKb() const {
    std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
    std::string line;
    while (std::getline(status, line)) {
      if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return 0;
  }

 private:
  void Fill() {
    char piece[65536];
    const ssize_t n = read(out_, piece, sizeof piece);
    if (n <= 0) throw Exception("the server ended");
    buffer_.append(piece, static_cast<std::size_t>(n));
  }

  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  std::string buffer_;
};

// A JSON string literal of bytes that are ASCII or UTF-8.
std::string JsonString(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        quoted += "\\\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '\t':
        quoted += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          quoted += escaped;
        } else {
          quoted += c;
        }
    }
  }
  return quoted + "\"";
}

std::string Formatted(const std::string& text) {
  TStringList lines;
  lines.AssignText(text);
  FormatSource(lines, 2, false, true);
  return lines.ReadText();
}

// Generated programs hold bytes that are not UTF-8; JSON carries UTF-8 only.
std::string AsciiOnly(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) c = '?';
  }
  return text;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}
double Percentile90(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() * 9 / 10];
}

const std::string kUri = "file:///nowhere/bench.vem";

// Where a line starts, 0-based, in a text whose lines end in CR LF.
std::size_t LineStart(const std::string& text, std::size_t line) {
  std::size_t at = 0;
  for (std::size_t i = 0; i < line; ++i) at = text.find('\n', at) + 1;
  return at;
}

// A line from the middle of the formatted text on which blanks put in
// front are taken away again by formatting: not in a comment, a literal or
// a region left as it stood.
std::size_t ChangeableLine(const std::string& formatted) {
  const std::size_t lines =
      static_cast<std::size_t>(std::count(formatted.begin(), formatted.end(), '\n'));
  for (std::size_t line = lines / 2; line < lines; line += 7) {
    std::string changed = formatted;
    changed.insert(LineStart(changed, line), "   ");
    if (Formatted(changed) == formatted) return line;
  }
  throw Exception("no line of the document changes back when formatted");
}

double TimedFormatting(ServerProcess& server, int id, std::size_t* answer_bytes = nullptr) {
  const auto start = Clock::now();
  server.Send(R"({"jsonrpc":"2.0","id":)" + std::to_string(id) +
              R"(,"method":"textDocument/formatting","params":{"textDocument":{"uri":")" + kUri +
              R"("},"options":{"tabSize":2,"insertSpaces":true}}})");
  const std::string answer = server.ReceiveAnswer();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (answer.find("\"error\"") != std::string::npos) throw Exception("request failed: " + answer);
  if (answer_bytes != nullptr) *answer_bytes = answer.size();
  return seconds;
}

void MeasureSize(const LanguageServerBenchOptions& options, std::size_t size, std::ostream& out) {
  const std::string generated = AsciiOnly(GenerateProgram(7, size));
  const std::string formatted = Formatted(generated);
  ServerProcess server(options.formatter);
  server.Send(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}})");
  server.ReceiveAnswer();
  server.Send(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");

  // The document as generated: every line to change.
  server.Send(
      R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":{"uri":")" +
      kUri + R"(","languageId":"vemra","version":1,"text":)" + JsonString(generated) + "}}}");
  server.Receive();  // its diagnostics
  std::vector<double> unformatted;
  std::size_t unformatted_answer = 0;
  for (std::size_t i = 0; i < options.unformatted_requests; ++i) {
    unformatted.push_back(TimedFormatting(server, 2, &unformatted_answer));
  }

  // The document formatted, with one line changed before each request: the
  // line's indentation is taken away, and given back the next time.
  server.Send(
      R"({"jsonrpc":"2.0","method":"textDocument/didChange","params":{"textDocument":{"uri":")" +
      kUri + R"(","version":2},"contentChanges":[{"text":)" + JsonString(formatted) + "}]}}");
  server.Receive();
  std::vector<double> times;
  long resident_after_100 = 0;
  std::size_t first_answer = 0;
  const std::size_t line = ChangeableLine(formatted);
  for (std::size_t i = 0; i < options.requests; ++i) {
    const std::string change = i % 2 == 0
                                   ? R"({"range":{"start":{"line":)" + std::to_string(line) +
                                         R"(,"character":0},"end":{"line":)" +
                                         std::to_string(line) + R"(,"character":0}},"text":"   "})"
                                   : R"({"range":{"start":{"line":)" + std::to_string(line) +
                                         R"(,"character":0},"end":{"line":)" +
                                         std::to_string(line) + R"(,"character":3}},"text":""})";
    server.Send(
        R"({"jsonrpc":"2.0","method":"textDocument/didChange","params":{"textDocument":{"uri":")" +
        kUri + R"(","version":)" + std::to_string(i + 3) + R"(},"contentChanges":[)" + change +
        "]}}");
    server.Receive();  // the diagnostics after the change
    times.push_back(
        TimedFormatting(server, static_cast<int>(i + 10), i == 0 ? &first_answer : nullptr));
    if (i + 1 == 100) resident_after_100 = server.ResidentKb();
  }
  const long resident_after_all = server.ResidentKb();
  char row[300];
  std::snprintf(row, sizeof row, "%-10zu %9.2f %8.2f %9zu %14.2f %9zu %10ld %11ld %+7.1f%%\n",
                generated.size(), Median(times) * 1e3, Percentile90(times) * 1e3, first_answer,
                Median(unformatted) * 1e3, unformatted_answer, resident_after_100,
                resident_after_all,
                resident_after_100 > 0
                    ? 100.0 * static_cast<double>(resident_after_all - resident_after_100) /
                          static_cast<double>(resident_after_100)
                    : 0.0);
  out << row << std::flush;
}

}  // namespace

void MeasureLanguageServer(const LanguageServerBenchOptions& options, std::ostream& out) {
  out << "language server: formatting requests over a pipe, " << options.requests
      << " per document (one line changed before each)\n"
      << "bytes      median ms   p90 ms  answer B unformatted ms  answer B RSS@100 kB "
         "RSS@end kB  growth\n";
  for (const std::size_t size : options.sizes) MeasureSize(options, size, out);
  out << "median/p90 ms: from sending textDocument/formatting to reading its answer, document "
         "formatted but for one line; unformatted ms: the same on the document as generated "
         "(median of "
      << options.unformatted_requests << "); RSS: the server's resident memory after 100 and "
      << "after all requests\n";
}

}  // namespace vemra
