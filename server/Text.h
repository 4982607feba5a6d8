#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Text conversions at the service's edges: URLs in, HTML and JSON out.
namespace sf::scores {

// Escapes text for HTML element content and attribute values.
std::string HtmlEscape(std::string_view text);
// The inside of a JSON string (no quotes); also escapes <, > and & so the text is safe anywhere.
std::string JsonEscape(std::string_view text);
// %XX and "+" decoded; nothing when a % is not followed by two hex digits.
std::optional<std::string> UrlDecode(std::string_view text);
// The game's names are single-byte characters of the Western Windows code page; stored as UTF-8.
std::string Cp1252ToUtf8(std::string_view text);
// True when text is well-formed UTF-8 without control characters.
bool IsCleanUtf8(std::string_view text);

// The parameters of a query string, names and values decoded ("show" and "show=" both give an
// empty value). Nothing when any part is not decodable.
using QueryParams = std::vector<std::pair<std::string, std::string>>;
std::optional<QueryParams> ParseQueryParams(std::string_view query);
// The first value of a parameter, nothing when it is absent.
std::optional<std::string> Param(const QueryParams& params, std::string_view name);

// "2026-12-08 09:30" (UTC) and "2026-12-08T09:30:00Z".
std::string FormatMinute(int64_t secondsSince1970);
std::string FormatIso(int64_t secondsSince1970);
// Start of the UTC day and of the UTC week (Monday) holding the time.
int64_t StartOfDay(int64_t secondsSince1970);
int64_t StartOfWeek(int64_t secondsSince1970);

// A result's name as the pages and the API show it: a blank name (empty, or spaces only) is
// "Anonymous", like the entries of the game's default table. The table keeps the name as sent.
std::string_view ShownName(std::string_view name);

// A non-negative decimal without sign or spaces, at most max; nothing otherwise.
std::optional<int64_t> ParseCount(std::string_view text, int64_t max);

}  // namespace sf::scores

namespace sf::scores {
// Percent-encodes everything but unreserved characters, for a query value.
std::string UrlEncode(std::string_view text);
}  // namespace sf::scores
