#include "app/Form.h"

#include <cstdio>
#include <stdexcept>

#include "app/Hosts.h"
#include "app/screens/ScreenUnit.h"
#include "audio/Audio.h"
#include "game/Game.h"
#include "gfx/Blit.h"
#include "options/ConfigFile.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/Input.h"
#include "platform/Shell.h"
#include "replay/ReplayRecorder.h"
#include "ui/KeyName.h"
#include "ui/MenuItems.h"
#include "ui/Menus.h"

namespace sf {

TForm1::TForm1(Platform& p, Files f)
    : platform(p),
      files(std::move(f)),
      Recorder(std::make_unique<replay::ReplayRecorder>()),
      gameHost_(std::make_unique<FormGameHost>(*this)),
      menuHost_(std::make_unique<FormMenuHost>(*this)),
      screens_(std::make_unique<ScreenTable>()),
      focus_(p.display) {
  AddAllScreens(*this, *screens_);
}

TForm1::~TForm1() {
  // Teardown: the game before the images it draws with, the menus with the images.
  currentGame_.reset();
  FreeAllImages(images);
  menus.reset();
}

void TForm1::FormCreate() {
  random_.Seed(static_cast<uint32_t>(platform.clock.PerformanceCounter()));
  if (!firstStart_) {
    SetupWindow();
    return;
  }
  firstStart_ = false;
  const std::string font = files.Font.empty() ? TextRenderer::FindDefaultFont() : files.Font;
  if (font.empty()) throw std::runtime_error("no font found (font.ttf beside the program, or fonts-wine)");
  text = std::make_unique<TextRenderer>(font);
  audio_ = std::make_unique<Audio>(platform.sound, platform.music);
  LoadConfig();
  platform.input.AcquireKeyboard();  // the input devices
  if (settings.MusicOn) {
    StartMusic("1.xm");
  } else {
    StopMusic();
  }
}

void TForm1::SetupWindow() {
  focus_.SetActive(false);
  SetupDisplay();
  LoadImagesAndMenus();
  focus_.SetActive(true);
}

void TForm1::LoadImagesAndMenus() {
  if (!menus) {
    // Start-up: without its images the program cannot run, so a bad pack stops it here.
    LoadAllImages(images, files.Pack);
    menus = std::make_unique<Menus>(*menuHost_);
    return;
  }
  // A rebuild reloads into fresh sets; a pack that has become unreadable since leaves the images
  // of the last load in use, and the player keeps playing (and keeps unsaved settings).
  ImageSets fresh;
  try {
    LoadAllImages(fresh, files.Pack);
  } catch (const PackError& e) {
    if (lastPackError_ != e.what()) {
      lastPackError_ = e.what();
      std::fprintf(stderr, "Salt Fang: %s; keeping the images already loaded\n", e.what());
    }
    return;
  }
  images = std::move(fresh);
  lastPackError_.clear();
}

void TForm1::SetupDisplay() {
  focus_.SetMode(settings.Windowed);
  BackBuffer.Lost = false;
  SnapshotSurface.Lost = false;
}

void TForm1::SwitchDisplayMode(bool windowed) {
  settings.Windowed = windowed;
  SetupWindow();
  menus->OptionsMenu.DisplayToggle.Checked = windowed;
}

void TForm1::SetSoundOn(bool on) {
  settings.SoundOn = on;
  audio_->SetSoundOn(on);
}

int32_t TForm1::ClearBackBuffer() { return FillSurface(BackBuffer, 0); }

int32_t TForm1::RestoreSurfaces() {
  // Our surfaces live in memory: restoring the screen always succeeds and gives them back.
  BackBuffer.Lost = false;
  SnapshotSurface.Lost = false;
  if (ClearBackBuffer() != kBlitOk) return 1;
  LoadImagesAndMenus();
  return 0;
}

void TForm1::Present() { platform.display.Present(BackBuffer); }

void TForm1::SaveSnapshot() { BltFast(SnapshotSurface, 0, 0, BackBuffer, false); }

void TForm1::DrawScanlines(const Surface& image) {
  for (int32_t i = 0; i < 300; ++i) BltFast(SnapshotSurface, 0, 2 * i, image, true);
}

void TForm1::PauseGame(const Surface& image) {
  if (currentGame_ && screenState_ == scrGame) currentGame_->NoteInterruption(GameEvent::Pause);
  SaveSnapshot();
  DrawScanlines(image);
  screenState_ = scrPause;
}

bool TForm1::FormCloseQuery() {
  switch (screenState_) {
    case scrIntro:
    case scrGame:
    case scrPause:
    case scrEnterName:
    case scrSendQuestion:
    case scrQuitGameQuestion:  // leaving the game is answered there first, like in the game itself
      return false;
    case scrKeyCapture:
      menus->OptionsMenu.KeyButton.Caption = KeyName(static_cast<uint32_t>(settings.MinimizeKey));
      screenState_ = scrExitQuestion;
      return ExitConfirmed;
    default: screenState_ = scrExitQuestion; return ExitConfirmed;
  }
}

void TForm1::CloseRequest() {
  if (FormCloseQuery()) closed_ = true;
}

void TForm1::ApplicationEvents1Activate() {
  focus_.SetActive(true);
  MouseSteering = true;
  platform.input.AcquireKeyboard();
  if (settings.MusicOn) {
    StartMusic(screenState_ == scrGame ? "2.xm" : "1.xm");
  } else {
    StopMusic();
  }
}

void TForm1::ApplicationEvents1Deactivate() {
  StopMusic();
  focus_.SetActive(false);
  MouseSteering = false;
  platform.input.UnacquireKeyboard();
  if (screenState_ == scrGame && currentGame_) currentGame_->NoteInterruption(GameEvent::FocusLost);
  if (screenState_ == scrGame) PauseGame(images.Menu(menuImgScanLine));
  focus_.FocusLost(settings.Windowed);
}

void TForm1::ApplicationEvents1Restore() {
  focus_.SetActive(false);
  if (settings.Windowed) {
    focus_.RestorePlace();
  } else {
    SetupWindow();
    platform.display.ShowNormal();
  }
  focus_.SetActive(true);
  if (screenState_ == scrGame) {
    FrameStep();
    PauseGame(images.Menu(menuImgScanLine));
  }
}

void TForm1::LoadConfig() {
  sf::LoadConfig(files.Config, settings, highScores);
  ApplyConfig();
}

void TForm1::ApplyConfig() {
  // The sound setting first: building the menus selects their first items, and with sound off
  // those selections must already be silent.
  SetSoundOn(settings.SoundOn);
  SetupWindow();
  menus->OptionsMenu.DisplayToggle.Checked = settings.Windowed;
  menus->OptionsMenu.MusicToggle.Checked = settings.MusicOn;
  menus->OptionsMenu.SoundToggle.Checked = settings.SoundOn;
  menus->OptionsMenu.NameEdit.SetText(settings.PlayerName);
  menus->OptionsMenu.KeyButton.Caption = KeyName(static_cast<uint32_t>(settings.MinimizeKey));
}

bool TForm1::SaveConfig() {
  if (menus) settings.PlayerName = menus->OptionsMenu.NameEdit.Text;
  return sf::SaveConfig(files.Config, settings, highScores);
}

void TForm1::PlaySoundAt(int32_t x, int32_t y, SoundId sound) { audio_->PlaySoundAt(x, y, sound); }

void TForm1::PlayMenuSound() { PlaySoundAt(MouseX, MouseY, sndCheckMenu); }

void TForm1::StartMusic(const char* module) { audio_->StartMusic(module); }

void TForm1::StopMusic() { audio_->StopMusic(); }

void TForm1::GameOver(int32_t score, const Surface& lastFrame) {
  if (highScores[kHighScoreCount - 1].Score >= score) {
    screenState_ = scrMainMenu;
    return;
  }
  BltFast(SnapshotSurface, 0, 0, lastFrame, false);
  // The name entry opens with Ok chosen, so Enter keeps the score whatever an earlier use chose.
  menus->OkCancelDialog.Choice = true;
  screenState_ = scrEnterName;
  menus->MainMenu.SetIndex(static_cast<int32_t>(MainMenuItem::HighScores));
}

void TForm1::ShowCursor(bool show) { focus_.ShowCursor(show); }

void TForm1::Dispatch(const InputEvent& e) {
  switch (e.Kind) {
    case InputEvent::KeyDown: FormKeyDown(e.Key, e.Alt); break;
    case InputEvent::MouseMove: FormMouseMove(e.X, e.Y); break;
    case InputEvent::MouseDown: FormMouseDown(); break;
    case InputEvent::WheelUp:
    case InputEvent::WheelDown: FormMouseWheel(); break;
    case InputEvent::CloseRequest: CloseRequest(); break;
    case InputEvent::Quit:
      // The system ends the session: keep the settings and the table, then leave.
      SaveConfig();
      closed_ = true;
      break;
    case InputEvent::Activate: ApplicationEvents1Activate(); break;
    case InputEvent::Deactivate: ApplicationEvents1Deactivate(); break;
    case InputEvent::Restore: ApplicationEvents1Restore(); break;
    case InputEvent::MaximizeRequest: SwitchDisplayMode(false); break;
    case InputEvent::DisplayLost: BackBuffer.Lost = true; break;
  }
}

bool TForm1::NextEvent(InputEvent& e) {
  if (heldEvents_.empty()) return platform.input.PollEvent(e);
  e = heldEvents_.front();
  heldEvents_.pop_front();
  return true;
}

bool TForm1::Pump() {
  InputEvent e;
  while (!closed_ && NextEvent(e)) Dispatch(e);
  if (closed_) return false;
  frameDrawn_ = false;
  FrameStep();
  if (!frameDrawn_ && !closed_) platform.input.WaitEvent(platform.clock.MsUntilNextTick());
  return !closed_;
}

void TForm1::Run() {
  while (Pump()) {
  }
}

void TForm1::AfterClose() {
  platform.shell.OpenFileIfExists("wgame.exe");
  platform.shell.OpenFileIfExists("Play.url");
}

}  // namespace sf
