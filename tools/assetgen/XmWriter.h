#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// An in-memory extended module (XM 1.04) and its writer. The writer produces the layout every
// FastTracker 2 compatible player reads: 60 + 276 header bytes, packed patterns, then each
// instrument's header, sample headers and delta-encoded sample data.
namespace assetgen::xm {

inline constexpr uint8_t kKeyOff = 97;  // the pattern note that releases a sustained note

// Effect numbers (the effect column).
inline constexpr uint8_t kFxSetPanning = 0x8;
inline constexpr uint8_t kFxSetVolume = 0xC;
inline constexpr uint8_t kFxExtended = 0xE;

// Volume column: set volume 0..64.
constexpr uint8_t VolumeColumn(int volume) { return static_cast<uint8_t>(0x10 + volume); }

struct Cell {
  uint8_t Note = 0;        // 0 none, 1..96 = C-0..B-7, 97 key off
  uint8_t Instrument = 0;  // 0 none, 1..128
  uint8_t Volume = 0;      // volume column byte
  uint8_t Effect = 0;
  uint8_t Param = 0;
  bool operator==(const Cell&) const = default;
};

struct Pattern {
  int Rows = 64;
  int Channels = 0;
  std::vector<Cell> Cells;  // row-major: all channels of row 0, then row 1, ...

  Pattern() = default;
  Pattern(int rows, int channels)
      : Rows(rows), Channels(channels), Cells(static_cast<size_t>(rows) * static_cast<size_t>(channels)) {}
  Cell& At(int row, int channel) {
    return Cells[static_cast<size_t>(row) * static_cast<size_t>(Channels) + static_cast<size_t>(channel)];
  }
  const Cell& At(int row, int channel) const {
    return Cells[static_cast<size_t>(row) * static_cast<size_t>(Channels) + static_cast<size_t>(channel)];
  }
};

struct EnvelopePoint {
  uint16_t Tick = 0;
  uint16_t Value = 0;  // 0..64
};

struct Envelope {
  std::vector<EnvelopePoint> Points;  // up to 12; empty = off
  int Sustain = -1;                   // point index held until key off, -1 none
  int LoopStart = -1, LoopEnd = -1;   // point indices, -1 none
};

enum class Loop : uint8_t { None = 0, Forward = 1, PingPong = 2 };

struct Sample {
  std::string Name;
  std::vector<int16_t> Data;  // signed PCM frames; written as 16-bit unless Bits8 is set
  bool Bits8 = false;         // store as 8-bit (the top byte of each frame)
  Loop LoopType = Loop::None;
  uint32_t LoopStart = 0;   // in frames
  uint32_t LoopLength = 0;  // in frames
  uint8_t Volume = 64;      // 0..64
  int8_t Finetune = 0;      // 1/128 semitone
  uint8_t Panning = 128;    // 0..255, 128 centre
  int8_t RelativeNote = 0;  // semitones; 0 plays C-4 at 8363 Hz

  // Sets RelativeNote and Finetune so that the note C-4 plays the data at `rateAtC4` frames per
  // second.
  void TuneTo(double rateAtC4);
};

struct Instrument {
  std::string Name;
  std::vector<Sample> Samples;       // 0..16
  std::array<uint8_t, 96> KeyMap{};  // sample index for each note
  Envelope Volume;
  Envelope Panning;
  uint8_t VibratoType = 0, VibratoSweep = 0, VibratoDepth = 0, VibratoRate = 0;
  uint16_t Fadeout = 0;  // volume fade per tick after key off (65536 = full)
};

struct Module {
  std::string Name;
  std::string Tracker = "FastTracker v2.00";  // selects FastTracker 2 playback rules in players
  int Channels = 8;
  int Speed = 6;    // ticks per row, 1..31
  int Bpm = 125;    // 32..255
  int Restart = 0;  // order the song loops back to
  bool LinearFrequencies = true;
  std::vector<uint8_t> Orders;
  std::vector<Pattern> Patterns;
  std::vector<Instrument> Instruments;  // instrument 1 is Instruments[0]
};

// Serialises the module. Throws std::invalid_argument naming the first field a player would
// reject (orders, speed, BPM, channel count, pattern sizes, loops outside their sample, ...).
std::vector<uint8_t> WriteXm(const Module& module);

}  // namespace assetgen::xm
