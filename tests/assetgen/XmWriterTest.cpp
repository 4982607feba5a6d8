// The XM writer at byte level: header offsets, cell packing, instrument and sample headers,
// delta encoding, tuning, and refusal of modules a player would reject.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "XmWriter.h"

namespace {

using namespace assetgen::xm;

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 | uint32_t{b[at + 3]} << 24;
}
uint16_t Le16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }

Module TwoPatternModule() {
  Module m;
  m.Name = "Test";
  m.Channels = 2;
  m.Speed = 5;
  m.Bpm = 140;
  m.Restart = 1;
  m.Patterns = {Pattern(4, 2), Pattern(2, 2)};
  m.Orders = {0, 1, 0};
  return m;
}

TEST(XmWriter, FileHeaderFieldsSitAtTheirOffsets) {
  const std::vector<uint8_t> b = WriteXm(TwoPatternModule());
  EXPECT_EQ(std::string(b.begin(), b.begin() + 17), "Extended Module: ");
  EXPECT_EQ(std::string(b.begin() + 17, b.begin() + 21), "Test");
  EXPECT_EQ(b[21], 0);
  EXPECT_EQ(b[37], 0x1A);
  EXPECT_EQ(std::string(b.begin() + 38, b.begin() + 58), "FastTracker v2.00   ");
  EXPECT_EQ(Le16(b, 58), 0x0104);
  EXPECT_EQ(Le32(b, 60), 276u);
  EXPECT_EQ(Le16(b, 64), 3);  // song length
  EXPECT_EQ(Le16(b, 66), 1);  // restart
  EXPECT_EQ(Le16(b, 68), 2);  // channels
  EXPECT_EQ(Le16(b, 70), 2);  // patterns
  EXPECT_EQ(Le16(b, 72), 0);  // instruments
  EXPECT_EQ(Le16(b, 74), 1);  // linear frequencies
  EXPECT_EQ(Le16(b, 76), 5);
  EXPECT_EQ(Le16(b, 78), 140);
  EXPECT_EQ(b[80], 0);
  EXPECT_EQ(b[81], 1);
  EXPECT_EQ(b[82], 0);
  for (size_t i = 83; i < 336; ++i) ASSERT_EQ(b[i], 0) << i;
  // Pattern 0: 9-byte header, 4 rows of 2 empty cells; pattern 1 right after it.
  EXPECT_EQ(Le32(b, 336), 9u);
  EXPECT_EQ(b[340], 0);
  EXPECT_EQ(Le16(b, 341), 4);
  EXPECT_EQ(Le16(b, 343), 8);
  for (size_t i = 345; i < 353; ++i) EXPECT_EQ(b[i], 0x80);
  EXPECT_EQ(Le32(b, 353), 9u);
  EXPECT_EQ(Le16(b, 358), 2);
  EXPECT_EQ(b.size(), 353u + 9 + 4);
}

TEST(XmWriter, CellsArePackedUnlessEveryColumnIsUsed) {
  Module m = TwoPatternModule();
  m.Instruments.resize(3);
  Pattern& p = m.Patterns[0];
  p.At(0, 0) = Cell{kKeyOff};
  p.At(0, 1) = Cell{49, 2, VolumeColumn(32), 0, 0};
  p.At(1, 0) = Cell{0, 0, 0, kFxSetPanning, 0x40};
  p.At(1, 1) = Cell{60, 3, VolumeColumn(64), kFxSetPanning, 0xC0};
  p.At(2, 0) = Cell{0, 0, 0, kFxExtended, 0};  // effect without parameter
  const std::vector<uint8_t> b = WriteXm(m);
  const std::vector<uint8_t> expected = {0x81, 97,                      // key off
                                         0x87, 49,   2,    0x30,        // note, instrument, volume
                                         0x98, 0x08, 0x40,              // effect and parameter only
                                         60,   3,    0x50, 0x08, 0xC0,  // all five: unpacked
                                         0x88, 0x0E,                    // effect only
                                         0x80, 0x80, 0x80};             // rest of rows 2 and 3
  EXPECT_EQ(Le16(b, 343), expected.size());
  EXPECT_EQ(std::vector<uint8_t>(b.begin() + 345, b.begin() + 345 + static_cast<ptrdiff_t>(expected.size())), expected);
}

TEST(XmWriter, InstrumentAndSampleHeadersWithDeltaData) {
  Module m = TwoPatternModule();
  Instrument empty;
  empty.Name = "none";
  Instrument ins;
  ins.Name = "lead";
  ins.Volume.Points = {{0, 0}, {10, 64}, {30, 40}};
  ins.Volume.Sustain = 2;
  ins.Fadeout = 0x200;
  ins.VibratoDepth = 8;
  Sample wide;
  wide.Data = {0, 100, -100, 32767, -32768};
  wide.LoopType = Loop::Forward;
  wide.LoopStart = 1;
  wide.LoopLength = 4;
  wide.Volume = 40;
  wide.Panning = 0x30;
  wide.RelativeNote = -1;
  wide.Finetune = 30;
  Sample narrow;
  narrow.Bits8 = true;
  narrow.Data = {0x0100, 0x0300, -0x0200};
  ins.Samples = {wide, narrow};
  ins.KeyMap.fill(1);
  m.Instruments = {empty, ins};
  const std::vector<uint8_t> b = WriteXm(m);

  size_t at = 353 + 9 + 4;  // after the two patterns
  EXPECT_EQ(Le32(b, at), 33u);
  EXPECT_EQ(Le16(b, at + 27), 0);
  at += 33;
  EXPECT_EQ(Le32(b, at), 263u);
  EXPECT_EQ(std::string(b.begin() + static_cast<ptrdiff_t>(at) + 4, b.begin() + static_cast<ptrdiff_t>(at) + 8),
            "lead");
  EXPECT_EQ(Le16(b, at + 27), 2);
  EXPECT_EQ(Le32(b, at + 29), 40u);
  EXPECT_EQ(b[at + 33], 1);              // key map
  EXPECT_EQ(Le16(b, at + 129 + 4), 10);  // second envelope point
  EXPECT_EQ(Le16(b, at + 129 + 6), 64);
  EXPECT_EQ(b[at + 225], 3);      // volume points
  EXPECT_EQ(b[at + 226], 0);      // no panning envelope
  EXPECT_EQ(b[at + 227], 2);      // sustain point
  EXPECT_EQ(b[at + 233], 1 | 2);  // on, sustain
  EXPECT_EQ(b[at + 234], 0);
  EXPECT_EQ(b[at + 237], 8);
  EXPECT_EQ(Le16(b, at + 239), 0x200);
  at += 263;
  EXPECT_EQ(Le32(b, at), 10u);  // lengths and loops in bytes
  EXPECT_EQ(Le32(b, at + 4), 2u);
  EXPECT_EQ(Le32(b, at + 8), 8u);
  EXPECT_EQ(b[at + 12], 40);
  EXPECT_EQ(static_cast<int8_t>(b[at + 13]), 30);
  EXPECT_EQ(b[at + 14], 0x11);  // 16-bit, forward loop
  EXPECT_EQ(b[at + 15], 0x30);
  EXPECT_EQ(static_cast<int8_t>(b[at + 16]), -1);
  EXPECT_EQ(b[at + 17], 0);
  at += 40;
  EXPECT_EQ(Le32(b, at), 3u);
  EXPECT_EQ(Le32(b, at + 8), 0u);  // unlooped
  EXPECT_EQ(b[at + 14], 0x00);     // 8-bit, no loop
  at += 40;
  // Deltas wrap modulo 2^16: 0, +100, -200, +32867, +1.
  const std::vector<uint16_t> deltas = {0, 100, static_cast<uint16_t>(-200), 32867, 1};
  for (size_t i = 0; i < deltas.size(); ++i) EXPECT_EQ(Le16(b, at + 2 * i), deltas[i]) << i;
  at += 10;
  EXPECT_EQ(std::vector<uint8_t>(b.begin() + static_cast<ptrdiff_t>(at), b.end()),
            (std::vector<uint8_t>{1, 2, static_cast<uint8_t>(-5)}));
}

TEST(XmWriter, TuningPlaysTheDataAtItsRateOnC4) {
  const struct {
    double Rate;
    int Relative, Finetune;
  } cases[] = {{8363, 0, 0}, {8000, -1, 30}, {11025, 4, 100}, {22050, 16, 100}, {44100, 28, 100}, {48000, 30, 32}};
  for (const auto& c : cases) {
    Sample s;
    s.TuneTo(c.Rate);
    EXPECT_EQ(s.RelativeNote, c.Relative) << c.Rate;
    EXPECT_EQ(s.Finetune, c.Finetune) << c.Rate;
  }
}

TEST(XmWriter, RefusesWhatPlayersReject) {
  const auto rejects = [](auto change) {
    Module m = TwoPatternModule();
    m.Instruments.resize(1);
    m.Instruments[0].Samples.resize(1);
    m.Instruments[0].Samples[0].Data.resize(10);
    change(m);
    EXPECT_THROW(WriteXm(m), std::invalid_argument);
  };
  rejects([](Module& m) { m.Speed = 32; });
  rejects([](Module& m) { m.Speed = 0; });
  rejects([](Module& m) { m.Bpm = 31; });
  rejects([](Module& m) { m.Bpm = 256; });
  rejects([](Module& m) { m.Channels = 3; });
  rejects([](Module& m) { m.Channels = 34; });
  rejects([](Module& m) { m.Orders.clear(); });
  rejects([](Module& m) { m.Orders.push_back(2); });
  rejects([](Module& m) { m.Restart = 3; });
  rejects([](Module& m) { m.Patterns[1] = Pattern(2, 4); });
  rejects([](Module& m) { m.Patterns[0].At(0, 0).Note = 98; });
  rejects([](Module& m) { m.Patterns[0].At(0, 0).Instrument = 2; });
  rejects([](Module& m) { m.Instruments[0].Samples[0].Volume = 65; });
  rejects([](Module& m) {
    Sample& s = m.Instruments[0].Samples[0];
    s.LoopType = Loop::Forward, s.LoopStart = 6, s.LoopLength = 5;
  });
  rejects([](Module& m) { m.Instruments[0].Volume.Points.resize(13); });
  rejects([](Module& m) { m.Instruments[0].Volume.Points = {{5, 64}, {5, 0}}; });
  rejects([](Module& m) { m.Instruments[0].KeyMap[10] = 1; });
}

}  // namespace
