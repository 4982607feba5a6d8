#include "MusicArtScore.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <stdexcept>
#include <string>

namespace assetgen::music {

namespace {

[[noreturn]] void Fail(std::string_view what, std::string_view token) {
  throw std::invalid_argument(std::string(what) + ": \"" + std::string(token) + "\"");
}

int ParseCount(std::string_view digits, std::string_view token) {
  if (digits.empty() || digits.size() > 3) Fail("bad number in phrase token", token);
  int v = 0;
  for (char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c))) Fail("bad number in phrase token", token);
    v = v * 10 + (c - '0');
  }
  return v;
}

struct Token {
  std::string_view Pitch;  // note name, "r" or "-"
  int Rows = 0;
  int Volume = -1;
};

Token ParseToken(std::string_view token) {
  Token t;
  const size_t colon = token.find(':');
  if (colon == std::string_view::npos) Fail("phrase token needs a length", token);
  t.Pitch = token.substr(0, colon);
  std::string_view rest = token.substr(colon + 1);
  const size_t at = rest.find('@');
  if (at != std::string_view::npos) {
    t.Volume = ParseCount(rest.substr(at + 1), token);
    if (t.Volume > 64) Fail("volume above 64", token);
    rest = rest.substr(0, at);
  }
  t.Rows = ParseCount(rest, token);
  if (t.Rows < 1) Fail("phrase token of no rows", token);
  return t;
}

std::vector<std::string_view> SplitWords(std::string_view text) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    const size_t start = i;
    while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

}  // namespace

uint8_t NoteNumber(std::string_view name) {
  static constexpr int kSemitone[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (name.size() < 2 || name.size() > 3) Fail("bad note name", name);
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
  if (letter < 'A' || letter > 'G') Fail("bad note name", name);
  int semitone = kSemitone[letter - 'A'];
  size_t i = 1;
  if (name.size() == 3) {
    if (name[1] == '#')
      semitone += 1;
    else if (name[1] == 'b')
      semitone -= 1;
    else
      Fail("bad note name", name);
    i = 2;
  }
  if (name[i] < '0' || name[i] > '7') Fail("bad note name", name);
  const int note = (name[i] - '0') * 12 + semitone + 1;
  if (note < 1 || note > 96) Fail("note out of range", name);
  return static_cast<uint8_t>(note);
}

std::string NoteName(uint8_t note) {
  static constexpr const char* kNames[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
  if (note < 1 || note > 96) throw std::invalid_argument("note out of range: " + std::to_string(note));
  return kNames[(note - 1) % 12] + std::to_string((note - 1) / 12);
}

Score::Score(int channels, int patterns, int rowsPerPattern)
    : channels_(channels),
      rowsPerPattern_(rowsPerPattern),
      rows_(patterns * rowsPerPattern),
      cells_(static_cast<size_t>(rows_) * static_cast<size_t>(channels)),
      panning_(static_cast<size_t>(channels), -1) {}

xm::Cell& Score::At(int row, int channel) {
  if (row < 0 || row >= rows_ || channel < 0 || channel >= channels_) {
    throw std::out_of_range("score cell outside the song");
  }
  return cells_[static_cast<size_t>(row) * static_cast<size_t>(channels_) + static_cast<size_t>(channel)];
}

void Score::SetPanning(int channel, uint8_t pan) { panning_.at(static_cast<size_t>(channel)) = pan; }

int Score::Line(int channel, int row, std::string_view phrase, uint8_t instrument, int volume) {
  for (std::string_view word : SplitWords(phrase)) {
    const Token t = ParseToken(word);
    if (row + t.Rows > rows_) Fail("phrase runs past the end of the song at", word);
    if (t.Pitch == "r") {
      At(row, channel) = xm::Cell{xm::kKeyOff};
    } else if (t.Pitch != "-") {
      xm::Cell& c = At(row, channel);
      c = xm::Cell{};
      c.Note = NoteNumber(t.Pitch);
      c.Instrument = instrument;
      c.Volume = xm::VolumeColumn(t.Volume >= 0 ? t.Volume : volume);
    }
    row += t.Rows;
  }
  return row;
}

int Score::Hits(int channel, int row, std::string_view grid, const std::vector<DrumKey>& keys) {
  for (char symbol : grid) {
    if (std::isspace(static_cast<unsigned char>(symbol))) continue;  // bar separators
    if (row >= rows_) throw std::invalid_argument("drum grid runs past the end of the song");
    if (symbol != '.') {
      const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(symbol)));
      const auto key = std::find_if(keys.begin(), keys.end(), [&](const DrumKey& k) { return k.Symbol == lower; });
      if (key == keys.end()) throw std::invalid_argument(std::string("unknown drum symbol ") + symbol);
      xm::Cell& c = At(row, channel);
      c = xm::Cell{};
      c.Note = NoteNumber("C4");
      c.Instrument = key->Instrument;
      c.Volume = xm::VolumeColumn(symbol == lower ? key->Volume : key->AccentVolume);
    }
    ++row;
  }
  return row;
}

void Score::Echo(int from, int to, int delayRows, double volumeScale, int defaultVolume) {
  for (int row = rows_ - 1 - delayRows; row >= 0; --row) {
    const xm::Cell src = At(row, from);
    if (src.Note == 0) continue;
    xm::Cell echo = src;
    echo.Effect = echo.Param = 0;
    if (src.Note != xm::kKeyOff) {
      const int v = src.Volume >= 0x10 && src.Volume <= 0x50 ? src.Volume - 0x10 : defaultVolume;
      echo.Volume = xm::VolumeColumn(std::clamp(static_cast<int>(std::lround(v * volumeScale)), 1, 64));
    }
    At(row + delayRows, to) = echo;
  }
}

void Score::ReleaseAtStart(int channel) {
  xm::Cell& c = At(0, channel);
  if (c.Note == 0) c.Note = xm::kKeyOff;
}

void Score::WriteInto(xm::Module& module) const {
  module.Channels = channels_;
  module.Patterns.clear();
  module.Orders.clear();
  const int patterns = rows_ / rowsPerPattern_;
  for (int p = 0; p < patterns; ++p) {
    xm::Pattern pattern(rowsPerPattern_, channels_);
    for (int r = 0; r < rowsPerPattern_; ++r) {
      for (int ch = 0; ch < channels_; ++ch) {
        xm::Cell c = cells_[static_cast<size_t>(p * rowsPerPattern_ + r) * static_cast<size_t>(channels_) +
                            static_cast<size_t>(ch)];
        const bool struck = c.Note >= 1 && c.Note <= 96 && c.Instrument != 0;
        if (struck && panning_[static_cast<size_t>(ch)] >= 0 && c.Effect == 0 && c.Param == 0) {
          c.Effect = xm::kFxSetPanning;
          c.Param = static_cast<uint8_t>(panning_[static_cast<size_t>(ch)]);
        }
        pattern.At(r, ch) = c;
      }
    }
    module.Patterns.push_back(std::move(pattern));
    module.Orders.push_back(static_cast<uint8_t>(p));
  }
}

}  // namespace assetgen::music
