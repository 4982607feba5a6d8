#include "web/ReplayUpload.h"

namespace sf {

std::string ReplayUploadUrl(std::string_view token, std::string_view serviceUrl) {
  while (!serviceUrl.empty() && serviceUrl.back() == '/') serviceUrl.remove_suffix(1);
  std::string url(serviceUrl);
  url += kReplayUploadPath;
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : token) {
    const auto b = static_cast<unsigned char>(c);
    const bool safe = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' ||
                      b == '_' || b == '.' || b == '~';
    if (safe) {
      url += c;
    } else {
      url += '%';
      url += kHex[b >> 4];
      url += kHex[b & 15];
    }
  }
  return url;
}

bool SendReplay(Http& http, std::string_view token, std::span<const uint8_t> replay, std::string_view serviceUrl) {
  if (token.empty() || replay.empty()) return false;
  return http.Post(ReplayUploadUrl(token, serviceUrl), replay, kReplayContentType).has_value();
}

}  // namespace sf
