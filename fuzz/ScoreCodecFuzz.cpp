// libFuzzer target: any bytes as the version reply. The game takes the reply's fifth field, builds
// the result record around it and encodes the record as symbols; the service decodes them. The
// name, player name and score come from other fields of the same reply, so one input drives all of
// it. Checks:
//  - ServerField is the fifth "|"-piece when there are at least five bars, otherwise empty;
//  - the record has the fixed layout and a length that is a multiple of 5;
//  - bytes -> digits -> symbols -> digits -> bytes gives back the record, and the same for the raw
//    reply (whose length need not be a multiple of 5: the filled-in leading digits are zeros);
//  - the decode direction refuses exactly the characters outside the alphabet or "01";
//  - the service parses what the game wrote back to the same fields whenever those fields are
//    storable and hold no "|".
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "ResultRecord.h"
#include "web/ScoreCodec.h"
#include "web/ScoreProtocol.h"

namespace {

std::vector<std::string_view> SplitBars(std::string_view text) {
  std::vector<std::string_view> pieces;
  while (true) {
    const size_t bar = text.find('|');
    pieces.push_back(text.substr(0, bar));
    if (bar == std::string_view::npos) return pieces;
    text.remove_prefix(bar + 1);
  }
}

std::string_view Piece(const std::vector<std::string_view>& pieces, size_t i) {
  return i < pieces.size() ? pieces[i] : std::string_view();
}

int32_t ScoreFrom(std::string_view text) {
  int32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec == std::errc()) return value;
  return static_cast<int32_t>(text.size()) * 37 - 100;  // any value, negative ones included
}

// Encodes text, decodes it again and checks both directions agree.
void CheckRoundTrip(std::string_view text) {
  const std::string digits = sf::BytesToBitString(text);
  SF_FUZZ_CHECK(digits.size() == 8 * text.size());
  SF_FUZZ_CHECK(digits.find_first_not_of("01") == std::string::npos);
  const std::string symbols = sf::BitStringToSymbols(digits);
  SF_FUZZ_CHECK(symbols.size() == (digits.size() + 4) / 5);
  for (char c : symbols) SF_FUZZ_CHECK(sf::kScoreAlphabet.find(c) != std::string_view::npos);
  const auto back = sf::SymbolsToBitString(symbols);
  SF_FUZZ_CHECK(back.has_value() && back->size() == 5 * symbols.size());
  const size_t lead = back->size() - digits.size();
  SF_FUZZ_CHECK(lead < 5);
  SF_FUZZ_CHECK(back->substr(0, lead) == std::string(lead, '0'));
  SF_FUZZ_CHECK(std::string_view(*back).substr(lead) == digits);
  const auto bytes = sf::BitStringToBytes(std::string_view(*back).substr(lead));
  SF_FUZZ_CHECK(bytes.has_value() && *bytes == text);
}

// The raw input as symbols and as digits: refused exactly when a character does not belong.
void CheckDecodeDirection(std::string_view text) {
  const auto digits = sf::SymbolsToBitString(text);
  bool allSymbols = true;
  for (char c : text) allSymbols = allSymbols && sf::kScoreAlphabet.find(c) != std::string_view::npos;
  SF_FUZZ_CHECK(digits.has_value() == allSymbols);
  if (digits) SF_FUZZ_CHECK(sf::BitStringToSymbols(*digits) == text);

  const auto bytes = sf::BitStringToBytes(text);
  const bool plainDigits = text.size() % 8 == 0 && text.find_first_not_of("01") == std::string_view::npos;
  SF_FUZZ_CHECK(bytes.has_value() == plainDigits);
  if (bytes) SF_FUZZ_CHECK(sf::BytesToBitString(*bytes) == text);

  // Anything but '0' is a one when encoding.
  std::string normal(text);
  for (char& c : normal) c = c == '0' ? '0' : '1';
  SF_FUZZ_CHECK(sf::BitStringToSymbols(text) == sf::BitStringToSymbols(normal));
}

bool FitsTheService(std::string_view field) {
  return sf::scores::IsStorableName(field) && field.find('|') == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view reply(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string_view> pieces = SplitBars(reply);

  const std::string field = sf::ServerField(reply);
  SF_FUZZ_CHECK(field == (pieces.size() >= 6 ? std::string(pieces[4]) : std::string()));

  const std::string_view name = Piece(pieces, 1);
  const std::string_view player = Piece(pieces, 2);
  const int32_t score = ScoreFrom(Piece(pieces, 3));
  const std::string record = sf::ResultString(name, score, field, player);
  const std::string expected = "type=0|name=" + std::string(name) + "|score=" + std::to_string(score) +
                               "|key=" + sf::kScoreKeyLetter + "|p=" + field + "|add=" + std::string(player) + "|z=";
  SF_FUZZ_CHECK(record.size() % 5 == 0);
  SF_FUZZ_CHECK(record.size() - expected.size() < 5);
  SF_FUZZ_CHECK(record.substr(0, expected.size()) == expected);
  SF_FUZZ_CHECK(record.find_first_not_of('0', expected.size()) == std::string::npos);

  CheckRoundTrip(record);
  CheckRoundTrip(reply);
  CheckDecodeDirection(reply);

  if (FitsTheService(name) && FitsTheService(player) && FitsTheService(field) && score >= 0) {
    const auto parsed = sf::scores::ParseResultRecord(record);
    SF_FUZZ_CHECK(parsed.has_value());
    SF_FUZZ_CHECK(parsed->Name == name && parsed->Score == score && parsed->Token == field &&
                  parsed->PlayerName == player);
    const std::string symbols = sf::BitStringToSymbols(sf::BytesToBitString(record));
    if (symbols.size() <= sf::scores::kMaxSymbols) {
      const auto decoded = sf::scores::DecodeSubmission(symbols);
      SF_FUZZ_CHECK(decoded.has_value() && decoded->Name == name && decoded->Score == score &&
                    decoded->Token == field && decoded->PlayerName == player);
    }
  }
  return 0;
}
