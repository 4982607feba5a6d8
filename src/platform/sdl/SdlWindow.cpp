#include "platform/sdl/SdlWindow.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "platform/sdl/SdlKeyMap.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace sf {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
[[maybe_unused]] constexpr int kLargestWindow = 16384;
constexpr int32_t kMostWheelNotches = 100;

int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return std::min(std::max(v, lo), hi); }

// A whole scale is kept while it fills at least this share of the largest fitting size.
constexpr double kLeastSharpFill = 0.8;

}  // namespace

int SharpScale(int outputWidth, int outputHeight) {
  if (outputWidth <= 0 || outputHeight <= 0) return 0;
  const double fit = std::min(static_cast<double>(outputWidth) / kWidth, static_cast<double>(outputHeight) / kHeight);
  const int whole = std::min(outputWidth / kWidth, outputHeight / kHeight);
  return whole >= 1 && whole >= kLeastSharpFill * fit ? whole : 0;
}

SdlWindow::SdlWindow() : logStart_(SDL_GetPerformanceCounter()) {
  // The program decides itself when to minimise on focus loss.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // Only the window's close box is a close request; SDL_QUIT then means the system wants us gone.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // A software renderer presenting without OpenGL keeps presentation cheap on any X server.
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
  SDL_SetHint(SDL_HINT_MOUSE_RELATIVE_SCALING, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    throw std::runtime_error(std::string("cannot open the display: ") + SDL_GetError());
  }
  // Game pads are optional: without the subsystem the program simply has none. Their events are
  // read in the background too; while the program is inactive the released keyboard gates them.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
    desktopWidth_ = mode.w;
    desktopHeight_ = mode.h;
  }
#ifdef __EMSCRIPTEN__
  // The page's canvas is the one window and has the focus from the start; the browser reports
  // only later changes.
  focused_ = true;
#endif
  for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc)
    scanCodes_[static_cast<size_t>(sc)] = DirectInputScanCode(static_cast<SDL_Scancode>(sc));
}

SdlWindow::~SdlWindow() {
  for (auto& [id, controller] : controllers_) SDL_GameControllerClose(controller);
  if (SDL_WasInit(SDL_INIT_GAMECONTROLLER)) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  DestroyRenderer();
  if (window_) SDL_DestroyWindow(window_);
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

void SdlWindow::CreateRenderer() {
  renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (!renderer_) throw std::runtime_error(std::string("cannot create the renderer: ") + SDL_GetError());
  SDL_RenderSetLogicalSize(renderer_, kWidth, kHeight);
  texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, kWidth, kHeight);
  if (!texture_) throw std::runtime_error(std::string("cannot create the frame texture: ") + SDL_GetError());
  SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
  rendererLost_ = false;
  outputWidth_ = outputHeight_ = 0;
}

void SdlWindow::UpdateScale() {
  int w = 0, h = 0;
  if (SDL_GetRendererOutputSize(renderer_, &w, &h) != 0 || (w == outputWidth_ && h == outputHeight_)) return;
  outputWidth_ = w;
  outputHeight_ = h;
  // SDL's whole-number scale is the largest that fits, the same as SharpScale's.
  const bool sharp = SharpScale(w, h) > 0;
  SDL_RenderSetIntegerScale(renderer_, sharp ? SDL_TRUE : SDL_FALSE);
  SDL_SetTextureScaleMode(texture_, sharp ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
}

void SdlWindow::DestroyRenderer() {
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  texture_ = nullptr;
  renderer_ = nullptr;
}

#ifdef __EMSCRIPTEN__
void SdlWindow::SetMode(bool windowed) {
  // In a page the canvas keeps its 800 x 600 pixels; full screen is the browser's, scaling the
  // canvas with its aspect kept. The browser grants it only while a key or a click is fresh, so
  // the page asks at once (Alt+Enter it has asked for already, in the key's own handler).
  windowed_ = windowed;
  if (!window_) {
    window_ = SDL_CreateWindow("Salt Fang", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, kWidth, kHeight, 0);
    if (!window_) throw std::runtime_error(std::string("cannot create the window: ") + SDL_GetError());
    CreateRenderer();
    // Start-up hands the page back once here, between reading the settings and loading the
    // images, so neither half holds the browser's main thread for long.
    emscripten_sleep(0);
  }
  // The formatter does not know JavaScript.
  // clang-format off
  EM_ASM({ if (Module['setFullscreen']) Module['setFullscreen'](!$0); }, windowed ? 1 : 0);
  // clang-format on
  UpdateRelativeMode();
}
#else
void SdlWindow::SetMode(bool windowed) {
  windowed_ = windowed;
  if (!window_) {
    // Made hidden and windowed, then brought into the mode below and shown: a window made in full
    // screen keeps its 800 x 600 where no window manager carries out the request.
    window_ = SDL_CreateWindow("Salt Fang", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth, kHeight,
                               SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
    if (!window_) throw std::runtime_error(std::string("cannot create the window: ") + SDL_GetError());
    CreateRenderer();
  }
  if (windowed) {
    SDL_SetWindowFullscreen(window_, 0);
    // Resizable with a fixed size: the window cannot be dragged larger, but a maximise request
    // still arrives and switches to full screen.
    SDL_SetWindowMinimumSize(window_, kWidth, kHeight);
    SDL_SetWindowMaximumSize(window_, kWidth, kHeight);
    SDL_SetWindowSize(window_, kWidth, kHeight);
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  } else {
    SDL_SetWindowMaximumSize(window_, kLargestWindow, kLargestWindow);
    // Cover the desktop first, so the window has the full size even where no window manager
    // carries out the full-screen request.
    SDL_SetWindowPosition(window_, 0, 0);
    SDL_SetWindowSize(window_, desktopWidth_, desktopHeight_);
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
  SDL_ShowWindow(window_);
  UpdateRelativeMode();
}
#endif

void SdlWindow::Present(const Surface& frame) {
  if (!window_) return;
  if (rendererLost_ || !renderer_) {
    DestroyRenderer();
    CreateRenderer();
  }
  if (frame.Width != kWidth || frame.Height != kHeight) return;
  UpdateScale();
  SDL_UpdateTexture(texture_, nullptr, frame.Pixels.data(), kWidth * 4);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
  ++presents_;
#ifdef __EMSCRIPTEN__
  // The page reads the count of presented frames (its pace and the browser test's measure).
  // The formatter does not know JavaScript.
  // clang-format off
  EM_ASM({ Module['framesPresented'] = $0; }, static_cast<double>(presents_));
  // clang-format on
#endif
  if (frameLog_) {
    const uint64_t ms = (SDL_GetPerformanceCounter() - logStart_) * 1000 / SDL_GetPerformanceFrequency();
    if (presents_ == 1) std::fprintf(frameLog_, "first-frame-ms %llu\n", static_cast<unsigned long long>(ms));
    if (ms >= nextLogMs_) {
      std::fprintf(frameLog_, "presents %llu at-ms %llu\n", static_cast<unsigned long long>(presents_),
                   static_cast<unsigned long long>(ms));
      std::fflush(frameLog_);
      nextLogMs_ = ms + 1000;
    }
  }
}

std::vector<uint32_t> SdlWindow::ReadOutput(int& width, int& height) {
  width = height = 0;
  int w = 0, h = 0;
  if (!renderer_ || SDL_GetRendererOutputSize(renderer_, &w, &h) != 0 || w <= 0 || h <= 0) return {};
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * static_cast<size_t>(h));
  // The whole output, borders included: the picture's viewport is lifted for the read and set
  // again from the logical size.
  SDL_RenderSetViewport(renderer_, nullptr);
  const int read = SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_RGB888, pixels.data(), w * 4);
  SDL_RenderSetLogicalSize(renderer_, kWidth, kHeight);
  if (read != 0) return {};
  width = w;
  height = h;
  return pixels;
}

void SdlWindow::Minimize() {
  if (window_) SDL_MinimizeWindow(window_);
}

void SdlWindow::ShowNormal() {
  if (!window_) return;
  SDL_ShowWindow(window_);
  SDL_RestoreWindow(window_);
  SDL_RaiseWindow(window_);
}

Rect SdlWindow::WindowRect() {
  if (!window_) return {};
  int x = 0, y = 0, w = 0, h = 0;
  SDL_GetWindowPosition(window_, &x, &y);
  SDL_GetWindowSize(window_, &w, &h);
  return Rect{x, y, x + w, y + h};
}

void SdlWindow::MoveWindow(int32_t left, int32_t top) {
  if (window_ && windowed_) SDL_SetWindowPosition(window_, left, top);
}

int32_t SdlWindow::DesktopWidth() { return desktopWidth_; }
int32_t SdlWindow::DesktopHeight() { return desktopHeight_; }

void SdlWindow::ShowCursor(bool show) {
  cursorVisible_ = show;
  SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
  UpdateRelativeMode();
}

void SdlWindow::CaptureMouse(bool capture) {
  if (capture == captureWanted_) return;
  captureWanted_ = capture;
  UpdateRelativeMode();
}

void SdlWindow::UpdateRelativeMode() {
  // During play, relative mode delivers raw motion without warping and keeps the hidden pointer
  // inside the window; anywhere else the pointer is free.
  const bool relative = captureWanted_ && !cursorVisible_ && focused_;
  if (relative == relative_) return;
  relative_ = relative;
  SDL_SetRelativeMouseMode(relative ? SDL_TRUE : SDL_FALSE);
}

void SdlWindow::SetCursorPos(int32_t x, int32_t y) {
  if (!window_ || !renderer_ || SDL_GetRelativeMouseMode() || !focused_) return;
  // Map the picture point to the window through the letterbox and the scale in use.
  UpdateScale();
  int wx = 0, wy = 0;
  SDL_RenderLogicalToWindow(renderer_, static_cast<float>(x), static_cast<float>(y), &wx, &wy);
  SDL_WarpMouseInWindow(window_, wx, wy);
}

void SdlWindow::SetTitle(const std::string& title) {
  if (window_) SDL_SetWindowTitle(window_, title.c_str());
}

void SdlWindow::ShowError(const std::string& title, const std::string& message) {
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), message.c_str(), window_);
}

bool SdlWindow::Translate(const SDL_Event& e, InputEvent& out) {
  out = InputEvent{};
  switch (e.type) {
    case SDL_QUIT: out.Kind = InputEvent::Quit; return true;
    case SDL_KEYDOWN: {
      // Every key is a key press, also one without a code of its own: it ends mouse steering.
      out.Kind = InputEvent::KeyDown;
      out.Key = VirtualKeyCode(e.key.keysym.sym, e.key.keysym.scancode, e.key.keysym.mod);
      out.Alt = (e.key.keysym.mod & KMOD_ALT) != 0;
      return true;
    }
    case SDL_MOUSEMOTION:
      relX_ += e.motion.xrel;
      relY_ += e.motion.yrel;
      out.Kind = InputEvent::MouseMove;
      out.X = Clamp(e.motion.x, 0, kWidth - 1);
      out.Y = Clamp(e.motion.y, 0, kHeight - 1);
      return true;
    case SDL_MOUSEBUTTONDOWN:
      out.Kind = InputEvent::MouseDown;
      out.Button = e.button.button;
      out.X = Clamp(e.button.x, 0, kWidth - 1);
      out.Y = Clamp(e.button.y, 0, kHeight - 1);
      if (e.button.which == SDL_TOUCH_MOUSEID) {
        touchPress_ = out;
        touchPressHeld_ = true;
        touchPressAfter_ = presents_;
        return false;
      }
      return true;
    case SDL_MOUSEWHEEL: {
      // A real turn carries a few notches; the bound keeps a bogus count harmless.
      const int32_t y = Clamp(e.wheel.y, -kMostWheelNotches, kMostWheelNotches);
      if (y == 0) return false;
      relZ_ += y * 120;
      out.Kind = y > 0 ? InputEvent::WheelUp : InputEvent::WheelDown;
      // One event per notch: the rest of a fast turn follows before the next SDL event.
      wheelNotchesLeft_ = (y > 0 ? y : -y) - 1;
      wheelKind_ = out.Kind;
      return true;
    }
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
      rendererLost_ = e.type == SDL_RENDER_DEVICE_RESET;
      out.Kind = InputEvent::DisplayLost;
      return true;
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE: out.Kind = InputEvent::CloseRequest; return true;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          focused_ = true;
          UpdateRelativeMode();
          out.Kind = InputEvent::Activate;
          return true;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          focused_ = false;
          UpdateRelativeMode();
          out.Kind = InputEvent::Deactivate;
          return true;
        case SDL_WINDOWEVENT_MINIMIZED: minimized_ = true; return false;
        case SDL_WINDOWEVENT_MAXIMIZED:
          // A maximise request switches to full screen; the window itself keeps its size.
          SDL_RestoreWindow(window_);
          if (!windowed_) return false;
          out.Kind = InputEvent::MaximizeRequest;
          return true;
        case SDL_WINDOWEVENT_RESTORED:
          // Un-maximising and mode switches also restore; only a restore after a minimise counts.
          if (!minimized_) return false;
          minimized_ = false;
          out.Kind = InputEvent::Restore;
          return true;
        default: return false;
      }
    default: return false;
  }
}

void SdlWindow::HandlePadEvent(const SDL_Event& e) {
  switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED: {
      SDL_GameController* controller = SDL_GameControllerOpen(e.cdevice.which);
      if (!controller) return;
      const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
      if (controllers_.count(id) || !pads_.Connect(id)) {
        SDL_GameControllerClose(controller);
        return;
      }
      controllers_[id] = controller;
      return;
    }
    case SDL_CONTROLLERDEVICEREMOVED: {
      const auto it = controllers_.find(e.cdevice.which);
      if (it == controllers_.end()) return;
      SDL_GameControllerClose(it->second);
      controllers_.erase(it);
      pads_.Disconnect(e.cdevice.which);
      return;
    }
    case SDL_CONTROLLERAXISMOTION: pads_.SetAxis(e.caxis.which, e.caxis.axis, e.caxis.value); return;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      pads_.SetButton(e.cbutton.which, e.cbutton.button, e.type == SDL_CONTROLLERBUTTONDOWN);
      return;
    default: return;
  }
}

bool SdlWindow::TakePadKey(InputEvent& out) {
  if (padKeyNext_ >= padKeyCount_) {
    padKeyNext_ = 0;
    padKeyCount_ = pads_.TakeKeyEvents(SDL_GetTicks(), padKeys_.data(), static_cast<int>(padKeys_.size()));
  }
  if (padKeyNext_ >= padKeyCount_ || !keyboardAcquired_) return false;
  out = InputEvent{};
  out.Kind = InputEvent::KeyDown;
  out.Key = padKeys_[static_cast<size_t>(padKeyNext_++)];
  return true;
}

bool SdlWindow::PollEvent(InputEvent& event) {
#ifdef __EMSCRIPTEN__
  // The browser left full screen by itself (Esc, or it refused the request): the game's own
  // switch, Alt+Enter, brings its state along.
  const bool fullscreenLost =
      // The formatter does not know JavaScript.
      // clang-format off
      EM_ASM_INT({ const lost = Module['fullscreenLost']; Module['fullscreenLost'] = false; return lost ? 1 : 0; }) != 0;
  // clang-format on
  if (fullscreenLost && !windowed_) {
    event = InputEvent{};
    event.Kind = InputEvent::KeyDown;
    event.Key = vkReturn;
    event.Alt = true;
    return true;
  }
#endif
  if (touchPressHeld_ && presents_ > touchPressAfter_) {
    touchPressHeld_ = false;
    event = touchPress_;
    return true;
  }
  if (wheelNotchesLeft_ > 0) {
    --wheelNotchesLeft_;
    event = InputEvent{};
    event.Kind = wheelKind_;
    return true;
  }
  if (pendingValid_) {
    pendingValid_ = false;
    HandlePadEvent(pending_);
    if (Translate(pending_, event)) return true;
  }
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    HandlePadEvent(e);
    if (Translate(e, event)) return true;
  }
  // Presses and repeats of the pads come after the window's own events of this pass.
  return TakePadKey(event);
}

void SdlWindow::WaitEvent(uint32_t timeoutMs) {
#ifdef __EMSCRIPTEN__
  // The browser's loop does the waiting between passes; blocking here would freeze the page.
  (void)timeoutMs;
#else
  if (pendingValid_ || wheelNotchesLeft_ > 0) return;
  SDL_Event e;
  if (SDL_WaitEventTimeout(&e, static_cast<int>(timeoutMs)) == 1) {
    pending_ = e;
    pendingValid_ = true;
  }
#endif
}

bool SdlWindow::GetKeyboardState(uint8_t state[256]) {
  if (!keyboardAcquired_) return false;
  int count = 0;
  const Uint8* keys = SDL_GetKeyboardState(&count);
  for (int sc = 0; sc < count && sc < SDL_NUM_SCANCODES; ++sc) {
    if (keys[sc]) {
      const uint8_t dik = scanCodes_[static_cast<size_t>(sc)];
      if (dik) state[dik] = 0x80;
    }
  }
  pads_.AddKeyStates(state);
  return true;
}

void SdlWindow::AcquireKeyboard() { keyboardAcquired_ = true; }
void SdlWindow::UnacquireKeyboard() { keyboardAcquired_ = false; }

bool SdlWindow::GetMouseState(MouseState& state) {
  state.X = relX_;
  state.Y = relY_;
  state.Z = relZ_;
  relX_ = relY_ = relZ_ = 0;
  const Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
  state.Buttons[0] = static_cast<uint8_t>((buttons & SDL_BUTTON_LMASK) ? 0x80 : 0);
  state.Buttons[1] = static_cast<uint8_t>((buttons & SDL_BUTTON_RMASK) ? 0x80 : 0);
  state.Buttons[2] = static_cast<uint8_t>((buttons & SDL_BUTTON_MMASK) ? 0x80 : 0);
  state.Buttons[3] = static_cast<uint8_t>((buttons & SDL_BUTTON_X1MASK) ? 0x80 : 0);
  state.Buttons[4] = static_cast<uint8_t>((buttons & SDL_BUTTON_X2MASK) ? 0x80 : 0);
  return true;
}

}  // namespace sf
