#pragma once
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "ReplayVerifier.h"
#include "ScoreStore.h"

namespace sf::scores {

// A fixed set of threads that verify stored replays. The database is the queue: a worker claims
// the oldest pending replay, so replays left pending by an instance that died are taken up again
// by any instance. Notify() wakes a worker at once; without it, workers look every sweep interval.
// At the start one worker first gives the replays verified before fingerprints were kept theirs.
class ReplayWorkers {
 public:
  ReplayWorkers(ScoreStore& store, ReplayVerifier& verifier, std::function<int64_t()> now, size_t threads,
                size_t maxQueued, int sweepMs = 5000);
  ~ReplayWorkers();  // finishes the replays being verified, leaves the rest pending

  // A replay was stored; false when too many wait already (the caller answers 503).
  bool HasRoom() const;
  // The verifier's quick look at an upload (ReplayVerifier::Screen).
  std::string Screen(std::span<const std::uint8_t> file) { return verifier_.Screen(file); }
  void Notify();
  // Waits until nothing is waiting or being verified (tests).
  void Drain();

 private:
  void Loop();
  bool WorkOne();  // false when nothing was pending
  void FingerprintOldReplays();
  bool Stopping() const;

  ScoreStore& store_;
  ReplayVerifier& verifier_;
  std::function<int64_t()> now_;
  size_t maxQueued_;
  int sweepMs_;
  mutable std::mutex mutex_;
  std::condition_variable wake_, idle_;
  size_t queued_ = 0, busy_ = 0;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace sf::scores
