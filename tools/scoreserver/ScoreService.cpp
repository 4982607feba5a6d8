#include "ScoreService.h"

#include <ctime>
#include <random>
#include <string_view>

#include "ResultRecord.h"

namespace sf::scores {

namespace {

HttpResponse Error(int status, std::string_view text) {
  HttpResponse r;
  r.Status = status;
  r.Body = std::string(text) + "\n";
  return r;
}

struct Query {
  bool Version = false, Submit = false, Show = false;
  std::string_view Program, Inf;
  bool HasInf = false;
};

Query ParseQuery(std::string_view query) {
  Query q;
  while (!query.empty()) {
    const size_t amp = query.find('&');
    const std::string_view item = query.substr(0, amp);
    query.remove_prefix(amp == std::string_view::npos ? query.size() : amp + 1);
    if (item == "version") q.Version = true;
    else if (item == "hs") q.Submit = true;
    else if (item == "show") q.Show = true;
    else if (item.substr(0, 4) == "prg=") q.Program = item.substr(4);
    else if (item.substr(0, 4) == "inf=") q.Inf = item.substr(4), q.HasInf = true;
  }
  return q;
}

std::string FormatTime(int64_t t) {
  const std::time_t tt = static_cast<std::time_t>(t);
  std::tm tm{};
  if (!gmtime_r(&tt, &tm)) return "";
  char buf[32];
  const size_t n = std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M", &tm);
  return std::string(buf, n);
}

}  // namespace

std::string SystemRandomId() {
  std::random_device device;
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string id;
  for (int i = 0; i < 4; ++i) {
    uint32_t v = device();
    for (int k = 0; k < 8; ++k, v >>= 4) id.push_back(kHex[v & 15u]);
  }
  return id;
}

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

ScoreService::ScoreService(ScoreStore& store, std::function<std::string()> randomId, std::function<int64_t()> now)
    : store_(store), randomId_(std::move(randomId)), now_(std::move(now)) {}

HttpResponse ScoreService::Handle(const HttpRequest& request) {
  if (request.Method != "GET" && request.Method != "HEAD") return Error(405, "only GET");
  const std::string_view target = request.Target;
  const size_t mark = target.find('?');
  if (target.substr(0, mark) != "/cgi/version.pl") return Error(404, "not found");
  const Query q = ParseQuery(mark == std::string_view::npos ? std::string_view() : target.substr(mark + 1));
  if (q.Program != "Saltfang") return Error(404, "unknown program");
  if (q.Version + q.Submit + q.Show != 1) return Error(400, "ask for one thing");
  HttpResponse response;
  if (q.Version) response = Version(request);
  else if (q.Submit) response = q.HasInf ? Submission(request, q.Inf) : Error(400, "no result");
  else response = WorldPage();
  if (request.Method == "HEAD") response.Body.clear();
  return response;
}

void ScoreService::ForgetExpired() {
  const int64_t now = now_();
  while (!tokenOrder_.empty()) {
    const auto it = tokens_.find(tokenOrder_.front());
    const bool stale = it == tokens_.end() || now - it->second.Issued > kTokenLifetimeSeconds ||
                       tokenOrder_.size() >= kMaxOpenTokens;
    if (!stale) break;
    if (it != tokens_.end()) tokens_.erase(it);
    tokenOrder_.pop_front();
  }
}

HttpResponse ScoreService::Version(const HttpRequest& request) {
  ForgetExpired();
  HttpResponse r;
  std::string session = CookieValue(request.Cookie, kSessionCookie);
  if (session.size() != 32 || session.find_first_not_of("0123456789ABCDEF") != std::string::npos) {
    session = randomId_();
    r.SetCookie = std::string(kSessionCookie) + "=" + session + "; Path=/; HttpOnly";
  }
  const std::string token = randomId_();
  tokens_[token] = IssuedToken{session, now_()};
  tokenOrder_.push_back(token);
  // Program, version, two reserved fields, the token the submission returns, end marker.
  r.Body = "Saltfang|1.0|0|0|" + token + "|end";
  return r;
}

HttpResponse ScoreService::Submission(const HttpRequest& request, std::string_view symbols) {
  ForgetExpired();
  const auto record = DecodeSubmission(symbols);
  if (!record) return Error(400, "malformed result");
  const auto it = tokens_.find(record->Token);
  const std::string session = CookieValue(request.Cookie, kSessionCookie);
  if (it == tokens_.end() || session.empty() || it->second.Session != session)
    return Error(403, "unknown, used or foreign token");
  tokens_.erase(it);  // one use only, whatever happens next
  if (!store_.Add(StoredResult{now_(), record->Score, record->Name, record->PlayerName}))
    return Error(503, "could not store the result");
  return Error(200, "OK");
}

HttpResponse ScoreService::WorldPage() const {
  HttpResponse r;
  r.ContentType = "text/html; charset=windows-1252";
  std::string& b = r.Body;
  b = "<!DOCTYPE html>\n<html><head><meta charset=\"windows-1252\"><title>Salt Fang - world high scores</title>\n"
      "<style>body{font-family:Tahoma,Verdana,sans-serif;background:#0b2a4a;color:#eee;margin:2em}"
      "h1{color:#ff9900}table{border-collapse:collapse;min-width:40em}"
      "th,td{padding:.3em .8em;border-bottom:1px solid #33557a;text-align:left}"
      "td.n{text-align:right}tr:first-child td{color:#ff9900}</style></head>\n<body>\n"
      "<h1>Salt Fang - world high scores</h1>\n";
  const auto best = store_.Best(kWorldPageRows);
  if (best.empty()) {
    b += "<p>No results yet.</p>\n";
  } else {
    b += "<table>\n<thead><tr><th>#</th><th>Name</th><th>Score</th><th>Player</th><th>Date (UTC)</th></tr></thead>\n"
         "<tbody>\n";
    for (size_t i = 0; i < best.size(); ++i) {
      b += "<tr><td class=\"n\">" + std::to_string(i + 1) + "</td><td>" + HtmlEscape(best[i].Name) +
           "</td><td class=\"n\">" + std::to_string(best[i].Score) + "</td><td>" + HtmlEscape(best[i].PlayerName) +
           "</td><td>" + FormatTime(best[i].Time) + "</td></tr>\n";
    }
    b += "</tbody></table>\n";
  }
  b += "</body></html>\n";
  return r;
}

}  // namespace sf::scores
