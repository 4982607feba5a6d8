#pragma once
#include <cstdint>

#include "audio/SoundIds.h"
#include "gfx/Surface.h"
#include "platform/Input.h"

namespace sf {

// What a running game needs from the main window, and nothing more. The main window implements it;
// tests implement it with a recording fake.
class GameHost {
 public:
  virtual ~GameHost() = default;

  // The 256 key states by scan code (0x80 = down), refreshed by the frame loop.
  virtual const uint8_t* KeyboardState() const = 0;
  // Reads the relative mouse motion and buttons since the last read (the mouse device).
  // False when the read fails; the game then treats the mouse as still.
  virtual bool ReadMouseState(MouseState& state) = 0;
  // True after a mouse move, false after a key press.
  virtual bool MouseSteering() const = 0;
  // Puts the system cursor at a picture position (700, 500 during a game) so relative motion keeps
  // arriving; a relative-mouse platform may treat it as a no-op.
  virtual void SetCursorPos(int32_t x, int32_t y) = 0;
  // The system cursor display counter: hidden while a game runs, shown again at its end.
  virtual void ShowCursor(bool show) = 0;

  // Plays a sound effect with pan and volume taken from the screen position.
  virtual void PlaySoundAt(int32_t x, int32_t y, SoundId sound) = 0;
  virtual void StopMusic() = 0;
  // Starts a music module by file name ("1.xm").
  virtual void StartMusic(const char* module) = 0;
  virtual bool MusicOn() const = 0;

  // The game is over with this score, after its game-over picture: the window goes on to the
  // name entry or the main menu. lastFrame is the picture shown last, kept behind the name entry.
  virtual void GameOver(int32_t score, const Surface& lastFrame) = 0;
  // The frozen picture behind the game-over screen and the name entry (800 x 600).
  virtual Surface& SnapshotSurface() = 0;
};

}  // namespace sf
