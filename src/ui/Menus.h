#pragma once
#include <cstdint>

#include "gfx/Surface.h"
#include "ui/BtnCollection.h"
#include "ui/Edit.h"
#include "ui/MenuHost.h"
#include "ui/OptBtnCollection.h"
#include "ui/TextBtnCollection.h"

namespace sf {

// Every menu of the program, created once after the images are first loaded and kept for the
// life of the main window: cursors, choices and texts survive image reloads because the widgets
// look their images up through the host on every draw.
class Menus {
 public:
  // Creating the three button collections selects their first items (each plays the menu sound).
  explicit Menus(MenuHost& host);
  Menus(const Menus&) = delete;
  Menus& operator=(const Menus&) = delete;

  // The mouse handler's hit tests, in its order: main menu, high-score buttons, help buttons,
  // options, Yes/No, Ok/Cancel. Each sets or clears its own Clicked flag.
  void MouseDownTestAll();

  // The options item of the minimise key: show "..." on the key button and wait for a key.
  void StartKeyCapture();
  // A key pressed while waiting: an acceptable key gets its name on the key button and returns to
  // the options page (the caller stores it as the minimise key); a "Bad" key keeps waiting.
  bool TryCaptureKey(uint32_t code);

  TDDMainBtnCollection MainMenu;
  TDDBtnCollection HighScoreButtons;
  TDDBtnCollection HelpButtons;
  TDDOptBtnCollection OptionsMenu;
  TDDTextBtnCollection YesNoDialog;
  TDDTextBtnCollection OkCancelDialog;
  // The stand-alone name field of the name-entry dialog; its caret always blinks.
  TDDEdit NameEntry;

 private:
  MenuHost* host_;
};

}  // namespace sf
