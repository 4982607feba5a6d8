#pragma once
// The menu pictures' view of the program's menu layout (layout/MenuLayout.h): each widget with the
// label painted under it, and the places the painted captions must keep clear of.
#include "layout/ImageSizes.h"
#include "layout/MenuLayout.h"

namespace assetgen::menu {

struct Box {
  int L;
  int T;
  int R;
  int B;
  constexpr int W() const { return R - L; }
  constexpr int H() const { return B - T; }
};

constexpr Box ToBox(const sf::Rect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

struct Item {
  Box Rect;
  const char* Label;
  int Image;  // menu image of the highlighted copy
};

// Cell height of the main menu's labels.
inline constexpr int kMainLabelHeight = 40;

// Main menu, labels right-aligned inside the item rectangles of the background.
inline constexpr Item kMainItems[6] = {
    {ToBox(sf::kMainMenuRects[0]), "New Game", sf::kMainMenuImages[0]},
    {ToBox(sf::kMainMenuRects[1]), "Options", sf::kMainMenuImages[1]},
    {ToBox(sf::kMainMenuRects[2]), "High Scores", sf::kMainMenuImages[2]},
    {ToBox(sf::kMainMenuRects[3]), "Help", sf::kMainMenuImages[3]},
    {ToBox(sf::kMainMenuRects[4]), "More Games", sf::kMainMenuImages[4]},
    {ToBox(sf::kMainMenuRects[5]), "Exit", sf::kMainMenuImages[5]},
};

// Panels (options, high scores, help) all lie here.
inline constexpr Box kPanel = ToBox(sf::kPanelRect);

// Options panel: the choices of the toggles with their highlight images.
inline constexpr Item kDisplayChoices[2] = {{ToBox(sf::kOptionRects[0]), "Windowed", sf::kOptionImages[0]},
                                            {ToBox(sf::kOptionRects[1]), "Full screen", sf::kOptionImages[1]}};
inline constexpr Item kMusicChoices[2] = {{ToBox(sf::kOptionRects[2]), "On", sf::kOptionImages[2]},
                                          {ToBox(sf::kOptionRects[3]), "Off", sf::kOptionImages[3]}};
inline constexpr Item kSoundChoices[2] = {{ToBox(sf::kOptionRects[4]), "On", sf::kOptionImages[4]},
                                          {ToBox(sf::kOptionRects[5]), "Off", sf::kOptionImages[5]}};
inline constexpr Box kNameField = ToBox(sf::kOptionRects[6]);
inline constexpr Box kKeyButton = ToBox(sf::kKeyButtonRect);
// Row captions end before these x positions.
inline constexpr int kDisplayLabelEnd = 450;
inline constexpr int kMusicLabelEnd = 430;
inline constexpr int kSoundLabelEnd = 440;
inline constexpr int kNameLabelEnd = 530;
inline constexpr int kKeyLabelEnd = 505;
// The name's text and the key's caption: cell top and height the program draws them with.
inline constexpr int kNameTextTop = kNameField.T - sf::kNameTextRise;
inline constexpr int kKeyCaptionTop = kKeyButton.T;
inline constexpr int kProgramCaptionHeight = sf::kWidgetTextHeight;

// Buttons along the bottom of the high-score and help panels.
inline constexpr Item kScoreButtons[2] = {
    {ToBox(sf::kHighScoreButtonRects[0]), "Clear table", sf::kHighScoreButtonImages[0]},
    {ToBox(sf::kHighScoreButtonRects[1]), "World scores", sf::kHighScoreButtonImages[1]}};
inline constexpr Item kHelpButtons[2] = {{ToBox(sf::kHelpButtonRects[0]), "Previous", sf::kHelpButtonImages[0]},
                                         {ToBox(sf::kHelpButtonRects[1]), "Next", sf::kHelpButtonImages[1]}};

// The high-score rows the program writes.
inline constexpr int kScoreRowTop = sf::kScoreRowTop;
inline constexpr int kScoreRowStep = sf::kScoreRowStep;
inline constexpr int kScoreRowHeight = sf::kScoreRowHeight;

// Markers beside the main menu: top-left corners (sizes in layout/ImageSizes.h) and the item each marks.
using Marker = sf::MenuMarker;
inline constexpr const auto& kMarkers = sf::kMenuMarkers;

// The about page draws its picture here, over the help panel.
inline constexpr int kAboutX = sf::kAboutX;
inline constexpr int kAboutY = sf::kAboutY;

// The title overlay's sliding region.
inline constexpr Box kTitle = ToBox(sf::kTitleRect);

}  // namespace assetgen::menu
