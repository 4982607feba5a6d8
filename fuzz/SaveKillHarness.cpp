// Crash-safety check for saving "Config.cfg": a child process saves changing tables in a loop and
// is killed with SIGKILL at a random moment; after every kill the file must decode complete and be
// byte for byte one of the tables the child was asked to write, the last one seen or a newer one.
//
//   save_kill_harness <work-dir> [kills=1000] [seed=1]
//
// Prints one line of counts and exits 1 when any check failed (the bad file is kept beside).
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "core/Random.h"
#include "options/ConfigFile.h"

namespace {

namespace fs = std::filesystem;

// Table number k: the player's name carries k, everything else is drawn from k, names of 0 to 10
// bytes (so the file's length changes from save to save) and scores of either sign.
void MakeTable(uint32_t k, sf::Settings& settings, sf::HighScores& table) {
  sf::Random rng(k * 2654435761u + 12345u);
  settings.Windowed = (k & 1) != 0;
  settings.MusicOn = (k & 2) != 0;
  settings.SoundOn = (k & 4) != 0;
  settings.MinimizeKey = rng.RandInt(256);
  settings.PlayerName = std::to_string(k);
  for (auto& entry : table.Entries) {
    entry.Name.assign(static_cast<size_t>(rng.RandInt(11)), ' ');
    for (char& c : entry.Name) c = static_cast<char>(1 + rng.RandInt(255));
    entry.Score = rng.RandInt(1 << 30) - (1 << 29);
  }
  sf::SortHighScores(table);
}

std::string TableBytes(uint32_t k) {
  sf::Settings settings;
  sf::HighScores table;
  MakeTable(k, settings, table);
  return sf::EncodeConfig(settings, table);
}

bool ReadFile(const fs::path& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

[[noreturn]] void SaveForever(const fs::path& path, uint32_t first) {
  for (uint32_t k = first;; ++k) {
    sf::Settings settings;
    sf::HighScores table;
    MakeTable(k, settings, table);
    if (!sf::SaveConfig(path, settings, table)) _exit(3);
  }
}

void SleepMicroseconds(int64_t us) { std::this_thread::sleep_for(std::chrono::microseconds(us)); }

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <work-dir> [kills=1000] [seed=1]\n", argv[0]);
    return 2;
  }
  const fs::path dir = argv[1];
  const int kills = argc > 2 ? std::atoi(argv[2]) : 1000;
  sf::Random rng(argc > 3 ? static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10)) : 1u);
  fs::create_directories(dir);
  const fs::path path = dir / "Config.cfg";
  fs::path temp = path;
  temp += ".tmp";
  fs::remove(path);
  fs::remove(temp);

  // Table 0 is the old file of the first round; the time of a few saves sets the kill window.
  const auto calibrate = std::chrono::steady_clock::now();
  constexpr int kCalibrationSaves = 20;
  for (int i = 0; i < kCalibrationSaves; ++i) {
    sf::Settings settings;
    sf::HighScores table;
    MakeTable(0, settings, table);
    if (!sf::SaveConfig(path, settings, table)) {
      std::fprintf(stderr, "cannot save %s\n", path.c_str());
      return 2;
    }
  }
  const double saveSeconds = SecondsSince(calibrate) / kCalibrationSaves;
  // Kills land anywhere from before the first save of a child to several saves into it.
  const auto windowUs = static_cast<int32_t>(saveSeconds * 6e6) + 200;

  uint32_t last = 0;
  int failures = 0, unchanged = 0, advanced = 0, tempLeft = 0, tempTorn = 0;
  uint64_t saves = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int round = 0; round < kills; ++round) {
    const pid_t child = fork();
    if (child < 0) {
      std::perror("fork");
      return 2;
    }
    if (child == 0) SaveForever(path, last + 1);
    SleepMicroseconds(rng.RandInt(windowUs));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFSIGNALED(status)) {
      std::fprintf(stderr, "round %d: the saving process ended by itself (status %d)\n", round, status);
      ++failures;
    }

    std::string tempBytes;
    if (ReadFile(temp, tempBytes)) {
      ++tempLeft;
      sf::Settings s;
      sf::HighScores t;
      if (!sf::DecodeConfig(tempBytes, s, t)) ++tempTorn;  // killed in the middle of writing it
    }

    std::string bytes;
    sf::Settings settings;
    sf::HighScores table;
    const bool read = ReadFile(path, bytes);
    const bool complete = read && sf::DecodeConfig(bytes, settings, table);
    uint32_t k = 0;
    bool ok = complete;
    if (ok) {
      char* end = nullptr;
      k = static_cast<uint32_t>(std::strtoul(settings.PlayerName.c_str(), &end, 10));
      ok = !settings.PlayerName.empty() && *end == '\0' && bytes == TableBytes(k) && (k == last || k > last);
    }
    if (!ok) {
      ++failures;
      const fs::path keep = dir / ("bad-" + std::to_string(round) + ".cfg");
      std::error_code ec;
      fs::copy_file(path, keep, fs::copy_options::overwrite_existing, ec);
      std::fprintf(stderr, "round %d: %s (%zu bytes, table %u, last %u), kept as %s\n", round,
                   !read       ? "no file"
                   : !complete ? "file does not decode complete"
                               : "not a table written",
                   bytes.size(), k, last, keep.c_str());
      continue;
    }
    if (k == last) {
      ++unchanged;
    } else {
      ++advanced;
      saves += k - last;
      last = k;
    }
  }
  std::printf(
      "kills %d, failures %d, old table kept %d, newer table %d, saves completed %llu, kills leaving a temp file %d "
      "(torn %d), one save %.3f ms, kill window %.3f ms, %.1f s\n",
      kills, failures, unchanged, advanced, static_cast<unsigned long long>(saves), tempLeft, tempTorn,
      saveSeconds * 1e3, windowUs / 1e3, SecondsSince(start));
  return failures == 0 ? 0 : 1;
}
