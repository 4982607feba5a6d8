#pragma once
#include <condition_variable>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ScoreStore.h"

struct sqlite3;

namespace sf::scores {

// The embedded database: one file in WAL mode, every commit synced (synchronous=FULL). Writes go
// through one writer thread that commits whatever has queued up in one transaction (group commit),
// so many players share one sync; reads use their own connections and never wait for a write.
class SqliteStore final : public ScoreStore {
 public:
  // path ":memory:" keeps everything in memory (tests and fuzzing).
  explicit SqliteStore(const std::string& path);
  ~SqliteStore() override;

  int SchemaVersion() override;
  void IssueToken(std::string_view token, std::string_view session, int64_t now) override;
  SubmitOutcome Submit(const NewSubmission& submission) override;
  int64_t Import(const std::vector<StoredResult>& results) override;
  ResultPage List(const ListQuery& query) override;
  int64_t Count(std::optional<bool> verified, int64_t since) override;
  ListingVersion Version() override;
  std::optional<StoredResult> Find(int64_t id) override;
  int64_t VerifiedRank(int32_t score, int64_t time, int64_t id) override;
  bool Remove(int64_t id) override;
  bool Ping() override;
  void Prune(int64_t now, int64_t keepUnverifiedSeconds = 0) override;
  AttachStatus AttachReplay(std::string_view token, std::string_view session, const std::vector<uint8_t>& file,
                            int64_t now, int64_t* resultId, const UploadQuota* quota = nullptr) override;
  AttachStatus CanAttachReplay(std::string_view token, std::string_view session, int64_t now) override;
  std::optional<ClaimedReplay> ClaimReplay(int64_t now) override;
  int64_t FinishReplay(int64_t resultId, bool verified, std::string_view error,
                       std::string_view fingerprint = {}) override;
  std::vector<UnfingerprintedReplay> VerifiedWithoutFingerprint(int64_t afterId, int limit) override;
  void SetFingerprint(int64_t resultId, std::string_view fingerprint) override;
  StoreSizes Sizes() override;
  std::optional<std::vector<uint8_t>> ReplayFile(int64_t resultId) override;
  std::optional<ReplayState> ReplayStateOf(int64_t resultId) override;

 private:
  struct Job {
    std::function<void(sqlite3*)> Work;
    std::promise<void> Done;
  };
  // Runs work inside the next group transaction; returns after its commit is durable.
  void Write(std::function<void(sqlite3*)> work);
  // Runs work on a reading connection.
  void Read(const std::function<void(sqlite3*)>& work);
  void WriterLoop();

  std::string path_;
  bool memory_ = false;
  sqlite3* writer_ = nullptr;
  std::mutex jobsMutex_;
  std::condition_variable jobsReady_;
  std::vector<Job> jobs_;
  bool stopping_ = false;
  std::mutex readersMutex_;
  std::vector<sqlite3*> idleReaders_;
  std::thread writerThread_;
};

}  // namespace sf::scores
