#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
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
  // Bytes kept elsewhere (a static file, a replay) that every reply sending them shares: never a
  // copy per connection. When set, it is the body and Body is not sent.
  std::shared_ptr<const std::string> Shared;

  const std::string& Bytes() const { return Shared ? *Shared : Body; }
};

// What the server has turned away or shed since it started, and what it holds now.
struct ServerStats {
  uint64_t RefusedAtCapacity = 0;  // connections closed on arrival: MaxConnections reached
  uint64_t RefusedPerClient = 0;   // connections closed on arrival: the client's cap reached
  uint64_t ShedHeads = 0;          // connections closed while waiting for a head (MaxPendingHeads)
  uint64_t BusyReplies = 0;        // replies refused with 503 by MaxPendingWriteBytes
  uint64_t BusyBodies = 0;         // uploads refused with 503 by MaxPendingBodyBytes
  int OpenConnections = 0;
  int PendingHeads = 0;
  size_t PendingWriteBytes = 0;
  size_t PendingBodyBytes = 0;
};

// A header value without the spaces and tabs around it.
std::string_view Trim(std::string_view s);
// Header names, tokens and codings compare without regard to ASCII case.
bool EqualsNoCase(std::string_view a, std::string_view b);

// The value of one cookie in a Cookie header, empty when it is not there.
std::string CookieValue(std::string_view header, std::string_view name);

// What the limits and quotas count a client by: an IPv4 address as it is, an IPv6 address by its
// /64 ("2001:db8:1:2::/64": the block one line or machine is given, so its addresses count as
// one), an IPv4 address mapped into IPv6 as that IPv4 address. Anything else stays as it is.
std::string ClientKey(std::string_view address);

}  // namespace sf::scores
