#pragma once

namespace sf {

class Clock;
class Display;
class Input;
class Shell;
class Sound;
class Music;
class Http;

// The services of the machine the program runs on, real or fake.
struct Platform {
  Display& display;
  Input& input;
  Clock& clock;
  Shell& shell;
  Sound& sound;
  Music& music;
  Http& http;
};

}  // namespace sf
