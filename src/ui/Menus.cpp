#include "ui/Menus.h"

#include <array>

#include "layout/MenuLayout.h"
#include "ui/KeyName.h"

namespace sf {

Menus::Menus(MenuHost& host)
    : MainMenu(host, kMainMenuRects, kMainMenuImages),
      HighScoreButtons(host, kHighScoreButtonRects, kHighScoreButtonImages),
      HelpButtons(host, kHelpButtonRects, kHelpButtonImages),
      OptionsMenu(host, kOptionRects, kOptionImages),
      YesNoDialog(host, kYesRect, kNoRect, "Yes", "No"),
      OkCancelDialog(host, kOkRect, kCancelRect, "Ok", "Cancel"),
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
  host_->BeginKeyCapture();
}

bool Menus::TryCaptureKey(uint32_t code) {
  std::string name = KeyName(code);
  if (IsBadKeyName(name)) return false;
  OptionsMenu.KeyButton.Caption = std::move(name);
  host_->EndKeyCapture();
  return true;
}

}  // namespace sf
