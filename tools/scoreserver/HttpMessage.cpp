#include "HttpMessage.h"

#include <cctype>

namespace sf::scores {

namespace {

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

const char* Reason(int status) {
  switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 414: return "URI Too Long";
    case 431: return "Request Header Fields Too Large";
    case 503: return "Service Unavailable";
    default: return "Error";
  }
}

}  // namespace

std::optional<HttpRequest> ParseHttpRequest(std::string_view head) {
  if (head.size() > kMaxRequestHead) return std::nullopt;
  const size_t end = head.find("\r\n\r\n");
  if (end == std::string_view::npos) return std::nullopt;
  head = head.substr(0, end + 2);

  size_t eol = head.find("\r\n");
  const std::string_view line = head.substr(0, eol);
  const size_t sp1 = line.find(' ');
  const size_t sp2 = sp1 == std::string_view::npos ? sp1 : line.find(' ', sp1 + 1);
  if (sp2 == std::string_view::npos || line.find(' ', sp2 + 1) != std::string_view::npos) return std::nullopt;
  HttpRequest request;
  request.Method = std::string(line.substr(0, sp1));
  request.Target = std::string(line.substr(sp1 + 1, sp2 - sp1 - 1));
  const std::string_view version = line.substr(sp2 + 1);
  if (request.Method.empty() || request.Target.empty() || request.Target.front() != '/') return std::nullopt;
  if (version != "HTTP/1.1" && version != "HTTP/1.0") return std::nullopt;
  for (char c : request.Target) {
    const auto b = static_cast<unsigned char>(c);
    if (b <= 0x20 || b >= 0x7F) return std::nullopt;
  }

  head.remove_prefix(eol + 2);
  while (!head.empty()) {
    eol = head.find("\r\n");
    const std::string_view header = head.substr(0, eol);
    head.remove_prefix(eol + 2);
    const size_t colon = header.find(':');
    if (colon == std::string_view::npos || colon == 0) return std::nullopt;
    request.Headers.emplace_back(std::string(header.substr(0, colon)), std::string(Trim(header.substr(colon + 1))));
    if (EqualsNoCase(header.substr(0, colon), "Cookie")) {
      if (!request.Cookie.empty()) request.Cookie += "; ";
      request.Cookie += Trim(header.substr(colon + 1));
    }
  }
  return request;
}

std::string HttpRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : Headers)
    if (EqualsNoCase(key, name)) return value;
  return {};
}

std::string FormatHttpResponse(const HttpResponse& response) {
  std::string out = "HTTP/1.1 " + std::to_string(response.Status) + " " + Reason(response.Status) + "\r\n";
  out += "Content-Type: " + response.ContentType + "\r\n";
  out += "Content-Length: " + std::to_string(response.Body.size()) + "\r\n";
  out += "Cache-Control: no-store\r\n";
  if (!response.SetCookie.empty()) out += "Set-Cookie: " + response.SetCookie + "\r\n";
  out += "Connection: close\r\n\r\n";
  out += response.Body;
  return out;
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

}  // namespace sf::scores
