#include "PagePolicy.h"

#include <openssl/evp.h>
#include <openssl/sha.h>

#include <array>
#include <cctype>
#include <set>

#include "HttpMessage.h"

namespace sf::scores {
namespace {

bool StartsNoCase(std::string_view text, size_t at, std::string_view word) {
  return text.size() - at >= word.size() && EqualsNoCase(text.substr(at, word.size()), word);
}

// The inline scripts of a page and the values of its event handler attributes ("onclick=..."),
// as the browser hashes them (attribute values taken as written).
void InlineCode(std::string_view html, std::set<std::string>& scripts, std::set<std::string>& handlers) {
  size_t at = 0;
  while ((at = html.find('<', at)) != std::string_view::npos) {
    if (StartsNoCase(html, at, "<!--")) {
      const size_t end = html.find("-->", at);
      at = end == std::string_view::npos ? html.size() : end + 3;
      continue;
    }
    // The attributes of one tag, up to its '>' outside quotes.
    size_t i = at + 1;
    const bool script = StartsNoCase(html, i, "script") && i + 6 < html.size() &&
                        (html[i + 6] == '>' || std::isspace(static_cast<unsigned char>(html[i + 6])));
    bool hasSource = false;
    while (i < html.size() && html[i] != '>') {
      if (!std::isspace(static_cast<unsigned char>(html[i]))) {
        ++i;
        continue;
      }
      while (i < html.size() && std::isspace(static_cast<unsigned char>(html[i]))) ++i;
      const size_t name = i;
      while (i < html.size() && (std::isalnum(static_cast<unsigned char>(html[i])) || html[i] == '-')) ++i;
      const std::string_view attribute = html.substr(name, i - name);
      if (i >= html.size() || html[i] != '=') continue;
      ++i;
      const char quote = i < html.size() && (html[i] == '"' || html[i] == '\'') ? html[i] : '\0';
      const size_t value = quote ? i + 1 : i;
      size_t end = value;
      while (end < html.size() &&
             (quote ? html[end] != quote : !std::isspace(static_cast<unsigned char>(html[end])) && html[end] != '>'))
        ++end;
      if (attribute.size() > 2 && StartsNoCase(attribute, 0, "on"))
        handlers.insert(std::string(html.substr(value, end - value)));
      if (EqualsNoCase(attribute, "src")) hasSource = true;
      i = quote && end < html.size() ? end + 1 : end;
    }
    at = i;
    if (!script || at >= html.size()) continue;
    ++at;
    size_t close = at;
    while ((close = html.find('<', close)) != std::string_view::npos && !StartsNoCase(html, close, "</script")) ++close;
    if (close == std::string_view::npos) close = html.size();
    if (!hasSource) scripts.insert(std::string(html.substr(at, close - at)));
    at = close;
  }
}

PageHeaders Common(std::string policy) {
  return {
      {"Content-Security-Policy", std::move(policy)}, {"X-Frame-Options", "DENY"}, {"Referrer-Policy", "same-origin"}};
}

}  // namespace

std::string CspHash(std::string_view bytes) {
  std::array<unsigned char, SHA256_DIGEST_LENGTH> digest{};
  SHA256(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), digest.data());
  std::array<unsigned char, 4 * ((SHA256_DIGEST_LENGTH + 2) / 3) + 1> base64{};  // with its NUL
  EVP_EncodeBlock(base64.data(), digest.data(), static_cast<int>(digest.size()));
  // Appended piece by piece: GCC 12 misreads "..." + std::string as an overlapping copy.
  std::string source = "'sha256-";
  source += reinterpret_cast<const char*>(base64.data());
  source += '\'';
  return source;
}

PageHeaders WorldPageHeaders() {
  // connect-src: the page itself has no script, but tools that read a page from inside it (a
  // search engine's or an auditor's fetch of /robots.txt) would otherwise be refused.
  return Common(
      "default-src 'none'; style-src 'unsafe-inline'; img-src 'self'; connect-src 'self'; form-action 'self'; "
      "base-uri 'none'; frame-ancestors 'none'");
}

PageHeaders StaticPageHeaders(std::string_view html) {
  std::set<std::string> scripts, handlers;
  InlineCode(html, scripts, handlers);
  std::string script = "script-src 'self' 'wasm-unsafe-eval'";
  for (const std::string& s : scripts) {
    script += ' ';
    script += CspHash(s);
  }
  if (!handlers.empty()) script += " 'unsafe-hashes'";
  for (const std::string& h : handlers) {
    script += ' ';
    script += CspHash(h);
  }
  std::string policy = "default-src 'self'; ";
  policy += script;
  policy +=
      "; style-src 'self' 'unsafe-inline'; img-src 'self' data: blob:; media-src 'self' blob:; connect-src 'self'; "
      "worker-src 'self' blob:; object-src 'none'; base-uri 'self'; form-action 'self'; frame-ancestors 'none'";
  return Common(std::move(policy));
}

}  // namespace sf::scores
