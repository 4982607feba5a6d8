#include <gtest/gtest.h>
#include <zlib.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "ScriptedGame.h"
#include "game/Game.h"
#include "game/WorldDigest.h"
#include "gfx/ImageSets.h"
#include "gfx/Text.h"
#include "replay/ReplayBody.h"
#include "replay/ReplayFormat.h"
#include "replay/ReplayIdentity.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayRecorder.h"
#include "replay/ReplayVerify.h"

// Counts heap allocations, so the recorder can show it allocates nothing while a game runs.
namespace {
std::atomic<uint64_t> gAllocations{0};
}
void* operator new(std::size_t size) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace replay {
namespace {

// One scripted game of several levels, shared by the tests (it takes a moment to play).
const ScriptedGame& Recorded() {
  static const ScriptedGame game = PlayScriptedGame(2024, 64 * 60 * 5);
  return game;
}

DecodedReplay Decode(const std::vector<uint8_t>& file) {
  DecodedReplay d;
  std::string error;
  EXPECT_TRUE(DecodeReplay(file, Limits{}.maxFileBytes, d, error)) << error;
  return d;
}

// The recorded game with its inputs rewritten record by record; checksums are made right again,
// as a forger would.
using Rewrite = std::function<bool(BodyRecord& record, uint32_t step)>;  // false drops the record
std::vector<uint8_t> Rewritten(const Rewrite& rewrite, ReplayHeader* header = nullptr) {
  const DecodedReplay d = Decode(Recorded().File);
  std::vector<uint8_t> buffer(d.Body.size() * 2 + 64);
  BodyWriter writer(buffer.data(), buffer.size());
  writer.Start(d.Header.StartTick);
  BodyReader reader(d.Body, d.Header.StartTick);
  uint32_t step = 0;
  for (BodyRecord r = reader.Next(); r.Type != BodyRecord::End; r = reader.Next()) {
    if (!rewrite(r, step)) continue;
    if (r.Type == BodyRecord::Step) writer.Step(r.Inputs), ++step;
    if (r.Type == BodyRecord::Reseed) writer.Reseed(r.Seed);
    if (r.Type == BodyRecord::Event) writer.Event(r.What);
    if (r.Type == BodyRecord::Checkpoint) writer.Checkpoint(r.Seed);
  }
  ReplayHeader h = header ? *header : d.Header;
  return EncodeReplay(h, std::span<const uint8_t>(buffer.data(), writer.Size()));
}

uint32_t Crc(const uint8_t* p, size_t n) { return static_cast<uint32_t>(crc32(0, p, static_cast<uInt>(n))); }

// Changes header bytes and makes the header's own checksum right again.
std::vector<uint8_t> WithHeaderBytes(std::vector<uint8_t> file, size_t offset, std::vector<uint8_t> bytes) {
  std::memcpy(file.data() + offset, bytes.data(), bytes.size());
  const uint32_t crc = Crc(file.data(), 84);
  for (int i = 0; i < 4; ++i) file[84 + static_cast<size_t>(i)] = static_cast<uint8_t>(crc >> (8 * i));
  return file;
}

void ExpectRefused(const std::vector<uint8_t>& file, const std::string& because, const Limits& limits = {}) {
  const Verdict v = PlayBack(file, limits);
  EXPECT_FALSE(v.ok);
  EXPECT_NE(v.error.find(because), std::string::npos) << "error was: " << v.error;
}

TEST(Replay, AScriptedGameOfSeveralLevelsPlaysBackToTheSameEnd) {
  const ScriptedGame& game = Recorded();
  // The game had everything a replay must carry.
  EXPECT_GE(game.Level, 3);
  EXPECT_GE(game.LivesLost, 1);
  EXPECT_GE(game.BonusesTaken, 1);
  EXPECT_GE(game.WeaponChanges, 2);
  EXPECT_GE(game.Pauses, 1);
  ASSERT_FALSE(game.File.empty());

  const Verdict v = PlayBack(game.File, Limits{});
  ASSERT_TRUE(v.ok) << v.error;
  EXPECT_EQ(v.score, game.Score);
  EXPECT_EQ(v.claimedScore, game.Score);
  EXPECT_EQ(v.level, game.Level);
  EXPECT_EQ(v.steps, game.Steps);

  // The whole world ends the same, and playing it twice gives the same again.
  const DecodedReplay d = Decode(game.File);
  sf::ImageSets images;
  for (auto& slot : images.GameImages) slot = std::make_unique<sf::Surface>();
  for (auto& slot : images.MenuImages) slot = std::make_unique<sf::Surface>();
  sf::TextRenderer silent;
  for (int round = 0; round < 2; ++round) {
    sf::Surface nothing;
    ReplayPlayer player(d, images, silent, nothing);
    int interruptions = 0;
    while (player.Step(nothing)) interruptions += player.Interrupted() ? 1 : 0;
    EXPECT_TRUE(player.Error().empty()) << player.Error();
    EXPECT_TRUE(player.GameOver());
    EXPECT_EQ(sf::WorldDigest(player.Game()), game.Digest);
    EXPECT_GE(interruptions, game.Pauses);
  }
}

TEST(Replay, ChangingOneInputTheGameReadsIsRefused) {
  const DecodedReplay d = Decode(Recorded().File);
  // Steps well inside play where the ship can move left, so one more Left key press matters.
  sf::ImageSets images;
  for (auto& slot : images.GameImages) slot = std::make_unique<sf::Surface>();
  for (auto& slot : images.MenuImages) slot = std::make_unique<sf::Surface>();
  sf::TextRenderer silent;
  sf::Surface nothing;
  ReplayPlayer probe(d, images, silent, nothing);
  std::vector<uint32_t> chosen;
  for (uint32_t next = 600; probe.Step(nothing) && chosen.size() < 4;) {
    const sf::TGame& g = probe.Game();
    if (probe.StepsPlayed() >= next && g.Phase == sf::phasePlaying && g.Ship.X > 300) {
      chosen.push_back(probe.StepsPlayed());  // the next step, counted from zero
      next += 1500;
    }
  }
  ASSERT_EQ(chosen.size(), 4u);
  // A nudge can be undone later (the ship pushed against the border in both games): then the
  // world, and so the outcome, ends the same and the replay is still true. Otherwise it is refused.
  int refused = 0;
  for (uint32_t target : chosen) {
    // The first step from there on where neither the keys nor the mouse already steer the ship.
    bool changed = false;
    const auto forged = Rewritten([target, &changed](BodyRecord& r, uint32_t step) {
      if (!changed && r.Type == BodyRecord::Step && step >= target && (r.Inputs.Keys & 3) == 0 &&
          r.Inputs.Mouse.X == 0) {
        r.Inputs.Keys |= 1;  // Left
        changed = true;
      }
      return true;
    });
    ASSERT_TRUE(changed);
    const Verdict v = PlayBack(forged, Limits{});
    if (!v.ok) {
      ++refused;
    } else {
      EXPECT_EQ(v.score, Recorded().Score);
      EXPECT_EQ(v.level, Recorded().Level);
    }
  }
  EXPECT_GE(refused, 3);
}

TEST(Replay, EveryDamagedByteOfTheFileIsRefusedUnlessItChangesNothing) {
  const std::vector<uint8_t>& file = Recorded().File;
  const DecodedReplay original = Decode(file);
  for (size_t i = 0; i < file.size(); ++i) {
    std::vector<uint8_t> damaged = file;
    damaged[i] ^= static_cast<uint8_t>(1u << (i % 8));
    const Verdict v = PlayBack(damaged, Limits{});
    if (!v.ok) {
      ASSERT_FALSE(v.error.empty());
      continue;
    }
    // A compressed stream has a few bits that do not change what it unpacks to.
    DecodedReplay d;
    std::string error;
    ASSERT_TRUE(DecodeReplay(damaged, Limits{}.maxFileBytes, d, error));
    ASSERT_EQ(d.Body, original.Body) << "byte " << i << " changed the inputs and was taken";
    ASSERT_EQ(v.score, Recorded().Score);
  }
}

TEST(Replay, TruncatedOrPaddedFilesAreRefused) {
  const std::vector<uint8_t>& file = Recorded().File;
  for (size_t n : {size_t{0}, size_t{5}, size_t{8}, size_t{40}, kHeaderBytes - 1, kHeaderBytes, kHeaderBytes + 1,
                   file.size() / 2, file.size() - 1}) {
    ExpectRefused(std::vector<uint8_t>(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n)), "replay");
  }
  std::vector<uint8_t> fewer(file.begin(), file.end() - 1);
  ExpectRefused(fewer, "cut short");
  std::vector<uint8_t> more = file;
  more.push_back(0);
  ExpectRefused(more, "after its end");
  ExpectRefused(std::vector<uint8_t>(100, 0), "not a replay file");
}

TEST(Replay, HeadersFromOtherVersionsOrBeyondTheLimitsAreRefused) {
  const std::vector<uint8_t>& file = Recorded().File;
  ExpectRefused(WithHeaderBytes(file, 8, {4, 0}), "format version 4");
  ExpectRefused(WithHeaderBytes(file, 8, {0, 0}), "format version 0");
  ExpectRefused(WithHeaderBytes(file, 12, {99, 0, 0, 0}), "other rules");
  // A body that claims to unpack to a gigabyte is not even tried.
  ExpectRefused(WithHeaderBytes(file, 72, {0, 0, 0, 64}), "more than");
  // One byte less than it unpacks to.
  const uint32_t body = Decode(file).Header.BodyBytes - 1;
  ExpectRefused(
      WithHeaderBytes(
          file, 72, {static_cast<uint8_t>(body), static_cast<uint8_t>(body >> 8), static_cast<uint8_t>(body >> 16), 0}),
      "damaged");

  Limits small;
  small.maxFileBytes = file.size() - 1;
  ExpectRefused(file, "more than the", small);
  Limits fewSteps;
  fewSteps.maxSteps = Recorded().Steps - 1;
  ExpectRefused(file, "game steps, more than", fewSteps);
  Limits noTime;
  noTime.maxCpuSeconds = 0.0;
  ExpectRefused(file, "processor time", noTime);
}

TEST(Replay, WellPackedButMalformedOrMismatchedInputsAreRefused) {
  const DecodedReplay d = Decode(Recorded().File);
  const auto withBody = [&](std::vector<uint8_t> body) { return EncodeReplay(d.Header, body); };
  ExpectRefused(withBody({0x40}), "reserved flag");
  ExpectRefused(withBody({0x8F}), "unknown record type");
  ExpectRefused(withBody({0x03, 0x80, 0x80}), "tick is cut short");
  ExpectRefused(withBody({0x03, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}), "too long");
  ExpectRefused(withBody({0x04, 0x40}), "keys the game does not read");
  ExpectRefused(withBody({0x80, 1, 2}), "seed is cut short");
  ExpectRefused(withBody({0x80, 1, 2, 3, 4}), "where the game took none");
  ExpectRefused(withBody({}), "fewer game steps");

  // The generator seeds the game took, taken out.
  ExpectRefused(Rewritten([](BodyRecord& r, uint32_t) { return r.Type != BodyRecord::Reseed; }),
                "generator seed the recording does not hold");
  // The game cut off early, with a header that agrees.
  ReplayHeader shorter = d.Header;
  shorter.Steps = 1000;
  ExpectRefused(Rewritten([](BodyRecord&, uint32_t step) { return step < 1000; }, &shorter), "before its game is over");
  ReplayHeader wrongCount = d.Header;
  wrongCount.Steps += 1;
  ExpectRefused(EncodeReplay(wrongCount, d.Body), "fewer game steps than its header");
  // A header whose final state was made up.
  ReplayHeader otherEnd = d.Header;
  otherEnd.FinalDigest ^= 1;
  ExpectRefused(EncodeReplay(otherEnd, d.Body), "another state");
  // A claimed score that is not the game's passes the replay but shows in the verdict.
  ReplayHeader boast = d.Header;
  boast.FinalScore = 99999;
  const Verdict v = PlayBack(EncodeReplay(boast, d.Body), Limits{});
  EXPECT_TRUE(v.ok);
  EXPECT_EQ(v.claimedScore, 99999);
  EXPECT_EQ(v.score, Recorded().Score);
}

// The same game as a version 1 file: no checkpoints, and their record byte unknown there.
std::vector<uint8_t> AsFormat1(const std::vector<uint8_t>& file) {
  DecodedReplay d = Decode(file);
  std::vector<uint8_t> body;
  BodyReader reader(d.Body, d.Header.StartTick);
  size_t from = 0;
  for (BodyRecord r = reader.Next(); r.Type != BodyRecord::End; r = reader.Next()) {
    if (r.Type != BodyRecord::Checkpoint)
      body.insert(body.end(), d.Body.begin() + static_cast<ptrdiff_t>(from),
                  d.Body.begin() + static_cast<ptrdiff_t>(reader.Offset()));
    from = reader.Offset();
  }
  d.Header.FormatVersion = 1;
  return EncodeReplay(d.Header, body);
}

TEST(Replay, CheckpointsNameWhereAChangedReplayDepartsAndOldFilesStillVerify) {
  const ScriptedGame& game = Recorded();
  const DecodedReplay d = Decode(game.File);
  const uint32_t checkpoints = game.Steps / kCheckpointSteps;
  EXPECT_GE(checkpoints, 30u);

  // The ship held left from step 2000 on, for a second: the world departs from the recording, and
  // the first checkpoint after the change says where.
  const std::vector<uint8_t> changed = Rewritten([](BodyRecord& r, uint32_t step) {
    if (r.Type == BodyRecord::Step && step >= 2000 && step < 2064) r.Inputs.Keys = 1;
    return true;
  });
  const Verdict v = PlayBack(changed, Limits{});
  EXPECT_FALSE(v.ok);
  EXPECT_EQ(v.departureStep, 2048u);
  // Game time: the steps at the 64 Hz tick, and the pauses of the script.
  EXPECT_GE(v.departureMs, 2048u * 15u);
  EXPECT_LT(v.departureMs, 60000u);
  EXPECT_NE(v.error.find("departs from its recording at step 2048 (0:" + std::to_string(v.departureMs / 1000)),
            std::string::npos)
      << v.error;
  EXPECT_NE(v.error.find("matched at step 1792"), std::string::npos) << v.error;
  // A checkpoint taken out, or one standing where none belongs.
  ExpectRefused(
      Rewritten([](BodyRecord& r, uint32_t step) { return !(r.Type == BodyRecord::Checkpoint && step == 512); }),
      "checkpoint after step 512 is missing");
  std::vector<uint8_t> extra = d.Body;
  extra.insert(extra.begin(), {kRecordCheckpoint, 1, 2, 3, 4});
  ExpectRefused(EncodeReplay(d.Header, extra), "checkpoint stands where none belongs");

  // Version 1: the same game without checkpoints verifies to the same end; a checkpoint byte
  // there is no record at all.
  const std::vector<uint8_t> old = AsFormat1(game.File);
  const Verdict oldVerdict = PlayBack(old, Limits{});
  EXPECT_TRUE(oldVerdict.ok) << oldVerdict.error;
  EXPECT_EQ(oldVerdict.score, game.Score);
  DecodedReplay oldDecoded = Decode(old);
  EXPECT_EQ(oldDecoded.Body.size() + 5 * checkpoints, d.Body.size());
  oldDecoded.Body.insert(oldDecoded.Body.begin(), {kRecordCheckpoint, 1, 2, 3, 4});
  ExpectRefused(EncodeReplay(oldDecoded.Header, oldDecoded.Body), "unknown record type");
  std::printf("checkpoints: %u in %u steps; the file grows from %zu to %zu bytes\n", checkpoints, game.Steps,
              old.size(), game.File.size());
}

// The game that compares builds meets every enemy kind, and another build's check compares it
// checkpoint by checkpoint.
TEST(Replay, TheComparisonGameMeetsEveryEnemyKindAndVerifies) {
  const ScriptedGame game = PlayScriptedGame(kComparisonSeed, kComparisonSteps, true);
  EXPECT_EQ(game.KindsMet, 0xFFu) << "kinds met: " << game.KindsMet;
  EXPECT_GE(game.Level, 6);
  EXPECT_GE(game.Steps, 64u * 60u * 10u) << "long enough to measure seeking in";
  const Verdict v = PlayBack(game.File, Limits{});
  EXPECT_TRUE(v.ok) << v.error;
  EXPECT_EQ(v.score, game.Score);
}

// The body of the recorded game with every step's tick remade by retime (step number, the old gap).
std::vector<uint8_t> Retimed(const std::function<uint32_t(uint32_t step, uint32_t gap)>& retime) {
  const DecodedReplay d = Decode(Recorded().File);
  uint32_t oldTick = d.Header.StartTick, newTick = d.Header.StartTick;
  return Rewritten([&](BodyRecord& r, uint32_t step) {
    if (r.Type == BodyRecord::Step) {
      const uint32_t gap = r.Inputs.Tick - oldTick;
      oldTick = r.Inputs.Tick;
      newTick += retime(step, gap);
      r.Inputs.Tick = newTick;
    }
    return true;
  });
}

bool PaceAccepted(const std::vector<uint8_t>& file) {
  const DecodedReplay d = Decode(file);
  const std::string why = CheckPace(d.Body, d.Header.StartTick, true);
  EXPECT_TRUE(why.empty()) << why;
  return why.empty();
}

TEST(Replay, TheRecordedClockMustKeepTheGamesPace) {
  // Slowed down (a minute a step gives every timer time to run out) or sped up: refused before a
  // step is played.
  ExpectRefused(Retimed([](uint32_t, uint32_t) { return 60000u; }), "stops too often");
  ExpectRefused(Retimed([](uint32_t, uint32_t gap) { return gap > 1000 ? gap : 1u; }), "runs faster than the game");
  ExpectRefused(Retimed([](uint32_t, uint32_t gap) { return gap > 1000 ? gap : 40u; }), "runs slower than the game");
  // What honest machines do: a browser at 60 frames a second misses a tick now and then, a busy
  // machine stalls once in a while, and the recorded pauses are gaps of any length.
  EXPECT_TRUE(PaceAccepted(Retimed([](uint32_t step, uint32_t gap) { return step % 16 == 5 ? gap + 16 : gap; })));
  EXPECT_TRUE(PaceAccepted(Retimed([](uint32_t step, uint32_t gap) { return step == 3000 ? 2500u : gap; })));
  EXPECT_TRUE(PaceAccepted(Recorded().File));
  EXPECT_GE(Recorded().Pauses, 1);
}

// The game at twice or at half its pace: every gap halved or doubled, the recorded pauses kept.
TEST(Replay, AGamePlayedAtTwiceOrHalfItsPaceIsRefused) {
  ExpectRefused(Retimed([](uint32_t, uint32_t gap) { return gap > 1000 ? gap : gap / 2; }),
                "runs faster than the game");
  ExpectRefused(Retimed([](uint32_t, uint32_t gap) { return gap > 1000 ? gap : gap * 2; }),
                "runs slower than the game");
  // Slow motion through pauses: a pause before every fourth step lets each of them take as long
  // as the player likes.
  const DecodedReplay d = Decode(Recorded().File);
  uint32_t tick = d.Header.StartTick, shift = 0;
  const std::vector<uint8_t> paused = Rewritten([&](BodyRecord& r, uint32_t step) {
    if (r.Type == BodyRecord::Step) {
      if (step % 4 == 3) shift += 500;
      tick = r.Inputs.Tick;
      r.Inputs.Tick = tick + shift;
    }
    return true;
  });
  // The rewrite keeps the recorded events; pauses go in front of the slowed steps.
  DecodedReplay withPauses = Decode(paused);
  std::vector<uint8_t> body;
  BodyReader reader(withPauses.Body, withPauses.Header.StartTick);
  size_t from = 0;
  uint32_t step = 0;
  for (BodyRecord r = reader.Next(); r.Type != BodyRecord::End; r = reader.Next()) {
    if (r.Type == BodyRecord::Step && step++ % 4 == 3) body.push_back(kRecordReseed + 3);  // a pause
    body.insert(body.end(), withPauses.Body.begin() + static_cast<ptrdiff_t>(from),
                withPauses.Body.begin() + static_cast<ptrdiff_t>(reader.Offset()));
    from = reader.Offset();
  }
  ExpectRefused(EncodeReplay(withPauses.Header, body), "paused too often");
}

TEST(Replay, SeveralChecksAtOnceGiveTheSameVerdicts) {
  // The service checks replays from a pool of threads.
  const std::vector<uint8_t>& good = Recorded().File;
  std::vector<uint8_t> bad = good;
  bad[40] ^= 0x10;  // the step count: the header checksum fails
  std::vector<Verdict> verdicts(6);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < verdicts.size(); ++i)
    threads.emplace_back([&, i] { verdicts[i] = PlayBack(i % 3 == 2 ? bad : good, Limits{}); });
  for (auto& t : threads) t.join();
  for (size_t i = 0; i < verdicts.size(); ++i) {
    EXPECT_EQ(verdicts[i].ok, i % 3 != 2);
    if (verdicts[i].ok) {
      EXPECT_EQ(verdicts[i].score, Recorded().Score);
    }
  }
}

// A short game followed by the name entry, as after a new high score.
const ScriptedGame& Named() {
  static const ScriptedGame game = PlayScriptedGame(31, 64 * 20, false, "ROSA");
  return game;
}

// The game's body with name-entry records written after it.
std::vector<uint8_t> WithNameEntry(const std::vector<uint8_t>& file, const std::function<void(BodyWriter&)>& write) {
  const DecodedReplay d = Decode(file);
  std::vector<uint8_t> buffer(d.Body.size() + 256);
  std::copy(d.Body.begin(), d.Body.end(), buffer.begin());
  BodyWriter writer(buffer.data() + d.Body.size(), 256);
  write(writer);
  return EncodeReplay(d.Header, std::span<const uint8_t>(buffer.data(), d.Body.size() + writer.Size()));
}

TEST(Replay, TheNameTypedAfterTheGameIsPartOfItsRecording) {
  const Verdict v = PlayBack(Named().File, Limits{});
  ASSERT_TRUE(v.ok) << v.error;
  EXPECT_EQ(v.formatVersion, kFormatVersion);
  EXPECT_TRUE(v.nameEntered);
  EXPECT_EQ(v.name, "ROSA");
  EXPECT_EQ(v.score, Named().Score);
  EXPECT_EQ(v.steps, Named().Steps);

  // The field opens with the last name; letters are erased and typed over.
  const Verdict retyped = PlayBack(WithNameEntry(Recorded().File,
                                                 [](BodyWriter& w) {
                                                   w.NameOpened("Ann");
                                                   w.NameErase();
                                                   w.NameErase();
                                                   w.NameLetter('X');
                                                   w.NameConfirmed();
                                                 }),
                                   Limits{});
  ASSERT_TRUE(retyped.ok) << retyped.error;
  EXPECT_TRUE(retyped.nameEntered);
  EXPECT_EQ(retyped.name, "AX");
  EXPECT_TRUE(SameName(retyped.name, "Ax"));
  EXPECT_FALSE(SameName(retyped.name, "Axe"));
  // A game without a name entry plays as before and names nobody.
  const Verdict unnamed = PlayBack(Recorded().File, Limits{});
  EXPECT_TRUE(unnamed.ok);
  EXPECT_FALSE(unnamed.nameEntered);

  const auto refused = [](const std::function<void(BodyWriter&)>& write, const std::string& because) {
    ExpectRefused(WithNameEntry(Recorded().File, write), because);
  };
  refused([](BodyWriter& w) { w.NameLetter('A'); }, "keys before it opens");
  refused(
      [](BodyWriter& w) {
        w.NameOpened("");
        w.NameOpened("B");
      },
      "opens twice");
  refused(
      [](BodyWriter& w) {
        w.NameOpened("");
        w.NameErase();
      },
      "empty name");
  refused(
      [](BodyWriter& w) {
        w.NameOpened("A");
        w.NameConfirmed();
        w.NameLetter('B');
      },
      "goes on after the name");
  refused(
      [](BodyWriter& w) {
        w.NameOpened("A");
        w.Event(sf::GameEvent::WeaponChange);
      },
      "goes on after its name entry opened");
  refused(
      [](BodyWriter& w) {
        w.NameOpened("");
        w.NameLetter('!');
      },
      "not a letter");
  refused([](BodyWriter& w) { w.NameOpened("A1"); }, "does not take");
  // In a file of format 2 the name entry's bytes are no records at all.
  DecodedReplay old = Decode(Named().File);
  old.Header.FormatVersion = 2;
  ExpectRefused(EncodeReplay(old.Header, old.Body), "unknown record type");
}

TEST(Replay, TheFingerprintIsTheGameWhateverItsNameClockOrUnreadInputs) {
  const std::string original = PlayBack(Recorded().File, Limits{}).fingerprint;
  ASSERT_EQ(original.size(), 16u);
  const auto fingerprint = [](const std::vector<uint8_t>& file) {
    std::string error;
    DecodedReplay d;
    EXPECT_TRUE(DecodeReplay(file, Limits{}.maxFileBytes, d, error)) << error;
    return GameFingerprint(d);
  };
  EXPECT_EQ(fingerprint(Recorded().File), original);
  // Renamed.
  EXPECT_EQ(fingerprint(WithNameEntry(Recorded().File,
                                      [](BodyWriter& w) {
                                        w.NameOpened("MALLORY");
                                        w.NameConfirmed();
                                      })),
            original);
  // Retimed: one tick later here and there, and a pause more.
  EXPECT_EQ(fingerprint(Retimed([](uint32_t step, uint32_t gap) { return step % 10 == 3 ? gap + 1 : gap; })), original);
  // Other mouse distances in the same directions, other buttons than the first: the world reads
  // neither, so the game plays to the same end, and it is the same game.
  const std::vector<uint8_t> padded = Rewritten([](BodyRecord& r, uint32_t step) {
    if (r.Type == BodyRecord::Step) {
      r.Inputs.Mouse.X *= 3;
      r.Inputs.Mouse.Y *= 5;
      r.Inputs.Mouse.Buttons[2] = static_cast<uint8_t>(step % 2 ? 0x80 : 0);
      if (step % 7 == 0 && (r.Inputs.Keys & 16)) r.Inputs.Keys |= 32;  // both Ctrl keys fire alike
    }
    if (r.Type == BodyRecord::Event && r.What == sf::GameEvent::Pause) r.What = sf::GameEvent::FocusLost;
    return true;
  });
  const Verdict same = PlayBack(padded, Limits{});
  ASSERT_TRUE(same.ok) << same.error;
  EXPECT_EQ(same.score, Recorded().Score);
  EXPECT_EQ(same.fingerprint, original);
  // Anything the world does read is another game: a turn of the gun, another seed.
  bool turned = false;
  EXPECT_NE(fingerprint(Rewritten([&turned](BodyRecord& r, uint32_t step) {
              if (!turned && r.Type == BodyRecord::Step && step > 100 &&
                  !(sf::StepControls(r.Inputs) & (sf::kControlUp | sf::kControlDown))) {
                r.Inputs.Keys |= 4;
                turned = true;
              }
              return true;
            })),
            original);
  ReplayHeader reseeded = Decode(Recorded().File).Header;
  reseeded.Seed ^= 1;
  EXPECT_NE(fingerprint(Rewritten([](BodyRecord&, uint32_t) { return true; }, &reseeded)), original);
  EXPECT_NE(PlayBack(Named().File, Limits{}).fingerprint, original);
}

TEST(ReplayFormat, NoGameGivesAFileLargerThanTheLimit) {
  // A full recorder that does not compress at all: zlib's own bound, behind the header.
  EXPECT_EQ(kMaxFileBytes, kHeaderBytes + compressBound(static_cast<uLong>(kRecorderCapacity)));
  std::vector<uint8_t> noise(kRecorderCapacity);
  uint32_t x = 12345;
  for (uint8_t& b : noise) b = static_cast<uint8_t>((x = x * 1103515245u + 12345u) >> 24);
  const std::vector<uint8_t> file = EncodeReplay(ReplayHeader{}, noise);
  EXPECT_LE(file.size(), kMaxFileBytes);
  EXPECT_GT(file.size(), kRecorderCapacity);
}

TEST(ReplayBody, StepsAndEventsReadBackAsWritten) {
  std::vector<uint8_t> buffer(4096);
  BodyWriter writer(buffer.data(), buffer.size());
  const uint32_t start = 0xFFFFFF00u;  // the tick wraps round during the recording
  writer.Start(start);
  std::vector<sf::StepInputs> steps;
  uint32_t tick = start;
  for (int i = 0; i < 60; ++i) {
    sf::StepInputs in;
    tick += i % 5 == 0 ? 15u : i % 5 == 1 ? 16u : i % 5 == 2 ? 0u : i % 5 == 3 ? 17u : 3000000u;
    in.Tick = tick;
    in.Keys = static_cast<uint8_t>((i * 7) & 0x3F);
    in.Mouse.X = i % 3 == 0 ? 0 : i % 3 == 1 ? -i * 1000 : (i == 59 ? INT32_MIN : INT32_MAX - i);
    in.Mouse.Y = i % 4 == 0 ? 1 : -1;
    in.Mouse.Buttons[i % 8] = 0x80;
    steps.push_back(in);
    writer.Step(in);
    if (i % 9 == 0) writer.Reseed(0xDEADBEEFu + static_cast<uint32_t>(i));
    if (i % 11 == 0) writer.Event(static_cast<sf::GameEvent>(1 + i % 5));
  }
  ASSERT_FALSE(writer.Overflowed());
  BodyReader reader(std::span<const uint8_t>(buffer.data(), writer.Size()), start);
  for (int i = 0; i < 60; ++i) {
    const BodyRecord r = reader.Next();
    ASSERT_EQ(r.Type, BodyRecord::Step) << i;
    EXPECT_EQ(r.Inputs.Tick, steps[static_cast<size_t>(i)].Tick);
    EXPECT_EQ(r.Inputs.Keys, steps[static_cast<size_t>(i)].Keys);
    EXPECT_EQ(r.Inputs.Mouse.X, steps[static_cast<size_t>(i)].Mouse.X);
    EXPECT_EQ(r.Inputs.Mouse.Y, steps[static_cast<size_t>(i)].Mouse.Y);
    for (int b = 0; b < 8; ++b) EXPECT_EQ(r.Inputs.Mouse.Buttons[b], b == i % 8 ? 0x80 : 0);
    if (i % 9 == 0) {
      const BodyRecord seed = reader.Next();
      ASSERT_EQ(seed.Type, BodyRecord::Reseed);
      EXPECT_EQ(seed.Seed, 0xDEADBEEFu + static_cast<uint32_t>(i));
    }
    if (i % 11 == 0) {
      const BodyRecord event = reader.Next();
      ASSERT_EQ(event.Type, BodyRecord::Event);
      EXPECT_EQ(static_cast<int>(event.What), 1 + i % 5);
    }
  }
  EXPECT_EQ(reader.Next().Type, BodyRecord::End);
}

TEST(ReplayRecorder, HoldsAnHourOfBusyPlayWithoutAllocatingAndStopsCleanlyWhenFull) {
  ReplayRecorder recorder;
  recorder.GameStarted(1, 0);
  // Keys and buttons changing and the mouse moving fast in every step of an hour.
  sf::StepInputs in;
  const uint64_t before = gAllocations.load();
  for (uint32_t i = 0; i < 64u * 3600u; ++i) {
    in.Tick += 15 + i % 2;
    in.Keys = static_cast<uint8_t>(i % 64);
    in.Mouse.X = (i % 2 ? 1 : -1) * static_cast<int32_t>(100 + i % 8000);
    in.Mouse.Y = (i % 3 ? 1 : -1) * static_cast<int32_t>(50 + i % 8000);
    in.Mouse.Buttons[0] = static_cast<uint8_t>(i % 2 ? 0x80 : 0);
    recorder.StepStarted(in);
    if (i % 640 == 0) recorder.Reseeded(i);
  }
  recorder.NameEntryOpened("Ann");
  for (char c : std::string_view("BCDEFGHIJKL")) recorder.NameLetterTyped(c);
  recorder.NameLetterErased();
  recorder.NameConfirmed();
  EXPECT_EQ(gAllocations.load(), before) << "recording allocated";
  EXPECT_TRUE(recorder.Complete()) << recorder.BodyBytes() << " bytes";
  EXPECT_LE(recorder.BodyBytes(), size_t{2} << 20);
  sf::Surface nothing;
  const std::vector<uint8_t> busyHour = EncodeReplay(ReplayHeader{}, recorder.Body());
  EXPECT_LE(busyHour.size(), kMaxFileBytes);
  std::printf("an hour of the busiest play: %zu bytes of inputs, %zu in the file (the largest possible: %zu)\n",
              recorder.BodyBytes(), busyHour.size(), kMaxFileBytes);

  ReplayRecorder tiny(100);
  tiny.GameStarted(1, 0);
  for (int i = 0; i < 200; ++i) {
    in.Tick += 16;
    tiny.StepStarted(in);
  }
  EXPECT_FALSE(tiny.Complete());
  EXPECT_LE(tiny.BodyBytes(), 100u);
}

}  // namespace
}  // namespace replay
