// The state of one session with a client and its methods. The loop hands
// each message's method and parameters in; only this layer knows what the
// methods mean.
#pragma once

#include <functional>
#include <string>

#include "lsp/document_formatter.h"
#include "lsp/json_rpc.h"
#include "lsp/language_server.h"
#include "lsp/open_documents.h"
#include "lsp/text_positions.h"

namespace vemra::lsp {

class ServerSession {
 public:
  // notify sends a notification to the client.
  using Notify = std::function<void(const std::string& method, const Json& params)>;

  ServerSession(DocumentFormatter& formatter, ServerInfo info, Notify notify)
      : formatter_(formatter), info_(std::move(info)), notify_(std::move(notify)) {}

  // The result of a request; throws RequestError to answer with an error.
  Json Request(const std::string& method, const Json& params);
  // Acts on a notification; unknown ones are passed over. Throws
  // RequestError for one whose parameters are wrong, which the loop only
  // reports.
  void Notification(const std::string& method, const Json& params);

  bool Initialized() const { return initialized_; }
  bool ShutDown() const { return shut_down_; }
  bool Exited() const { return exited_; }

 private:
  Json Initialize(const Json& params);
  Json Formatting(const Json& params);
  Json RangeFormatting(const Json& params, bool many_ranges);
  void DidOpen(const Json& params);
  void DidChange(const Json& params);
  void PublishDiagnostics(const std::string& uri);
  FormattedDocument FormatDocument(const std::string& uri, const OpenDocument& document);

  DocumentFormatter& formatter_;
  const ServerInfo info_;
  const Notify notify_;
  OpenDocuments documents_;
  PositionEncoding encoding_ = PositionEncoding::kUtf16;
  bool initialized_ = false;
  bool shut_down_ = false;
  bool exited_ = false;
};

}  // namespace vemra::lsp
