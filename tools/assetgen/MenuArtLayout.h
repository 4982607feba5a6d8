#pragma once
// Where the program puts every menu widget, in screen pixels (left, top, right, bottom; right and
// bottom exclusive). The menu pictures are laid out from these, so a highlight image blitted at a
// widget's corner covers the label painted under it.

namespace assetgen::menu {

struct Box {
  int L;
  int T;
  int R;
  int B;
  constexpr int W() const { return R - L; }
  constexpr int H() const { return B - T; }
};

struct Item {
  Box Rect;
  const char* Label;
  int Image;  // menu image of the highlighted copy
};

// Cell height of the main menu's labels.
inline constexpr int kMainLabelHeight = 40;

// Main menu, labels right-aligned inside the item rectangles of the background.
inline constexpr Item kMainItems[6] = {
    {{60, 170, 284, 212}, "New Game", 1},    {{124, 229, 284, 278}, "Options", 2},
    {{62, 289, 284, 329}, "High Scores", 3}, {{188, 349, 284, 398}, "Help", 4},
    {{23, 410, 284, 452}, "More Games", 5},  {{201, 470, 284, 509}, "Exit", 6},
};

// Panels (options 13, high scores 10, help 14) all lie here.
inline constexpr Box kPanel{297, 157, 793, 502};

// Options panel: the choices of the toggles with their highlight images.
inline constexpr Item kDisplayChoices[2] = {{{458, 211, 565, 230}, "Windowed", 7},
                                            {{585, 211, 751, 230}, "Full screen", 8}};
inline constexpr Item kMusicChoices[2] = {{{436, 259, 472, 278}, "On", 17}, {{492, 259, 540, 278}, "Off", 18}};
inline constexpr Item kSoundChoices[2] = {{{445, 307, 481, 326}, "On", 17}, {{501, 307, 549, 326}, "Off", 18}};
inline constexpr Box kNameField{535, 349, 740, 379};
inline constexpr Box kKeyButton{510, 396, 600, 425};
// Row captions end before these x positions.
inline constexpr int kDisplayLabelEnd = 450;
inline constexpr int kMusicLabelEnd = 430;
inline constexpr int kSoundLabelEnd = 440;
inline constexpr int kNameLabelEnd = 530;
inline constexpr int kKeyLabelEnd = 505;
// The name's text and the key's caption: cell top and height the program draws them with.
inline constexpr int kNameTextTop = 347;
inline constexpr int kKeyCaptionTop = 396;
inline constexpr int kProgramCaptionHeight = 32;

// Buttons along the bottom of the high-score and help panels.
inline constexpr Item kScoreButtons[2] = {{{332, 469, 453, 490}, "Clear table", 11},
                                          {{585, 469, 763, 490}, "World scores", 12}};
inline constexpr Item kHelpButtons[2] = {{{332, 469, 434, 490}, "Previous", 15}, {{690, 469, 756, 490}, "Next", 16}};

// The high-score rows the program writes: y = 190 + 26 i, 24 high.
inline constexpr int kScoreRowTop = 190;
inline constexpr int kScoreRowStep = 26;
inline constexpr int kScoreRowHeight = 24;

// Markers beside the main menu: top-left corners (sizes in ImageSizes.h) and the item each marks.
struct Marker {
  int X;
  int Y;
  int Image;
  int ItemIndex;
};
inline constexpr Marker kMarkers[3] = {{11, 229, 23, 1}, {12, 287, 24, 2}, {14, 349, 25, 3}};

// The about page draws its picture here, over the help panel.
inline constexpr int kAboutX = 330;
inline constexpr int kAboutY = 240;

// The title overlay's sliding region.
inline constexpr Box kTitle{0, 0, 524, 103};

}  // namespace assetgen::menu
