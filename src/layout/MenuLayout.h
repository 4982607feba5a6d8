#pragma once
// Where the program puts every menu picture and widget, in screen pixels (left, top, right,
// bottom; right and bottom exclusive). The game draws from these and the asset generator paints
// the menu pictures from them, so a highlight blitted at a widget's corner covers the label
// painted under it.
#include <array>
#include <cstdint>

#include "core/Rect.h"

namespace sf {

// Menu images by use (menu image k is pack entry 42 + k).
inline constexpr int menuImgBackground = 0;
inline constexpr int menuImgNameFocus = 9;
inline constexpr int menuImgHighScorePanel = 10;
inline constexpr int menuImgOptionsPanel = 13;
inline constexpr int menuImgHelpPanel = 14;
inline constexpr int menuImgDialogBox = 19;
inline constexpr int menuImgAbout = 20;
inline constexpr int menuImgScanLine = 21;
inline constexpr int menuImgOptionsMarker = 23;
inline constexpr int menuImgHighScoresMarker = 24;
inline constexpr int menuImgHelpMarker = 25;
inline constexpr int menuImgTitle = 29;

// Main menu items: new game, options, high scores, help, more games, exit; each with the menu
// image of its highlighted label.
inline constexpr std::array<Rect, 6> kMainMenuRects{{
    {60, 170, 284, 212},
    {124, 229, 284, 278},
    {62, 289, 284, 329},
    {188, 349, 284, 398},
    {23, 410, 284, 452},
    {201, 470, 284, 509},
}};
inline constexpr std::array<uint8_t, 6> kMainMenuImages{1, 2, 3, 4, 5, 6};

// The options, high-score and help pages share one panel place.
inline constexpr Rect kPanelRect{297, 157, 793, 502};

// Markers beside the main menu, pointing at the item of the open page.
struct MenuMarker {
  int32_t X;
  int32_t Y;
  int Image;
  int MainMenuItem;
};
inline constexpr std::array<MenuMarker, 3> kMenuMarkers{{
    {11, 229, menuImgOptionsMarker, 1},
    {12, 287, menuImgHighScoresMarker, 2},
    {14, 349, menuImgHelpMarker, 3},
}};

// Options page: windowed, full screen, music on, music off, sound on, sound off, name field; the
// highlight images of the three two-choice rows (music and sound share theirs).
inline constexpr std::array<Rect, 7> kOptionRects{{
    {458, 211, 565, 230},
    {585, 211, 751, 230},
    {436, 259, 472, 278},
    {492, 259, 540, 278},
    {445, 307, 481, 326},
    {501, 307, 549, 326},
    {535, 349, 740, 379},
}};
inline constexpr std::array<uint8_t, 6> kOptionImages{7, 8, 17, 18, 17, 18};
inline constexpr Rect kKeyButtonRect{510, 396, 600, 425};

// Captions of text buttons and the text of name fields: cell height and width.
inline constexpr int32_t kWidgetTextHeight = 32;
inline constexpr int32_t kWidgetTextWidth = 20;
// A name field writes its text this far above its top edge.
inline constexpr int32_t kNameTextRise = 2;

// Buttons along the bottom of the high-score panel (clear, world scores) and the help panel
// (previous, next).
inline constexpr std::array<Rect, 2> kHighScoreButtonRects{{{332, 469, 453, 490}, {585, 469, 763, 490}}};
inline constexpr std::array<uint8_t, 2> kHighScoreButtonImages{11, 12};
inline constexpr std::array<Rect, 2> kHelpButtonRects{{{332, 469, 434, 490}, {690, 469, 756, 490}}};
inline constexpr std::array<uint8_t, 2> kHelpButtonImages{15, 16};

// The high-score rows: y = top + step * i; rank, name and score columns.
inline constexpr int32_t kScoreRowTop = 190;
inline constexpr int32_t kScoreRowStep = 26;
inline constexpr int32_t kScoreRowHeight = 24;
inline constexpr int32_t kScoreRankX = 320;
inline constexpr int32_t kScoreNameX = 410;
inline constexpr int32_t kScoreValueX = 650;

// Dialogs: the box's top edge (its left edge depends on the dialog), the name-entry field and the
// two answer buttons of each question.
inline constexpr int32_t kDialogBoxY = 200;
inline constexpr Rect kNameEntryRect{296, 300, 624, 330};
inline constexpr Rect kYesRect{280, 340, 352, 380};
inline constexpr Rect kNoRect{460, 340, 510, 380};
inline constexpr Rect kOkRect{280, 340, 330, 380};
inline constexpr Rect kCancelRect{420, 340, 540, 380};

// The about page's picture, over the help panel.
inline constexpr int32_t kAboutX = 330;
inline constexpr int32_t kAboutY = 240;

// The part of the title picture that slides in during the intro.
inline constexpr Rect kTitleRect{0, 0, 524, 103};

}  // namespace sf
