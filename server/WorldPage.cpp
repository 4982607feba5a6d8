#include "WorldPage.h"

#include "Text.h"

namespace sf::scores {

namespace {

constexpr const char* kStyle =
    "*{box-sizing:border-box}"
    "body{margin:0;font-family:system-ui,-apple-system,'Segoe UI',Roboto,sans-serif;background:#0b2a4a;color:#eef3f8}"
    "main{max-width:56rem;margin:0 auto;padding:1rem}"
    "h1{color:#ffa424;font-size:1.6rem;margin:.4rem 0 1rem}"
    "nav{display:flex;flex-wrap:wrap;gap:.4rem;margin:.4rem 0}"
    "nav a{padding:.35rem .8rem;border:1px solid #3c6a96;border-radius:1rem;color:#cfe3f7;text-decoration:none}"
    "nav a.on{background:#ffa424;border-color:#ffa424;color:#0b2a4a;font-weight:600}"
    "form{display:flex;gap:.4rem;margin:.8rem 0}"
    "input[type=search]{flex:1;min-width:0;padding:.45rem .6rem;border-radius:.4rem;border:1px solid #3c6a96;"
    "background:#0f3559;color:#eef3f8;font-size:1rem}"
    "button{padding:.45rem .9rem;border-radius:.4rem;border:0;background:#ffa424;color:#0b2a4a;font-weight:600}"
    "table{width:100%;border-collapse:collapse;margin-top:.4rem}"
    "th,td{padding:.45rem .5rem;border-bottom:1px solid #24507a;text-align:left;overflow-wrap:anywhere}"
    "th{color:#9cc3e8;font-weight:600;font-size:.85rem;text-transform:uppercase}"
    "td.n{text-align:right;font-variant-numeric:tabular-nums;white-space:nowrap;overflow-wrap:normal}"
    "th{overflow-wrap:normal}"
    "tr.top td{color:#ffa424;font-weight:600}"
    "td.st{color:#9cc3e8;font-size:.85rem;white-space:nowrap}"
    "tr.why td{border-top:hidden;padding-top:0;color:#9cc3e8;font-size:.8rem}"
    "td a.watch{color:#ffa424;font-weight:600}"
    ".about{color:#9cc3e8;font-size:.9rem;margin:.6rem 0}"
    "td a{color:#9cc3e8}"
    ".pages{display:flex;justify-content:space-between;align-items:center;margin:1rem 0}"
    ".pages a{color:#ffa424}.empty{padding:2rem 0;color:#9cc3e8}"
    "@media (max-width:36rem){.when{display:none}th,td{padding:.4rem .3rem}h1{font-size:1.3rem}}";

std::string Link(const WorldPageView& v) {
  std::string url = "/cgi/version.pl?prg=Saltfang&amp;show&amp;type=0";
  if (v.Span != Period::All) url += std::string("&amp;period=") + PeriodName(v.Span);
  if (!v.Verified) url += "&amp;view=unverified";
  if (!v.Search.empty()) url += "&amp;q=" + UrlEncode(v.Search);
  if (v.Page > 1) url += "&amp;page=" + std::to_string(v.Page);
  return url;
}

std::string Tab(const WorldPageView& target, bool on, const char* label) {
  return std::string("<a href=\"") + Link(target) + "\"" + (on ? " class=\"on\" aria-current=\"page\"" : "") + ">" +
         label + "</a>";
}

}  // namespace

std::string ReplayPath(int64_t resultId) { return "/api/replays/" + std::to_string(resultId); }
std::string WatchPath(int64_t resultId) { return "/?watch=" + std::to_string(resultId); }

const char* PeriodName(Period p) {
  switch (p) {
    case Period::Week: return "week";
    case Period::Day: return "day";
    default: return "all";
  }
}

int64_t PeriodStart(Period p, int64_t now) {
  switch (p) {
    case Period::Week: return StartOfWeek(now);
    case Period::Day: return StartOfDay(now);
    default: return kAllTime;
  }
}

std::string RenderWorldPage(const WorldPageView& view, const ResultPage& results, int64_t rowsPerPage) {
  std::string b;
  b.reserve(16384);
  b += "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
       "<meta name=\"viewport\" content=\"width=device-width,initial-scale=1\">"
       "<meta name=\"description\" content=\"The world high scores of Salt Fang, the sea shooter: every verified "
       "result was played again by this service from its replay, and can be watched in the browser.\">"
       "<title>Salt Fang - world high scores</title>\n<style>";
  b += kStyle;
  b += "</style></head>\n<body><main>\n<h1>Salt Fang - world high scores</h1>\n";

  WorldPageView t = view;
  t.Page = 1;
  b += "<nav aria-label=\"Period\">";
  for (Period p : {Period::All, Period::Week, Period::Day}) {
    t.Span = p;
    b += Tab(t, view.Span == p, p == Period::All ? "All time" : p == Period::Week ? "This week" : "Today");
  }
  b += "</nav>\n<nav aria-label=\"View\">";
  t.Span = view.Span;
  t.Verified = true;
  b += Tab(t, view.Verified, "Verified");
  t.Verified = false;
  b += Tab(t, !view.Verified, "Unverified");
  b += "</nav>\n<p class=\"about\">Verified results were played again by the service from the game's replay, to "
       "the same score. Unverified results are the others: sent without a replay, with a replay still being "
       "checked, or refused: their replay did not give their score.</p>\n"
       "<p class=\"about\">Verified proves that the game was played by the game's rules at its own pace, under the "
       "name typed after it, and that no other result was verified by it; not that a person played it: a "
       "program that plays by the rules is not caught.</p>\n";

  b += "<form method=\"get\" action=\"/cgi/version.pl\" role=\"search\">"
       "<input type=\"hidden\" name=\"prg\" value=\"Saltfang\"><input type=\"hidden\" name=\"show\" value=\"\">"
       "<input type=\"hidden\" name=\"type\" value=\"0\">";
  if (view.Span != Period::All)
    b += std::string("<input type=\"hidden\" name=\"period\" value=\"") + PeriodName(view.Span) + "\">";
  if (!view.Verified) b += "<input type=\"hidden\" name=\"view\" value=\"unverified\">";
  b += "<input type=\"search\" name=\"q\" maxlength=\"32\" placeholder=\"Search a name\" aria-label=\"Name\" value=\"" +
       HtmlEscape(view.Search) + "\"><button type=\"submit\">Search</button></form>\n";

  if (results.Results.empty()) {
    if (view.Search.empty())
      b += "<p class=\"empty\">No results here yet.</p>\n";
    else
      b += "<p class=\"empty\">No name matches \u201c" + HtmlEscape(view.Search) + "\u201d.</p>\n";
  } else {
    b += "<table>\n<thead><tr><th>#</th><th>Name</th><th>Score</th><th>Player</th>"
         "<th class=\"when\">Date (UTC)</th>";
    if (!view.Verified) b += "<th>Replay</th>";
    b += "</tr></thead>\n<tbody>\n";
    for (const StoredResult& r : results.Results) {
      b += r.Rank <= 3 ? "<tr class=\"top\">" : "<tr>";
      b += "<td class=\"n\">" + std::to_string(r.Rank) + "</td><td>" + HtmlEscape(ShownName(r.Name));
      if (r.Verified && r.Replay == ReplayState::Verified) {
        if (view.Watch)
          b += " <a class=\"watch\" href=\"" + WatchPath(r.Id) + "\" title=\"Watch the game in the browser\">Watch</a>";
        b += " <a href=\"" + ReplayPath(r.Id) + "\" title=\"Download the replay\">replay</a>";
      }
      b += "</td><td class=\"n\">" + std::to_string(r.Score) + "</td><td>" + HtmlEscape(r.PlayerName) +
           "</td><td class=\"when\">" + FormatMinute(r.Time) + "</td>";
      if (!view.Verified) {
        // Why it is not verified.
        b += "<td class=\"st\">";
        b += !r.Replay ? "no replay" : r.Replay == ReplayState::Rejected ? "refused" : "being checked";
        b += "</td>";
      }
      b += "</tr>\n";
      // A refusal's reason (where the replay departs from its recording, or what it scored) below
      // its row, across it: long, and readable on a phone too.
      if (!view.Verified && r.Replay == ReplayState::Rejected && !r.ReplayError.empty())
        b += "<tr class=\"why\"><td></td><td colspan=\"5\">" + HtmlEscape(r.ReplayError) + "</td></tr>\n";
    }
    b += "</tbody></table>\n";
  }

  b += "<div class=\"pages\"><span>";
  if (view.Page > 1) {
    t = view;
    t.Page = view.Page - 1;
    b += "<a href=\"" + Link(t) + "\" rel=\"prev\">&larr; Previous</a>";
  }
  b += "</span><span>";
  const int64_t pages = (results.Total + rowsPerPage - 1) / rowsPerPage;
  if (results.Total > 0) {
    b += "Page " + std::to_string(view.Page) + " of " + std::to_string(pages) + " &middot; " +
         std::to_string(results.Total) + (results.Total == 1 ? " result" : " results");
  }
  b += "</span><span>";
  if (view.Page < pages) {
    t = view;
    t.Page = view.Page + 1;
    b += "<a href=\"" + Link(t) + "\" rel=\"next\">Next &rarr;</a>";
  }
  b += "</span></div>\n</main></body></html>\n";
  return b;
}

}  // namespace sf::scores
