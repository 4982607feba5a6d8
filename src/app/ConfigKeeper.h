#pragma once
#include "options/HighScores.h"
#include "options/Settings.h"

namespace sf {

class TForm1;

// Keeps "Config.cfg" in step with the program where it can end at any moment without the exit
// question (a browser tab closes or reloads): after each pass of the loop, a change of the
// settings, of the name typed on the options page or of the high-score table is saved at once.
// Where the exit question exists, the program saves at its own moments and needs none of this.
class ConfigKeeper {
 public:
  // Takes what the form holds now as saved; made after FormCreate (which loaded or wrote the file).
  explicit ConfigKeeper(TForm1& form);

  // Saves when anything kept in the file differs from the last save; true when it saved. A failed
  // save is tried again after the next pass.
  bool SaveIfChanged();

 private:
  bool Unchanged() const;
  void Remember();

  TForm1& form_;
  Settings saved_;
  HighScores savedTable_;
};

}  // namespace sf
