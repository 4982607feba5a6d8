#include "app/Form.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "app/Hosts.h"
#include "app/screens/ScreenUnit.h"
#include "audio/Audio.h"
#include "game/Game.h"
#include "gfx/Blit.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/Input.h"
#include "platform/Shell.h"
#include "replay/ReplayRecorder.h"
#include "ui/MenuItems.h"
#include "ui/Menus.h"

namespace sf {

TForm1::Files TForm1::Files::InFolders(const std::string& dataFolder, const std::string& configFolder) {
  Files f;
  f.Pack = dataFolder + f.Pack;
  f.Music = dataFolder + f.Music;
  f.Shell = dataFolder;
  // Without a folder of its own the file is kept nowhere, rather than in the working folder.
  f.Config = configFolder.empty() ? std::string() : configFolder + f.Config;
  return f;
}

TForm1::TForm1(Platform& p, Files f)
    : platform_(p),
      files_(std::move(f)),
      config_(files_.Config),
      recorder_(std::make_unique<replay::ReplayRecorder>()),
      gameHost_(std::make_unique<FormGameHost>(*this)),
      menuHost_(std::make_unique<FormMenuHost>(*this)),
      screens_(std::make_unique<ScreenTable>()),
      focus_(p.display) {
  AddAllScreens(*this, *screens_);
}

TForm1::~TForm1() {
  // Teardown: the game before the images it draws with, the menus with the images.
  currentGame_.reset();
  FreeAllImages(images_);
  menus_.reset();
}

void TForm1::FormCreate() {
  random_.Seed(static_cast<uint32_t>(platform_.clock.PerformanceCounter()));
  if (!firstStart_) {
    SetupWindow();
    return;
  }
  firstStart_ = false;
  // Each Sleep(0) between the steps of the start-up gives the host its turn: a browser page
  // stays responsive while the game loads.
  const std::string font = files_.Font.empty() ? TextRenderer::FindDefaultFont(files_.Shell) : files_.Font;
  if (font.empty()) throw std::runtime_error("no font found (font.ttf beside the program, or fonts-wine)");
  text_ = std::make_unique<TextRenderer>(font);
  platform_.clock.Sleep(0);
  audio_ = std::make_unique<Audio>(platform_.sound, platform_.music, files_.Music, kEmbeddedWaves,
                                   [this] { platform_.clock.Sleep(0); });
  platform_.clock.Sleep(0);
  LoadConfig();
  platform_.input.AcquireKeyboard();  // the input devices
  if (config_.settings.MusicOn) {
    StartMusic("1.xm");
  } else {
    StopMusic();
  }
}

void TForm1::SetupWindow() {
  focus_.SetActive(false);
  SetupDisplay();
  platform_.clock.Sleep(0);
  LoadImagesAndMenus();
  focus_.SetActive(true);
}

void TForm1::LoadImagesAndMenus() {
  if (!menus_) {
    // Start-up: without its images the program cannot run, so a bad pack stops it here.
    LoadAllImages(images_, files_.Pack);
    menus_ = std::make_unique<Menus>(*menuHost_);
    return;
  }
  // A rebuild reloads into fresh sets; a pack that has become unreadable since leaves the images
  // of the last load in use, and the player keeps playing (and keeps unsaved settings).
  ImageSets fresh;
  try {
    LoadAllImages(fresh, files_.Pack);
  } catch (const PackError& e) {
    if (lastPackError_ != e.what()) {
      lastPackError_ = e.what();
      std::fprintf(stderr, "Salt Fang: %s; keeping the images already loaded\n", e.what());
    }
    return;
  }
  images_ = std::move(fresh);
  lastPackError_.clear();
}

void TForm1::SetupDisplay() {
  focus_.SetMode(config_.settings.Windowed);
  backBuffer_.Lost = false;
  snapshot_.Lost = false;
}

void TForm1::SwitchDisplayMode(bool windowed) {
  config_.settings.Windowed = windowed;
  SetupWindow();
  menus_->OptionsMenu.DisplayToggle.Checked = windowed;
}

void TForm1::SetSoundOn(bool on) {
  config_.settings.SoundOn = on;
  audio_->SetSoundOn(on);
}

int32_t TForm1::ClearBackBuffer() { return FillSurface(backBuffer_, 0); }

int32_t TForm1::RestoreSurfaces() {
  // Our surfaces live in memory: restoring the screen always succeeds and gives them back.
  backBuffer_.Lost = false;
  snapshot_.Lost = false;
  if (ClearBackBuffer() != kBlitOk) return 1;
  LoadImagesAndMenus();
  return 0;
}

void TForm1::Present() { platform_.display.Present(backBuffer_); }

void TForm1::SaveSnapshot() { BltFast(snapshot_, 0, 0, backBuffer_, false); }

void TForm1::DrawScanlines(const Surface& image) {
  for (int32_t i = 0; i < 300; ++i) BltFast(snapshot_, 0, 2 * i, image, true);
}

void TForm1::PauseGame(const Surface& image) {
  if (currentGame_ && screenState_ == scrGame) currentGame_->NoteInterruption(GameEvent::Pause);
  SaveSnapshot();
  DrawScanlines(image);
  screenState_ = scrPause;
}

bool TForm1::FormCloseQuery() {
  ScreenUnit* unit = screens_->For(screenState_);
  if (unit && !unit->YieldToExitQuestion(screenState_)) return false;
  screenState_ = scrExitQuestion;
  return exitConfirmed_;
}

void TForm1::CloseRequest() {
  if (FormCloseQuery()) closed_ = true;
}

void TForm1::ApplicationEvents1Activate() {
  focus_.SetActive(true);
  pointer_.Steering = true;
  platform_.input.AcquireKeyboard();
  if (config_.settings.MusicOn) {
    StartMusic(screenState_ == scrGame ? "2.xm" : "1.xm");
  } else {
    StopMusic();
  }
}

void TForm1::ApplicationEvents1Deactivate() {
  StopMusic();
  focus_.SetActive(false);
  pointer_.Steering = false;
  platform_.input.UnacquireKeyboard();
  if (screenState_ == scrGame && currentGame_) currentGame_->NoteInterruption(GameEvent::FocusLost);
  if (screenState_ == scrGame) PauseGame(images_.Menu(menuImgScanLine));
  focus_.FocusLost(config_.settings.Windowed);
}

void TForm1::ApplicationEvents1Restore() {
  focus_.SetActive(false);
  if (config_.settings.Windowed) {
    focus_.RestorePlace();
  } else {
    SetupWindow();
    platform_.display.ShowNormal();
  }
  focus_.SetActive(true);
  if (screenState_ == scrGame) {
    FrameStep();
    PauseGame(images_.Menu(menuImgScanLine));
  }
}

void TForm1::LoadConfig() {
  if (!config_.Load()) TellConfigNotKept();
  ApplyConfig();
}

void TForm1::ApplyConfig() {
  // The sound setting first: building the menus selects their first items, and with sound off
  // those selections must already be silent.
  SetSoundOn(config_.settings.SoundOn);
  SetupWindow();
  config_.ShowOn(menus_->OptionsMenu);
}

bool TForm1::SaveConfig() {
  const bool saved = config_.Save(menus_ ? &menus_->OptionsMenu : nullptr);
  if (!saved) TellConfigNotKept();
  return saved;
}

void TForm1::TellConfigNotKept() {
  // The game plays on without its file; one line says so, not one per save.
  if (configNotKeptTold_) return;
  configNotKeptTold_ = true;
  const std::string& path = config_.Path();
  std::fprintf(stderr, "Salt Fang: cannot write %s (%s); the settings and the high scores will not be kept\n",
               path.empty() ? "Config.cfg" : path.c_str(), path.empty() ? "no folder for it" : std::strerror(errno));
}

void TForm1::PlaySoundAt(int32_t x, int32_t y, SoundId sound) { audio_->PlaySoundAt(x, y, sound); }

void TForm1::PlayMenuSound() { PlaySoundAt(pointer_.X, pointer_.Y, sndCheckMenu); }

void TForm1::StartMusic(const char* module) { audio_->StartMusic(module); }

void TForm1::StopMusic() { audio_->StopMusic(); }

void TForm1::GameOver(int32_t score, const Surface& lastFrame) {
  if (config_.highScores[kHighScoreCount - 1].Score >= score) {
    screenState_ = scrMainMenu;
    return;
  }
  BltFast(snapshot_, 0, 0, lastFrame, false);
  // The name entry opens with Ok chosen, so Enter keeps the score whatever an earlier use chose.
  menus_->OkCancelDialog.Choice = true;
  screenState_ = scrEnterName;
  menus_->MainMenu.SetIndex(static_cast<int32_t>(MainMenuItem::HighScores));
  if (recorder_) recorder_->NameEntryOpened(menus_->NameEntry.Text);
}

void TForm1::TypeName(char key) {
  TDDEdit& field = menus_->NameEntry;
  const size_t before = field.Length();
  field.KeyInput(key);
  if (!recorder_) return;
  if (field.Length() > before) recorder_->NameLetterTyped(key);
  if (field.Length() < before) recorder_->NameLetterErased();
}

void TForm1::ConfirmName() {
  if (recorder_) recorder_->NameConfirmed();
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
    case InputEvent::DisplayLost: backBuffer_.Lost = true; break;
  }
}

bool TForm1::NextEvent(InputEvent& e) {
  if (heldEvents_.empty()) return platform_.input.PollEvent(e);
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
  if (!frameDrawn_ && !closed_) platform_.input.WaitEvent(platform_.clock.MsUntilNextTick());
  return !closed_;
}

void TForm1::Run() {
  while (Pump()) {
  }
}

void TForm1::AfterClose() {
  platform_.shell.OpenFileIfExists(files_.Shell + "wgame.exe");
  platform_.shell.OpenFileIfExists(files_.Shell + "Play.url");
}

}  // namespace sf
