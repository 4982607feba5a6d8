#include "Config.h"

#include <charconv>
#include <stdexcept>

namespace sf::scores {

namespace {

int64_t Number(const std::string& flag, const std::string& text, int64_t min, int64_t max) {
  int64_t v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || v < min || v > max)
    throw std::invalid_argument(flag + " wants a whole number from " + std::to_string(min) + " to " +
                                std::to_string(max) + ", not \"" + text + "\"");
  return v;
}

void Listen(Config& c, const std::string& text) {
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0)
    throw std::invalid_argument("--listen wants HOST:PORT, not \"" + text + "\"");
  std::string host = text.substr(0, colon);
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  c.ListenHost = host;
  c.ListenPort = static_cast<uint16_t>(Number("--listen", text.substr(colon + 1), 0, 65535));
}

struct Option {
  const char* Flag;
  const char* Env;
  std::function<void(Config&, const std::string&)> Apply;
};

const std::vector<Option>& Options() {
  static const std::vector<Option> options = {
      {"--listen", "SALTFANG_LISTEN", Listen},
      {"--db", "SALTFANG_DB", [](Config& c, const std::string& v) { c.Database = v; }},
      {"--trusted-proxy", "SALTFANG_TRUSTED_PROXY",
       [](Config& c, const std::string& v) {
         c.Service.TrustedProxy = v;
         c.Limits.UncappedPeer = v;
       }},
      {"--max-score", "SALTFANG_MAX_SCORE",
       [](Config& c, const std::string& v) {
         c.Service.MaxScore = static_cast<int32_t>(Number("--max-score", v, 0, INT32_MAX));
       }},
      {"--web", "SALTFANG_WEB", [](Config& c, const std::string& v) { c.WebDir = v; }},
      {"--rate-version", "SALTFANG_RATE_VERSION",
       [](Config& c, const std::string& v) {
         c.Service.VersionPerMinute = static_cast<double>(Number("--rate-version", v, 0, 1000000));
         c.Service.VersionBurst = std::max(20.0, c.Service.VersionPerMinute / 2);
       }},
      {"--rate-submit", "SALTFANG_RATE_SUBMIT",
       [](Config& c, const std::string& v) {
         c.Service.SubmitPerMinute = static_cast<double>(Number("--rate-submit", v, 0, 1000000));
         c.Service.SubmitBurst = std::max(10.0, c.Service.SubmitPerMinute / 2);
       }},
      {"--rate-search", "SALTFANG_RATE_SEARCH",
       [](Config& c, const std::string& v) {
         c.Service.SearchPerMinute = static_cast<double>(Number("--rate-search", v, 0, 1000000));
         c.Service.SearchBurst = std::max(10.0, c.Service.SearchPerMinute / 2);
       }},
      {"--rate-replay", "SALTFANG_RATE_REPLAY",
       [](Config& c, const std::string& v) {
         c.Service.ReplayPerMinute = static_cast<double>(Number("--rate-replay", v, 0, 1000000));
         c.Service.ReplayBurst = std::max(10.0, c.Service.ReplayPerMinute / 2);
       }},
      {"--rate-read", "SALTFANG_RATE_READ",
       [](Config& c, const std::string& v) {
         c.Service.ReadRowsPerMinute = static_cast<double>(Number("--rate-read", v, 0, 1000000000000));
       }},
      {"--max-connections-per-client", "SALTFANG_MAX_CONNECTIONS_PER_CLIENT",
       [](Config& c, const std::string& v) {
         c.Limits.MaxConnectionsPerClient = static_cast<int>(Number("--max-connections-per-client", v, 1, 100000));
       }},
      {"--max-pending-heads", "SALTFANG_MAX_PENDING_HEADS",
       [](Config& c, const std::string& v) {
         c.Limits.MaxPendingHeads = static_cast<int>(Number("--max-pending-heads", v, 1, 1000000));
       }},
      {"--head-timeout", "SALTFANG_HEAD_TIMEOUT",
       [](Config& c, const std::string& v) {
         c.Limits.HeadDeadline = std::chrono::seconds(Number("--head-timeout", v, 1, 3600));
       }},
      {"--workers", "SALTFANG_WORKERS",
       [](Config& c, const std::string& v) { c.Limits.Workers = static_cast<int>(Number("--workers", v, 1, 1024)); }},
      {"--replay-workers", "SALTFANG_REPLAY_WORKERS",
       [](Config& c, const std::string& v) {
         c.ReplayWorkers = static_cast<int>(Number("--replay-workers", v, 1, 256));
       }},
      {"--replay-queue", "SALTFANG_REPLAY_QUEUE",
       [](Config& c, const std::string& v) {
         c.ReplayQueue = static_cast<int>(Number("--replay-queue", v, 1, 1000000));
       }},
      {"--upload-bytes-per-day", "SALTFANG_UPLOAD_BYTES_PER_DAY",
       [](Config& c, const std::string& v) {
         c.Service.UploadBytesPerDay = Number("--upload-bytes-per-day", v, 0, INT64_MAX / 4);
       }},
      {"--keep-unverified-days", "SALTFANG_KEEP_UNVERIFIED_DAYS",
       [](Config& c, const std::string& v) {
         c.Service.KeepUnverifiedDays = Number("--keep-unverified-days", v, 0, 100000);
       }},
      {"--limit", nullptr,
       [](Config& c, const std::string& v) { c.ListLimit = Number("--limit", v, 1, INT64_MAX / 4); }},
  };
  return options;
}

}  // namespace

Config ParseConfig(const std::vector<std::string>& args,
                   const std::function<std::optional<std::string>(const char*)>& getenv) {
  Config c;
  for (const Option& o : Options())
    if (o.Env)
      if (const auto v = getenv(o.Env)) o.Apply(c, *v);
  bool commandSeen = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-h" || a == "--help") {
      c.Command = "help";
      return c;
    }
    if (a == "--version") {
      c.Command = "version";
      return c;
    }
    if (a.rfind("--", 0) == 0) {
      std::string flag = a, value;
      const size_t eq = a.find('=');
      bool hasValue = false;
      if (eq != std::string::npos) {
        flag = a.substr(0, eq);
        value = a.substr(eq + 1);
        hasValue = true;
      }
      const Option* option = nullptr;
      for (const Option& o : Options())
        if (flag == o.Flag) option = &o;
      if (!option) throw std::invalid_argument("unknown option " + flag + " (see --help)");
      if (!hasValue) {
        if (i + 1 >= args.size()) throw std::invalid_argument(flag + " needs a value");
        value = args[++i];
      }
      option->Apply(c, value);
    } else if (!commandSeen) {
      if (a != "serve" && a != "import" && a != "list" && a != "remove" && a != "help")
        throw std::invalid_argument("unknown command \"" + a + "\" (see --help)");
      c.Command = a;
      commandSeen = true;
    } else {
      c.Arguments.push_back(a);
    }
  }
  const size_t wanted = c.Command == "import" || c.Command == "remove" ? 1 : 0;
  if (c.Arguments.size() != wanted)
    throw std::invalid_argument(c.Command + (wanted ? " takes one argument" : " takes no arguments") + " (see --help)");
  return c;
}

std::string HelpText() {
  return R"(saltfang-scores: the Salt Fang world high-score service

usage:
  saltfang-scores [options]                 serve (the default command)
  saltfang-scores import FILE [--db URL]    bring in the old tab-separated scores.txt
  saltfang-scores list [--limit N] [--db URL]
                                            print the best results with their ids
  saltfang-scores remove ID [--db URL]      remove one result (moderation)

options (each also read from the environment variable shown; a flag wins):
  --listen HOST:PORT       SALTFANG_LISTEN        where to listen (default 127.0.0.1:8765;
                                                  0.0.0.0:8765 for every interface)
  --db URL                 SALTFANG_DB            sqlite:PATH (default sqlite:scores.db in the
                                                  working folder) or postgresql://user@host/db
                                                  for several instances sharing one table
  --trusted-proxy ADDR     SALTFANG_TRUSTED_PROXY the load balancer's address: only its requests
                                                  may name the client in X-Forwarded-For, and
                                                  its connections are not capped per address
  --max-score N            SALTFANG_MAX_SCORE     higher scores are refused (default 99999999)
  --web DIR                SALTFANG_WEB           serve the browser build in DIR at /; the world
                                                  page then links every verified result's
                                                  replay mode there (/?watch=ID)
  --rate-version N         SALTFANG_RATE_VERSION  version queries per client a minute (default 30;
                                                  0 = no limit)
  --rate-submit N          SALTFANG_RATE_SUBMIT   submissions and replays per client a minute
                                                  (default 10; 0 = no limit)
  --rate-search N          SALTFANG_RATE_SEARCH   name searches of the world table per client a
                                                  minute (default 30; 0 = no limit)
  --rate-replay N          SALTFANG_RATE_REPLAY   replay downloads per client a minute (default 60,
                                                  30 at once; 0 = no limit)
  --rate-read ROWS         SALTFANG_RATE_READ     rows of the table a client's listings may read a
                                                  minute, as many at once (default 2000000; a
                                                  search reads its whole period, a page every row
                                                  above it, a verified result's rank every row
                                                  above it; the first 5000 rows and answers kept
                                                  in memory are free; 0 = no limit)
  --max-connections-per-client N
                           SALTFANG_MAX_CONNECTIONS_PER_CLIENT   open connections per address
                                                  (an IPv6 address: per /64; default 32)
  --max-pending-heads N    SALTFANG_MAX_PENDING_HEADS   connections waiting for a request head,
                                                  all clients together; past it the longest
                                                  waiting is closed (default 4096)
  --head-timeout SECONDS   SALTFANG_HEAD_TIMEOUT  time for a whole request head (default 10)
  --workers N              SALTFANG_WORKERS       threads for requests' work (default 64)
  --replay-workers N       SALTFANG_REPLAY_WORKERS threads verifying replays (default 2)
  --replay-queue N         SALTFANG_REPLAY_QUEUE  replays waiting before uploads get 503
                                                  (default 256)
  --upload-bytes-per-day N SALTFANG_UPLOAD_BYTES_PER_DAY   replay bytes one address (an IPv6
                                                  /64) may store a day (default 33554432;
                                                  0 = no limit)
  --keep-unverified-days N SALTFANG_KEEP_UNVERIFIED_DAYS   unverified results sent without a
                                                  replay or with a refused one are removed
                                                  after N days (default 30; 0 = kept);
                                                  imported results always stay
  --version                the service's version
  -h, --help               this text

The game talks to /cgi/version.pl (version query, submission, world page). Also served:
  /api/scores?period=all|week|day&limit=N&offset=M&name=TEXT&verified=1   the table as JSON
  /api/results/ID                  one result as JSON: rank, steps, level, its replay's state
  POST /api/replays?p=TOKEN, GET /api/replays/ID   replays (a download is kept by browsers and
                                   caches for good: a replay never changes)
  /healthz (200 while the database answers), /metrics (Prometheus text)
With PostgreSQL the rate limits are counted in the database, the same for every instance; with
SQLite each instance counts its own. One access-log line per request goes to standard output. SIGTERM finishes the requests in
flight and exits within 5 seconds.
)";
}

}  // namespace sf::scores
