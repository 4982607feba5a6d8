#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "app/ConfigStore.h"
#include "app/DisplayFocus.h"
#include "app/Platform.h"
#include "audio/SoundIds.h"
#include "core/Random.h"
#include "core/Rect.h"
#include "core/ScreenState.h"
#include "gfx/ImageSets.h"
#include "gfx/Surface.h"
#include "gfx/Text.h"
#include "layout/MenuLayout.h"
#include "platform/Input.h"

namespace replay {
class ReplayRecorder;
}

namespace sf {

class TGame;
class Audio;
class Menus;
class FormGameHost;
class FormMenuHost;
class ScreenTable;

// The mouse as the menus see it.
struct PointerState {
  int32_t X = 0;
  int32_t Y = 0;
  bool Steering = false;  // the mouse moved since the last key: menus follow the pointer
};

// Frames are drawn only when at least 6 ms of the tick have passed since the last present.
struct FramePacer {
  uint32_t LastFrameEndTick = 0;
  // The unsigned difference keeps the pace across the tick's wrap-around.
  bool Due(uint32_t now) const { return static_cast<uint32_t>(now - LastFrameEndTick) > 5; }
  // The next frame is drawn whenever it comes (the "Please wait..." picture before a blocking call).
  void MakeDue(uint32_t now) { LastFrameEndTick = now - 10; }
};

// The main window: owns the program's state, the surfaces, the settings, the menus and the
// current game; runs the frame loop and turns window events into menu moves and commands.
class TForm1 {
 public:
  // Files the program reads and writes. By default everything is relative to the working
  // directory; an installed game reads its data from its install folder and keeps Config.cfg in
  // the player's own folder (InFolders).
  struct Files {
    std::string Pack = "Data/Data.pp";
    std::string Music = "sound/";  // the folder of the music tracks
    std::string Shell;             // the folder of moregames.url, wgame.exe and Play.url
    std::string Config = "Config.cfg";
    std::string Font;                               // empty: TextRenderer::FindDefaultFont(Shell)
    std::string ScoreService = SALTFANG_SCORE_URL;  // the online score service

    // The data under dataFolder, Config.cfg in configFolder; both end with a separator.
    static Files InFolders(const std::string& dataFolder, const std::string& configFolder);
  };

  TForm1(Platform& platform, Files files);
  TForm1(Platform& services) : TForm1(services, Files{}) {}
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // Start-up: settings, display, images, menus, input, music. Throws PackError or
  // std::runtime_error when the program cannot start.
  void FormCreate();
  // Runs the message loop until the window has closed.
  void Run();
  // One pass of the loop: pending events, then the idle frame step. False once closed.
  bool Pump();
  // After the loop: opens "wgame.exe" and "Play.url" when they exist.
  void AfterClose();

  // Event handlers.
  void Dispatch(const InputEvent& e);
  void FormKeyDown(uint16_t key, bool alt);
  void FormMouseMove(int32_t x, int32_t y);
  void FormMouseDown();
  void FormMouseWheel();
  bool FormCloseQuery();
  void ApplicationEvents1Activate();
  void ApplicationEvents1Deactivate();
  void ApplicationEvents1Restore();

  // Display.
  void SetupWindow();
  void SetupDisplay();
  void SwitchDisplayMode(bool windowed);
  void SetSoundOn(bool on);
  int32_t ClearBackBuffer();
  int32_t RestoreSurfaces();
  void Present();
  void SaveSnapshot();
  void DrawScanlines(const Surface& image);
  void PauseGame(const Surface& image);

  // Frame loop.
  int32_t FrameStep();
  void ExecuteCommand();

  // Settings.
  void LoadConfig();
  void ApplyConfig();
  bool SaveConfig();

  // Services for the game and the menus.
  void PlaySoundAt(int32_t x, int32_t y, SoundId sound);
  void PlayMenuSound();
  void StartMusic(const char* module);
  void StopMusic();
  void ShowCursor(bool show);
  // Navigation. GoTo only changes the screen: what a screen needs on the way in (a snapshot, the
  // cursor) its callers do.
  void GoTo(ScreenState screen) { screenState_ = screen; }
  ScreenState Screen() const { return screenState_; }
  // The game being played or the last one played; null before the first.
  TGame* Game() const { return currentGame_.get(); }
  // Whether the window has the focus, and the cursor's show/hide counter.
  const DisplayFocus& Focus() const { return focus_; }
  // What the screens ask of the window.
  void CloseRequest();
  void StartNewGame();
  // Shows "Please wait...", then sends the result (and the game's replay) when send is set; the
  // high-score page or the "Can not connect" question follows.
  void SendResult(bool send);

  // The game is over with this score: the name entry after a new high score (lastFrame kept behind
  // it, the main menu pointing at the high scores), else the main menu.
  void GameOver(int32_t score, const Surface& lastFrame);
  // The name entry's letter (or TDDEdit::kEraseCode) for its field; what changes the field goes
  // into the game's recording, after the game, and so does the confirmation of the name.
  void TypeName(char key);
  void ConfirmName();

  // True once the window has closed.
  bool IsClosed() const { return closed_; }
  // The keyboard state read at the start of the last pass, by scan code (0x80: down).
  const uint8_t* KeyState() const { return keyboardState_; }

  // What the screens, the tests and the tools reach: the services and files the window was
  // given, its text renderer, images and menus, the settings with the table, the two surfaces.
  Platform& Services() const { return platform_; }
  const Files& FilePaths() const { return files_; }
  TextRenderer& Text() const { return *text_; }
  const ImageSets& Images() const { return images_; }
  // The menus exist from the first image load in FormCreate on.
  Menus& Widgets() const { return *menus_; }
  ConfigStore& Config() { return config_; }
  const ConfigStore& Config() const { return config_; }
  // The frame drawn last, before it is presented; and the copy of an earlier frame that the
  // questions, the pause and the name entry draw over.
  Surface& BackBuffer() { return backBuffer_; }
  Surface& SnapshotSurface() { return snapshot_; }
  // The mouse as the menus see it: the last position over the window, and whether the mouse (not
  // the keyboard) was used last.
  const PointerState& Pointer() const { return pointer_; }
  // The frame pacing: the tick the last present ended at.
  FramePacer& Pacer() { return pacer_; }
  // The exit question's answer: Yes lets the next close request end the program.
  void ConfirmExit(bool yes) { exitConfirmed_ = yes; }

 private:
  // The current screen's unit draws, takes the key, runs the command.
  void DrawScreen();
  // Sends the replay of the current game for the result submitted with token; true when taken.
  bool SendGameReplay(const std::string& token);
  void HandleMenuKey(uint16_t key);
  // Fills the image sets from the pack, and creates the menus the first time.
  void LoadImagesAndMenus();
  // The next event to handle: first those held back during the online exchange, then the window's.
  bool NextEvent(InputEvent& e);
  Platform& platform_;
  Files files_;
  std::unique_ptr<TextRenderer> text_;
  ImageSets images_;
  std::unique_ptr<Menus> menus_;
  ConfigStore config_;
  // Records every game as it is played (memory reserved once, at start-up).
  std::unique_ptr<replay::ReplayRecorder> recorder_;
  Surface backBuffer_{800, 600};
  Surface snapshot_{800, 600};
  PointerState pointer_;
  FramePacer pacer_;
  bool exitConfirmed_ = false;
  std::unique_ptr<FormGameHost> gameHost_;
  std::unique_ptr<FormMenuHost> menuHost_;
  // Every screen, by state.
  std::unique_ptr<ScreenTable> screens_;
  ScreenState screenState_ = scrIntro;
  Random random_;
  std::unique_ptr<Audio> audio_;
  uint32_t frameStartTick_ = 0;
  bool firstStart_ = true;
  uint8_t keyboardState_[256] = {};
  bool closed_ = false;
  DisplayFocus focus_;
  std::unique_ptr<TGame> currentGame_;
  bool frameDrawn_ = false;
  // Window events (focus, close, quit, ...) that arrived while the online exchange blocked.
  std::deque<InputEvent> heldEvents_;
  // The last failure to reload the pack, told once on stderr.
  std::string lastPackError_;
  // Whether the failure to write Config.cfg has been told on stderr (once a run).
  bool configNotKeptTold_ = false;
  void TellConfigNotKept();
};

}  // namespace sf
