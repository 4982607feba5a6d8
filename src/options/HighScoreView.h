#pragma once
#include "gfx/Surface.h"
#include "gfx/Text.h"
#include "options/HighScores.h"

namespace sf {

// The ten rows of the high-score screen: rank, name and score, the best in the highlight colour.
void DrawHighScores(TextRenderer& text, Surface& target, const HighScores& table);

}  // namespace sf
