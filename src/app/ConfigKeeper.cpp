#include "app/ConfigKeeper.h"

#include "app/Form.h"
#include "ui/Menus.h"

namespace sf {

ConfigKeeper::ConfigKeeper(TForm1& form) : form_(form) { Remember(); }

bool ConfigKeeper::Unchanged() const {
  // The name on the options page goes into the file at the next save, like the other settings.
  Settings now = form_.Config().settings;
  now.PlayerName = form_.Widgets().OptionsMenu.NameEdit.Text;
  return now == saved_ && form_.Config().highScores == savedTable_;
}

void ConfigKeeper::Remember() {
  saved_ = form_.Config().settings;
  saved_.PlayerName = form_.Widgets().OptionsMenu.NameEdit.Text;
  savedTable_ = form_.Config().highScores;
}

bool ConfigKeeper::SaveIfChanged() {
  if (Unchanged()) return false;
  if (!form_.SaveConfig()) return false;
  Remember();
  return true;
}

}  // namespace sf
