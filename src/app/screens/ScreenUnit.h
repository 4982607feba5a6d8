#pragma once
#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "core/ScreenState.h"

namespace sf {

class TForm1;

// One screen, or a family of screens that share their picture and keys: what it draws, what its
// keys do and what its commands (Enter, Space, a click) do, in one place. The main window hands
// each frame, key and command to the unit of the current screen; `screen` says which of the
// unit's states is shown.
class ScreenUnit {
 public:
  explicit ScreenUnit(TForm1& form) : form_(form) {}
  virtual ~ScreenUnit() = default;
  ScreenUnit(const ScreenUnit&) = delete;
  ScreenUnit& operator=(const ScreenUnit&) = delete;

  // Draws the screen on the cleared back buffer.
  virtual void Draw(ScreenState screen) = 0;
  // A key press that is neither the minimise key nor an Alt combination.
  virtual void Key(ScreenState screen, uint16_t key) = 0;
  // The command dispatcher's work on this screen.
  virtual void Command(ScreenState screen) = 0;
  // The window's close button on this screen: true when the screen gives way to the exit question
  // (after undoing what it had begun), false when it keeps the request unanswered (the game and
  // its pause are left through the game's own question, the intro, the name entry and the send
  // question finish first).
  virtual bool YieldToExitQuestion(ScreenState) { return true; }

 protected:
  TForm1& form_;
};

// Which unit serves which screen state. A state without a unit draws nothing (the cleared frame
// is shown) and ignores keys and commands.
class ScreenTable {
 public:
  void Add(std::unique_ptr<ScreenUnit> unit, std::initializer_list<ScreenState> states) {
    for (ScreenState s : states) byState_[static_cast<size_t>(s)] = unit.get();
    units_.push_back(std::move(unit));
  }
  ScreenUnit* For(ScreenState s) const {
    const auto i = static_cast<size_t>(s);
    return i < byState_.size() ? byState_[i] : nullptr;
  }

 private:
  static constexpr size_t kStateLimit = 64;  // above the largest state's number
  std::array<ScreenUnit*, kStateLimit> byState_{};
  std::vector<std::unique_ptr<ScreenUnit>> units_;
};

// The screens of the program, by family, with the states each serves: the intro and the pages
// beside the main menu; the questions and messages; the game and its pause.
void AddMenuPages(TForm1& form, ScreenTable& table);
void AddDialogs(TForm1& form, ScreenTable& table);
void AddGameScreens(TForm1& form, ScreenTable& table);
inline void AddAllScreens(TForm1& form, ScreenTable& table) {
  AddMenuPages(form, table);
  AddDialogs(form, table);
  AddGameScreens(form, table);
}

}  // namespace sf
