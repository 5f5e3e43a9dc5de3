// The JSON-RPC 2.0 envelope of the protocol's messages: requests (with an
// id), notifications (without), and the answers to requests. Only this
// layer knows about ids and error objects; the methods see parameters and
// give results or throw RequestError.
#pragma once

#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

namespace vemra::lsp {

using Json = nlohmann::json;

// Error codes of the envelope and of the protocol.
enum ErrorCode : int {
  kParseError = -32700,
  kInvalidRequest = -32600,
  kMethodNotFound = -32601,
  kInvalidParams = -32602,
  kInternalError = -32603,
  kServerNotInitialized = -32002,
  kRequestFailed = -32803,
};

// A request that cannot be answered with a result; the loop answers it
// with this error.
class RequestError : public std::runtime_error {
 public:
  RequestError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
  int Code() const { return code_; }

 private:
  int code_;
};

// One message as read: a request when it has an id, else a notification;
// an answer from the client (a result or error with an id, no method) is
// neither, and is passed over.
struct Incoming {
  Json id;  // null for a notification
  std::string method;
  Json params;
  bool is_request = false;
  bool is_answer = false;
};

// The message in body; throws RequestError (kParseError) when the body is
// not JSON, and (kInvalidRequest) when it is no JSON-RPC message, with id
// set to the message's id where it has one.
Incoming ParseIncoming(const std::string& body, Json& id);

std::string ResultMessage(const Json& id, const Json& result);
std::string ErrorMessage(const Json& id, int code, const std::string& message);
std::string NotificationMessage(const std::string& method, const Json& params);

}  // namespace vemra::lsp
