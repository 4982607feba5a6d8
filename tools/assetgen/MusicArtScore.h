#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "XmWriter.h"

// Writing music into tracker cells: a whole song laid out as one long grid of rows per channel,
// filled from short text phrases and cut into patterns at the end.
namespace assetgen::music {

// The pattern note of a pitch name such as "C4", "F#3" or "Bb2" (C-4 is 49). Throws on a bad name.
uint8_t NoteNumber(std::string_view name);

// The name of a pattern note 1..96, with sharps ("F#3"); the inverse of NoteNumber.
std::string NoteName(uint8_t note);

// One drum sound of a hit grid: the character that triggers it, its instrument and volume.
// The upper-case form of the character plays it accented.
struct DrumKey {
  char Symbol;
  uint8_t Instrument;
  int Volume;
  int AccentVolume;
};

class Score {
 public:
  Score(int channels, int patterns, int rowsPerPattern = 64);

  int Rows() const { return rows_; }
  int RowsPerPattern() const { return rowsPerPattern_; }
  xm::Cell& At(int row, int channel);

  // Every note struck with an instrument on this channel also sets the channel's panning
  // (0..255), since each note otherwise takes the sample's own panning.
  void SetPanning(int channel, uint8_t pan);

  // Writes a phrase from `row` on: space-separated tokens "C5:4" (a note held 4 rows), "r:4"
  // (a key off, then 4 silent rows), "-:4" (the previous note goes on 4 more rows); a note may
  // add "@40" for its volume, otherwise `volume` is used. Returns the first row after the phrase.
  // Throws when a token is malformed or the phrase runs past the song.
  int Line(int channel, int row, std::string_view phrase, uint8_t instrument, int volume);

  // Writes one row per character of `grid` from `row` on: '.' is nothing, a symbol of `keys`
  // strikes that drum. Returns the first row after the grid.
  int Hits(int channel, int row, std::string_view grid, const std::vector<DrumKey>& keys);

  // Copies the notes of `from` into `to`, `delayRows` later, their volumes scaled; notes without
  // a volume column count as `defaultVolume`. Echoes falling past the end are dropped.
  void Echo(int from, int to, int delayRows, double volumeScale, int defaultVolume);

  // Puts a key off on row 0 of the channel if nothing starts there, so that a note still held
  // at the end of the song stops when the song loops.
  void ReleaseAtStart(int channel);

  // Cuts the grid into patterns 0, 1, ... played once each in order.
  void WriteInto(xm::Module& module) const;

 private:
  int channels_;
  int rowsPerPattern_;
  int rows_;
  std::vector<xm::Cell> cells_;
  std::vector<int> panning_;  // -1: leave the sample's panning
};

}  // namespace assetgen::music
