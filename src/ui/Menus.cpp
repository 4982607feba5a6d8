#include "ui/Menus.h"

#include <array>

#include "core/ScreenState.h"
#include "ui/KeyName.h"

namespace sf {

namespace {

constexpr std::array<Rect, 6> kMainMenuRects{{
    {60, 170, 284, 212},   // new game
    {124, 229, 284, 278},  // options
    {62, 289, 284, 329},   // high scores
    {188, 349, 284, 398},  // help
    {23, 410, 284, 452},   // more games
    {201, 470, 284, 509},  // exit
}};
constexpr std::array<uint8_t, 6> kMainMenuImages{1, 2, 3, 4, 5, 6};

constexpr std::array<Rect, 2> kHighScoreRects{{{332, 469, 453, 490}, {585, 469, 763, 490}}};
constexpr std::array<uint8_t, 2> kHighScoreImages{11, 12};

constexpr std::array<Rect, 2> kHelpRects{{{332, 469, 434, 490}, {690, 469, 756, 490}}};
constexpr std::array<uint8_t, 2> kHelpImages{15, 16};

constexpr std::array<Rect, 7> kOptionRects{{
    {458, 211, 565, 230},  // windowed
    {585, 211, 751, 230},  // full screen
    {436, 259, 472, 278},  // music on
    {492, 259, 540, 278},  // music off
    {445, 307, 481, 326},  // sound on
    {501, 307, 549, 326},  // sound off
    {535, 349, 740, 379},  // name field
}};
constexpr std::array<uint8_t, 6> kOptionImages{7, 8, 17, 18, 17, 18};

constexpr Rect kNameEntryRect{296, 300, 624, 330};

}  // namespace

Menus::Menus(MenuHost& host)
    : MainMenu(host, kMainMenuRects, kMainMenuImages),
      HighScoreButtons(host, kHighScoreRects, kHighScoreImages),
      HelpButtons(host, kHelpRects, kHelpImages),
      OptionsMenu(host, kOptionRects, kOptionImages),
      YesNoDialog(host, {280, 340, 352, 380}, {460, 340, 510, 380}, "Yes", "No"),
      OkCancelDialog(host, {280, 340, 330, 380}, {420, 340, 540, 380}, "Ok", "Cancel"),
      NameEntry(host),
      host_(&host) {
  NameEntry.Rect = kNameEntryRect;
  NameEntry.Focused = true;
  NameEntry.Editing = true;
}

void Menus::MouseDownTestAll() {
  MainMenu.MouseDownTest();
  HighScoreButtons.MouseDownTest();
  HelpButtons.MouseDownTest();
  OptionsMenu.MouseDownTest();
  YesNoDialog.MouseDownTest();
  OkCancelDialog.MouseDownTest();
}

void Menus::StartKeyCapture() {
  OptionsMenu.KeyButton.Caption = "...";
  host_->SetScreenState(scrKeyCapture);
}

bool Menus::TryCaptureKey(uint32_t code) {
  std::string name = KeyName(code);
  if (IsBadKeyName(name)) return false;
  OptionsMenu.KeyButton.Caption = std::move(name);
  host_->SetScreenState(scrOptions);
  return true;
}

}  // namespace sf
