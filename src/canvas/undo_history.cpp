#include "canvas/undo_history.h"

#include <algorithm>
#include <cstring>

namespace quillo {

struct UndoHistory::Tile {
  Tile(int32_t w, int32_t h, std::shared_ptr<int64_t> counter)
      : width(w),
        height(h),
        pixels(std::make_unique_for_overwrite<uint32_t[]>(static_cast<size_t>(w) * h)),
        bytes(std::move(counter)) {
    *bytes += Size();
  }
  ~Tile() { *bytes -= Size(); }
  Tile(const Tile&) = delete;
  Tile& operator=(const Tile&) = delete;

  int64_t Size() const { return int64_t{width} * height * 4 + kTileOverhead; }

  int32_t width;
  int32_t height;
  std::unique_ptr<uint32_t[]> pixels;
  std::shared_ptr<int64_t> bytes;
};

namespace {

bool Meets(const Rect& a, const Rect& b) {
  return !Intersect(a, b).Empty();
}

// Whether r lies inside outer.
bool Inside(const Rect& r, const Rect& outer) {
  return r.Empty() || Intersect(r, outer) == r;
}

// Whether the pixels of r on s equal a tile of r's size.
bool SamePixels(const Surface& s, const Rect& r, const uint32_t* tile) {
  const auto w = static_cast<size_t>(r.right - r.left);
  for (int32_t y = r.top; y < r.bottom; ++y, tile += w) {
    const uint32_t* row = s.Bits() + static_cast<size_t>(y) * s.Width() + r.left;
    if (std::memcmp(row, tile, w * 4) != 0) return false;
  }
  return true;
}

// Writes a tile of r's size into r on a and b, each row read once for both.
void PutTwice(Surface& a, Surface& b, const Rect& r, const uint32_t* tile) {
  const auto w = static_cast<size_t>(r.right - r.left);
  for (int32_t y = r.top; y < r.bottom; ++y, tile += w) {
    const size_t at = static_cast<size_t>(y) * a.Width() + r.left;
    std::memcpy(a.Bits() + at, tile, w * 4);
    std::memcpy(b.Bits() + at, tile, w * 4);
  }
  a.MarkDirty(r);
  b.MarkDirty(r);
}

// Writes the part of a tile of r's size that lies in clip into s.
void Put(Surface& s, const Rect& r, const Rect& clip, const uint32_t* tile) {
  const Rect c = Intersect(r, clip);
  if (c.Empty()) return;
  const auto tileWidth = static_cast<size_t>(r.right - r.left);
  const auto w = static_cast<size_t>(c.right - c.left);
  tile += static_cast<size_t>(c.top - r.top) * tileWidth + static_cast<size_t>(c.left - r.left);
  for (int32_t y = c.top; y < c.bottom; ++y, tile += tileWidth)
    std::memcpy(s.Bits() + static_cast<size_t>(y) * s.Width() + c.left, tile, w * 4);
  s.MarkDirty(c);
}

}  // namespace

UndoHistory::UndoHistory(int64_t memoryBound)
    : memoryBound_(memoryBound), tileBytes_(std::make_shared<int64_t>(0)) {}

int64_t UndoHistory::Bytes() const {
  const auto grid = static_cast<int64_t>(sizeof(TileRef)) * columns_ * rows_;
  return *tileBytes_ + grid * static_cast<int64_t>(states_.size() + 1);
}

bool UndoHistory::Fits(const HistorySurfaces& s) const {
  for (const Surface* p : {&s.canvas, &s.backup, &s.undoImage})
    if (p->Width() != width_ || p->Height() != height_) return false;
  return !states_.empty();
}

Rect UndoHistory::TileRect(size_t i) const {
  const auto col = static_cast<int32_t>(i % static_cast<size_t>(columns_));
  const auto row = static_cast<int32_t>(i / static_cast<size_t>(columns_));
  return Rect{col * kTileSide, row * kTileSide, std::min(width_, (col + 1) * kTileSide),
              std::min(height_, (row + 1) * kTileSide)};
}

template <typename F>
void UndoHistory::ForTiles(const Rect& r, F&& f) const {
  const Rect area = Intersect(r, Rect{0, 0, width_, height_});
  if (area.Empty()) return;
  for (int32_t row = area.top / kTileSide; row <= (area.bottom - 1) / kTileSide; ++row) {
    for (int32_t col = area.left / kTileSide; col <= (area.right - 1) / kTileSide; ++col) {
      const auto i = static_cast<size_t>(row) * static_cast<size_t>(columns_) + col;
      f(i, TileRect(i));
    }
  }
}

UndoHistory::TileRef UndoHistory::Capture(const Surface& s, const Rect& r) {
  auto tile = std::make_shared<Tile>(r.right - r.left, r.bottom - r.top, tileBytes_);
  const auto w = static_cast<size_t>(tile->width);
  uint32_t* out = tile->pixels.get();
  for (int32_t y = r.top; y < r.bottom; ++y, out += w)
    std::memcpy(out, s.Bits() + static_cast<size_t>(y) * s.Width() + r.left, w * 4);
  return tile;
}

void UndoHistory::Reset(HistorySurfaces s) {
  states_.clear();
  undoTiles_.clear();
  current_ = 0;
  width_ = s.backup.Width();
  height_ = s.backup.Height();
  if (s.canvas.Bounds() != s.backup.Bounds() || s.undoImage.Bounds() != s.backup.Bounds()) return;
  columns_ = (width_ + kTileSide - 1) / kTileSide;
  rows_ = (height_ + kTileSide - 1) / kTileSide;
  State first(static_cast<size_t>(columns_) * rows_);
  ForTiles(s.backup.Bounds(), [&](size_t i, const Rect& r) { first[i] = Capture(s.backup, r); });
  states_.push_back(std::move(first));
  for (Surface* p : {&s.canvas, &s.backup, &s.undoImage})
    p->TakeChanged();
  // Nothing says the canvas shows the backup yet.
  canvasApart_ = s.canvas.Bounds();
  backupApart_ = Rect{};
  undoApart_ = Rect{};
}

void UndoHistory::Gather(HistorySurfaces s) {
  canvasApart_ = Union(canvasApart_, s.canvas.TakeChanged());
  backupApart_ = Union(backupApart_, s.backup.TakeChanged());
}

void UndoHistory::CanvasShowsBackup(Surface& canvas) {
  canvas.TakeChanged();
  canvasApart_ = Rect{};
}

void UndoHistory::KeepBackupAsUndoImage(HistorySurfaces s, const Rect& reference) {
  const State& now = states_[current_];
  const Rect own = Union(undoApart_, s.undoImage.TakeChanged());
  const bool all = undoTiles_.size() != now.size();
  ForTiles(reference, [&](size_t i, const Rect& r) {
    if (all || undoTiles_[i] != now[i] || Meets(own, r))
      Put(s.undoImage, r, reference, now[i]->pixels.get());
  });
  s.undoImage.TakeChanged();
  undoTiles_ = now;
  // Where the backup has left the state, the undo image takes the backup itself; it
  // keeps its own pixels outside the reference rectangle.
  const Rect moved = Intersect(backupApart_, reference);
  if (!moved.Empty()) s.undoImage.CopyRect(moved, s.backup, moved, kSrcCopy);
  s.undoImage.TakeChanged();
  undoApart_ = Inside(s.undoImage.Bounds(), reference) ? moved : s.undoImage.Bounds();
}

bool UndoHistory::Commit(HistorySurfaces s, const Rect& reference, const Rect& shown,
                         UndoImageRule rule) {
  if (!Fits(s)) Reset(s);
  if (!Fits(s)) {
    // Pictures of different sizes keep no history: the plain copies alone.
    if (rule == UndoImageRule::kFromBackup)
      s.undoImage.CopyRect(reference, s.backup, reference, kSrcCopy);
    s.backup.CopyRect(shown, s.canvas, shown, kSrcCopy);
    return false;
  }
  Gather(s);
  if (rule == UndoImageRule::kFromBackup) KeepBackupAsUndoImage(s, Normalized(reference));
  const Rect visible = Intersect(Normalized(shown), s.backup.Bounds());
  const Rect apart = Union(canvasApart_, backupApart_);
  const Rect copied = Intersect(apart, visible);
  if (!copied.Empty()) s.backup.CopyRect(copied, s.canvas, copied, kSrcCopy);
  const State& now = states_[current_];
  State next;
  ForTiles(Union(copied, backupApart_), [&](size_t i, const Rect& r) {
    if (SamePixels(s.backup, r, now[i]->pixels.get())) return;
    if (next.empty()) next = now;
    next[i] = Capture(s.backup, r);
  });
  s.backup.TakeChanged();
  backupApart_ = Rect{};
  // Under a strip the canvas keeps what it shows, and the backup what it held.
  canvasApart_ = Inside(apart, visible) ? Rect{} : apart;
  if (next.empty()) return false;
  states_.erase(states_.begin() + static_cast<std::ptrdiff_t>(current_) + 1, states_.end());
  states_.push_back(std::move(next));
  ++current_;
  Trim();
  return true;
}

void UndoHistory::StepTo(HistorySurfaces s, size_t to) {
  Gather(s);
  const Rect apart = Union(canvasApart_, backupApart_);
  const State& from = states_[current_];
  const State& target = states_[to];
  ForTiles(s.backup.Bounds(), [&](size_t i, const Rect& r) {
    if (from[i] != target[i] || Meets(apart, r))
      PutTwice(s.canvas, s.backup, r, target[i]->pixels.get());
  });
  s.canvas.TakeChanged();
  s.backup.TakeChanged();
  canvasApart_ = Rect{};
  backupApart_ = Rect{};
  current_ = to;
}

bool UndoHistory::StepBack(HistorySurfaces s) {
  if (!Fits(s) || current_ == 0) return false;
  StepTo(s, current_ - 1);
  return true;
}

bool UndoHistory::StepForward(HistorySurfaces s) {
  if (!Fits(s) || current_ + 1 >= states_.size()) return false;
  StepTo(s, current_ + 1);
  return true;
}

void UndoHistory::Trim() {
  while (states_.size() > 1 && (Bytes() > memoryBound_ || current_ > kMaxSteps)) {
    if (current_ > 0) {
      states_.pop_front();
      --current_;
    } else {
      states_.pop_back();
    }
  }
}

}  // namespace quillo
