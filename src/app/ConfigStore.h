#pragma once
#include <string>

#include "options/HighScores.h"
#include "options/Settings.h"

namespace sf {

class TDDOptBtnCollection;

// The player's settings and the high-score table, with "Config.cfg" that keeps them between runs:
// read at start-up, shown on the options page, written at the program's saving points.
class ConfigStore {
 public:
  explicit ConfigStore(std::string path) : path_(std::move(path)) {}

  // Reads the file; a missing file is a first start (the defaults and the default table are
  // written), a short or damaged one keeps what it holds and defaults the rest. False when the
  // file could not be written on a first start. An empty path (no folder to keep the file in)
  // gives the defaults and is never written.
  bool Load();
  // Shows the settings on the options page: the three toggles, the name and the key's name.
  void ShowOn(TDDOptBtnCollection& page) const;
  // Takes the name typed on the options page (when there is one), then writes the file; false
  // when it could not be written (the old file stays whole) or there is no path.
  bool Save(const TDDOptBtnCollection* page);
  const std::string& Path() const { return path_; }

  Settings settings;
  HighScores highScores;

 private:
  std::string path_;
};

}  // namespace sf
