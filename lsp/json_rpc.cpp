#include "lsp/json_rpc.h"

namespace vemra::lsp {

namespace {

// Texts are byte strings: a byte that is not UTF-8 is written as U+FFFD
// rather than failing the answer.
std::string Dumped(const Json& message) {
  return message.dump(-1, ' ', false, Json::error_handler_t::replace);
}

bool IsValidId(const Json& id) {
  return id.is_string() || id.is_number_integer() || id.is_number_unsigned();
}

}  // namespace

Incoming ParseIncoming(const std::string& body, Json& id) {
  Json message = Json::parse(body, nullptr, false);
  if (message.is_discarded()) throw RequestError(kParseError, "the message is not valid JSON");
  if (!message.is_object()) throw RequestError(kInvalidRequest, "the message is not an object");
  Incoming incoming;
  const auto found_id = message.find("id");
  if (found_id != message.end()) {
    if (IsValidId(*found_id)) id = *found_id;
    if (!IsValidId(*found_id)) throw RequestError(kInvalidRequest, "the id is not valid");
    incoming.id = *found_id;
  }
  const auto method = message.find("method");
  if (method == message.end()) {
    if (found_id != message.end() && (message.contains("result") || message.contains("error"))) {
      incoming.is_answer = true;
      return incoming;
    }
    throw RequestError(kInvalidRequest, "the message has no method");
  }
  if (!method->is_string()) throw RequestError(kInvalidRequest, "the method is not a string");
  incoming.method = method->get<std::string>();
  incoming.is_request = found_id != message.end();
  const auto params = message.find("params");
  if (params != message.end()) incoming.params = *params;
  return incoming;
}

std::string ResultMessage(const Json& id, const Json& result) {
  return Dumped(Json{{"jsonrpc", "2.0"}, {"id", id}, {"result", result}});
}

std::string ErrorMessage(const Json& id, int code, const std::string& message) {
  return Dumped(
      Json{{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}});
}

std::string NotificationMessage(const std::string& method, const Json& params) {
  return Dumped(Json{{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
}

}  // namespace vemra::lsp
