#include "ReplayWorkers.h"

#include <chrono>
#include <exception>
#include <string>

namespace sf::scores {

ReplayWorkers::ReplayWorkers(ScoreStore& store, ReplayVerifier& verifier, std::function<int64_t()> now, size_t threads,
                             size_t maxQueued, int sweepMs)
    : store_(store), verifier_(verifier), now_(std::move(now)), maxQueued_(maxQueued), sweepMs_(sweepMs) {
  busy_ = 1;  // the first worker's look for replays without a fingerprint
  for (size_t i = 0; i < (threads ? threads : 1); ++i)
    threads_.emplace_back([this, i] {
      if (i == 0) {
        FingerprintOldReplays();
        std::lock_guard lock(mutex_);
        if (--busy_ == 0 && queued_ == 0) idle_.notify_all();
      }
      Loop();
    });
}

ReplayWorkers::~ReplayWorkers() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  for (std::thread& t : threads_) t.join();
}

bool ReplayWorkers::HasRoom() const {
  std::lock_guard lock(mutex_);
  return queued_ < maxQueued_;
}

void ReplayWorkers::Notify() {
  {
    std::lock_guard lock(mutex_);
    ++queued_;
  }
  wake_.notify_one();
}

void ReplayWorkers::Drain() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [&] { return queued_ == 0 && busy_ == 0; });
}

bool ReplayWorkers::WorkOne() {
  std::optional<ClaimedReplay> claimed;
  try {
    claimed = store_.ClaimReplay(now_());
  } catch (const StoreUnavailable&) {
    return false;  // the database is away; the next sweep tries again
  }
  if (!claimed) return false;
  replay::Verdict verdict;
  try {
    verdict = verifier_.Verify(claimed->File);
  } catch (const std::exception& e) {
    verdict.ok = false;
    verdict.error = std::string("The verifier failed: ") + e.what();
  }
  const std::string wrongName = verdict.ok ? NameMismatch(verdict, claimed->Name) : std::string();
  const bool verified = ConfirmsScore(verdict, claimed->Score) && wrongName.empty();
  std::string why = verdict.ok ? wrongName : verdict.error;
  // The reason is shown with the result on the world page: one sentence.
  if (verdict.ok && !ConfirmsScore(verdict, claimed->Score))
    why = "The replay scored " + std::to_string(verdict.score) + " (its header claims " +
          std::to_string(verdict.claimedScore) + ") but the result says " + std::to_string(claimed->Score) + ".";
  try {
    store_.FinishReplay(claimed->ResultId, verified, why, verified ? verdict.fingerprint : std::string());
  } catch (const StoreUnavailable&) {
    // Left claimed: another worker takes it up again once the claim goes stale.
  }
  return true;
}

void ReplayWorkers::FingerprintOldReplays() {
  // Replays verified before fingerprints were kept claim their games too, oldest first, so that
  // no copy of one verifies again. Nothing is played: the fingerprint comes from the inputs.
  int64_t after = 0;
  try {
    while (!Stopping()) {
      const auto batch = store_.VerifiedWithoutFingerprint(after, 64);
      if (batch.empty()) return;
      for (const UnfingerprintedReplay& r : batch) {
        store_.SetFingerprint(r.ResultId, verifier_.Fingerprint(r.File));
        after = r.ResultId;
      }
    }
  } catch (const StoreUnavailable&) {
    // The next start takes them up.
  }
}

bool ReplayWorkers::Stopping() const {
  std::lock_guard lock(mutex_);
  return stopping_;
}

void ReplayWorkers::Loop() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    const bool notified = queued_ > 0;
    if (notified) --queued_;
    ++busy_;
    lock.unlock();
    const bool worked = WorkOne();
    lock.lock();
    --busy_;
    if (worked) continue;  // more may be pending
    if (queued_ == 0 && busy_ == 0) idle_.notify_all();
    if (stopping_) break;
    wake_.wait_for(lock, std::chrono::milliseconds(sweepMs_), [&] { return stopping_ || queued_ > 0; });
  }
}

}  // namespace sf::scores
