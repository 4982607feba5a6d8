#include "web/ScoreCodec.h"

#include "web/ScoreProtocol.h"

namespace sf {

std::string BytesToBitString(std::string_view text) {
  std::string digits;
  digits.reserve(text.size() * 8);
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    for (int bit = 7; bit >= 0; --bit) digits.push_back(((byte >> bit) & 1u) ? '1' : '0');
  }
  return digits;
}

std::string BitStringToSymbols(std::string_view digits) {
  const size_t lead = (5 - digits.size() % 5) % 5;
  std::string symbols;
  symbols.reserve((digits.size() + lead) / 5);
  unsigned value = 0;
  size_t filled = lead;  // the leading "0"s count towards the first group
  for (char c : digits) {
    value = (value << 1) | (c != '0' ? 1u : 0u);
    if (++filled == 5) {
      symbols.push_back(kScoreAlphabet[value]);
      value = 0;
      filled = 0;
    }
  }
  return symbols;
}

std::optional<std::string> SymbolsToBitString(std::string_view symbols) {
  std::string digits;
  digits.reserve(symbols.size() * 5);
  for (char c : symbols) {
    const size_t value = kScoreAlphabet.find(c);
    if (value == std::string_view::npos) return std::nullopt;
    for (int bit = 4; bit >= 0; --bit) digits.push_back(((value >> bit) & 1u) ? '1' : '0');
  }
  return digits;
}

std::optional<std::string> BitStringToBytes(std::string_view digits) {
  if (digits.size() % 8 != 0) return std::nullopt;
  std::string bytes;
  bytes.reserve(digits.size() / 8);
  for (size_t i = 0; i < digits.size(); i += 8) {
    unsigned value = 0;
    for (size_t k = 0; k < 8; ++k) {
      const char c = digits[i + k];
      if (c != '0' && c != '1') return std::nullopt;
      value = (value << 1) | (c == '1' ? 1u : 0u);
    }
    bytes.push_back(static_cast<char>(value));
  }
  return bytes;
}

std::string ServerField(std::string_view reply) {
  std::string_view rest = reply;
  std::string_view field;
  for (int round = 0; round < 5; ++round) {
    const size_t bar = rest.find('|');
    if (bar == std::string_view::npos) {
      field = {};  // no "|": the field is empty and the text stays as it is
    } else {
      field = rest.substr(0, bar);
      rest.remove_prefix(bar + 1);
    }
  }
  return std::string(field);
}

std::string ResultString(std::string_view name, int32_t score, std::string_view serverField,
                         std::string_view playerName) {
  std::string record = "type=0|name=";
  record += name;
  record += "|score=";
  record += std::to_string(score);
  record += "|key=";
  record += kScoreKeyLetter;
  record += "|p=";
  record += serverField;
  record += "|add=";
  record += playerName;
  record += "|z=";
  record.append((5 - record.size() % 5) % 5, '0');
  return record;
}

}  // namespace sf
