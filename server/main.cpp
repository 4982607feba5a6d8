// saltfang-scores: the world high-score service and its moderation commands. See --help.
#include <pthread.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Config.h"
#include "HttpServer.h"
#include "Metrics.h"
#include "ReplayVerifier.h"
#include "ReplayWorkers.h"
#include "ScoreService.h"
#include "ScoreStore.h"
#include "StaticFiles.h"
#include "Text.h"
#include "TextImport.h"

namespace {

using namespace sf::scores;

int64_t NowSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

// Wall-clock time: the rate limits kept in a shared database are counted by every instance.
int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// "2026-12-08T09:30:01.234Z 203.0.113.9 GET /cgi/version.pl?hs&prg=Saltfang&inf=- 200 1.8ms"
void LogLine(const std::string& client, const HttpRequest& request, int status, double seconds) {
  const auto now = std::chrono::system_clock::now();
  const int64_t ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::string line = FormatIso(NowSeconds());
  // Appended piece by piece: GCC 12 misreads "." + std::string(...) as an overlapping copy.
  std::string fraction = ".";
  fraction += ms < 100 ? (ms < 10 ? "00" : "0") : "";
  fraction += std::to_string(ms);
  line.insert(line.size() - 1, fraction);
  char tail[64];
  std::snprintf(tail, sizeof tail, " %d %.1fms\n", status, seconds * 1000.0);
  line += " " + client + " " + request.Method + " " + LoggedTarget(request.Target) + tail;
  std::fwrite(line.data(), 1, line.size(), stdout);
}

int Serve(const Config& config) {
  // Signals are taken by sigwait below, never by a thread in the middle of its work.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
  std::setvbuf(stdout, nullptr, _IOLBF, 1 << 16);

  auto store = OpenStore(config.Database);
  Metrics metrics;
  std::unique_ptr<StaticFiles> web;
  if (!config.WebDir.empty()) web = std::make_unique<StaticFiles>(config.WebDir);
  const auto verifier = MakeReplayVerifier(replay::Limits{});
  std::unique_ptr<ReplayWorkers> replays;
  if (verifier)
    replays = std::make_unique<ReplayWorkers>(*store, *verifier, NowSeconds, static_cast<size_t>(config.ReplayWorkers),
                                              static_cast<size_t>(config.ReplayQueue));
  ScoreService service(*store, config.Service, ServiceEnvironment{NowSeconds, NowMs, SystemRandomId}, &metrics,
                       replays.get(), web.get());
  ServerLimits limits = config.Limits;
  limits.MaxUploadBytes = kMaxReplayBytes;
  HttpServer server(
      config.ListenHost, config.ListenPort, limits, [&](const HttpRequest& r) { return service.Handle(r); },
      [&](const HttpRequest& r, const HttpResponse& response, double seconds) {
        metrics.CountRequest(RouteOf(r.Target), response.Status, seconds);
        LogLine(r.Method == "-" ? r.Peer : service.ClientAddress(r), r, response.Status, seconds);
      },
      [&](const HttpRequest& head) { return service.BeforeBody(head); });
  metrics.AddSource([&server] { return ServerMetrics(server.Stats()); });
  std::printf("saltfang-scores listening on http://%s:%u (database %s, schema version %d%s%s)\n",
              config.ListenHost.c_str(), static_cast<unsigned>(server.Port()),
              config.Database.rfind("postgres", 0) == 0 ? "postgresql" : config.Database.c_str(),
              store->SchemaVersion(), verifier ? "" : ", replays kept unverified: no verifier built in",
              web ? (", serving " + config.WebDir).c_str() : "");
  std::fflush(stdout);

  int signal = 0;
  sigwait(&signals, &signal);
  std::printf("saltfang-scores: %s, finishing the requests in flight\n", signal == SIGTERM ? "SIGTERM" : "SIGINT");
  std::fflush(stdout);
  server.Stop(std::chrono::milliseconds(4000));
  std::printf("saltfang-scores: stopped\n");
  std::fflush(stdout);
  // A replay being verified may take up to its CPU limit; the database keeps it pending for the
  // next instance, so there is nothing to wait for. Every acknowledged result is committed.
  std::_Exit(0);
}

int List(const Config& config) {
  auto store = OpenStore(config.Database);
  ListQuery q;
  q.Since = kAllTime;
  q.Limit = config.ListLimit;
  const ResultPage page = store->List(q);
  std::printf("%-8s %-6s %11s  %-20s %-32s %-17s %s\n", "id", "rank", "score", "date (UTC)", "name", "player",
              "verified");
  for (const StoredResult& r : page.Results)
    std::printf("%-8lld %-6lld %11d  %-20s %-32s %-17s %s\n", static_cast<long long>(r.Id),
                static_cast<long long>(r.Rank), r.Score, FormatMinute(r.Time).c_str(), r.Name.c_str(),
                r.PlayerName.c_str(), r.Verified ? "yes" : "no");
  std::printf("%lld results in all\n", static_cast<long long>(page.Total));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Config config;
  try {
    config = ParseConfig(std::vector<std::string>(argv + 1, argv + argc), [](const char* name) {
      const char* v = std::getenv(name);
      return v ? std::optional<std::string>(v) : std::nullopt;
    });
  } catch (const std::exception& e) {
    std::fprintf(stderr, "saltfang-scores: %s\n", e.what());
    return 2;
  }
  try {
    if (config.Command == "help") {
      std::fputs(HelpText().c_str(), stdout);
      return 0;
    }
    if (config.Command == "version") {
      std::puts("saltfang-scores " SALTFANG_VERSION);
      return 0;
    }
    if (config.Command == "import") {
      auto store = OpenStore(config.Database);
      const ImportCount n = ImportTextFile(*store, config.Arguments[0]);
      std::printf("imported %lld results, skipped %lld malformed lines\n", static_cast<long long>(n.Added),
                  static_cast<long long>(n.Skipped));
      return 0;
    }
    if (config.Command == "list") return List(config);
    if (config.Command == "remove") {
      const auto id = ParseCount(config.Arguments[0], INT64_MAX / 2);
      if (!id) throw std::invalid_argument("remove wants a result id, as list shows it");
      auto store = OpenStore(config.Database);
      if (!store->Remove(*id)) {
        std::fprintf(stderr, "saltfang-scores: there is no result %lld\n", static_cast<long long>(*id));
        return 1;
      }
      std::printf("removed result %lld\n", static_cast<long long>(*id));
      return 0;
    }
    return Serve(config);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "saltfang-scores: %s\n", e.what());
    return 1;
  }
}
