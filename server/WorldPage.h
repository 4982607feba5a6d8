#pragma once
#include <cstdint>
#include <string>

#include "ScoreStore.h"

namespace sf::scores {

enum class Period { All, Week, Day };

// What the world page shows: which period, verified or unverified results, a name search, a page.
struct WorldPageView {
  Period Span = Period::All;
  bool Verified = true;
  std::string Search;  // UTF-8
  int64_t Page = 1;    // from 1
  bool Watch = false;  // the browser build is served beside: verified results get a "Watch" link
};

// The world page: plain HTML and CSS, no script, readable on a phone. Every name is escaped; a
// blank one shows as "Anonymous". A verified result links its replay's download and, with
// view.Watch, the browser build's replay mode; an unverified one says why it is not verified, with
// the reason of a refusal. view.Page is the page the results are (never past the last).
std::string RenderWorldPage(const WorldPageView& view, const ResultPage& results, int64_t rowsPerPage);

// Where a verified result's replay is downloaded, and where the browser build served beside the
// service (--web) plays it.
std::string ReplayPath(int64_t resultId);
std::string WatchPath(int64_t resultId);

const char* PeriodName(Period p);  // "all", "week", "day"
// The first time a period covers, for a listing made at now.
int64_t PeriodStart(Period p, int64_t now);

}  // namespace sf::scores
