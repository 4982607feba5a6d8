#include "PagePolicy.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <set>

namespace sf::scores {
namespace {

constexpr std::array<uint32_t, 64> kRounds = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

uint32_t Rotr(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

void Block(std::array<uint32_t, 8>& h, const unsigned char* p) {
  std::array<uint32_t, 64> w{};
  for (size_t i = 0; i < 16; ++i)
    w[i] = uint32_t{p[4 * i]} << 24 | uint32_t{p[4 * i + 1]} << 16 | uint32_t{p[4 * i + 2]} << 8 | p[4 * i + 3];
  for (size_t i = 16; i < 64; ++i) {
    const uint32_t s0 = Rotr(w[i - 15], 7) ^ Rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
    const uint32_t s1 = Rotr(w[i - 2], 17) ^ Rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
    w[i] = w[i - 16] + s0 + w[i - 7] + s1;
  }
  std::array<uint32_t, 8> v = h;
  for (size_t i = 0; i < 64; ++i) {
    const uint32_t s1 = Rotr(v[4], 6) ^ Rotr(v[4], 11) ^ Rotr(v[4], 25);
    const uint32_t ch = (v[4] & v[5]) ^ (~v[4] & v[6]);
    const uint32_t t1 = v[7] + s1 + ch + kRounds[i] + w[i];
    const uint32_t s0 = Rotr(v[0], 2) ^ Rotr(v[0], 13) ^ Rotr(v[0], 22);
    const uint32_t maj = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
    const uint32_t t2 = s0 + maj;
    v = {t1 + t2, v[0], v[1], v[2], v[3] + t1, v[4], v[5], v[6]};
  }
  for (size_t i = 0; i < 8; ++i) h[i] += v[i];
}

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t n = uint32_t{static_cast<unsigned char>(bytes[i])} << 16;
    if (i + 1 < bytes.size()) n |= uint32_t{static_cast<unsigned char>(bytes[i + 1])} << 8;
    if (i + 2 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 2]);
    out += kDigits[(n >> 18) & 63];
    out += kDigits[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[n & 63] : '=';
  }
  return out;
}

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool StartsNoCase(std::string_view text, size_t at, std::string_view word) {
  if (text.size() - at < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (Lower(text[at + i]) != word[i]) return false;
  return true;
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
      if (attribute.size() > 2 && Lower(attribute[0]) == 'o' && Lower(attribute[1]) == 'n')
        handlers.insert(std::string(html.substr(value, end - value)));
      if (StartsNoCase(attribute, 0, "src") && attribute.size() == 3) hasSource = true;
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

std::string Sha256(std::string_view bytes) {
  std::array<uint32_t, 8> h = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                               0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  size_t done = 0;
  for (; bytes.size() - done >= 64; done += 64) Block(h, reinterpret_cast<const unsigned char*>(bytes.data() + done));
  std::array<unsigned char, 128> tail{};
  const size_t rest = bytes.size() - done;
  for (size_t i = 0; i < rest; ++i) tail[i] = static_cast<unsigned char>(bytes[done + i]);
  tail[rest] = 0x80;
  const size_t blocks = rest + 9 <= 64 ? 1 : 2;
  const uint64_t bits = static_cast<uint64_t>(bytes.size()) * 8;
  for (size_t i = 0; i < 8; ++i) tail[blocks * 64 - 1 - i] = static_cast<unsigned char>(bits >> (8 * i));
  for (size_t b = 0; b < blocks; ++b) Block(h, tail.data() + 64 * b);
  std::string out;
  for (uint32_t word : h)
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((word >> shift) & 0xFF));
  return out;
}

std::string CspHash(std::string_view bytes) {
  // Appended piece by piece: GCC 12 misreads "..." + std::string as an overlapping copy.
  std::string source = "'sha256-";
  source += Base64(Sha256(bytes));
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
