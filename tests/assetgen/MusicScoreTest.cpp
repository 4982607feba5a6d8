// Writing phrases, drum grids and echoes into the song grid, and cutting it into patterns.
#include <gtest/gtest.h>

#include <stdexcept>

#include "MusicArtScore.h"

namespace {

using assetgen::music::DrumKey;
using assetgen::music::NoteName;
using assetgen::music::NoteNumber;
using assetgen::music::Score;
namespace xm = assetgen::xm;

TEST(MusicScore, NoteNamesMapToPatternNotes) {
  EXPECT_EQ(NoteNumber("C0"), 1);
  EXPECT_EQ(NoteNumber("C4"), 49);
  EXPECT_EQ(NoteNumber("A4"), 58);
  EXPECT_EQ(NoteNumber("F#3"), NoteNumber("Gb3"));
  EXPECT_EQ(NoteNumber("Bb2"), NoteNumber("A#2"));
  EXPECT_EQ(NoteNumber("B7"), 96);
  for (int n = 1; n <= 96; ++n) EXPECT_EQ(NoteNumber(NoteName(static_cast<uint8_t>(n))), n);
  for (const char* bad : {"", "C", "H4", "C8", "Cb0", "C#", "Cx4", "C44"}) {
    EXPECT_THROW(NoteNumber(bad), std::invalid_argument) << bad;
  }
  EXPECT_THROW(NoteName(0), std::invalid_argument);
  EXPECT_THROW(NoteName(xm::kKeyOff), std::invalid_argument);
}

TEST(MusicScore, PhrasePlacesNotesHoldsAndKeyOffs) {
  Score score(2, 1, 16);
  EXPECT_EQ(score.Line(1, 2, "E5:4 -:2 r:3  G5:1@20 A5:2", 3, 40), 14);
  EXPECT_EQ(score.At(2, 1), (xm::Cell{NoteNumber("E5"), 3, xm::VolumeColumn(40)}));
  for (int row = 3; row < 8; ++row) EXPECT_EQ(score.At(row, 1), xm::Cell{}) << row;
  EXPECT_EQ(score.At(8, 1), xm::Cell{xm::kKeyOff});
  EXPECT_EQ(score.At(11, 1), (xm::Cell{NoteNumber("G5"), 3, xm::VolumeColumn(20)}));
  EXPECT_EQ(score.At(12, 1).Note, NoteNumber("A5"));
  EXPECT_EQ(score.At(2, 0), xm::Cell{});

  EXPECT_THROW(score.Line(0, 10, "C4:7", 1, 40), std::invalid_argument);  // past the end
  for (const char* bad : {"C4", "C4:0", "C4:x", "C4:2@65", "Q4:2", "C4:2@"}) {
    EXPECT_THROW(score.Line(0, 0, bad, 1, 40), std::invalid_argument) << bad;
  }
}

TEST(MusicScore, DrumGridStrikesMappedInstrumentsWithAccents) {
  Score score(2, 1, 8);
  const std::vector<DrumKey> keys = {{'k', 1, 40, 60}, {'s', 2, 30, 50}};
  EXPECT_EQ(score.Hits(0, 0, "k.sK S...", keys), 8);
  EXPECT_EQ(score.At(0, 0), (xm::Cell{NoteNumber("C4"), 1, xm::VolumeColumn(40)}));
  EXPECT_EQ(score.At(1, 0), xm::Cell{});
  EXPECT_EQ(score.At(2, 0).Instrument, 2);
  EXPECT_EQ(score.At(3, 0).Volume, xm::VolumeColumn(60));
  EXPECT_EQ(score.At(4, 0), (xm::Cell{NoteNumber("C4"), 2, xm::VolumeColumn(50)}));
  EXPECT_THROW(score.Hits(1, 0, "x", keys), std::invalid_argument);
  EXPECT_THROW(score.Hits(1, 6, "kkk", keys), std::invalid_argument);
}

TEST(MusicScore, EchoRepeatsLaterAndQuieterWithinTheSong) {
  Score score(2, 1, 8);
  score.Line(0, 0, "C5:2 r:1 D5:2@20 E5:3", 4, 40);
  score.Echo(0, 1, 3, 0.5, 40);
  EXPECT_EQ(score.At(3, 1), (xm::Cell{NoteNumber("C5"), 4, xm::VolumeColumn(20)}));
  EXPECT_EQ(score.At(5, 1), xm::Cell{xm::kKeyOff});
  EXPECT_EQ(score.At(6, 1), (xm::Cell{NoteNumber("D5"), 4, xm::VolumeColumn(10)}));
  EXPECT_EQ(score.At(0, 1), xm::Cell{});  // nothing wraps round from the end
}

TEST(MusicScore, GridIsCutIntoOrderedPatternsWithChannelPanning) {
  Score score(2, 3, 4);
  score.SetPanning(1, 0x30);
  score.Line(1, 4, "C4:2 r:1 -:1", 1, 40);
  score.Line(0, 8, "C4:4", 1, 40);
  xm::Module m;
  score.WriteInto(m);
  ASSERT_EQ(m.Patterns.size(), 3u);
  EXPECT_EQ(m.Orders, (std::vector<uint8_t>{0, 1, 2}));
  EXPECT_EQ(m.Channels, 2);
  const xm::Cell struck = m.Patterns[1].At(0, 1);
  EXPECT_EQ(struck.Note, NoteNumber("C4"));
  EXPECT_EQ(struck.Effect, xm::kFxSetPanning);
  EXPECT_EQ(struck.Param, 0x30);
  EXPECT_EQ(m.Patterns[1].At(2, 1), xm::Cell{xm::kKeyOff});  // key off needs no panning
  EXPECT_EQ(m.Patterns[2].At(0, 0).Effect, 0);               // unpanned channel
}

}  // namespace
