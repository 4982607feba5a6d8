#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "ScoreStore.h"

typedef struct pg_conn PGconn;

namespace sf::scores {

// The shared database: any number of instances use one PostgreSQL database. A small pool of
// connections per instance; a broken connection is dropped and opened again on the next call, so
// the instance recovers by itself once the database is back.
class PostgresStore final : public ScoreStore {
 public:
  // conninfo: a postgresql:// address. Throws std::runtime_error when the first connection or the
  // migrations fail.
  explicit PostgresStore(std::string conninfo, int poolSize = 16);
  ~PostgresStore() override;

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
  bool SharesRateLimits() const override { return true; }
  bool TakeTokens(std::string_view bucket, std::string_view client, const RateRule& rule, double cost, int64_t nowMs,
                  bool owe) override;
  void ForgetFullBuckets(int64_t nowMs) override;

  class Connection;

 private:
  PGconn* Acquire();
  void Release(PGconn* conn);
  // Runs work on a pooled connection, inside a transaction when transactional.
  template <typename Work>
  auto With(bool transactional, Work&& work);

  std::string conninfo_;
  std::mutex mutex_;
  std::condition_variable released_;
  std::vector<PGconn*> idle_;
  int open_ = 0;  // connections handed out or idle
  int poolSize_;
};

}  // namespace sf::scores
