// The language server, run in this process through the command line's
// -lsp=1 over a pipe: a table of sessions, each a list of messages sent and
// the exact answers and notifications expected back, and the exit status.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base/stream_write.h"
#include "bench/program_kinds.h"
#include "cli/driver.h"
#include "cli/text_formatting.h"
#include "lsp/document_edits.h"
#include "tests/cli/run_helpers.h"
#include "tests/support/test_system.h"

namespace vemra::testing {
namespace {

std::string Framed(const std::string& body) {
  return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

// The bodies of the framed messages in output, in order; a frame that does
// not parse ends the list with a note.
std::vector<std::string> Bodies(const std::string& output) {
  std::vector<std::string> bodies;
  std::size_t at = 0;
  while (at < output.size()) {
    const std::size_t blank = output.find("\r\n\r\n", at);
    const std::string header = output.substr(at, blank - at);
    if (blank == std::string::npos || header.rfind("Content-Length: ", 0) != 0) {
      bodies.push_back("<bad frame: " + output.substr(at) + ">");
      break;
    }
    const std::size_t length = std::stoul(header.substr(16));
    bodies.push_back(output.substr(blank + 4, length));
    at = blank + 4 + length;
  }
  return bodies;
}

struct Session {
  std::vector<std::string> output;
  int status;
};

// Sends input through a pipe, from a thread of its own, to a server run
// here until it ends.
Session Serve(const std::string& input) {
  int fds[2];
  EXPECT_TRUE(MakePipe(fds));
  std::thread writer([&input, fd = fds[1]] {
    WriteToStream(fd, input);
    CloseDescriptor(fd);
  });
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunCommandLine({"-lsp=1"}, {fds[0], out, err});
  writer.join();
  CloseDescriptor(fds[0]);
  EXPECT_EQ(err.str(), "");
  return {Bodies(out.str()), status};
}

std::string Request(int id, const std::string& method, const std::string& params) {
  return R"({"jsonrpc":"2.0","id":)" + std::to_string(id) + R"(,"method":")" + method +
         R"(","params":)" + params + "}";
}
std::string Notice(const std::string& method, const std::string& params) {
  return R"({"jsonrpc":"2.0","method":")" + method + R"(","params":)" + params + "}";
}

const std::string kUri = "file:///nowhere/a.vem";
const std::string kDoc = R"({"uri":")" + kUri + R"("})";

std::string Initialize(const std::string& encodings = "") {
  const std::string general =
      encodings.empty() ? "{}" : R"({"general":{"positionEncodings":)" + encodings + "}}";
  return Request(1, "initialize", R"({"processId":null,"capabilities":)" + general + "}");
}
std::string Open(const std::string& json_text) {
  return Notice("textDocument/didOpen", R"({"textDocument":{"uri":")" + kUri +
                                            R"(","languageId":"vemra","version":1,"text":)" +
                                            json_text + "}}");
}
std::string Change(const std::string& range, const std::string& json_text) {
  return Notice("textDocument/didChange", R"({"textDocument":{"uri":")" + kUri +
                                              R"(","version":2},"contentChanges":[{)" +
                                              (range.empty() ? "" : R"("range":)" + range + ",") +
                                              R"("text":)" + json_text + "}]}");
}
std::string Range(int l1, int c1, int l2, int c2) {
  return R"({"start":{"line":)" + std::to_string(l1) + R"(,"character":)" + std::to_string(c1) +
         R"(},"end":{"line":)" + std::to_string(l2) + R"(,"character":)" + std::to_string(c2) +
         "}}";
}
std::string Format(int id) {
  return Request(
      id, "textDocument/formatting",
      R"({"textDocument":)" + kDoc + R"(,"options":{"tabSize":8,"insertSpaces":false}})");
}
std::string FormatRange(int id, const std::string& range) {
  return Request(id, "textDocument/rangeFormatting",
                 R"({"textDocument":)" + kDoc + R"(,"range":)" + range + R"(,"options":{}})");
}
std::string Shutdown(int id) {
  return Request(id, "shutdown", "null");
}
const std::string kExit = Notice("exit", "null");

const std::string kUtf16Init =
    R"({"id":1,"jsonrpc":"2.0","result":{"capabilities":{"documentFormattingProvider":true,)"
    R"("documentRangeFormattingProvider":{"rangesSupport":true},"positionEncoding":"utf-16",)"
    R"("textDocumentSync":{"change":2,"openClose":true}},"serverInfo":{"name":"vemrafmt",)"
    R"("version":")" VEMRA_VERSION R"("}}})";
const std::string kUtf8Init = [] {
  std::string init = kUtf16Init;
  init.replace(init.find("utf-16"), 6, "utf-8");
  return init;
}();
std::string NoDiagnostics(int version) {
  return R"({"jsonrpc":"2.0","method":"textDocument/publishDiagnostics","params":{"diagnostics":[],"uri":")" +
         kUri + R"(","version":)" + std::to_string(version) + "}}";
}
std::string Result(int id, const std::string& result) {
  return R"({"id":)" + std::to_string(id) + R"(,"jsonrpc":"2.0","result":)" + result + "}";
}
std::string Error(const std::string& id, int code, const std::string& message) {
  return R"({"error":{"code":)" + std::to_string(code) + R"(,"message":")" + message +
         R"("},"id":)" + id + R"(,"jsonrpc":"2.0"})";
}
std::string Edit(int l1, int c1, int l2, int c2, const std::string& json_text) {
  return R"({"newText":)" + json_text + R"(,"range":{"end":{"character":)" + std::to_string(c2) +
         R"(,"line":)" + std::to_string(l2) + R"(},"start":{"character":)" + std::to_string(c1) +
         R"(,"line":)" + std::to_string(l1) + "}}}";
}

struct SessionCase {
  const char* name;
  std::vector<std::string> sent;  // bodies, framed before sending; "RAW:" sends the rest as is
  std::vector<std::string> expected;
  int status;
};

TEST(LanguageServer, AnswersEachSessionExactly) {
  const std::vector<SessionCase> cases = {
      {"handshake, then shutdown and exit: status 0",
       {Initialize(), Notice("initialized", "{}"), Shutdown(2), kExit},
       {kUtf16Init, Result(2, "null")},
       0},
      {"exit without shutdown: status 1", {Initialize(), kExit}, {kUtf16Init}, 1},
      {"the input ends without exit: status 1", {Initialize()}, {kUtf16Init}, 1},
      {"a request before initialize is refused",
       {Format(7), Initialize(), Shutdown(2), kExit},
       {Error("7", -32002, "the server is not initialized"), kUtf16Init, Result(2, "null")},
       0},
      {"a request after shutdown is refused",
       {Initialize(), Shutdown(2), Format(3), kExit},
       {kUtf16Init, Result(2, "null"), Error("3", -32600, "the server is shut down")},
       0},
      {"whole-document formatting: only the changed lines, CR LF by default",
       {Initialize(), Open(R"("proc A()\r\n  x = 1\r\ny=2\r\nend\r\n")"), Format(2)},
       {kUtf16Init, NoDiagnostics(1), Result(2, "[" + Edit(2, 0, 3, 0, R"("  y = 2\r\n")") + "]")},
       1},
      {"a formatted document gets no edits",
       {Initialize(), Open(R"("proc A()\r\n  x = 1\r\nend\r\n")"), Format(2)},
       {kUtf16Init, NoDiagnostics(1), Result(2, "[]")},
       1},
      {"collapsed empty lines are one edit that removes lines",
       {Initialize(), Open(R"("x = 1\r\n\r\n\r\n\r\ny = 2\r\n")"), Format(2)},
       {kUtf16Init, NoDiagnostics(1), Result(2, "[" + Edit(2, 0, 4, 0, R"("")") + "]")},
       1},
      {"range formatting changes only the lines of the range",
       {Initialize(), Open(R"("proc A()\nx=1\ny=2\nz=3\nend\n")"),
        FormatRange(2, Range(2, 1, 2, 3))},
       {kUtf16Init, NoDiagnostics(1), Result(2, "[" + Edit(2, 0, 3, 0, R"("  y = 2\r\n")") + "]")},
       1},
      {"a range of whole lines ends before the line its end stands at",
       {Initialize(), Open(R"("proc A()\nx=1\ny=2\nz=3\nend\n")"),
        FormatRange(2, Range(1, 0, 3, 0))},
       {kUtf16Init, NoDiagnostics(1),
        Result(2, "[" + Edit(1, 0, 3, 0, R"("  x = 1\r\n  y = 2\r\n")") + "]")},
       1},
      {"several ranges at once",
       {Initialize(), Open(R"("proc A()\nx=1\ny=2\nz=3\nend\n")"),
        Request(2, "textDocument/rangesFormatting",
                R"({"textDocument":)" + kDoc + R"(,"ranges":[)" + Range(1, 0, 1, 1) + "," +
                    Range(3, 0, 3, 1) + R"(],"options":{}})")},
       {kUtf16Init, NoDiagnostics(1),
        Result(2, "[" + Edit(1, 0, 2, 0, R"("  x = 1\r\n")") + "," +
                      Edit(3, 0, 4, 0, R"("  z = 3\r\n")") + "]")},
       1},
      {"incremental changes edit the kept text",
       {Initialize(), Open(R"("proc A()\r\n  x = 1\r\nend\r\n")"),
        Change(Range(1, 7, 1, 7), R"("\r\ny=2")"), Change(Range(2, 0, 2, 1), R"("zz")"), Format(2)},
       {kUtf16Init, NoDiagnostics(1), NoDiagnostics(2), NoDiagnostics(2),
        Result(2, "[" + Edit(2, 0, 3, 0, R"("  zz = 2\r\n")") + "]")},
       1},
      {"the findings on blocks are published after open and change",
       {Initialize(), Open(R"("end\nproc A()\n")"), Change("", R"("x")")},
       {kUtf16Init,
        R"({"jsonrpc":"2.0","method":"textDocument/publishDiagnostics","params":{"diagnostics":[)"
        R"({"message":"\"end\" closes no open block","range":{"end":{"character":0,"line":1},)"
        R"("start":{"character":0,"line":0}},"severity":2,"source":"vemrafmt"},)"
        R"({"message":"\"proc\" opened on line 2 is never closed","range":{"end":{"character":0,)"
        R"("line":2},"start":{"character":0,"line":1}},"severity":2,"source":"vemrafmt"}],)"
        R"("uri":"file:///nowhere/a.vem","version":1}})",
        NoDiagnostics(2)},
       1},
      {"a full change replaces the text",
       {Initialize(), Open(R"("x")"), Change("", R"("a=1\r\n")"), Format(2)},
       {kUtf16Init, NoDiagnostics(1), NoDiagnostics(2),
        Result(2, "[" + Edit(0, 0, 1, 0, R"("a = 1\r\n")") + "]")},
       1},
      // "é" is one UTF-16 unit and two bytes, U+1F600 two units and four
      // bytes: the change lands behind both only where both are counted
      // right, and the end of a last line without a line end is counted
      // the same way.
      {"UTF-16 positions on a line with non-ASCII bytes",
       {Initialize(), Open(R"("s=\"\u00e9\ud83d\ude00\"")"), Change(Range(0, 6, 0, 6), R"("!")"),
        Format(2)},
       {kUtf16Init, NoDiagnostics(1), NoDiagnostics(2),
        Result(2, "[" + Edit(0, 0, 0, 8, R"("s = \"é😀!\"\r\n")") + "]")},
       1},
      {"UTF-8 positions when the client offers them",
       {Initialize(R"(["utf-16","utf-8"])"), Open(R"("s=\"\u00e9\ud83d\ude00\"")"),
        Change(Range(0, 9, 0, 9), R"("!")"), Format(2)},
       {kUtf8Init, NoDiagnostics(1), NoDiagnostics(2),
        Result(2, "[" + Edit(0, 0, 0, 11, R"("s = \"é😀!\"\r\n")") + "]")},
       1},
      {"malformed JSON, a bad header, a request without a method: answered, the server goes on",
       {Initialize(), "{\"jsonrpc\":", "RAW:Content-Type: x\r\n\r\n", R"({"jsonrpc":"2.0","id":5})",
        Shutdown(2), kExit},
       {kUtf16Init, Error("null", -32700, "the message is not valid JSON"),
        Error("null", -32700, "no valid Content-Length header"),
        Error("5", -32600, "the message has no method"), Result(2, "null")},
       0},
      {"an unknown request is refused, an unknown notification passed over, a cancel accepted",
       {Initialize(), Request(4, "textDocument/hover", "{}"), Notice("$/unknown", "{}"),
        Notice("$/cancelRequest", R"({"id":4})"), Shutdown(2), kExit},
       {kUtf16Init, Error("4", -32601, "the method textDocument/hover is not known"),
        Result(2, "null")},
       0},
      {"a request on a document never opened, or closed",
       {Initialize(), Format(2), Open(R"("x")"),
        Notice("textDocument/didClose", R"({"textDocument":)" + kDoc + "}"), Format(3)},
       {kUtf16Init, Error("2", -32602, "the document " + kUri + " is not open"), NoDiagnostics(1),
        R"({"jsonrpc":"2.0","method":"textDocument/publishDiagnostics","params":{"diagnostics":[],"uri":")" +
            kUri + R"("}})",
        Error("3", -32602, "the document " + kUri + " is not open")},
       1},
  };
  for (const SessionCase& c : cases) {
    std::string input;
    for (const std::string& body : c.sent) {
      input += body.rfind("RAW:", 0) == 0 ? body.substr(4) : Framed(body);
    }
    const Session session = Serve(input);
    EXPECT_EQ(session.output, c.expected) << c.name;
    EXPECT_EQ(session.status, c.status) << c.name;
  }
}

// The text the edits make of text: their ranges are of text as it was,
// and they are applied from the last to the first.
std::string Applied(std::string text, const lsp::Json& edits) {
  const lsp::LineIndex index(text);
  const auto offset = [&index](const lsp::Json& position) {
    return index.OffsetOf({position["line"], position["character"]}, lsp::PositionEncoding::kUtf8);
  };
  std::vector<std::pair<std::size_t, std::size_t>> ranges;
  for (const lsp::Json& edit : edits) {
    ranges.emplace_back(offset(edit["range"]["start"]), offset(edit["range"]["end"]));
  }
  for (std::size_t i = edits.size(); i-- > 0;) {
    text.replace(ranges[i].first, ranges[i].second - ranges[i].first,
                 edits[i]["newText"].get<std::string>());
  }
  return text;
}

// The edits of a formatting request turn every kind of generated program
// into exactly what -stdin=1 prints for it, whatever the line ends chosen.
TEST(LanguageServer, EditsGiveTheCommandLinesText) {
  std::ostringstream out;
  std::ostringstream err;
  RunSettings quiet;
  quiet.Quiet = true;
  Console console({0, out, err}, quiet);
  for (const std::string line_ends : {"crlf", "lf", "keep"}) {
    RunSettings settings;
    ApplyArgument("-lineends=" + line_ends, settings);
    ApplyArgument("-editorconfig=0", settings);
    for (std::uint64_t seed = 0; seed < 12; ++seed) {
      const std::string text = GenerateProgramOfKind(seed);
      const RunResult run =
          RunDriver({"-stdin=1", "-editorconfig=0", "-lineends=" + line_ends}, text);
      if (run.status != kExitSuccess) continue;  // a text that does not settle fails alike
      const std::string formatted = FormatText(console, settings, "", text).text;
      ASSERT_EQ(formatted, run.console) << seed;
      const lsp::Json edits =
          lsp::FormattingEdits(text, formatted, nullptr, lsp::PositionEncoding::kUtf8);
      EXPECT_EQ(Applied(text, edits), formatted) << line_ends << " " << seed;
    }
  }
}

// One line changed in a long formatted document gives an edit of that line
// alone, and a range over it takes that edit and nothing else.
TEST(LanguageServer, OneChangedLineGivesOneLineEdit) {
  std::string formatted = "proc A()\r\n";
  for (int i = 0; i < 2000; ++i) formatted += "  x = " + std::to_string(i) + "\r\n";
  formatted += "end\r\n";
  std::string text = formatted;
  text.replace(text.find("  x = 1000\r\n"), 12, "x=1000 \r\n");
  const std::string expected = "[" + Edit(1001, 0, 1002, 0, R"("  x = 1000\r\n")") + "]";
  EXPECT_EQ(lsp::FormattingEdits(text, formatted, nullptr, lsp::PositionEncoding::kUtf16).dump(),
            expected);
  const std::vector<LineSpan> around = {{995, 1005}};
  EXPECT_EQ(lsp::FormattingEdits(text, formatted, &around, lsp::PositionEncoding::kUtf16).dump(),
            expected);
  const std::vector<LineSpan> elsewhere = {{10, 20}};
  EXPECT_EQ(lsp::FormattingEdits(text, formatted, &elsewhere, lsp::PositionEncoding::kUtf16).dump(),
            "[]");
}

}  // namespace
}  // namespace vemra::testing
