#include "options/HighScoreView.h"

#include <charconv>
#include <cstdint>
#include <string_view>

#include "core/Colour.h"
#include "layout/MenuLayout.h"

namespace sf {

namespace {

// Decimal text in a caller's buffer: drawing runs every frame and must not allocate.
std::string_view Decimal(char (&buffer)[16], int64_t value) {
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  (void)ec;
  return std::string_view(buffer, static_cast<size_t>(end - buffer));
}

}  // namespace

void DrawHighScores(TextRenderer& text, Surface& target, const HighScores& table) {
  char number[16];
  for (size_t i = 0; i < kHighScoreCount; ++i) {
    const int32_t y = kScoreRowTop + kScoreRowStep * static_cast<int32_t>(i);
    const uint32_t colour = i == 0 ? kHighlightColour : kNormalColour;
    text.DrawShadowText(target, kScoreRankX, y, kScoreRowHeight, 16, Decimal(number, static_cast<int64_t>(i) + 1),
                        colour);
    text.DrawShadowText(target, kScoreNameX, y, kScoreRowHeight, 14, table[i].Name, colour);
    text.DrawShadowText(target, kScoreValueX, y, kScoreRowHeight, 16, Decimal(number, table[i].Score), colour);
  }
}

}  // namespace sf
