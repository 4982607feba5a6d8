#pragma once
#include <string>
#include <string_view>

#include "replay/ReplayFormat.h"

namespace replay {

// The name typed after the game, as its recording holds it (format 3 on).
struct EnteredName {
  bool Present = false;  // the recording holds a name entry that was confirmed
  std::string Name;      // the opening text with the letters and erasures applied
  std::string Error;     // a sentence when the name entry is malformed or out of place
};
// Reads the name entry that follows the game's last step: it must open once, hold only letters
// and erasures, and end with its confirmation and the file.
EnteredName ReadEnteredName(const DecodedReplay& replay);

// The game itself, whoever sends it and whatever it is called: 16 hex digits of a 64-bit digest
// of the generator's state at the start and of everything the world took from outside, in order:
// each step's controls as the world reads them (sf::StepControls), the re-seeds, the weapon
// changes and leaving. The clock, pauses and focus changes, checkpoints, the name entry and the
// parts of the inputs the world never reads leave it unchanged, so a copy that is retimed,
// renamed or given other mouse distances or unread buttons is still the same game. Empty when
// the body is malformed.
std::string GameFingerprint(const DecodedReplay& replay);

// ASCII letters compared without regard to case: the field keeps the letters typed in capitals
// until it is drawn, and then shows them capitalised.
bool SameName(std::string_view a, std::string_view b);

}  // namespace replay
