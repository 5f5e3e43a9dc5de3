#include "lsp/language_server.h"

#include <exception>

#include "lsp/json_rpc.h"
#include "lsp/message_framing.h"
#include "lsp/server_session.h"

namespace vemra::lsp {

namespace {

// Answers one request: its result, or the error it was refused with.
std::string Answer(ServerSession& session, const Incoming& incoming) {
  try {
    if (session.ShutDown() && incoming.method != "shutdown") {
      throw RequestError(kInvalidRequest, "the server is shut down");
    }
    if (!session.Initialized() && incoming.method != "initialize") {
      throw RequestError(kServerNotInitialized, "the server is not initialized");
    }
    return ResultMessage(incoming.id, session.Request(incoming.method, incoming.params));
  } catch (const RequestError& error) {
    return ErrorMessage(incoming.id, error.Code(), error.what());
  } catch (const Json::exception& error) {
    return ErrorMessage(incoming.id, kInvalidParams, error.what());
  } catch (const std::exception& error) {
    return ErrorMessage(incoming.id, kRequestFailed, error.what());
  }
}

// Acts on one notification; what goes wrong in one is passed over, as a
// notification has no answer.
void Act(ServerSession& session, const Incoming& incoming) {
  if (!session.Initialized() && incoming.method != "exit") return;
  try {
    session.Notification(incoming.method, incoming.params);
  } catch (const std::exception&) {
  }
}

}  // namespace

int RunLanguageServer(int input_fd, std::ostream& out, DocumentFormatter& formatter,
                      const ServerInfo& info) {
  const auto send = [&out](const std::string& body) { WriteMessage(out, body); };
  ServerSession session(formatter, info, [&send](const std::string& method, const Json& params) {
    send(NotificationMessage(method, params));
  });
  MessageReader reader(input_fd);
  while (!session.Exited()) {
    Frame frame = reader.Next();
    if (frame.kind == Frame::Kind::kEnd) break;
    if (frame.kind == Frame::Kind::kBadHeader) {
      send(ErrorMessage(nullptr, kParseError, frame.body));
      continue;
    }
    Json id;
    Incoming incoming;
    try {
      incoming = ParseIncoming(frame.body, id);
    } catch (const RequestError& error) {
      send(ErrorMessage(id, error.Code(), error.what()));
      continue;
    }
    if (incoming.is_answer) continue;
    if (incoming.is_request) {
      send(Answer(session, incoming));
    } else {
      Act(session, incoming);
    }
  }
  return session.ShutDown() ? 0 : 1;
}

}  // namespace vemra::lsp
