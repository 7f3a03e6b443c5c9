#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace quillo {

class Program;
struct KeptDrawing;

// What the start screen's choice does with a kept drawing.
enum class KeptDrawingChoice : uint8_t { kStartNew, kContinue };

// The time between two looks at whether the drawing is to be kept again.
inline constexpr int32_t kAutosavePeriodMillis = 30000;

// Keeps the drawing for a restart after the program dies: the log as a replay file
// and the backup Image1 as a PNG picture, in the program folder (the folder the
// program works in, so the installed program keeps them per user and a run from a
// build's program folder keeps them there, apart from the installed program's).
//
// They are written on the autosave timer, at most once a period, only when the log
// or the picture changed since the last write and never while a mouse button is
// held: the picture goes whole to a part file, the log is replaced whole, then the
// part file is renamed over the picture. Whenever the program is stopped, the log
// matches the part file or the picture, and a start looks at both. A normal end of
// the program keeps them too, written one last time, with a mark file that tells
// the next start it was no crash.
//
// The start screen offers the kept drawing as "Continue drawing". After a crash the
// question that offers it also comes when another choice is made; after a normal
// close another choice starts a new drawing and the kept one goes.
//
// The kept drawing belongs to one running program: the first to start in a folder
// holds a lock file there, and another copy started in the same folder neither
// offers, writes nor deletes the kept drawing.
//
// The undo history goes beside them, and comes back only when its present state is
// the picture brought back; otherwise the steps start at that picture.
//
// After the replay file (its entries and size record) the log file holds what ties
// the two together:
// the position, the picture's size and a checksum of its pixels, and a checksum of
// the whole log. A replay file reader ignores these bytes past the count.
class Autosave {
 public:
  explicit Autosave(Program& program);
  ~Autosave();

  // The kept drawing's files, in the program folder.
  static constexpr const char* kLogName = "autosave.qlr";
  static constexpr const char* kPictureName = "autosave.png";
  // The picture as it is written, before it is renamed into place.
  static constexpr const char* kPicturePartName = "autosave.part.png";
  // The undo history's present state and its steps around it, as far as
  // kKeptHistoryBytes of the steps' pixels go: at 1920 x 1080 some 170 strokes.
  static constexpr const char* kHistoryName = "autosave.history";
  static constexpr int64_t kKeptHistoryBytes = int64_t{32} << 20;
  // Held by the program whose drawing is kept.
  static constexpr const char* kLockName = "autosave.lock";
  // Left by a normal end of the program beside the drawing it kept.
  static constexpr const char* kClosedName = "autosave.closed";

  // Turns keeping the drawing on for this run, with periodMillis between two looks.
  // The application does; the tools and the engine's tests that do not ask for it run
  // without.
  void Enable(int32_t periodMillis = kAutosavePeriodMillis);

  // At the end of start-up, when the start screen shows or not: the lock is taken,
  // and a kept drawing that reads whole is offered on the showing start screen with
  // its miniature. From here the start screen's end, however it comes (its buttons,
  // the window system, never showing), makes the choice below.
  void WatchStartScreen();

  // After the start screen's choice, once a run (the first tick with no start screen
  // showing after WatchStartScreen comes here too): kContinue puts the kept picture
  // and log back; otherwise a drawing kept by a run that ended abnormally is offered
  // by a question ("OK" puts it back, "No" deletes it) and one kept by a normal close
  // is deleted. Then the autosave timer starts from what is drawn now. A kept
  // drawing that cannot be read whole is refused whole: it is reported and set aside
  // under a dated name, and the drawing stays as the choice left it. A copy that
  // cannot take the lock says so once and keeps nothing.
  void AfterStartChoice(KeptDrawingChoice choice = KeptDrawingChoice::kStartNew);
  // Whether AfterStartChoice brought a drawing back.
  bool Restored() const { return restored_; }

  // A tick of the autosave timer: writes the drawing when it is due and changed.
  void Tick();

  // A normal end of the program: writes the drawing when it changed since the last
  // write, marks it as closed normally and keeps nothing more. A drawing of an
  // earlier run that was never offered stays for the next start as it was.
  void KeepForNextStart();

 private:
  // Writes the drawing with its log file; false, with the first of a run of faults
  // shown, when it could not.
  bool Write(const std::vector<uint8_t>& logFile);
  // Takes the folder's lock, once a run.
  void TakeLock();

  Program& p_;
  std::unique_ptr<KeptDrawing> offer_;  // read at start-up, until the choice
  bool lockAsked_ = false;
  bool heldElsewhere_ = false;  // another copy holds the folder's lock
  bool enabled_ = false;
  bool watching_ = false;  // start-up is over: the start screen's end is watched
  bool offered_ = false;   // the start screen's choice has come
  bool running_ = false;   // the timer keeps the drawing
  bool restored_ = false;
  bool faultShown_ = false;
  int32_t period_ = kAutosavePeriodMillis;
  uint64_t lastLook_ = 0;
  // The fingerprint of what the files hold, or of the drawing the offer left.
  uint64_t kept_ = 0;
};

}  // namespace quillo
