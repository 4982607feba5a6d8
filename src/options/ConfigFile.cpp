#include "options/ConfigFile.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>
#elif defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <io.h>
#include <windows.h>
#endif

namespace sf {

namespace {

// The longest file whose fields can all be read: 4 bytes, 11 strings of 256 and 10 scores.
constexpr size_t kMaxMeaningfulSize = 4 + 11 * 256 + 10 * 4;

bool ReadByte(std::string_view bytes, size_t& pos, uint8_t& value) {
  if (pos >= bytes.size()) return false;
  value = static_cast<uint8_t>(bytes[pos++]);
  return true;
}

bool ReadInt32(std::string_view bytes, size_t& pos, int32_t& value) {
  if (pos > bytes.size() || bytes.size() - pos < 4) return false;
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(bytes[pos + static_cast<size_t>(i)]);
  value = static_cast<int32_t>(v);
  pos += 4;
  return true;
}

void WriteInt32(std::string& out, int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFFu));
}

bool ReadName(std::string_view bytes, size_t& pos, std::string& name) {
  if (!ReadCfgString(bytes, pos, name)) return false;
  if (name.size() > kMaxNameLength) name.resize(kMaxNameLength);
  return true;
}

bool ReadFlag(std::string_view bytes, size_t& pos, bool& flag) {
  uint8_t b = 0;
  if (!ReadByte(bytes, pos, b)) return false;
  flag = b == 1;  // anything but 1 is false
  return true;
}

bool DecodeFields(std::string_view bytes, Settings& settings, HighScores& table) {
  size_t pos = 0;
  uint8_t key = 0;
  if (!ReadFlag(bytes, pos, settings.Windowed) || !ReadFlag(bytes, pos, settings.MusicOn) ||
      !ReadFlag(bytes, pos, settings.SoundOn))
    return false;
  if (!ReadByte(bytes, pos, key)) return false;
  settings.MinimizeKey = key;
  if (!ReadName(bytes, pos, settings.PlayerName)) return false;
  for (size_t i = 0; i < kHighScoreCount; ++i) {
    if (!ReadName(bytes, pos, table[i].Name) || !ReadInt32(bytes, pos, table[i].Score)) return false;
  }
  return true;
}

// Writes a new file; a file it created but could not finish is removed again.
bool WriteWholeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.string().c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fflush(f) == 0 && ok;
#if defined(__unix__) || defined(__APPLE__)
  // On disk before the rename, so a crash leaves either the old or the new file, never a torn one.
  ok = ::fsync(::fileno(f)) == 0 && ok;
#elif defined(_WIN32)
  ok = ::_commit(::_fileno(f)) == 0 && ok;  // FlushFileBuffers on the file's handle
#endif
  ok = std::fclose(f) == 0 && ok;
  if (!ok) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
  }
  return ok;
}

// Puts the finished file in the place of the old one in one step.
bool MoveIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to) {
#if defined(_WIN32)
  // Write-through: the move is on the disk when the call returns, so a power cut after a save
  // leaves the old or the new file.
  return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  std::error_code ec;
  std::filesystem::rename(from, to, ec);
  return !ec;
#endif
}

// After the rename, the folder's entry reaches the disk too, so a power cut keeps the new file.
void SyncFolderOf(const std::filesystem::path& path) {
#if defined(__unix__) || defined(__APPLE__)
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  const int fd = ::open(folder.string().c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
#else
  (void)path;
#endif
}

}  // namespace

void WriteCfgString(std::string& out, std::string_view text) {
  const size_t n = text.size() < 255 ? text.size() : 255;
  out.push_back(static_cast<char>(n));
  for (size_t i = 0; i < n; ++i) out.push_back(static_cast<char>(static_cast<uint8_t>(text[i]) ^ 0xFFu));
}

bool ReadCfgString(std::string_view bytes, size_t& pos, std::string& text) {
  if (pos >= bytes.size()) return false;
  const size_t n = static_cast<uint8_t>(bytes[pos]);
  if (bytes.size() - pos - 1 < n) return false;
  text.resize(n);
  for (size_t i = 0; i < n; ++i) text[i] = static_cast<char>(static_cast<uint8_t>(bytes[pos + 1 + i]) ^ 0xFFu);
  pos += 1 + n;
  return true;
}

std::string EncodeConfig(const Settings& settings, const HighScores& table) {
  std::string out;
  out.reserve(64 + kHighScoreCount * 32);
  out.push_back(settings.Windowed ? 1 : 0);
  out.push_back(settings.MusicOn ? 1 : 0);
  out.push_back(settings.SoundOn ? 1 : 0);
  out.push_back(static_cast<char>(static_cast<uint32_t>(settings.MinimizeKey) & 0xFFu));
  WriteCfgString(out, settings.PlayerName);
  for (const HighScoreEntry& e : table.Entries) {
    WriteCfgString(out, e.Name);
    WriteInt32(out, e.Score);
  }
  return out;
}

bool DecodeConfig(std::string_view bytes, Settings& settings, HighScores& table) {
  Settings s;
  HighScores t;
  const bool complete = DecodeFields(bytes, s, t);
  SortHighScores(t);
  settings = std::move(s);
  table = std::move(t);
  return complete;
}

ConfigLoadResult LoadConfig(const std::filesystem::path& path, Settings& settings, HighScores& table) {
  ConfigLoadResult result;
  std::error_code ec;
  if (std::filesystem::status(path, ec).type() == std::filesystem::file_type::not_found) {
    ResetHighScores(table);
    result.Written = SaveConfig(path, settings, table);
    // Take the values back as a load would see them (key byte, name length), written or not.
    result.Complete = DecodeConfig(EncodeConfig(settings, table), settings, table);
    return result;
  }
  result.Existed = true;
  std::string bytes;
  std::ifstream in(path, std::ios::binary);
  if (in) {
    bytes.resize(kMaxMeaningfulSize);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
  }
  result.Complete = DecodeConfig(bytes, settings, table);
  return result;
}

bool SaveConfig(const std::filesystem::path& path, const Settings& settings, const HighScores& table) {
  std::filesystem::path temp = path;
  temp += ".tmp";
  if (!WriteWholeFile(temp, EncodeConfig(settings, table))) return false;
  if (!MoveIntoPlace(temp, path)) {
    std::error_code ec;
    std::filesystem::remove(temp, ec);
    return false;
  }
  SyncFolderOf(path);
  return true;
}

}  // namespace sf
