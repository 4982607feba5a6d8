#pragma once
#include <cstdint>
#include <vector>

namespace replay {

// One whole game played by a simple scripted player with this build's simulation, recorded as
// the real game records: the same inputs give the same game on every build, so a replay written
// here must verify anywhere. No window, sound or data files are needed.
struct ScriptedGame {
  std::vector<uint8_t> File;  // the replay
  int32_t Score = 0;
  int32_t Level = 0;
  uint32_t Steps = 0;
  uint64_t Digest = 0;  // of the world at the end
  int LivesLost = 0;
  int BonusesTaken = 0;
  int WeaponChanges = 0;
  int Pauses = 0;
  uint32_t KindsMet = 0;  // bit k: an enemy of kind k appeared
  bool Left = false;      // the player left the game (it was still going at maxSteps)
};

// The game that compares builds: with this seed and length the dodging player reaches level 6
// and meets every enemy kind (tests/replay checks that it still does).
inline constexpr uint32_t kComparisonSeed = 2;
inline constexpr uint32_t kComparisonSteps = 64 * 60 * 15;

// Plays until the game is over, leaving it after about maxSteps steps if it lasts that long.
// A dodging player steps aside from enemy shots. With a name (capital letters), the game is
// followed by a name entry, as after a new high score: the field opens empty, the name is typed
// and confirmed.
ScriptedGame PlayScriptedGame(uint32_t seed, uint32_t maxSteps, bool dodge = false, const char* name = nullptr);

}  // namespace replay
