#include "XmWriter.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace assetgen::xm {

void Sample::TuneTo(double rateAtC4) {
  const double semis = 12 * std::log2(rateAtC4 / 8363.0);
  int rel = static_cast<int>(std::floor(semis));
  int fine = static_cast<int>(std::lround((semis - rel) * 128));
  if (fine >= 128) ++rel, fine -= 128;
  if (rel < -96 || rel > 95) throw std::invalid_argument("sample rate out of the playable range");
  RelativeNote = static_cast<int8_t>(rel);
  Finetune = static_cast<int8_t>(fine);
}

namespace {

void Fail(const std::string& what) { throw std::invalid_argument("XM module: " + what); }

class ByteWriter {
 public:
  std::vector<uint8_t> Bytes;
  void U8(unsigned v) { Bytes.push_back(static_cast<uint8_t>(v)); }
  void U16(unsigned v) { U8(v & 0xFF), U8((v >> 8) & 0xFF); }
  void U32(uint32_t v) { U16(v & 0xFFFF), U16(v >> 16); }
  // A fixed-width text field, cut to fit and padded with NULs.
  void Text(const std::string& s, size_t width) {
    for (size_t i = 0; i < width; ++i) U8(i < s.size() ? static_cast<uint8_t>(s[i]) : 0);
  }
  void Raw(const char* s, size_t n) {
    for (size_t i = 0; i < n; ++i) U8(static_cast<uint8_t>(s[i]));
  }
};

void CheckEnvelope(const Envelope& e, const std::string& where) {
  if (e.Points.size() > 12) Fail(where + " has more than 12 envelope points");
  for (size_t i = 0; i < e.Points.size(); ++i) {
    if (e.Points[i].Value > 64) Fail(where + " envelope value above 64");
    if (i > 0 && e.Points[i].Tick <= e.Points[i - 1].Tick) Fail(where + " envelope ticks not increasing");
  }
  const int n = static_cast<int>(e.Points.size());
  if (e.Sustain >= n || e.LoopStart >= n || e.LoopEnd >= n) Fail(where + " envelope point index out of range");
  if ((e.LoopStart < 0) != (e.LoopEnd < 0) || e.LoopEnd < e.LoopStart) Fail(where + " envelope loop is malformed");
}

void Check(const Module& m) {
  if (m.Channels < 2 || m.Channels > 32 || m.Channels % 2 != 0) Fail("channel count must be even, 2..32");
  if (m.Speed < 1 || m.Speed > 31) Fail("speed must be 1..31");
  if (m.Bpm < 32 || m.Bpm > 255) Fail("BPM must be 32..255");
  if (m.Orders.empty() || m.Orders.size() > 256) Fail("song length must be 1..256 orders");
  if (m.Restart < 0 || m.Restart >= static_cast<int>(m.Orders.size())) Fail("restart position outside the song");
  if (m.Patterns.empty() || m.Patterns.size() > 256) Fail("pattern count must be 1..256");
  if (m.Instruments.size() > 128) Fail("more than 128 instruments");
  for (uint8_t o : m.Orders) {
    if (o >= m.Patterns.size()) Fail("order names a missing pattern");
  }
  for (const Pattern& p : m.Patterns) {
    if (p.Rows < 1 || p.Rows > 256) Fail("pattern rows must be 1..256");
    if (p.Channels != m.Channels || p.Cells.size() != static_cast<size_t>(p.Rows) * static_cast<size_t>(p.Channels)) {
      Fail("pattern shape does not match the channel count");
    }
    for (const Cell& c : p.Cells) {
      if (c.Note > kKeyOff) Fail("note out of range");
      if (c.Instrument > m.Instruments.size()) Fail("cell names a missing instrument");
    }
  }
  for (const Instrument& ins : m.Instruments) {
    const std::string where = "instrument \"" + ins.Name + "\"";
    if (ins.Samples.size() > 16) Fail(where + " has more than 16 samples");
    for (uint8_t k : ins.KeyMap) {
      if (!ins.Samples.empty() && k >= ins.Samples.size()) Fail(where + " key map names a missing sample");
    }
    CheckEnvelope(ins.Volume, where);
    CheckEnvelope(ins.Panning, where);
    for (const Sample& s : ins.Samples) {
      if (s.Volume > 64) Fail(where + " sample volume above 64");
      if (s.LoopType != Loop::None &&
          (s.LoopLength == 0 || static_cast<uint64_t>(s.LoopStart) + s.LoopLength > s.Data.size())) {
        Fail(where + " sample loop lies outside its data");
      }
    }
  }
}

void WritePattern(ByteWriter& w, const Pattern& p) {
  ByteWriter data;
  for (const Cell& c : p.Cells) {
    if (c.Note && c.Instrument && c.Volume && c.Effect) {
      data.U8(c.Note), data.U8(c.Instrument), data.U8(c.Volume), data.U8(c.Effect), data.U8(c.Param);
      continue;
    }
    const unsigned mask =
        (c.Note ? 1 : 0) | (c.Instrument ? 2 : 0) | (c.Volume ? 4 : 0) | (c.Effect ? 8 : 0) | (c.Param ? 16 : 0);
    data.U8(0x80 | mask);
    if (c.Note) data.U8(c.Note);
    if (c.Instrument) data.U8(c.Instrument);
    if (c.Volume) data.U8(c.Volume);
    if (c.Effect) data.U8(c.Effect);
    if (c.Param) data.U8(c.Param);
  }
  if (data.Bytes.size() > 0xFFFF) Fail("pattern data larger than 64 KiB");
  w.U32(9);
  w.U8(0);
  w.U16(static_cast<unsigned>(p.Rows));
  w.U16(static_cast<unsigned>(data.Bytes.size()));
  w.Bytes.insert(w.Bytes.end(), data.Bytes.begin(), data.Bytes.end());
}

void WriteEnvelopePoints(ByteWriter& w, const Envelope& e) {
  for (size_t i = 0; i < 12; ++i) {
    const EnvelopePoint p = i < e.Points.size() ? e.Points[i] : EnvelopePoint{};
    w.U16(p.Tick), w.U16(p.Value);
  }
}

unsigned EnvelopeType(const Envelope& e) {
  if (e.Points.empty()) return 0;
  return 1u | (e.Sustain >= 0 ? 2u : 0u) | (e.LoopStart >= 0 ? 4u : 0u);
}

void WriteSampleData(ByteWriter& w, const Sample& s) {
  if (s.Bits8) {
    int8_t last = 0;
    for (int16_t frame : s.Data) {
      const auto v = static_cast<int8_t>(frame >> 8);
      w.U8(static_cast<uint8_t>(v - last));
      last = v;
    }
    return;
  }
  int16_t last = 0;
  for (int16_t frame : s.Data) {
    w.U16(static_cast<uint16_t>(static_cast<uint16_t>(frame) - static_cast<uint16_t>(last)));
    last = frame;
  }
}

void WriteInstrument(ByteWriter& w, const Instrument& ins) {
  if (ins.Samples.empty()) {
    w.U32(33);
    w.Text(ins.Name, 22);
    w.U8(0);
    w.U16(0);
    w.U32(40);
    return;
  }
  w.U32(263);
  w.Text(ins.Name, 22);
  w.U8(0);
  w.U16(static_cast<unsigned>(ins.Samples.size()));
  w.U32(40);
  for (uint8_t k : ins.KeyMap) w.U8(k);
  WriteEnvelopePoints(w, ins.Volume);
  WriteEnvelopePoints(w, ins.Panning);
  w.U8(static_cast<unsigned>(ins.Volume.Points.size()));
  w.U8(static_cast<unsigned>(ins.Panning.Points.size()));
  for (const Envelope* e : {&ins.Volume, &ins.Panning}) {
    w.U8(static_cast<unsigned>(std::max(e->Sustain, 0)));
    w.U8(static_cast<unsigned>(std::max(e->LoopStart, 0)));
    w.U8(static_cast<unsigned>(std::max(e->LoopEnd, 0)));
  }
  w.U8(EnvelopeType(ins.Volume));
  w.U8(EnvelopeType(ins.Panning));
  w.U8(ins.VibratoType), w.U8(ins.VibratoSweep), w.U8(ins.VibratoDepth), w.U8(ins.VibratoRate);
  w.U16(ins.Fadeout);
  for (int i = 0; i < 22; ++i) w.U8(0);
  for (const Sample& s : ins.Samples) {
    const uint32_t bytesPerFrame = s.Bits8 ? 1 : 2;
    const bool looped = s.LoopType != Loop::None;
    w.U32(static_cast<uint32_t>(s.Data.size()) * bytesPerFrame);
    w.U32(looped ? s.LoopStart * bytesPerFrame : 0);
    w.U32(looped ? s.LoopLength * bytesPerFrame : 0);
    w.U8(s.Volume);
    w.U8(static_cast<uint8_t>(s.Finetune));
    w.U8(static_cast<unsigned>(s.LoopType) | (s.Bits8 ? 0u : 0x10u));
    w.U8(s.Panning);
    w.U8(static_cast<uint8_t>(s.RelativeNote));
    w.U8(0);
    w.Text(s.Name, 22);
  }
  for (const Sample& s : ins.Samples) WriteSampleData(w, s);
}

}  // namespace

std::vector<uint8_t> WriteXm(const Module& m) {
  Check(m);
  ByteWriter w;
  w.Raw("Extended Module: ", 17);
  w.Text(m.Name, 20);
  w.U8(0x1A);
  std::string tracker = m.Tracker;
  tracker.resize(20, ' ');
  w.Text(tracker, 20);
  w.U16(0x0104);
  w.U32(276);
  w.U16(static_cast<unsigned>(m.Orders.size()));
  w.U16(static_cast<unsigned>(m.Restart));
  w.U16(static_cast<unsigned>(m.Channels));
  w.U16(static_cast<unsigned>(m.Patterns.size()));
  w.U16(static_cast<unsigned>(m.Instruments.size()));
  w.U16(m.LinearFrequencies ? 1 : 0);
  w.U16(static_cast<unsigned>(m.Speed));
  w.U16(static_cast<unsigned>(m.Bpm));
  for (size_t i = 0; i < 256; ++i) w.U8(i < m.Orders.size() ? m.Orders[i] : 0);
  for (const Pattern& p : m.Patterns) WritePattern(w, p);
  for (const Instrument& ins : m.Instruments) WriteInstrument(w, ins);
  return w.Bytes;
}

}  // namespace assetgen::xm
