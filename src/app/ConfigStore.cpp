#include "app/ConfigStore.h"

#include "options/ConfigFile.h"
#include "ui/KeyName.h"
#include "ui/OptBtnCollection.h"

namespace sf {

bool ConfigStore::Load() {
  if (path_.empty()) {
    ResetHighScores(highScores);
    return false;
  }
  return LoadConfig(path_, settings, highScores).Written;
}

void ConfigStore::ShowOn(TDDOptBtnCollection& page) const {
  page.DisplayToggle.Checked = settings.Windowed;
  page.MusicToggle.Checked = settings.MusicOn;
  page.SoundToggle.Checked = settings.SoundOn;
  page.NameEdit.SetText(settings.PlayerName);
  page.KeyButton.Caption = KeyName(static_cast<uint32_t>(settings.MinimizeKey));
}

bool ConfigStore::Save(const TDDOptBtnCollection* page) {
  if (page) settings.PlayerName = page->NameEdit.Text;
  return !path_.empty() && SaveConfig(path_, settings, highScores);
}

}  // namespace sf
