#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sf::scores {

// The longest request head (request line and headers) the service reads.
inline constexpr size_t kMaxRequestHead = 8192;

struct HttpRequest {
  std::string Method;
  std::string Target;  // path and query as sent
  std::string Cookie;  // the Cookie header, empty when none
  std::vector<std::pair<std::string, std::string>> Headers;  // every header, value trimmed

  // The value of the first header of that name (any case), empty when none.
  std::string Header(std::string_view name) const;
};

struct HttpResponse {
  int Status = 200;
  std::string ContentType = "text/plain";
  std::string Body;
  std::string SetCookie;  // a Set-Cookie value, empty for none
};

// Parses a request head ending in an empty line; nothing when it is not a well-formed HTTP/1.x head.
std::optional<HttpRequest> ParseHttpRequest(std::string_view head);

// The complete reply bytes; every reply closes the connection.
std::string FormatHttpResponse(const HttpResponse& response);

// The value of one cookie in a Cookie header, empty when it is not there.
std::string CookieValue(std::string_view header, std::string_view name);

}  // namespace sf::scores
