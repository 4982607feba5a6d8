#pragma once
// Real replays for the service's tests: a short game of the scripted player, recorded as the game
// records, and the same game with its inputs changed after recording (checksums made right again,
// as a forger would), which the check refuses at the first checkpoint that differs.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "ScriptedGame.h"
#include "replay/ReplayBody.h"
#include "replay/ReplayFormat.h"
#include "replay/ReplayVerify.h"

namespace sf::scores::testing {

// Forty seconds of play, then the player leaves: ten checkpoints. Played once for all tests.
inline const replay::ScriptedGame& ShortGame() {
  static const replay::ScriptedGame game = replay::PlayScriptedGame(7, 64 * 40);
  return game;
}

inline std::string AsBody(const std::vector<uint8_t>& file) { return std::string(file.begin(), file.end()); }

// The game with the ship held left for a second from step 300 on: it departs from its recording,
// which the checkpoint of step 512 shows. Empty when the recording does not decode.
inline std::vector<uint8_t> Departing(const replay::ScriptedGame& game) {
  replay::DecodedReplay d;
  std::string error;
  if (!replay::DecodeReplay(game.File, replay::Limits{}.maxFileBytes, d, error)) return {};
  std::vector<uint8_t> buffer(d.Body.size() * 2 + 64);
  replay::BodyWriter writer(buffer.data(), buffer.size());
  writer.Start(d.Header.StartTick);
  replay::BodyReader reader(d.Body, d.Header.StartTick);
  uint32_t step = 0;
  for (replay::BodyRecord r = reader.Next(); r.Type != replay::BodyRecord::End; r = reader.Next()) {
    if (r.Type == replay::BodyRecord::Bad) return {};
    if (r.Type == replay::BodyRecord::Step) {
      if (step >= 300 && step < 364) r.Inputs.Keys = 1;
      writer.Step(r.Inputs);
      ++step;
    } else if (r.Type == replay::BodyRecord::Reseed) {
      writer.Reseed(r.Seed);
    } else if (r.Type == replay::BodyRecord::Event) {
      writer.Event(r.What);
    } else if (r.Type == replay::BodyRecord::Checkpoint) {
      writer.Checkpoint(r.Seed);
    }
  }
  return replay::EncodeReplay(d.Header, std::span<const uint8_t>(buffer.data(), writer.Size()));
}

}  // namespace sf::scores::testing
