#include "Text.h"

#include <charconv>
#include <ctime>

#include "core/CodePage.h"

namespace sf::scores {

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

std::string JsonEscape(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (b < 0x20 || c == '<' || c == '>' || c == '&' || b == 0x7F) {
      out += "\\u00";
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 15]);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

namespace {
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

std::optional<std::string> UrlDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out.push_back(' ');
    } else if (text[i] == '%') {
      if (i + 2 >= text.size()) return std::nullopt;
      const int hi = HexValue(text[i + 1]), lo = HexValue(text[i + 2]);
      if (hi < 0 || lo < 0) return std::nullopt;
      out.push_back(static_cast<char>(hi * 16 + lo));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    // A byte the code page leaves unassigned has no character to show: U+FFFD.
    const char32_t cp = IsUnassignedCp1252(b) ? char32_t{0xFFFD} : Cp1252ToUnicode(b);
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

bool IsCleanUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    size_t extra = 0;
    char32_t cp = 0;
    if (b < 0x80) {
      if (b < 0x20 || b == 0x7F) return false;
      ++i;
      continue;
    } else if ((b & 0xE0) == 0xC0) {
      extra = 1, cp = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
      extra = 2, cp = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
      extra = 3, cp = b & 0x07;
    } else {
      return false;
    }
    if (i + extra >= text.size()) return false;
    for (size_t k = 1; k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(text[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    static constexpr char32_t kMin[4] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF) || (cp >= 0x80 && cp < 0xA0)) return false;
    i += extra + 1;
  }
  return true;
}

std::optional<QueryParams> ParseQueryParams(std::string_view query) {
  QueryParams params;
  while (!query.empty()) {
    const size_t amp = query.find('&');
    const std::string_view item = query.substr(0, amp);
    query.remove_prefix(amp == std::string_view::npos ? query.size() : amp + 1);
    if (item.empty()) continue;
    const size_t eq = item.find('=');
    auto name = UrlDecode(item.substr(0, eq));
    auto value = UrlDecode(eq == std::string_view::npos ? std::string_view() : item.substr(eq + 1));
    if (!name || !value) return std::nullopt;
    params.emplace_back(std::move(*name), std::move(*value));
  }
  return params;
}

std::optional<std::string> Param(const QueryParams& params, std::string_view name) {
  for (const auto& [n, v] : params)
    if (n == name) return v;
  return std::nullopt;
}

namespace {
std::string Format(int64_t t, const char* format) {
  const std::time_t tt = static_cast<std::time_t>(t);
  std::tm tm{};
  if (!gmtime_r(&tt, &tm)) return "";
  char buf[40];
  const size_t n = std::strftime(buf, sizeof buf, format, &tm);
  return std::string(buf, n);
}
}  // namespace

std::string FormatMinute(int64_t t) { return Format(t, "%Y-%m-%d %H:%M"); }
std::string FormatIso(int64_t t) { return Format(t, "%Y-%m-%dT%H:%M:%SZ"); }

int64_t StartOfDay(int64_t t) {
  const int64_t day = t >= 0 ? t / 86400 : (t - 86399) / 86400;
  return day * 86400;
}

int64_t StartOfWeek(int64_t t) {
  const int64_t day = StartOfDay(t) / 86400;  // day 0 (1970-01-01) was a Thursday
  const int64_t sinceMonday = ((day + 3) % 7 + 7) % 7;
  return (day - sinceMonday) * 86400;
}

std::string_view ShownName(std::string_view name) {
  return name.find_first_not_of(' ') == std::string_view::npos ? std::string_view("Anonymous") : name;
}

std::optional<int64_t> ParseCount(std::string_view text, int64_t max) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  for (char c : text)
    if (c < '0' || c > '9') return std::nullopt;
  int64_t v = 0;
  std::from_chars(text.data(), text.data() + text.size(), v);
  if (v > max) return std::nullopt;
  return v;
}

}  // namespace sf::scores

namespace sf::scores {
std::string UrlEncode(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || c == '-' || c == '_' ||
        c == '.' || c == '~') {
      out.push_back(c);
    } else {
      out.push_back('%');
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 15]);
    }
  }
  return out;
}
}  // namespace sf::scores
