#include "ResultRecord.h"

#include <array>
#include <charconv>

#include "web/ScoreCodec.h"
#include "web/ScoreProtocol.h"

namespace sf::scores {

namespace {

// The value (possibly empty) of the field "<name>=value", or nothing when the field has another name.
std::optional<std::string_view> FieldValue(std::string_view field, std::string_view name) {
  if (field.size() <= name.size() || field.substr(0, name.size()) != name || field[name.size()] != '=')
    return std::nullopt;
  return field.substr(name.size() + 1);
}

bool IsStorableField(const std::optional<std::string_view>& value) { return value && IsStorableName(*value); }

std::optional<int32_t> ParseScore(std::string_view text) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  for (char c : text)
    if (c < '0' || c > '9') return std::nullopt;
  int32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

bool IsStorableName(std::string_view name) {
  if (name.size() > kMaxStoredName) return false;
  for (char c : name) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) return false;
  }
  return true;
}

std::optional<ResultRecord> ParseResultRecord(std::string_view record) {
  if (record.size() % 5 != 0) return std::nullopt;
  std::array<std::string_view, 7> fields;
  size_t count = 0;
  std::string_view rest = record;
  while (true) {
    if (count == fields.size()) return std::nullopt;  // more fields than a record has
    const size_t bar = rest.find('|');
    fields[count++] = rest.substr(0, bar);
    if (bar == std::string_view::npos) break;
    rest.remove_prefix(bar + 1);
  }
  if (count != fields.size() || fields[0] != "type=0") return std::nullopt;

  const auto name = FieldValue(fields[1], "name");
  const auto score = FieldValue(fields[2], "score");
  const auto key = FieldValue(fields[3], "key");
  const auto token = FieldValue(fields[4], "p");
  const auto player = FieldValue(fields[5], "add");
  if (!key || *key != std::string_view(&kScoreKeyLetter, 1)) return std::nullopt;
  if (!IsStorableField(name) || !IsStorableField(token) || !IsStorableField(player)) return std::nullopt;

  const std::string_view last = fields[6];
  if (last.size() < 2 || last.substr(0, 2) != "z=" || last.size() - 2 > 4) return std::nullopt;
  for (char c : last.substr(2))
    if (c != '0') return std::nullopt;

  const auto value = score ? ParseScore(*score) : std::nullopt;
  if (!value) return std::nullopt;
  return ResultRecord{std::string(*name), *value, std::string(*token), std::string(*player)};
}

std::optional<ResultRecord> DecodeSubmission(std::string_view symbols) {
  if (symbols.empty() || symbols.size() > kMaxSymbols || symbols.size() % 8 != 0) return std::nullopt;
  const auto digits = SymbolsToBitString(symbols);
  if (!digits) return std::nullopt;
  const auto bytes = BitStringToBytes(*digits);
  if (!bytes) return std::nullopt;
  return ParseResultRecord(*bytes);
}

}  // namespace sf::scores
