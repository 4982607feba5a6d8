#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace sf {

// What the watch page shows around the picture: the position, the length, the speed and the
// state of the replay being watched.
struct WatchView {
  uint32_t ElapsedMs = 0;
  uint32_t TotalMs = 0;
  uint32_t Steps = 0;
  uint32_t TotalSteps = 0;
  uint32_t SpeedQuarters = 4;  // the speed in quarters of the recorded pace
  bool Paused = false;
  bool Ended = false;
  int32_t Score = 0;
  int32_t Level = 0;
  std::string Error;  // why the replay stopped early, or empty

  bool operator==(const WatchView&) const = default;
};

// The page's side of watching a replay. The page's controls send keys through the page's key
// queue (PageInput); a seek to a point (a click or drag on the progress bar, or the address's
// #t=SECONDS) is asked for in Module.watchSeekMs. The game tells the page what it shows
// (Module.onWatchView), one sentence when the replay cannot be shown (Module.onWatchFailed), and
// when the viewer leaves (Module.onWatchLeave, which goes back to the world page).
class WatchPage {
 public:
  // The seek the page asks for, once.
  std::optional<uint32_t> TakeSeek();
  // Tells the page the view when it changed; seekMs is the time the last seek took, for the
  // page's figures.
  void Report(const WatchView& view, double seekMs);
  void Failed(const std::string& sentence);
  void Leave();

 private:
  WatchView last_;
  double lastSeekMs_ = -1;
  bool told_ = false;
};

// The id of the result to watch, from the page's address (?watch=ID): 0 when the page is not for
// watching, -1 when it names no valid id.
int64_t WatchIdOfPage();

// The page's clock in milliseconds with fractions, for measuring.
double PageNowMs();

}  // namespace sf
