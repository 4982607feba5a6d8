#include "replay/ReplayBody.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace replay {
namespace {

size_t PutVarint(uint8_t* at, uint32_t value) {
  size_t n = 0;
  while (value >= 0x80) {
    at[n++] = static_cast<uint8_t>(value | 0x80);
    value >>= 7;
  }
  at[n++] = static_cast<uint8_t>(value);
  return n;
}

uint32_t ZigZag(int32_t v) { return (static_cast<uint32_t>(v) << 1) ^ static_cast<uint32_t>(v >> 31); }
int32_t UnZigZag(uint32_t v) { return static_cast<int32_t>((v >> 1) ^ (0u - (v & 1))); }

uint8_t ButtonBits(const sf::MouseState& mouse) {
  uint8_t bits = 0;
  for (int k = 0; k < 8; ++k)
    if (mouse.Buttons[k] & 0x80) bits = static_cast<uint8_t>(bits | (1u << k));
  return bits;
}

// Letters of the name field: the field takes A to Z and shows them capitalised.
bool IsNameLetter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

void BodyWriter::Start(uint32_t startTick) {
  size_ = 0;
  overflowed_ = false;
  steps_ = 0;
  tick_ = startTick;
  keys_ = 0;
  buttons_ = 0;
}

void BodyWriter::Append(const uint8_t* bytes, size_t n) {
  if (overflowed_ || n > capacity_ - size_) {
    overflowed_ = true;
    return;
  }
  std::memcpy(buffer_ + size_, bytes, n);
  size_ += n;
}

void BodyWriter::Step(const sf::StepInputs& in) {
  uint8_t record[kMaxRecordBytes];
  size_t n = 1;
  uint8_t head = 0;
  const uint32_t delta = in.Tick - tick_;
  if (delta == 15) {
    head = kTickPlus15;
  } else if (delta == 16) {
    head = kTickPlus16;
  } else if (delta == 0) {
    head = kTickSame;
  } else {
    head = kTickVarint;
    n += PutVarint(record + n, delta);
  }
  if (in.Keys != keys_) {
    head |= kStepKeys;
    record[n++] = in.Keys;
  }
  if (in.Mouse.X != 0) {
    head |= kStepMouseX;
    n += PutVarint(record + n, ZigZag(in.Mouse.X));
  }
  if (in.Mouse.Y != 0) {
    head |= kStepMouseY;
    n += PutVarint(record + n, ZigZag(in.Mouse.Y));
  }
  const uint8_t buttons = ButtonBits(in.Mouse);
  if (buttons != buttons_) {
    head |= kStepButtons;
    record[n++] = buttons;
  }
  record[0] = head;
  Append(record, n);
  if (overflowed_) return;
  tick_ = in.Tick;
  keys_ = in.Keys;
  buttons_ = buttons;
  ++steps_;
}

void BodyWriter::Reseed(uint32_t seed) { AppendWord(kRecordReseed, seed); }

void BodyWriter::Checkpoint(uint32_t digest) { AppendWord(kRecordCheckpoint, digest); }

void BodyWriter::AppendWord(uint8_t head, uint32_t word) {
  const uint8_t record[5] = {head, static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8),
                             static_cast<uint8_t>(word >> 16), static_cast<uint8_t>(word >> 24)};
  Append(record, sizeof record);
}

void BodyWriter::Event(sf::GameEvent event) {
  const uint8_t record = static_cast<uint8_t>(kRecordReseed + static_cast<uint8_t>(event));
  Append(&record, 1);
}

void BodyWriter::NameOpened(std::string_view text) {
  uint8_t record[2 + kMaxNameBytes] = {kRecordNameOpened};
  const size_t n = std::min(text.size(), kMaxNameBytes);
  record[1] = static_cast<uint8_t>(n);
  std::memcpy(record + 2, text.data(), n);
  Append(record, 2 + n);
}

void BodyWriter::NameLetter(char letter) {
  const uint8_t record[2] = {kRecordNameLetter, static_cast<uint8_t>(letter)};
  Append(record, sizeof record);
}

void BodyWriter::NameErase() { Append(&kRecordNameErase, 1); }

void BodyWriter::NameConfirmed() { Append(&kRecordNameConfirmed, 1); }

bool BodyReader::Byte(uint8_t& out) {
  if (pos_ >= body_.size()) return false;
  out = body_[pos_++];
  return true;
}

bool BodyReader::Varint(uint32_t& out) {
  out = 0;
  for (int shift = 0; shift < 35; shift += 7) {
    uint8_t b = 0;
    if (!Byte(b)) return false;
    if (shift == 28 && (b & 0xF0) != 0) return false;  // more than 32 bits
    out |= static_cast<uint32_t>(b & 0x7F) << shift;
    if ((b & 0x80) == 0) return true;
  }
  return false;
}

BodyRecord BodyReader::Fail(const char* what) {
  char line[160];
  std::snprintf(line, sizeof line, "The replay's inputs are malformed at byte %zu: %s.", pos_, what);
  error_ = line;
  BodyRecord r;
  r.Type = BodyRecord::Bad;
  return r;
}

BodyRecord BodyReader::NameRecord(uint8_t head) {
  BodyRecord r;
  switch (head) {
    case kRecordNameOpened: {
      uint8_t n = 0;
      if (!Byte(n)) return Fail("the name entry's opening text is cut short");
      if (n > kMaxNameBytes) return Fail("the name entry opens with a text longer than a name");
      for (uint8_t i = 0; i < n; ++i) {
        uint8_t c = 0;
        if (!Byte(c)) return Fail("the name entry's opening text is cut short");
        if (!IsNameLetter(c)) return Fail("the name entry opens with a character the field does not take");
        r.Text[i] = static_cast<char>(c);
      }
      r.TextLength = n;
      r.Type = BodyRecord::NameOpened;
      return r;
    }
    case kRecordNameLetter: {
      uint8_t c = 0;
      if (!Byte(c)) return Fail("a letter of the name is cut short");
      if (c < 'A' || c > 'Z') return Fail("a key of the name entry is not a letter");
      r.Text[0] = static_cast<char>(c);
      r.TextLength = 1;
      r.Type = BodyRecord::NameLetter;
      return r;
    }
    case kRecordNameErase: r.Type = BodyRecord::NameErase; return r;
    default: r.Type = BodyRecord::NameConfirmed; return r;
  }
}

BodyRecord BodyReader::Next() {
  BodyRecord r;
  uint8_t head = 0;
  if (!Byte(head)) return r;  // End
  if (head == kRecordReseed || (head == kRecordCheckpoint && checkpoints_)) {
    uint8_t b[4];
    for (uint8_t& each : b)
      if (!Byte(each))
        return Fail(head == kRecordReseed ? "a generator seed is cut short" : "a checkpoint is cut short");
    r.Type = head == kRecordReseed ? BodyRecord::Reseed : BodyRecord::Checkpoint;
    r.Seed = uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
    return r;
  }
  if (names_ && head >= kRecordNameOpened && head <= kRecordNameConfirmed) return NameRecord(head);
  if (head > kRecordReseed) {
    const uint8_t event = static_cast<uint8_t>(head - kRecordReseed);
    if (event > sf::kLastGameEvent) return Fail("unknown record type");
    r.Type = BodyRecord::Event;
    r.What = static_cast<sf::GameEvent>(event);
    return r;
  }
  if (head & kStepReserved) return Fail("a step uses a reserved flag");
  uint32_t delta = 0;
  switch (head & 3) {
    case kTickPlus15: delta = 15; break;
    case kTickPlus16: delta = 16; break;
    case kTickSame: delta = 0; break;
    default:
      if (!Varint(delta)) return Fail("a step's tick is cut short or too long");
      break;
  }
  if (head & kStepKeys) {
    if (!Byte(keys_)) return Fail("a step's keys are cut short");
    if (keys_ >> sf::kGameKeyCount) return Fail("a step holds keys the game does not read");
  }
  uint32_t mx = 0, my = 0;
  if ((head & kStepMouseX) && !Varint(mx)) return Fail("a step's mouse motion is cut short or too long");
  if ((head & kStepMouseY) && !Varint(my)) return Fail("a step's mouse motion is cut short or too long");
  if ((head & kStepButtons) && !Byte(buttons_)) return Fail("a step's mouse buttons are cut short");
  tick_ += delta;
  r.Type = BodyRecord::Step;
  r.Inputs.Tick = tick_;
  r.Inputs.Keys = keys_;
  r.Inputs.Mouse.X = UnZigZag(mx);
  r.Inputs.Mouse.Y = UnZigZag(my);
  for (int k = 0; k < 8; ++k) r.Inputs.Mouse.Buttons[k] = static_cast<uint8_t>((buttons_ >> k) & 1 ? 0x80 : 0);
  return r;
}

}  // namespace replay
