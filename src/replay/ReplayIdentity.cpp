#include "replay/ReplayIdentity.h"

#include "core/Fnv.h"
#include "game/GameRecorder.h"
#include "replay/ReplayBody.h"

namespace replay {
namespace {

// A 32-bit word into the hash, low byte first.
void Word(sf::Fnv1a& h, uint32_t w) {
  for (int i = 0; i < 4; ++i) h.Byte(static_cast<uint8_t>(w >> (8 * i)));
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

EnteredName ReadEnteredName(const DecodedReplay& replay) {
  EnteredName out;
  if (replay.Header.FormatVersion < 3) return out;
  BodyReader reader(replay.Body, replay.Header.StartTick, replay.Header.FormatVersion >= 2, true);
  bool opened = false, confirmed = false;
  for (BodyRecord r = reader.Next(); r.Type != BodyRecord::End; r = reader.Next()) {
    if (r.Type == BodyRecord::Bad) {
      out.Error = reader.Error();
      return out;
    }
    if (confirmed) {
      out.Error = "The replay goes on after the name typed for it was confirmed.";
      return out;
    }
    if (!r.IsName()) {
      if (opened) {
        out.Error = "The replay's game goes on after its name entry opened.";
        return out;
      }
      continue;
    }
    if ((r.Type == BodyRecord::NameOpened) == opened) {
      out.Error = opened ? "The replay's name entry opens twice." : "The replay's name entry has keys before it opens.";
      return out;
    }
    switch (r.Type) {
      case BodyRecord::NameOpened:
        opened = true;
        out.Name = r.Name();
        break;
      case BodyRecord::NameLetter: out.Name += r.Name(); break;
      case BodyRecord::NameErase:
        if (out.Name.empty()) {
          out.Error = "The replay's name entry erases a letter of an empty name.";
          return out;
        }
        out.Name.pop_back();
        break;
      default: confirmed = true; break;
    }
    if (out.Name.size() > kMaxNameBytes) {
      out.Error = "The replay's name entry holds a longer name than the field takes.";
      return out;
    }
  }
  out.Present = confirmed;
  if (!confirmed) out.Name.clear();
  return out;
}

std::string GameFingerprint(const DecodedReplay& replay) {
  sf::Fnv1a h;
  h.Bytes("saltfang game 1");
  Word(h, replay.Header.SimulationVersion);
  Word(h, replay.Header.Seed);
  BodyReader reader(replay.Body, replay.Header.StartTick, replay.Header.FormatVersion >= 2,
                    replay.Header.FormatVersion >= 3);
  for (BodyRecord r = reader.Next(); r.Type != BodyRecord::End; r = reader.Next()) {
    switch (r.Type) {
      case BodyRecord::Bad: return {};
      case BodyRecord::Step: h.Byte(sf::StepControls(r.Inputs)); break;
      case BodyRecord::Reseed:
        h.Byte(kRecordReseed);
        Word(h, r.Seed);
        break;
      case BodyRecord::Event:
        if (r.What == sf::GameEvent::WeaponChange || r.What == sf::GameEvent::Leave)
          h.Byte(static_cast<uint8_t>(kRecordReseed + static_cast<uint8_t>(r.What)));
        break;
      default: break;  // checkpoints, the name entry: not what the world took
    }
  }
  return h.Hex();
}

}  // namespace replay
