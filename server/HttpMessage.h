#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sf::scores {

// A request as the HTTP layer hands it to the service: already parsed and within its size caps.
struct HttpRequest {
  std::string Method;
  std::string Target;                                        // path and query as sent
  std::string Cookie;                                        // the Cookie header, empty when none
  std::vector<std::pair<std::string, std::string>> Headers;  // every header, value trimmed
  std::string Body;
  std::string Peer;  // the address the connection came from

  // The value of the first header of that name (any case), empty when none.
  std::string Header(std::string_view name) const;
};

struct HttpResponse {
  int Status = 200;
  std::string ContentType = "text/plain";
  std::string Body;
  std::string SetCookie;                                     // a Set-Cookie value, empty for none
  std::vector<std::pair<std::string, std::string>> Headers;  // further headers
};

// The value of one cookie in a Cookie header, empty when it is not there.
std::string CookieValue(std::string_view header, std::string_view name);

}  // namespace sf::scores
