#include "platform/web/WatchPage.h"

#include <emscripten.h>

namespace sf {

std::optional<uint32_t> WatchPage::TakeSeek() {
  // The formatter does not know JavaScript.
  // clang-format off
  const double ms = EM_ASM_DOUBLE({
    const ms = Module['watchSeekMs'];
    Module['watchSeekMs'] = -1;
    return typeof ms === 'number' && isFinite(ms) ? ms : -1;
  });
  // clang-format on
  if (ms < 0) return std::nullopt;
  return ms > 4e9 ? 4000000000u : static_cast<uint32_t>(ms);
}

void WatchPage::Report(const WatchView& view, double seekMs) {
  if (told_ && view == last_ && seekMs == lastSeekMs_) return;
  last_ = view;
  lastSeekMs_ = seekMs;
  told_ = true;
  // clang-format off
  EM_ASM({
    if (Module['onWatchView']) Module['onWatchView']({
      elapsedMs: $0, totalMs: $1, steps: $2, totalSteps: $3, speed: $4 / 4, paused: !!$5, ended: !!$6,
      score: $7, level: $8, error: UTF8ToString($9), seekMs: $10});
  }, view.ElapsedMs, view.TotalMs, view.Steps, view.TotalSteps, view.SpeedQuarters, view.Paused, view.Ended,
     view.Score, view.Level, view.Error.c_str(), seekMs);
  // clang-format on
}

void WatchPage::Failed(const std::string& sentence) {
  // clang-format off
  EM_ASM({ if (Module['onWatchFailed']) Module['onWatchFailed'](UTF8ToString($0)); }, sentence.c_str());
  // clang-format on
}

void WatchPage::Leave() {
  // clang-format off
  EM_ASM({ if (Module['onWatchLeave']) Module['onWatchLeave'](); });
  // clang-format on
}

int64_t WatchIdOfPage() {
  // clang-format off
  const double id = EM_ASM_DOUBLE({
    const text = new URLSearchParams(location.search).get('watch');
    if (text === null) return 0;
    return /^[1-9][0-9]*$/.test(text) && text.length <= 15 ? Number(text) : -1;
  });
  // clang-format on
  return static_cast<int64_t>(id);
}

double PageNowMs() { return emscripten_get_now(); }

}  // namespace sf
