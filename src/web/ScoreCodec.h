#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sf {

// Eight binary digits per byte of the text, most significant first ('A' gives "01000001").
std::string BytesToBitString(std::string_view text);

// One symbol of the score alphabet per five digits, the first digit the most significant. A length
// that is not a multiple of 5 is first filled with "0" in front. Any character but '0' counts as 1.
std::string BitStringToSymbols(std::string_view digits);

// The way back, for the service: five digits per symbol; nothing when a character is not a symbol.
std::optional<std::string> SymbolsToBitString(std::string_view symbols);
// Bytes from binary digits; nothing unless the length is a multiple of 8 and every digit 0 or 1.
std::optional<std::string> BitStringToBytes(std::string_view digits);

// The fifth "|"-separated field of the version reply: the text between the fourth and the fifth
// "|", empty when the reply holds fewer than five.
std::string ServerField(std::string_view reply);

// "type=0|name=<name>|score=<score>|key=<letter>|p=<serverField>|add=<playerName>|z=", then "0"s
// up to a multiple of 5 characters. Characters are single bytes and go as they are.
std::string ResultString(std::string_view name, int32_t score, std::string_view serverField,
                         std::string_view playerName);

}  // namespace sf
