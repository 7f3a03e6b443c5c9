#include "app/autosave.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <variant>
#include <vector>

#include "app/program.h"
#include "log/log_files.h"
#include "platform/whole_file.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;

constexpr const char* kQuestion =
    "Quillo closed before it could save. Bring back the last drawing?";

// The words after the replay file's entries and size record: a mark, the position, the picture's
// width and height, the two halves of its pixel checksum, and last the checksum of
// every byte before it.
constexpr uint32_t kMark = 0x5341'4C51;  // "QLAS"
constexpr size_t kTrailerBytes = 4 * 7;
constexpr size_t kMaxLogBytes = 8 * (size_t{kLogCapacity} + 1) + kSizeTrailerBytes + kTrailerBytes;
// The kept history: its steps' pixels, its present state (a picture up to 7680 x
// 4320) and the grids of its states.
constexpr size_t kMaxHistoryBytes = size_t{256} << 20;

// 64-bit FNV-1a, a word at a time.
constexpr uint64_t kSumStart = 0xcbf2'9ce4'8422'2325ull;
uint64_t Mix(uint64_t sum, uint32_t word) {
  return (sum ^ word) * 0x100'0000'01b3ull;
}

uint64_t BytesSum(std::span<const uint8_t> bytes) {
  uint64_t sum = kSumStart;
  for (uint8_t b : bytes)
    sum = Mix(sum, b);
  return sum;
}

// The colours of the pixels; the byte above each colour may read otherwise after a
// trip through a picture file.
uint64_t PictureSum(const Surface& picture) {
  uint64_t sum = Mix(Mix(kSumStart, static_cast<uint32_t>(picture.Width())),
                     static_cast<uint32_t>(picture.Height()));
  const uint32_t* pixels = picture.Bits();
  const size_t count = static_cast<size_t>(picture.Width()) * static_cast<size_t>(picture.Height());
  for (size_t i = 0; i < count; ++i)
    sum = Mix(sum, pixels[i] & 0xFF'FFFFu);
  return sum;
}

void PutLe32(std::vector<uint8_t>& out, uint32_t word) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<uint8_t>(word >> (8 * i)));
}

uint32_t Le32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// The log file of the kept drawing: the log's replay file, then what ties it to
// the picture.
std::vector<uint8_t> EncodeKeptLog(const ActionLog& log, const Surface& picture) {
  std::vector<uint8_t> bytes = EncodeReplayFile(log);
  const uint64_t pictureSum = PictureSum(picture);
  for (const uint32_t word :
       {kMark, static_cast<uint32_t>(log.position), static_cast<uint32_t>(picture.Width()),
        static_cast<uint32_t>(picture.Height()), static_cast<uint32_t>(pictureSum),
        static_cast<uint32_t>(pictureSum >> 32)}) {
    PutLe32(bytes, word);
  }
  PutLe32(bytes, static_cast<uint32_t>(BytesSum(bytes)));
  return bytes;
}

}  // namespace

struct KeptDrawing {
  LoadedLog log;
  int32_t position = 0;
  Surface picture;
  const char* pictureName = nullptr;  // the file it was read from
};

namespace {

// The kept drawing in dir, or what keeps it from being brought back. The log is
// paired with the part file when that is the picture it was kept with (a write
// stopped before the rename), else with the picture.
std::variant<KeptDrawing, std::string> ReadKept(Platform& platform, const std::string& dir) {
  const std::string logPath = dir + Autosave::kLogName;
  const std::string damagedLog = "its log is damaged";
  auto read = ReadFileStart(logPath, kMaxLogBytes);
  if (auto* fault = std::get_if<std::string>(&read))
    return "its log cannot be read (" + *fault + ")";
  const FileStart& file = std::get<FileStart>(read);
  const std::vector<uint8_t>& bytes = file.bytes;
  if (file.size != bytes.size() || bytes.size() < 8 + kTrailerBytes) return damagedLog;
  const size_t entries = bytes.size() - kTrailerBytes;
  const uint8_t* trailer = bytes.data() + entries;
  if (Le32(trailer) != kMark ||
      Le32(trailer + 24) != static_cast<uint32_t>(BytesSum({bytes.data(), bytes.size() - 4})))
    return damagedLog;
  LogReadResult decoded = DecodeReplayFile({bytes.data(), entries});
  auto* log = std::get_if<LoadedLog>(&decoded);
  const size_t sizeRecord = log != nullptr && log->recordedSize.Known() ? kSizeTrailerBytes : 0;
  if (log == nullptr || !log->sizeFault.empty() ||
      entries != 8 * (static_cast<size_t>(log->count) + 1) + sizeRecord)
    return damagedLog;
  // The cursor stands wherever the user sent it: "Go to" takes any number, a step
  // goes on past the end. Past the last entry it acts as one past it, as a replay
  // that ran to its end leaves it, and before the first as at the first.
  const int32_t position =
      std::clamp(static_cast<int32_t>(Le32(trailer + 4)), int32_t{0}, log->count + 1);

  const int32_t width = static_cast<int32_t>(Le32(trailer + 8));
  const int32_t height = static_cast<int32_t>(Le32(trailer + 12));
  const uint64_t pictureSum = uint64_t{Le32(trailer + 16)} | uint64_t{Le32(trailer + 20)} << 32;
  std::string fault = "its picture is missing";
  for (const char* name : {Autosave::kPicturePartName, Autosave::kPictureName}) {
    const std::string picturePath = dir + name;
    if (!IsFile(picturePath)) continue;
    KeptDrawing kept;
    if (platform.LoadPicture(picturePath, kept.picture)) {
      fault = "its picture cannot be read";
    } else if (kept.picture.Width() != width || kept.picture.Height() != height) {
      fault = "its picture is not the size its log names";
    } else if (PictureSum(kept.picture) != pictureSum) {
      fault = "its picture is not the one its log was kept with";
    } else {
      kept.log = std::move(*log);
      kept.position = position;
      kept.pictureName = name;
      return kept;
    }
  }
  return fault;
}

// The picture on the canvas, in the backup and as the undo image (so an undo does
// not take it away again), stretched over them when the screen has another size
// now; the log with its count and position.
void PutBack(Program& p, const KeptDrawing& kept) {
  if (p.Replaying()) p.replay.StopReplay();
  CanvasImages& images = p.main.images;
  for (Surface* s : {&images.Backup(), &images.UndoImage(), &images.canvas})
    s->CopyRect(s->Bounds(), kept.picture, kept.picture.Bounds(), kSrcCopy);
  // The steps kept with the picture come back when they end in it; otherwise the
  // picture brought back is where the history begins.
  images.ResetHistory();
  auto history = ReadFileStart(p.programDir + Autosave::kHistoryName, kMaxHistoryBytes);
  if (const auto* file = std::get_if<FileStart>(&history); file && file->size == file->bytes.size())
    images.DecodeHistory(file->bytes);
  ApplyLoadedLog(p.log, kept.log);
  p.log.position = kept.position;
  p.log.ClearLines();
  p.replayState.length = kept.log.count;
  PaintLog& m = p.main;
  m.window.form.SetCaption(m.c.lblj, std::to_string(kept.position));
  m.window.form.SetVisible(m.c.LOGREPLAYBTN, kept.position > kReplayLabelAfter);
}

// The kept drawing's files, but for the temporary files of the whole-file writer.
constexpr const char* kKeptNames[] = {Autosave::kLogName, Autosave::kPictureName,
                                      Autosave::kPicturePartName, Autosave::kHistoryName};

// Deletes the kept drawing's files, or with keepFiles only the temporary files a
// write cut short left.
void RemoveKept(const std::string& dir, bool keepFiles) {
  std::error_code ec;
  if (!keepFiles) {
    for (const char* name : kKeptNames)
      fs::remove(dir + name, ec);
  }
  std::vector<fs::path> left;
  fs::directory_iterator it(dir, ec);
  for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    for (const char* kept : kKeptNames) {
      if (name.starts_with("." + std::string(kept) + ".part")) left.push_back(it->path());
    }
  }
  for (const fs::path& path : left)
    fs::remove(path, ec);
}

// Whether anything of a kept drawing is in dir.
bool KeptFilesExist(const std::string& dir) {
  std::error_code ec;
  for (const char* name : kKeptNames) {
    // The steps alone are no drawing: they go with the next one kept.
    if (std::string_view(name) != Autosave::kHistoryName && fs::exists(dir + name, ec)) return true;
  }
  return false;
}

// The date and time of a clock reading, for a file name: 2024-05-17-143005.
std::string FileDate(uint64_t millis) {
  using namespace std::chrono;
  const sys_seconds at{seconds{static_cast<int64_t>(millis / 1000)}};
  const sys_days day = floor<days>(at);
  const year_month_day date{day};
  const hh_mm_ss time{at - day};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u-%02ld%02ld%02ld", int{date.year()},
                unsigned{date.month()}, unsigned{date.day()}, long(time.hours().count()),
                long(time.minutes().count()), long(time.seconds().count()));
  return text;
}

// Renames the kept drawing's files with the date, so a drawing that cannot be
// brought back stays for whoever can; the names they got.
std::vector<std::string> SetAside(const std::string& dir, uint64_t millis) {
  // One stamp for all the files, free for each of them.
  std::string stamp = "autosave-damaged-" + FileDate(millis);
  const auto taken = [&dir](const std::string& stem) {
    std::error_code ec;
    for (const char* name : kKeptNames) {
      const std::string kept = name;
      if (fs::exists(dir + stem + kept.substr(kept.find('.')), ec)) return true;
    }
    return false;
  };
  for (int n = 2; taken(stamp) && n < 1000; ++n)
    stamp = "autosave-damaged-" + FileDate(millis) + "-" + std::to_string(n);
  std::vector<std::string> names;
  for (const char* name : kKeptNames) {
    if (!IsFile(dir + name)) continue;
    const std::string kept = name;
    const std::string aside = stamp + kept.substr(kept.find('.'));  // .qlr, .png, .part.png
    std::error_code ec;
    fs::rename(dir + name, dir + aside, ec);
    if (!ec) names.push_back(aside);
  }
  return names;
}

}  // namespace

Autosave::Autosave(Program& program) : p_(program) {}
Autosave::~Autosave() = default;

void Autosave::Enable(int32_t periodMillis) {
  enabled_ = true;
  period_ = periodMillis > 0 ? periodMillis : kAutosavePeriodMillis;
  Timer& timer = p_.timers[TimerId::autosavetimer];
  timer.interval = std::min(timer.interval, period_);
}

void Autosave::WatchStartScreen() {
  if (!enabled_) return;
  watching_ = true;
  const std::string& dir = p_.programDir;
  TakeLock();
  // Ticks before the start screen's choice too, so the drawing is kept however that
  // screen goes; one that never shows is a choice made already.
  p_.timers.Enable(TimerId::autosavetimer, true);
  if (!p_.startScreen.window.visible) {
    AfterStartChoice();
    return;
  }
  if (heldElsewhere_ || !KeptFilesExist(dir)) return;
  RemoveKept(dir, true);
  // A drawing that cannot be read whole is not offered; the choice reports it.
  std::variant<KeptDrawing, std::string> kept = ReadKept(p_.platform, dir);
  if (auto* drawing = std::get_if<KeptDrawing>(&kept)) {
    offer_ = std::make_unique<KeptDrawing>(std::move(*drawing));
    p_.startScreen.OfferKeptDrawing(offer_->picture);
  }
}

void Autosave::TakeLock() {
  if (lockAsked_) return;
  lockAsked_ = true;
  // Taken before anything of the kept drawing is looked at: another copy's drawing is
  // not this one's to offer, even on the start screen.
  heldElsewhere_ = p_.platform.TakeLock(p_.programDir + kLockName) == LockOutcome::kHeldElsewhere;
}

void Autosave::AfterStartChoice(KeptDrawingChoice choice) {
  if (!enabled_ || offered_) return;
  offered_ = true;
  const std::string& dir = p_.programDir;
  TakeLock();
  if (heldElsewhere_) {
    // The other copy's drawing is not this one's to offer, replace or delete.
    p_.timers.Enable(TimerId::autosavetimer, false);
    p_.platform.ShowError(
        Arg(p_.Tr("Another Quillo is running in \"%1\" and keeps its drawing for a restart. "
                  "This one keeps none: what is drawn here is lost if it closes before it is "
                  "saved."),
            {dir}));
    return;
  }
  RemoveKept(dir, true);
  std::error_code ec;
  const bool closedNormally = fs::remove(dir + kClosedName, ec);
  if (KeptFilesExist(dir)) {
    std::variant<KeptDrawing, std::string> kept = std::string();
    if (offer_) {
      kept = std::move(*offer_);
    } else {
      kept = ReadKept(p_.platform, dir);
    }
    offer_.reset();
    if (const auto* fault = std::get_if<std::string>(&kept)) {
      const std::vector<std::string> aside = SetAside(dir, p_.platform.ClockMillis());
      std::string where;
      for (const std::string& name : aside)
        where += (where.empty() ? "" : ", ") + ("\"" + name + "\"");
      std::string message = Arg(p_.Tr("Quillo closed before it could save, and the drawing it "
                                      "kept cannot be brought back: %1."),
                                {*fault});
      if (!where.empty())
        message += " " + Arg(p_.Tr("Its files are set aside in \"%1\" as %2."), {dir, where});
      p_.platform.ShowError(message);
      RemoveKept(dir, false);
    } else {
      bool back = choice == KeptDrawingChoice::kContinue;
      // After a crash the drawing is not lost by a choice made in a hurry: the
      // question asks. A normal close left it to be continued or not.
      if (!back && !closedNormally) {
        // The start screen goes before the question comes.
        p_.platform.ProcessPendingEvents();
        back = p_.platform.Ask(p_.Tr(kQuestion), QuestionButtons::kNoOk) == Answer::kOk;
      }
      if (back) {
        const KeptDrawing& drawing = std::get<KeptDrawing>(kept);
        PutBack(p_, drawing);
        restored_ = true;
        // The pair brought back is the pair kept, under its usual names.
        if (drawing.pictureName == kPicturePartName) {
          fs::rename(dir + kPicturePartName, dir + kPictureName, ec);
        } else {
          fs::remove(dir + kPicturePartName, ec);
        }
      } else {
        RemoveKept(dir, false);
      }
    }
  }
  // The files hold the drawing brought back; a fresh drawing is kept once it changes.
  kept_ = BytesSum(EncodeKeptLog(p_.log, p_.main.images.Backup()));
  lastLook_ = p_.platform.ClockMillis();
  running_ = true;
  p_.timers.Enable(TimerId::autosavetimer, true);
}

void Autosave::Tick() {
  // The start screen closed some other way than by its buttons, or never showed.
  if (watching_ && !offered_ && !p_.startScreen.window.visible) AfterStartChoice();
  if (!running_) return;
  const uint64_t now = p_.platform.ClockMillis();
  // A clock set back makes the look due rather than far off.
  if (now >= lastLook_ && now - lastLook_ < static_cast<uint64_t>(period_)) return;
  // Never in the middle of a stroke: the next tick looks again.
  if (p_.drawing.buttonHeld) return;
  lastLook_ = now;
  const std::vector<uint8_t> file = EncodeKeptLog(p_.log, p_.main.images.Backup());
  const uint64_t print = BytesSum(file);
  if (print != kept_ && Write(file)) kept_ = print;
}

bool Autosave::Write(const std::vector<uint8_t>& logFile) {
  const std::string& dir = p_.programDir;
  const std::string part = dir + kPicturePartName;
  const std::string logPath = dir + kLogName;
  std::optional<std::string> fault = p_.platform.SavePicture(part, p_.main.images.Backup());
  if (!fault) {
    if (auto reason = WriteWholeFile(logPath, logFile))
      fault = "Cannot write \"" + logPath + "\": " + *reason + ".";
  }
  if (!fault) {
    std::error_code ec;
    fs::rename(part, dir + kPictureName, ec);
    if (ec) fault = "Cannot rename \"" + part + "\": " + ec.message() + ".";
  }
  if (!fault) {
    faultShown_ = false;
    // The steps are a help, not the drawing: one that cannot be written leaves the
    // last ones, which come back only if they end in this picture.
    WriteWholeFile(dir + kHistoryName, p_.main.images.history.Encode(kKeptHistoryBytes));
    return true;
  }
  std::error_code ignored;
  fs::remove(part, ignored);
  // One message for a run of failed writes; the next writes keep trying.
  if (!faultShown_) {
    faultShown_ = true;
    p_.platform.ShowError(Arg(p_.Tr("Quillo cannot keep the drawing for a restart. %1"), {*fault}));
  }
  return false;
}

void Autosave::KeepForNextStart() {
  if (!running_) return;
  running_ = false;
  p_.timers.Enable(TimerId::autosavetimer, false);
  // What was drawn since the last tick is kept too, mouse button or not.
  const std::vector<uint8_t> file = EncodeKeptLog(p_.log, p_.main.images.Backup());
  if (BytesSum(file) != kept_ && !Write(file)) return;
  // A fresh drawing nobody touched left nothing to continue.
  if (!KeptFilesExist(p_.programDir)) return;
  if (auto fault = WriteWholeFile(p_.programDir + kClosedName, {}))
    p_.platform.ShowError(Arg(p_.Tr("Quillo cannot mark the drawing it keeps: %1."), {*fault}));
}

}  // namespace quillo
