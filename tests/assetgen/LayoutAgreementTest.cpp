// The game and the asset generator agree on where every menu widget lies and how large every
// picture is: the pictures are painted for the widgets the game builds, and the game's sprite
// tables match the pictures it draws.
#include <gtest/gtest.h>

#include <string>

#include "ImageSizes.h"
#include "MenuArtLayout.h"
#include "game/GameTables.h"
#include "gfx/ImageSets.h"
#include "ui/FakeMenuHost.h"
#include "ui/Menus.h"

namespace assetgen {
namespace {

using menu::Box;
using menu::Item;

void ExpectSameBox(const sf::Rect& game, const Box& art, const std::string& what) {
  EXPECT_EQ(game.Left, art.L) << what;
  EXPECT_EQ(game.Top, art.T) << what;
  EXPECT_EQ(game.Right, art.R) << what;
  EXPECT_EQ(game.Bottom, art.B) << what;
}

void ExpectSameSize(sf::Size16 game, int slot, const std::string& what) {
  const Size art = kGameImageSizes[static_cast<size_t>(slot)];
  EXPECT_EQ(game.Width, art.Width) << what << " (game image " << slot << ")";
  EXPECT_EQ(game.Height, art.Height) << what << " (game image " << slot << ")";
}

TEST(LayoutAgreement, TheMenusTheGameBuildsSitOnThePaintedLabels) {
  sf::testing::FakeMenuHost host;
  const sf::Menus menus(host);

  ASSERT_EQ(menus.MainMenu.Buttons.size(), std::size(menu::kMainItems));
  for (size_t i = 0; i < menus.MainMenu.Buttons.size(); ++i) {
    const Item& item = menu::kMainItems[i];
    ExpectSameBox(menus.MainMenu.Buttons[i].Rect, item.Rect, item.Label);
    EXPECT_EQ(menus.MainMenu.Buttons[i].ImageIndex, item.Image) << item.Label;
  }

  struct Row {
    const sf::TDDToggleButton& Toggle;
    const Item* Choices;
  };
  const auto& options = menus.OptionsMenu;
  for (const Row& row :
       {Row{options.DisplayToggle, menu::kDisplayChoices}, Row{options.MusicToggle, menu::kMusicChoices},
        Row{options.SoundToggle, menu::kSoundChoices}}) {
    ExpectSameBox(row.Toggle.FirstRect, row.Choices[0].Rect, row.Choices[0].Label);
    ExpectSameBox(row.Toggle.SecondRect, row.Choices[1].Rect, row.Choices[1].Label);
    EXPECT_EQ(row.Toggle.CheckedImage, row.Choices[0].Image) << row.Choices[0].Label;
    EXPECT_EQ(row.Toggle.UncheckedImage, row.Choices[1].Image) << row.Choices[1].Label;
  }
  ExpectSameBox(options.NameEdit.Rect, menu::kNameField, "name field");
  ExpectSameBox(options.KeyButton.Rect, menu::kKeyButton, "minimise key");
  EXPECT_EQ(sf::TDDEdit::kFontHeight, menu::kProgramCaptionHeight);

  struct Buttons {
    const sf::TDDBtnCollection& Game;
    const Item* Art;
  };
  for (const Buttons& b :
       {Buttons{menus.HighScoreButtons, menu::kScoreButtons}, Buttons{menus.HelpButtons, menu::kHelpButtons}}) {
    ASSERT_EQ(b.Game.Buttons.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
      ExpectSameBox(b.Game.Buttons[i].Rect, b.Art[i].Rect, b.Art[i].Label);
      EXPECT_EQ(b.Game.Buttons[i].ImageIndex, b.Art[i].Image) << b.Art[i].Label;
    }
  }
}

TEST(LayoutAgreement, PicturesFitThePlacesTheGameDrawsThemAt) {
  const auto menuSize = [](int k) { return kMenuImageSizes[static_cast<size_t>(k)]; };
  for (const int panel : {sf::menuImgOptionsPanel, sf::menuImgHighScorePanel, sf::menuImgHelpPanel}) {
    EXPECT_EQ(menuSize(panel).Width, menu::kPanel.W()) << "panel " << panel;
    EXPECT_EQ(menuSize(panel).Height, menu::kPanel.H()) << "panel " << panel;
  }
  for (const auto& item : menu::kMainItems) {
    EXPECT_EQ(menuSize(item.Image).Width, item.Rect.W()) << item.Label;
    EXPECT_EQ(menuSize(item.Image).Height, item.Rect.H()) << item.Label;
  }
  for (const auto& m : menu::kMarkers) {
    EXPECT_LE(m.X + menuSize(m.Image).Width, menu::kMainItems[m.MainMenuItem].Rect.L) << "marker " << m.Image;
  }
  EXPECT_LE(menuSize(sf::menuImgNameFocus).Width, menu::kNameField.W());
  EXPECT_LE(menuSize(sf::menuImgNameFocus).Height, menu::kNameField.H());
  EXPECT_GE(menuSize(sf::menuImgTitle).Width, menu::kTitle.R);
  EXPECT_EQ(menuSize(sf::menuImgScanLine).Width, 800);
  EXPECT_EQ(kMenuImageSizes.size(), static_cast<size_t>(sf::kMenuImageCount));
  EXPECT_EQ(kGameImageSizes.size() + kMenuImageSizes.size(), static_cast<size_t>(sf::kPackEntryCount));
}

TEST(LayoutAgreement, TheGamesSpriteTablesMatchThePictures) {
  for (int k = 0; k < sf::kEnemyKindCount; ++k) {
    // Animated enemies stack their frames downwards.
    sf::Size16 whole = sf::kEnemyKinds[k].Size;
    whole.Height = static_cast<int16_t>(whole.Height * (sf::kEnemyKinds[k].LastFrame + 1));
    ExpectSameSize(whole, sf::imgEnemy + k, "enemy kind " + std::to_string(k));
  }
  for (int k = 0; k < sf::Index(sf::bonEmpty); ++k) {
    ExpectSameSize(sf::kBonusSizes[k], sf::imgBonus + k, "bonus kind " + std::to_string(k));
  }
  for (int k = 0; k < 3; ++k) {
    ExpectSameSize(sf::kProjectiles[k].Size, sf::imgProjectile + k, "projectile kind " + std::to_string(k));
    ExpectSameSize(sf::kGunKinds[k].Size, sf::imgTurret + k, "gun kind " + std::to_string(k));
  }
  for (int k = 0; k < 4; ++k) ExpectSameSize(sf::kIslandSizes[k], sf::imgIsland + k, "island " + std::to_string(k));
  ExpectSameSize({sf::kSeaTileWidth, sf::kSeaTileHeight}, sf::imgSea, "sea tile");
  const Size ship = kGameImageSizes[sf::imgShip];
  EXPECT_EQ(ship.Width, 2 * sf::kShipSpriteWidth) << "two ship frames side by side";
  EXPECT_EQ(ship.Height, sf::kShipSpriteHeight);
  const Size explosion = kGameImageSizes[sf::imgHit];
  EXPECT_EQ(explosion.Width, sf::kHitFrames * sf::kHitFrameSize);
  EXPECT_EQ(explosion.Height, sf::kHitFrameSize);
}

}  // namespace
}  // namespace assetgen
