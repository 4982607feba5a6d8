#include "watch_browser.h"

#include <emscripten.h>

#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "audio/Audio.h"
#include "gfx/ImageSets.h"
#include "gfx/Surface.h"
#include "gfx/Text.h"
#include "platform/sdl/SdlClock.h"
#include "platform/sdl/SdlMusic.h"
#include "platform/sdl/SdlSound.h"
#include "platform/sdl/SdlSoundDevice.h"
#include "platform/sdl/SdlWindow.h"
#include "platform/web/BrowserLoop.h"
#include "platform/web/FetchHttp.h"
#include "platform/web/PageInput.h"
#include "platform/web/WatchPage.h"
#include "replay/ReplayFormat.h"
#include "replay/ReplayVerify.h"
#include "replay/ReplayViewer.h"

namespace {

sf::HttpLimits ReplayLimits() {
  sf::HttpLimits limits;
  limits.TotalTimeoutMs = 30000;
  limits.MaxReplyBytes = replay::Limits{}.maxFileBytes;
  return limits;
}

// The replay of result id from the service that served the page, or nothing with the sentence
// for the page in error.
std::optional<replay::DecodedReplay> FetchReplay(sf::FetchHttp& http, int64_t id, std::string& error) {
  const std::string number = std::to_string(id);
  const std::optional<std::string> file = http.Get("api/replays/" + number);
  if (!file) {
    const sf::HttpFailure failure = http.LastFailure();
    if (failure.Status == 404) {
      error = "The world table has no replay of result " + number + ".";
    } else if (failure.Status == 0) {
      error = "The score service does not answer; try again in a moment.";
    } else {
      error = "The score service could not send the replay (" + std::to_string(failure.Status) +
              (failure.Reason.empty() ? std::string() : ": " + failure.Reason) + ").";
    }
    return std::nullopt;
  }
  replay::DecodedReplay decoded;
  const auto* bytes = reinterpret_cast<const uint8_t*>(file->data());
  if (!replay::DecodeReplay({bytes, file->size()}, replay::Limits{}.maxFileBytes, decoded, error)) {
    error = "The replay of result " + number + " cannot be shown. " + error;
    return std::nullopt;
  }
  return decoded;
}

// Everything the viewer needs, alive for as long as the page is.
struct BrowserWatch {
  sf::SdlWindow window;
  sf::PageInput input{window};
  sf::SdlClock clock;
  sf::SdlSoundDevice soundDevice;  // starts silent; the page resumes it on the first key or click
  sf::SdlSound sound{soundDevice};
  sf::SdlMusic music{soundDevice};
  sf::Audio audio{sound, music};
  sf::ImageSets images;
  sf::TextRenderer text{"font.ttf"};
  sf::Surface back{800, 600};
  sf::Surface snapshot{800, 600};
  replay::DecodedReplay replay;
  std::optional<replay::ReplayViewer> viewer;
  sf::WatchPage page;
  double lastSeekMs = -1;
  sf::BrowserLoop loop;

  BrowserWatch(replay::DecodedReplay decoded)
      : replay(std::move(decoded)),
        loop(
            clock, [this] { return Pass(); }, [this] { page.Leave(); }) {}

  void Start() {
    window.SetMode(true);
    sf::LoadAllImages(images, "Data/Data.pp");
    viewer.emplace(replay, images, text, snapshot, back);
    viewer->SetSound(&audio);
    window.Present(back);
    loop.Start();
  }

  // One pass: the keys (the page's buttons send theirs), a click on the picture pauses, the wheel
  // changes the speed, a seek the page asked for; then the steps due, and the view for the page.
  bool Pass() {
    bool drawn = false;
    sf::InputEvent e;
    while (input.PollEvent(e)) {
      switch (e.Kind) {
        case sf::InputEvent::KeyDown:
          if (!viewer->Key(e.Key, back)) return false;
          drawn = true;
          break;
        case sf::InputEvent::MouseDown: viewer->TogglePause(); break;
        case sf::InputEvent::WheelUp: viewer->Faster(); break;
        case sf::InputEvent::WheelDown: viewer->Slower(); break;
        default: break;
      }
    }
    if (const std::optional<uint32_t> to = page.TakeSeek()) {
      const double started = sf::PageNowMs();
      viewer->SeekTo(*to, back);
      lastSeekMs = sf::PageNowMs() - started;
      drawn = true;
    }
    if (viewer->Advance(clock.TickCount(), back) || drawn) window.Present(back);
    sf::WatchView view;
    view.ElapsedMs = viewer->ElapsedMs();
    view.TotalMs = viewer->TotalMs();
    view.Steps = viewer->Steps();
    view.TotalSteps = viewer->TotalSteps();
    view.SpeedQuarters = static_cast<uint32_t>(viewer->Speed() * 4);
    view.Paused = viewer->Paused();
    view.Ended = viewer->Ended();
    view.Score = viewer->Game().Score;
    view.Level = viewer->Game().Level;
    view.Error = viewer->Error();
    page.Report(view, lastSeekMs);
    return true;
  }
};

}  // namespace

void WatchInBrowser(int64_t id) {
  sf::WatchPage page;
  if (id < 1) {
    page.Failed("This address names no replay: it should end in ?watch= and the number of a result.");
    return;
  }
  sf::FetchHttp http(ReplayLimits());
  std::string error;
  std::optional<replay::DecodedReplay> decoded = FetchReplay(http, id, error);
  if (!decoded) {
    page.Failed(error);
    return;
  }
  try {
    // Owned by the page from here on: the browser calls the loop until the viewer leaves.
    auto* watch = new BrowserWatch(std::move(*decoded));
    watch->Start();
  } catch (const std::exception& e) {
    page.Failed(std::string("The game's files could not be loaded: ") + e.what());
  }
}
