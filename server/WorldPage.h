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
};

// The world page: plain HTML and CSS, no script, readable on a phone. Every name is escaped; a
// blank one shows as "Anonymous". view.Page is the page the results are (never past the last).
std::string RenderWorldPage(const WorldPageView& view, const ResultPage& results, int64_t rowsPerPage);

const char* PeriodName(Period p);  // "all", "week", "day"
// The first time a period covers, for a listing made at now.
int64_t PeriodStart(Period p, int64_t now);

}  // namespace sf::scores
