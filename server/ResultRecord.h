#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sf::scores {

// Longest name or player name the service stores, in bytes.
inline constexpr size_t kMaxStoredName = 32;
// Longest "inf" the service decodes, in symbols; a real record is well under 300.
inline constexpr size_t kMaxSymbols = 1024;

// One submitted result as the game encodes it.
struct ResultRecord {
  std::string Name;
  int32_t Score = 0;
  std::string Token;  // the version reply's field, returned unchanged
  std::string PlayerName;
};

// A stored name: 0 to kMaxStoredName bytes, none of them control characters (so the data file's
// tabs and line ends stay unambiguous); bytes above 127 are single-byte characters.
bool IsStorableName(std::string_view name);

// Parses the plain record "type=0|name=..|score=..|key=..|p=..|add=..|z=" and its "0" padding.
// Anything else is refused: other fields or order, a wrong key letter, a score that is not a plain
// non-negative 32-bit decimal, unstorable names, or padding that is not "0"s to a multiple of 5.
std::optional<ResultRecord> ParseResultRecord(std::string_view record);

// Decodes the symbols of a submission and parses the record; nothing for anything malformed.
std::optional<ResultRecord> DecodeSubmission(std::string_view symbols);

}  // namespace sf::scores
