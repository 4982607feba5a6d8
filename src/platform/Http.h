#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace sf {

// Limits of every request. The exchange blocks the window's thread, so a dead or silent server
// must give up within seconds, and a reply can never grow without bound.
struct HttpLimits {
  long ConnectTimeoutMs = 5000;
  long TotalTimeoutMs = 15000;
  size_t MaxReplyBytes = 64 * 1024;  // a larger reply is a failure
};

// Why the last request failed: the status of an error reply with the first line of its body, or
// status 0 when no reply came (no connection, refused, time-out, broken or oversized transfer).
struct HttpFailure {
  int Status = 0;
  std::string Reason;
};

// A plain HTTP client for the online score exchange. Every request is a GET with the fixed
// headers: Accept "text/html, */*", content type "text/html", user agent
// "Mozilla/3.0 (compatible; Indy Library)"; no proxy, no authentication. One cookie jar lives as
// long as the client, so cookies set by one reply go back with the next request.
class Http {
 public:
  virtual ~Http() = default;

  // Blocking GET of a full address. The body of a 2xx reply, or nothing on any failure: no
  // connection, refused, time-out, error status, broken transfer or an oversized reply.
  virtual std::optional<std::string> Get(const std::string& url) = 0;

  // Blocking POST of a body with its content type, with the same cookie jar, limits and other
  // headers as a GET. The body of a 2xx reply, or nothing on any failure. A client that cannot
  // send bodies keeps this default, which fails.
  virtual std::optional<std::string> Post(const std::string& url, std::span<const uint8_t> body,
                                          const std::string& contentType) {
    (void)url, (void)body, (void)contentType;
    return std::nullopt;
  }

  // What the last request got when it failed. A client that cannot tell keeps this default, which
  // reports every failure as one without a reply.
  virtual HttpFailure LastFailure() const { return {}; }

  // Called now and then while a request blocks, so the window can keep answering the desktop.
  // It must not start another request. An empty function turns it off.
  virtual void SetWaitHandler(std::function<void()> handler) = 0;
};

inline constexpr const char* kHttpAccept = "text/html, */*";
inline constexpr const char* kHttpContentType = "text/html";
inline constexpr const char* kHttpUserAgent = "Mozilla/3.0 (compatible; Indy Library)";

}  // namespace sf
