#pragma once
#include <cstdint>

namespace sf {

class TGame;

// A 64-bit fingerprint of everything in a game's world that can influence what happens next:
// phases, counters, the ship and its guns, every projectile, enemy, island, bonus, explosion and
// floating score, and the generator. Two games with the same digest play on the same way; a
// replay carries the digest its game ended with.
uint64_t WorldDigest(const TGame& game);

}  // namespace sf
