#pragma once
// Real replays for the service's tests: a short game of the scripted player, recorded as the game
// records, and the same game changed after recording (checksums made right again, as a forger
// would): other inputs, which the check refuses at the first checkpoint that differs; another
// clock; another name.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "ScriptedGame.h"
#include "replay/ReplayBody.h"
#include "replay/ReplayFormat.h"
#include "replay/ReplayVerify.h"

namespace sf::scores::testing {

// Forty seconds of play, then the player leaves and types the name "BOB": ten checkpoints.
// Played once for all tests.
inline const replay::ScriptedGame& ShortGame() {
  static const replay::ScriptedGame game = replay::PlayScriptedGame(7, 64 * 40, false, "BOB");
  return game;
}

inline std::string AsBody(const std::vector<uint8_t>& file) { return std::string(file.begin(), file.end()); }

// A replay rewritten record by record (false drops a record; step counts the game's steps), its
// checksums made right again, as a forger would. With a name, the name entry is replaced by one
// that types it into an empty field. Empty when the replay does not decode.
using Rewrite = std::function<bool(replay::BodyRecord& record, uint32_t step)>;
inline std::vector<uint8_t> Rewritten(const std::vector<uint8_t>& file, const Rewrite& rewrite,
                                      const char* name = nullptr) {
  replay::DecodedReplay d;
  std::string error;
  if (!replay::DecodeReplay(file, replay::Limits{}.maxFileBytes, d, error)) return {};
  std::vector<uint8_t> buffer(d.Body.size() * 2 + 64);
  replay::BodyWriter writer(buffer.data(), buffer.size());
  writer.Start(d.Header.StartTick);
  replay::BodyReader reader(d.Body, d.Header.StartTick);
  uint32_t step = 0;
  for (replay::BodyRecord r = reader.Next(); r.Type != replay::BodyRecord::End; r = reader.Next()) {
    if (r.Type == replay::BodyRecord::Bad) return {};
    if ((name && r.IsName()) || !rewrite(r, step)) continue;
    switch (r.Type) {
      case replay::BodyRecord::Step:
        writer.Step(r.Inputs);
        ++step;
        break;
      case replay::BodyRecord::Reseed: writer.Reseed(r.Seed); break;
      case replay::BodyRecord::Event: writer.Event(r.What); break;
      case replay::BodyRecord::Checkpoint: writer.Checkpoint(r.Seed); break;
      case replay::BodyRecord::NameOpened: writer.NameOpened(r.Name()); break;
      case replay::BodyRecord::NameLetter: writer.NameLetter(r.Name()[0]); break;
      case replay::BodyRecord::NameErase: writer.NameErase(); break;
      case replay::BodyRecord::NameConfirmed: writer.NameConfirmed(); break;
      default: break;
    }
  }
  if (name) {
    writer.NameOpened("");
    for (const char* c = name; *c; ++c) writer.NameLetter(*c);
    writer.NameConfirmed();
  }
  return replay::EncodeReplay(d.Header, std::span<const uint8_t>(buffer.data(), writer.Size()));
}

// The game with the ship held left for a second from step 300 on: it departs from its recording,
// which the checkpoint of step 512 shows.
inline std::vector<uint8_t> Departing(const replay::ScriptedGame& game) {
  return Rewritten(game.File, [](replay::BodyRecord& r, uint32_t step) {
    if (r.Type == replay::BodyRecord::Step && step >= 300 && step < 364) r.Inputs.Keys = 1;
    return true;
  });
}

// The game with every step's gap between ticks remade by retime (the old gap); pauses kept.
inline std::vector<uint8_t> Retimed(const replay::ScriptedGame& game, const std::function<uint32_t(uint32_t)>& retime) {
  replay::DecodedReplay d;
  std::string error;
  if (!replay::DecodeReplay(game.File, replay::Limits{}.maxFileBytes, d, error)) return {};
  uint32_t oldTick = d.Header.StartTick, newTick = d.Header.StartTick;
  return Rewritten(game.File, [&](replay::BodyRecord& r, uint32_t) {
    if (r.Type == replay::BodyRecord::Step) {
      const uint32_t gap = r.Inputs.Tick - oldTick;
      oldTick = r.Inputs.Tick;
      newTick += retime(gap);
      r.Inputs.Tick = newTick;
    }
    return true;
  });
}

}  // namespace sf::scores::testing
