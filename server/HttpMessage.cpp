#include "HttpMessage.h"

#include <arpa/inet.h>

#include <cctype>
#include <cstring>

namespace sf::scores {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

std::string HttpRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : Headers)
    if (EqualsNoCase(key, name)) return value;
  return {};
}

std::string CookieValue(std::string_view header, std::string_view name) {
  while (!header.empty()) {
    const size_t semi = header.find(';');
    const std::string_view pair = Trim(header.substr(0, semi));
    header.remove_prefix(semi == std::string_view::npos ? header.size() : semi + 1);
    const size_t eq = pair.find('=');
    if (eq != std::string_view::npos && pair.substr(0, eq) == name) return std::string(pair.substr(eq + 1));
  }
  return {};
}

std::string ClientKey(std::string_view address) {
  if (address.size() >= INET6_ADDRSTRLEN || address.find(':') == std::string_view::npos) return std::string(address);
  char text[INET6_ADDRSTRLEN] = {};
  std::memcpy(text, address.data(), address.size());
  unsigned char bytes[16];
  if (inet_pton(AF_INET6, text, bytes) != 1) return std::string(address);
  static constexpr unsigned char kMapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
  if (std::memcmp(bytes, kMapped, sizeof kMapped) == 0) {
    char v4[INET_ADDRSTRLEN];
    return inet_ntop(AF_INET, bytes + 12, v4, sizeof v4) ? std::string(v4) : std::string(address);
  }
  std::memset(bytes + 8, 0, 8);
  char v6[INET6_ADDRSTRLEN];
  if (!inet_ntop(AF_INET6, bytes, v6, sizeof v6)) return std::string(address);
  return std::string(v6) + "/64";
}

}  // namespace sf::scores
