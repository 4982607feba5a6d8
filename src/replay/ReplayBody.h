#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "game/GameRecorder.h"

namespace replay {

// The body of a replay: one record per game step and per thing that reached the game between
// steps, in the order they happened (docs/replay-format.md).
//
// A step record starts with a byte below 0x80:
//   bits 0-1  the tick: 0 = last tick + 15 ms, 1 = + 16 ms (the 64 Hz system tick), 2 = the same
//             tick, 3 = a varint of the difference follows
//   bit 2     a byte of held game keys follows (else they are as in the last step)
//   bit 3     the mouse's x motion follows (zigzag varint; else 0)
//   bit 4     the mouse's y motion follows (zigzag varint; else 0)
//   bit 5     a byte of mouse buttons follows (bit k: button k; else as in the last step)
//   bit 6     reserved, 0
// 0x80 and four little-endian bytes: the game re-seeded its generator with that value.
// 0x80 + a GameEvent (0x81..0x85): a weapon change, leaving the game, a pause, focus lost, focus
// regained.
// 0x90 and four little-endian bytes (format 2 on): a checkpoint, the low 32 bits of the world's
// digest after every kCheckpointSteps-th step, right after that step's records.
// After the game's last step (format 3 on), the name entry that follows a new high score:
// 0x91, a length byte and that many letters: the entry opened with this text in its field;
// 0x92 and a letter 'A'..'Z': the letter went into the field; 0x93: the field's last letter was
// erased; 0x94: the name was confirmed. Only keys that changed the field are recorded, so the
// name is the opening text with the letters and erasures applied.
inline constexpr uint8_t kTickPlus15 = 0, kTickPlus16 = 1, kTickSame = 2, kTickVarint = 3;
inline constexpr uint8_t kStepKeys = 0x04, kStepMouseX = 0x08, kStepMouseY = 0x10, kStepButtons = 0x20;
inline constexpr uint8_t kStepReserved = 0x40;
inline constexpr uint8_t kRecordReseed = 0x80;
inline constexpr uint8_t kRecordCheckpoint = 0x90;
inline constexpr uint8_t kRecordNameOpened = 0x91, kRecordNameLetter = 0x92, kRecordNameErase = 0x93,
                         kRecordNameConfirmed = 0x94;
// The longest text a name entry opens with; the field itself holds ten letters.
inline constexpr size_t kMaxNameBytes = 16;
// Four seconds of play at the 64 Hz tick: a departure from the recording is found within them.
inline constexpr uint32_t kCheckpointSteps = 256;
// The longest record: a step with every field at its largest.
inline constexpr size_t kMaxRecordBytes = 1 + 5 + 1 + 5 + 5 + 1;

// Appends records to a buffer the caller owns; never allocates. Once a record does not fit, the
// writer stops and says so (the recording is then incomplete).
class BodyWriter {
 public:
  BodyWriter(uint8_t* buffer, size_t capacity) : buffer_(buffer), capacity_(capacity) {}
  void Start(uint32_t startTick);
  void Step(const sf::StepInputs& inputs);
  void Reseed(uint32_t seed);
  void Event(sf::GameEvent event);
  void Checkpoint(uint32_t digest);
  // The name entry after the game (see the records above).
  void NameOpened(std::string_view text);
  void NameLetter(char letter);
  void NameErase();
  void NameConfirmed();

  size_t Size() const { return size_; }
  bool Overflowed() const { return overflowed_; }
  uint32_t Steps() const { return steps_; }

 private:
  void Append(const uint8_t* bytes, size_t n);
  void AppendWord(uint8_t head, uint32_t word);

  uint8_t* buffer_;
  size_t capacity_;
  size_t size_ = 0;
  bool overflowed_ = false;
  uint32_t steps_ = 0;
  uint32_t tick_ = 0;
  uint8_t keys_ = 0;
  uint8_t buttons_ = 0;
};

// One record read back.
struct BodyRecord {
  enum Kind { End, Step, Reseed, Event, Checkpoint, NameOpened, NameLetter, NameErase, NameConfirmed, Bad };
  Kind Type = End;
  sf::StepInputs Inputs;                             // Step
  uint32_t Seed = 0;                                 // Reseed, Checkpoint (the digest)
  sf::GameEvent What = sf::GameEvent::WeaponChange;  // Event
  std::array<char, kMaxNameBytes> Text{};            // NameOpened: the field's text; NameLetter: the letter
  uint8_t TextLength = 0;

  bool IsName() const { return Type >= NameOpened && Type <= NameConfirmed; }
  std::string_view Name() const { return {Text.data(), TextLength}; }
};

// Reads records in order; a record that is not well formed gives Bad with a sentence in Error().
// Checkpoints are records of format 2 on, the name entry's of format 3 on; in older bodies their
// bytes are malformed.
class BodyReader {
 public:
  BodyReader(std::span<const uint8_t> body, uint32_t startTick, bool checkpoints = true, bool names = true)
      : body_(body), tick_(startTick), checkpoints_(checkpoints), names_(names) {}
  BodyRecord Next();
  size_t Offset() const { return pos_; }
  const std::string& Error() const { return error_; }

 private:
  bool Byte(uint8_t& out);
  bool Varint(uint32_t& out);
  BodyRecord Fail(const char* what);
  BodyRecord NameRecord(uint8_t head);

  std::span<const uint8_t> body_;
  size_t pos_ = 0;
  uint32_t tick_;
  bool checkpoints_;
  bool names_;
  uint8_t keys_ = 0;
  uint8_t buttons_ = 0;
  std::string error_;
};

}  // namespace replay
