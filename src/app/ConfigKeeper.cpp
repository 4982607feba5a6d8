#include "app/ConfigKeeper.h"

#include "app/Form.h"
#include "ui/Menus.h"

namespace sf {

ConfigKeeper::ConfigKeeper(TForm1& form) : form_(form) { Remember(); }

bool ConfigKeeper::Unchanged() const {
  const Settings& now = form_.Config().settings;
  // The name on the options page goes into the file at the next save, like the other settings.
  const std::string& name = form_.Widgets().OptionsMenu.NameEdit.Text;
  if (now.Windowed != saved_.Windowed || now.SoundOn != saved_.SoundOn || now.MusicOn != saved_.MusicOn ||
      now.MinimizeKey != saved_.MinimizeKey || name != saved_.PlayerName) {
    return false;
  }
  for (size_t i = 0; i < kHighScoreCount; ++i) {
    const HighScoreEntry& a = form_.Config().highScores[i];
    const HighScoreEntry& b = savedTable_[i];
    if (a.Score != b.Score || a.Name != b.Name) return false;
  }
  return true;
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
