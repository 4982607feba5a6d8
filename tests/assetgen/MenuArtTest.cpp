// The menu pictures: sizes, colour key use, and highlight copies that line up with the labels
// painted under them.
#include <gtest/gtest.h>

#include <string>

#include "Art.h"
#include "ImageSizes.h"
#include "MenuArtDraw.h"
#include "MenuArtLayout.h"
#include "MenuArtText.h"

namespace assetgen {
namespace {

using menu::Box;
using menu::Item;

bool SamePixels(const Picture& a, const Picture& b) {
  return a.Width == b.Width && a.Height == b.Height && a.Pixels == b.Pixels;
}

// `under` is the picture the highlight is drawn over, whose top-left lies at (ox, oy) on screen.
// Every fully covered pixel of the dark-blue label under the rectangle must turn fully orange in
// the copy, the copy's corners must be the picture under it, and no label ink may spill out of it.
void ExpectHighlightOnLabel(const Picture& under, int ox, int oy, const Item& item, const Picture& copy) {
  SCOPED_TRACE(std::string(item.Label) + " (menu image " + std::to_string(item.Image) + ")");
  ASSERT_EQ(copy.Width, item.Rect.W());
  ASSERT_EQ(copy.Height, item.Rect.H());
  int cores = 0;
  for (int y = 0; y < copy.Height; ++y) {
    for (int x = 0; x < copy.Width; ++x) {
      if (under.At(item.Rect.L - ox + x, item.Rect.T - oy + y) != kMenuBlue) continue;
      ++cores;
      EXPECT_EQ(copy.At(x, y), kMenuOrange) << "at " << x << "," << y;
    }
  }
  EXPECT_GT(cores, 20) << "no dark-blue label under the rectangle";
  for (const auto& [x, y] : {std::pair{0, 0}, {copy.Width - 1, 0}, {0, copy.Height - 1}}) {
    EXPECT_EQ(copy.At(x, y), under.At(item.Rect.L - ox + x, item.Rect.T - oy + y));
  }
  // A ring three pixels wide around the rectangle holds no label colours.
  for (int y = item.Rect.T - 3; y < item.Rect.B + 3; ++y) {
    for (int x = item.Rect.L - 3; x < item.Rect.R + 3; ++x) {
      const bool inside = x >= item.Rect.L && x < item.Rect.R && y >= item.Rect.T && y < item.Rect.B;
      if (inside || x - ox < 0 || y - oy < 0 || x - ox >= under.Width || y - oy >= under.Height) continue;
      const uint32_t v = under.At(x - ox, y - oy);
      EXPECT_TRUE(v != kMenuBlue && v != kMenuOrange) << "label ink outside at " << x << "," << y;
    }
  }
}

TEST(MenuArt, EveryPictureHasItsSizeAndUsesTheKeyOnlyWhereKeyed) {
  for (int k = 0; k < 34; ++k) {
    SCOPED_TRACE("menu image " + std::to_string(k));
    const Picture p = MakeMenuImage(k);
    ASSERT_EQ(p.Width, kMenuImageSizes[static_cast<size_t>(k)].Width);
    ASSERT_EQ(p.Height, kMenuImageSizes[static_cast<size_t>(k)].Height);
    ASSERT_EQ(p.Pixels.size(), static_cast<size_t>(p.Width) * static_cast<size_t>(p.Height));
    size_t keyed = 0;
    for (const uint32_t v : p.Pixels) {
      EXPECT_EQ(v & 0xFF000000u, 0u);
      keyed += v == kKey;
    }
    if (MenuImageKeyed(k)) {
      EXPECT_GT(keyed, 0u);
      EXPECT_LT(keyed, p.Pixels.size());
    } else {
      EXPECT_EQ(keyed, 0u);
    }
  }
}

TEST(MenuArt, TitleStaysInsideItsSlidingRegion) {
  const Picture title = MakeMenuImage(29);
  size_t inside = 0;
  for (int y = 0; y < title.Height; ++y) {
    for (int x = 0; x < title.Width; ++x) {
      const bool inRegion = x < menu::kTitle.R && y < menu::kTitle.B;
      if (!inRegion)
        ASSERT_EQ(title.At(x, y), kKey) << "at " << x << "," << y;
      else
        inside += title.At(x, y) != kKey;
    }
  }
  EXPECT_GT(inside, 5000u);
}

TEST(MenuArt, MainMenuHighlightsCoverTheirLabels) {
  const Picture background = MakeMenuImage(0);
  for (const Item& item : menu::kMainItems) {
    ExpectHighlightOnLabel(background, 0, 0, item, MakeMenuImage(item.Image));
  }
}

TEST(MenuArt, PanelHighlightsCoverTheirLabels) {
  const Picture options = MakeMenuImage(13), scores = MakeMenuImage(10), help = MakeMenuImage(14);
  const int ox = menu::kPanel.L, oy = menu::kPanel.T;
  for (const Item* row : {menu::kDisplayChoices, menu::kMusicChoices, menu::kSoundChoices}) {
    for (int c = 0; c < 2; ++c) ExpectHighlightOnLabel(options, ox, oy, row[c], MakeMenuImage(row[c].Image));
  }
  for (const Item& b : menu::kScoreButtons) ExpectHighlightOnLabel(scores, ox, oy, b, MakeMenuImage(b.Image));
  for (const Item& b : menu::kHelpButtons) ExpectHighlightOnLabel(help, ox, oy, b, MakeMenuImage(b.Image));
}

TEST(MenuArt, MusicAndSoundRowsLookAlikeUnderTheirSharedHighlights) {
  // Images 17 and 18 are drawn on both rows, so the panel must be identical under both.
  const Picture options = MakeMenuImage(13);
  for (int c = 0; c < 2; ++c) {
    const Box m = menu::kMusicChoices[c].Rect, s = menu::kSoundChoices[c].Rect;
    const int ox = menu::kPanel.L, oy = menu::kPanel.T;
    EXPECT_TRUE(SamePixels(menu::Crop(options, m.L - ox, m.T - oy, m.W(), m.H()),
                           menu::Crop(options, s.L - ox, s.T - oy, s.W(), s.H())))
        << menu::kMusicChoices[c].Label;
  }
}

TEST(MenuArt, MarkersAndPanelsCarryTheBackgroundUnderThem) {
  const Picture background = MakeMenuImage(0);
  for (const menu::Marker& m : menu::kMarkers) {
    SCOPED_TRACE("marker " + std::to_string(m.Image));
    const Picture marker = MakeMenuImage(m.Image);
    const Picture under = menu::Crop(background, m.X, m.Y, marker.Width, marker.Height);
    EXPECT_FALSE(SamePixels(marker, under)) << "nothing painted";
    // The left and right columns and the top row are untouched background.
    for (int y = 0; y < marker.Height; ++y) {
      EXPECT_EQ(marker.At(0, y), under.At(0, y));
      EXPECT_EQ(marker.At(marker.Width - 1, y), under.At(marker.Width - 1, y));
    }
    for (int x = 0; x < marker.Width; ++x) EXPECT_EQ(marker.At(x, 0), under.At(x, 0));
    // It must not reach the item's label.
    EXPECT_LE(m.X + marker.Width, menu::kMainItems[m.MainMenuItem].Rect.L);
  }
  for (const int k : {10, 13, 14}) {
    const Picture panel = MakeMenuImage(k);
    EXPECT_EQ(panel.At(0, 0), background.At(menu::kPanel.L, menu::kPanel.T)) << "panel " << k;
    EXPECT_EQ(panel.At(panel.Width - 1, 0), background.At(menu::kPanel.R - 1, menu::kPanel.T)) << "panel " << k;
  }
}

TEST(MenuArt, SceneIsTheSameOnEveryRunAndTheStripIsOneDarkRow) {
  EXPECT_TRUE(SamePixels(menu::DrawScene(), menu::DrawScene()));
  const Picture strip = MakeMenuImage(21);
  for (const uint32_t v : strip.Pixels) ASSERT_EQ(v, 0x000814u);
}

TEST(MenuArt, LabelFontSizesCellsLikeTheProgram) {
  LabelFont font;
  // Cell height 40: capitals sit inside the cell with room for descenders below the baseline.
  const InkBox h = font.Ink(40, 0, "H");
  EXPECT_GT(h.Top, 0);
  EXPECT_EQ(h.Bottom, font.Ascent(40));
  EXPECT_LT(font.Ink(40, 0, "g").Bottom, 42);
  // A wider average character widens the string.
  EXPECT_GT(font.Advance(24, 20, "Windowed"), font.Advance(24, 10, "Windowed") + 40);
  EXPECT_EQ(font.Advance(24, 0, ""), 0);
}

}  // namespace
}  // namespace assetgen
