#include "lsp/server_session.h"

#include <algorithm>
#include <utility>

#include "lsp/document_edits.h"
#include "lsp/file_uri.h"

namespace vemra::lsp {

namespace {

// How the text is kept in step: whole documents on open and close, and
// changes as edits of ranges.
constexpr int kIncrementalSync = 2;

std::string UriOf(const Json& params) {
  return params.at("textDocument").at("uri").get<std::string>();
}

PositionEncoding ChosenEncoding(const Json& params) {
  const Json* offered = nullptr;
  const auto capabilities = params.find("capabilities");
  if (capabilities != params.end() && capabilities->contains("general")) {
    const Json& general = (*capabilities)["general"];
    const auto encodings = general.find("positionEncodings");
    if (encodings != general.end() && encodings->is_array()) offered = &*encodings;
  }
  if (offered && std::find(offered->begin(), offered->end(), Json("utf-8")) != offered->end()) {
    return PositionEncoding::kUtf8;
  }
  return PositionEncoding::kUtf16;
}

Position PositionFrom(const Json& position) {
  return {position.at("line").get<std::size_t>(), position.at("character").get<std::size_t>()};
}

// The lines of a range, 0-based and half open. A range that ends at the
// start of a later line, as a selection of whole lines does, leaves that
// line out.
LineSpan LinesOf(const Json& range) {
  const Position start = PositionFrom(range.at("start"));
  const Position end = PositionFrom(range.at("end"));
  if (end.line < start.line) throw RequestError(kInvalidParams, "the range ends before it starts");
  const bool ends_at_line_start = end.character == 0 && end.line > start.line;
  return {start.line, ends_at_line_start ? end.line : end.line + 1};
}

Json DiagnosticJson(const SourceDiagnostic& diagnostic) {
  const std::size_t line = static_cast<std::size_t>(std::max(diagnostic.line, 1) - 1);
  const Json position = {{"line", line}, {"character", 0}};
  const Json next_line = {{"line", line + 1}, {"character", 0}};
  return {{"range", {{"start", position}, {"end", next_line}}},
          {"severity", diagnostic.severity == DiagnosticSeverity::kWarning ? 2 : 3},
          {"source", "vemrafmt"},
          {"message", diagnostic.message}};
}

}  // namespace

Json ServerSession::Request(const std::string& method, const Json& params) {
  if (method == "initialize") return Initialize(params);
  if (method == "shutdown") {
    shut_down_ = true;
    return nullptr;
  }
  if (method == "textDocument/formatting") return Formatting(params);
  if (method == "textDocument/rangeFormatting") return RangeFormatting(params, false);
  if (method == "textDocument/rangesFormatting") return RangeFormatting(params, true);
  throw RequestError(kMethodNotFound, "the method " + method + " is not known");
}

void ServerSession::Notification(const std::string& method, const Json& params) {
  if (method == "exit") {
    exited_ = true;
  } else if (method == "textDocument/didOpen") {
    DidOpen(params);
  } else if (method == "textDocument/didChange") {
    DidChange(params);
  } else if (method == "textDocument/didClose") {
    const std::string uri = UriOf(params);
    documents_.Close(uri);
    notify_("textDocument/publishDiagnostics", {{"uri", uri}, {"diagnostics", Json::array()}});
  }
  // "initialized", "$/cancelRequest" (every request is answered before the
  // next message is read), and what the server does not know: nothing to do.
}

Json ServerSession::Initialize(const Json& params) {
  if (initialized_) throw RequestError(kInvalidRequest, "the server is already initialized");
  encoding_ = ChosenEncoding(params);
  initialized_ = true;
  const Json capabilities = {
      {"positionEncoding", encoding_ == PositionEncoding::kUtf8 ? "utf-8" : "utf-16"},
      {"textDocumentSync", {{"openClose", true}, {"change", kIncrementalSync}}},
      {"documentFormattingProvider", true},
      {"documentRangeFormattingProvider", {{"rangesSupport", true}}},
  };
  return {{"capabilities", capabilities},
          {"serverInfo", {{"name", info_.name}, {"version", info_.version}}}};
}

void ServerSession::DidOpen(const Json& params) {
  const Json& item = params.at("textDocument");
  const std::string uri = item.at("uri").get<std::string>();
  documents_.Open(uri, item.at("text").get<std::string>(), item.value("version", 0));
  PublishDiagnostics(uri);
}

void ServerSession::DidChange(const Json& params) {
  const std::string uri = UriOf(params);
  OpenDocument* document = documents_.Find(uri);
  if (!document) return;
  for (const Json& change : params.at("contentChanges")) {
    const std::string& text = change.at("text").get_ref<const std::string&>();
    const auto range = change.find("range");
    if (range == change.end()) {
      document->text = text;
      continue;
    }
    const LineIndex index(document->text);
    const std::size_t begin = index.OffsetOf(PositionFrom(range->at("start")), encoding_);
    const std::size_t end = index.OffsetOf(PositionFrom(range->at("end")), encoding_);
    document->text.replace(begin, std::max(begin, end) - begin, text);
  }
  document->version = params.at("textDocument").value("version", document->version);
  PublishDiagnostics(uri);
}

FormattedDocument ServerSession::FormatDocument(const std::string& uri,
                                                const OpenDocument& document) {
  return formatter_.Format(PathOfUri(uri), document.text);
}

void ServerSession::PublishDiagnostics(const std::string& uri) {
  const OpenDocument& document = documents_.Get(uri);
  Json diagnostics = Json::array();
  try {
    for (const SourceDiagnostic& diagnostic : FormatDocument(uri, document).diagnostics) {
      diagnostics.push_back(DiagnosticJson(diagnostic));
    }
  } catch (const std::exception& error) {
    diagnostics.push_back(
        {{"range",
          {{"start", {{"line", 0}, {"character", 0}}}, {"end", {{"line", 0}, {"character", 0}}}}},
         {"severity", 1},
         {"source", "vemrafmt"},
         {"message", error.what()}});
  }
  notify_("textDocument/publishDiagnostics",
          {{"uri", uri}, {"version", document.version}, {"diagnostics", std::move(diagnostics)}});
}

Json ServerSession::Formatting(const Json& params) {
  const std::string uri = UriOf(params);
  const OpenDocument& document = documents_.Get(uri);
  return FormattingEdits(document.text, FormatDocument(uri, document).text, nullptr, encoding_);
}

Json ServerSession::RangeFormatting(const Json& params, bool many_ranges) {
  const std::string uri = UriOf(params);
  const OpenDocument& document = documents_.Get(uri);
  std::vector<LineSpan> spans;
  if (many_ranges) {
    for (const Json& range : params.at("ranges")) spans.push_back(LinesOf(range));
  } else {
    spans.push_back(LinesOf(params.at("range")));
  }
  return FormattingEdits(document.text, FormatDocument(uri, document).text, &spans, encoding_);
}

}  // namespace vemra::lsp
