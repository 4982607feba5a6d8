#include "platform/UrlShortcut.h"

#include <algorithm>
#include <cctype>

namespace sf {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  return std::equal(prefix.begin(), prefix.end(), s.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
}

}  // namespace

std::optional<std::string> UrlOfShortcut(std::string_view text) {
  bool inShortcutSection = true;  // files without sections are read as a whole
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (!line.empty() && line.front() == '[') {
      inShortcutSection = StartsWithNoCase(line, "[InternetShortcut]");
      continue;
    }
    if (inShortcutSection && StartsWithNoCase(line, "URL=")) {
      const std::string_view url = Trim(line.substr(4));
      if (url.empty()) return std::nullopt;
      return std::string(url);
    }
  }
  return std::nullopt;
}

bool IsUrlShortcutName(std::string_view name) {
  return name.size() >= 4 && StartsWithNoCase(name.substr(name.size() - 4), ".url");
}

}  // namespace sf
