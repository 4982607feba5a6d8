#pragma once
#include "app/Form.h"
#include "game/GameHost.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/Input.h"
#include "ui/MenuHost.h"
#include "ui/Menus.h"

namespace sf {

// The main window as the running game sees it.
class FormGameHost : public GameHost {
 public:
  explicit FormGameHost(TForm1& form) : f_(form) {}
  const uint8_t* KeyboardState() const override { return f_.KeyState(); }
  bool ReadMouseState(MouseState& state) override { return f_.Services().input.GetMouseState(state); }
  bool MouseSteering() const override { return f_.Pointer().Steering; }
  void SetCursorPos(int32_t x, int32_t y) override { f_.Services().display.SetCursorPos(x, y); }
  void ShowCursor(bool show) override { f_.ShowCursor(show); }
  void PlaySoundAt(int32_t x, int32_t y, SoundId sound) override { f_.PlaySoundAt(x, y, sound); }
  void StopMusic() override { f_.StopMusic(); }
  void StartMusic(const char* module) override { f_.StartMusic(module); }
  bool MusicOn() const override { return f_.Config().settings.MusicOn; }
  void GameOver(int32_t score, const Surface& lastFrame) override { f_.GameOver(score, lastFrame); }
  Surface& SnapshotSurface() override { return f_.SnapshotSurface(); }

 private:
  TForm1& f_;
};

// The main window as the menus see it.
class FormMenuHost : public MenuHost {
 public:
  explicit FormMenuHost(TForm1& form) : f_(form) {}
  int32_t PointerX() const override { return f_.Pointer().X; }
  int32_t PointerY() const override { return f_.Pointer().Y; }
  bool PointerSteering() const override { return f_.Pointer().Steering; }
  void ShowMainMenu() override { f_.GoTo(scrMainMenu); }
  void BeginKeyCapture() override { f_.GoTo(scrKeyCapture); }
  void EndKeyCapture() override { f_.GoTo(scrOptions); }
  void PlayMenuSound() override { f_.PlayMenuSound(); }
  void ExecuteCommand() override { f_.ExecuteCommand(); }
  uint32_t TickCount() override { return f_.Services().clock.TickCount(); }
  TextRenderer& Text() override { return f_.Text(); }
  const ImageSets& Images() const override { return f_.Images(); }

 private:
  TForm1& f_;
};

}  // namespace sf
