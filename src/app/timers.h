#pragma once

#include <array>
#include <cstdint>

namespace quillo {

// The program's timers. The engine keeps whether each runs and its interval; the
// shell runs a real timer for each enabled one and calls its tick handler.
enum class TimerId : uint8_t {
  logplaytimer,  // replay
  redtimer,      // main mixer auto-repeat
  greentimer,
  bluetimer,
  Redtimer,  // colour field editor mixer auto-repeat
  Greentimer,
  Bluetimer,
  Timer2,         // fly screen
  Timer3,         // STOP blinker
  Timer4,         // random key colours
  autosavetimer,  // looks whether the drawing is due to be kept for a restart
  kCount,
};

struct Timer {
  bool enabled = false;
  int32_t interval = 0;
};

class Timers {
 public:
  Timers();
  Timer& operator[](TimerId id) { return timers_[static_cast<size_t>(id)]; }
  const Timer& operator[](TimerId id) const { return timers_[static_cast<size_t>(id)]; }
  bool Enabled(TimerId id) const { return (*this)[id].enabled; }
  void Enable(TimerId id, bool on) { (*this)[id].enabled = on; }

 private:
  std::array<Timer, static_cast<size_t>(TimerId::kCount)> timers_{};
};

inline Timers::Timers() {
  (*this)[TimerId::logplaytimer].interval = 5;
  (*this)[TimerId::redtimer].interval = 2;
  (*this)[TimerId::greentimer].interval = 2;
  (*this)[TimerId::bluetimer].interval = 2;
  (*this)[TimerId::Redtimer].interval = 50;
  (*this)[TimerId::Greentimer].interval = 50;
  (*this)[TimerId::Bluetimer].interval = 50;
  (*this)[TimerId::Timer2].interval = 50;
  (*this)[TimerId::Timer3].interval = 50;
  (*this)[TimerId::Timer4].interval = 30000;
  (*this)[TimerId::autosavetimer].interval = 1000;
}

}  // namespace quillo
