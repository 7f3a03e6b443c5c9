#include "canvas/undo_history.h"

#include <algorithm>
#include <array>
#include <bit>
#include <condition_variable>
#include <cstring>
#include <iterator>
#include <mutex>
#include <new>
#include <optional>
#include <thread>
#include <unordered_map>

#include "canvas/second_hand.h"
#include "platform/raster/blit.h"
#include "platform/raster/large_pages.h"

namespace quillo {

// Slabs of memory made ready on a thread of their own, ahead of need: a snapshot
// that needs new memory then takes a slab whose pages the system has already cleared,
// rather than waiting while it does. (Some systems take ten times as long to make
// memory ready as to copy it.) They are made between snapshots: made during one, they
// took the second core and the memory its copies share.
class SlabsAhead {
 public:
  explicit SlabsAhead(size_t bytes) : bytes_(bytes) {}
  ~SlabsAhead() {
    {
      const std::lock_guard lock(mutex_);
      stop_ = true;
    }
    wake_.notify_one();
    if (worker_.joinable()) worker_.join();
    for (void* slab : ready_)
      raster::GiveBackPages(slab, bytes_);
  }
  SlabsAhead(const SlabsAhead&) = delete;
  SlabsAhead& operator=(const SlabsAhead&) = delete;

  // A slab of ready pages, made now when none is ready; nullptr when there is no memory.
  void* Take() {
    void* slab = nullptr;
    {
      const std::lock_guard lock(mutex_);
      if (!ready_.empty()) {
        slab = ready_.back();
        ready_.pop_back();
      }
    }
    return slab != nullptr ? slab : raster::TakeReadyPages(bytes_);
  }
  // Makes slabs ready, on the thread, until as many as ahead are.
  void MakeReady(size_t ahead) {
    {
      const std::lock_guard lock(mutex_);
      ahead_ = ahead;
      if (ready_.size() >= ahead_) return;
      if (!worker_.joinable()) worker_ = std::thread([this] { Work(); });
    }
    wake_.notify_one();
  }

 private:
  void Work() {
    std::unique_lock lock(mutex_);
    while (true) {
      wake_.wait(lock, [this] { return stop_ || ready_.size() < ahead_; });
      if (stop_) return;
      lock.unlock();
      void* slab = raster::TakeReadyPages(bytes_);
      lock.lock();
      // Without memory to spare the slabs are made when needed, if at all.
      if (slab == nullptr) return;
      ready_.push_back(slab);
    }
  }

  const size_t bytes_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<void*> ready_;
  size_t ahead_ = 0;
  bool stop_ = false;
  std::thread worker_;
};

// Tile pixels come from 2 MiB slabs, so that a full history reuses its memory without
// the heap. The first free slot of the earliest slab is taken first: the tiles of one
// snapshot then mostly lie side by side, and so do the slots they give back. A slab's
// pages are made in one call: a fault for each 4 KiB page as tiles first touched it
// cost more than the copies themselves. (Large pages were tried: the system's time to
// make one cost more than the small pages.)
class UndoHistory::TilePool {
 public:
  static constexpr size_t kSlotWords = size_t{kTileSide} * kTileSide;
  static constexpr size_t kSlabBytes = size_t{2} << 20;
  static constexpr size_t kSlabSlots = kSlabBytes / (kSlotWords * 4);
  static_assert(kSlabSlots == 128, "a slab's free slots are two words");

  // Slabs for a history of memoryBound bytes.
  explicit TilePool(int64_t memoryBound)
      : maxSlabs_(static_cast<size_t>(std::max<int64_t>(memoryBound, 0)) / kSlabBytes) {}

  uint32_t* Take() {
    while (firstFree_ < slabs_.size() &&
           (slabs_[firstFree_].free[0] | slabs_[firstFree_].free[1]) == 0)
      ++firstFree_;
    if (firstFree_ == slabs_.size()) Grow();
    Slab& slab = slabs_[firstFree_];
    const size_t word = slab.free[0] != 0 ? 0 : 1;
    const auto slot = static_cast<size_t>(std::countr_zero(slab.free[word])) + 64 * word;
    slab.free[word] &= slab.free[word] - 1;
    ++inUse_;
    return static_cast<uint32_t*>(slab.pages.get()) + slot * kSlotWords;
  }
  void Give(uint32_t* p) {
    const auto it = std::upper_bound(byAddress_.begin(), byAddress_.end(), p,
                                     [](const uint32_t* q, const auto& e) { return q < e.first; });
    const size_t index = std::prev(it)->second;
    Slab& slab = slabs_[index];
    const auto slot =
        static_cast<size_t>(p - static_cast<uint32_t*>(slab.pages.get())) / kSlotWords;
    slab.free[slot / 64] |= uint64_t{1} << (slot % 64);
    firstFree_ = std::min(firstFree_, index);
    // With no tile left (a new history) the slabs go back to the system.
    if (--inUse_ == 0) {
      slabs_.clear();
      byAddress_.clear();
      firstFree_ = 0;
    }
  }
  int64_t SlotsInUse() const { return inUse_; }
  // The next snapshot may take this many new tiles: slabs for them are made ready, at
  // most four (a change of the whole screen); but one near the bound, where the
  // history only reuses its own and slabs made ahead would stay unused.
  void Expect(size_t tiles) {
    const auto room = static_cast<ptrdiff_t>(maxSlabs_) - static_cast<ptrdiff_t>(slabs_.size());
    const auto wanted = static_cast<ptrdiff_t>((tiles + kSlabSlots - 1) / kSlabSlots);
    ahead_.MakeReady(
        static_cast<size_t>(std::clamp<ptrdiff_t>(std::min<ptrdiff_t>(wanted, room - 2), 1, 4)));
  }

 private:
  struct FreeSlab {
    void operator()(void* p) const { raster::GiveBackPages(p, kSlabBytes); }
  };
  struct Slab {
    std::unique_ptr<void, FreeSlab> pages;
    std::array<uint64_t, 2> free;
  };
  void Grow() {
    void* pages = ahead_.Take();
    if (pages == nullptr) throw std::bad_alloc();
    slabs_.push_back(Slab{std::unique_ptr<void, FreeSlab>(pages), {~uint64_t{0}, ~uint64_t{0}}});
    const std::pair<const uint32_t*, size_t> entry{static_cast<uint32_t*>(pages),
                                                   slabs_.size() - 1};
    byAddress_.insert(std::upper_bound(byAddress_.begin(), byAddress_.end(), entry), entry);
  }

  const size_t maxSlabs_;
  std::vector<Slab> slabs_;
  std::vector<std::pair<const uint32_t*, size_t>> byAddress_;
  size_t firstFree_ = 0;
  int64_t inUse_ = 0;
  SlabsAhead ahead_{kSlabBytes};
};

UndoHistory::Tile::Tile(int32_t w, int32_t h, std::shared_ptr<TilePool> from)
    : width(w), height(h), pool(std::move(from)), pixels(pool->Take()) {}

UndoHistory::Tile::~Tile() {
  pool->Give(pixels);
}

UndoHistory::State::State(size_t columns, size_t rows) : columns_(columns) {
  bands_.reserve(rows);
  for (size_t b = 0; b < rows; ++b)
    bands_.emplace_back(new Band{std::vector<TileRef>(columns), 1});
}

void UndoHistory::State::Set(size_t i, TileRef tile) {
  Ref<Band>& band = bands_[i / columns_];
  if (band->references > 1) band = Ref<Band>(new Band{band->tiles, 1});
  band->tiles[i % columns_] = std::move(tile);
}

namespace {

bool Meets(const Rect& a, const Rect& b) {
  return !Intersect(a, b).Empty();
}

// Whether r lies inside outer.
bool Inside(const Rect& r, const Rect& outer) {
  return r.Empty() || Intersect(r, outer) == r;
}

// Whether the rows of r, row(y) giving each, equal a tile of r's size.
template <typename Row>
bool SameRows(const Rect& r, Row&& row, const uint32_t* tile) {
  const auto w = static_cast<size_t>(r.right - r.left);
  for (int32_t y = r.top; y < r.bottom; ++y, tile += w)
    if (std::memcmp(row(y), tile, w * 4) != 0) return false;
  return true;
}

// The colour of the rows of r, row(y) giving each, when they have only one.
template <typename Row>
std::optional<uint32_t> OneColour(const Rect& r, Row&& row) {
  const auto w = static_cast<size_t>(r.right - r.left);
  const uint32_t colour = row(r.top)[0];
  // Most tiles that are not of one colour tell so at their last pixel or their middle
  // one, which saves reading their rows from memory until they differ.
  if (row(r.bottom - 1)[w - 1] != colour || row((r.top + r.bottom) / 2)[w / 2] != colour)
    return std::nullopt;
  for (int32_t y = r.top; y < r.bottom; ++y)
    if (!std::all_of(row(y), row(y) + w, [colour](uint32_t p) { return p == colour; }))
      return std::nullopt;
  return colour;
}

// Where the pixels of part begin in a tile of r's size.
template <typename Pixel>
Pixel* PartOf(Pixel* tile, const Rect& r, const Rect& part) {
  return tile + static_cast<size_t>(part.top - r.top) * static_cast<size_t>(r.right - r.left) +
         static_cast<size_t>(part.left - r.left);
}

// Whether the pixels of part, within r, on s equal theirs in a tile of r's size.
bool SamePart(const Surface& s, const Rect& r, const Rect& part, const uint32_t* tile) {
  if (part.Empty()) return true;
  const auto tileWidth = static_cast<size_t>(r.right - r.left);
  const auto w = static_cast<size_t>(part.right - part.left);
  tile = PartOf(tile, r, part);
  const auto same = [&](int32_t y) {
    return std::memcmp(s.Bits() + static_cast<size_t>(y) * s.Width() + part.left,
                       tile + static_cast<size_t>(y - part.top) * tileWidth, w * 4) == 0;
  };
  // A stroke across the part mostly crosses its middle row, which tells at once.
  const int32_t middle = (part.top + part.bottom) / 2;
  if (!same(middle)) return false;
  for (int32_t y = part.top; y < part.bottom; ++y)
    if (y != middle && !same(y)) return false;
  return true;
}

// The rows of r on s.
auto RowsOf(const Surface& s, const Rect& r) {
  return [&s, left = r.left](int32_t y) {
    return s.Bits() + static_cast<size_t>(y) * s.Width() + left;
  };
}

// Writes the part of a tile of r's size that lies in clip into s, leaving s's changed
// areas as they are: the history's own writes are no change of the picture's.
void WriteTile(Surface& s, const Rect& r, const Rect& clip, const uint32_t* tile) {
  const Rect c = Intersect(r, clip);
  if (c.Empty()) return;
  const auto tileWidth = static_cast<size_t>(r.right - r.left);
  const auto w = static_cast<size_t>(c.right - c.left);
  tile = PartOf(tile, r, c);
  for (int32_t y = c.top; y < c.bottom; ++y, tile += tileWidth)
    std::memcpy(s.Bits() + static_cast<size_t>(y) * s.Width() + c.left, tile, w * 4);
}

// The same, marked as changed: the window shows it.
void Put(Surface& s, const Rect& r, const uint32_t* tile) {
  WriteTile(s, r, r, tile);
  s.MarkDirty(r);
}

}  // namespace

UndoHistory::UndoHistory(int64_t memoryBound)
    : memoryBound_(memoryBound),
      pool_(std::make_shared<TilePool>(memoryBound)),
      hand_(std::make_unique<SecondHand>()) {}

UndoHistory::~UndoHistory() = default;

template <typename F>
void UndoHistory::ShareTiles(size_t count, F&& each) {
  if (count <= kWarmTiles) {
    for (size_t k = 0; k < count; ++k)
      each(k);
    return;
  }
  // Eight tiles at a time: 128 KiB, a small part of the whole for the thread's
  // wake-up and for the wait for the other's last share.
  constexpr size_t kShare = 8;
  hand_->Share((count + kShare - 1) / kShare, [&](size_t part) {
    for (size_t k = part * kShare; k < std::min(count, (part + 1) * kShare); ++k)
      each(k);
  });
}

int64_t UndoHistory::Bytes() const {
  const auto grid = static_cast<int64_t>(sizeof(TileRef)) * columns_ * rows_;
  return pool_->SlotsInUse() * kTileBytes + grid * static_cast<int64_t>(states_.size() + 1);
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

UndoHistory::TileRef UndoHistory::SolidTile(const Rect& r, uint32_t colour) {
  // Tiles of one colour and size share their pixels: a blank picture, a clear or a
  // fill takes one tile, not one for each place.
  const int32_t width = r.right - r.left;
  const int32_t height = r.bottom - r.top;
  const SolidKey key{colour, width, height};
  if (auto it = solid_.find(key); it != solid_.end()) return it->second;
  TileRef tile(new Tile(width, height, pool_));
  std::fill_n(tile->pixels, static_cast<size_t>(width) * static_cast<size_t>(height), colour);
  if (solid_.size() >= kMaxSolidTiles)
    std::erase_if(solid_, [](const auto& k) { return k.second->references == 1; });
  solid_[key] = tile;
  return tile;
}

UndoHistory::TileRef UndoHistory::Capture(const Surface& s, const Rect& r) {
  if (const std::optional<uint32_t> colour = OneColour(r, RowsOf(s, r)))
    return SolidTile(r, *colour);
  TileRef tile(new Tile(r.right - r.left, r.bottom - r.top, pool_));
  unfilled_.push_back(Unfilled{tile->pixels, &s, r});
  return tile;
}

void UndoHistory::FillBand(size_t first, size_t end, bool cold, int32_t quarter) {
  constexpr int32_t kRowsAhead = 6;
  constexpr int32_t kLinePixels = 16;
  if (first == end) return;
  const Rect& band = unfilled_[first].r;
  const int32_t top = quarter < 0 ? band.top : band.top + quarter * (kTileSide / 4);
  const int32_t bottom = quarter < 0 ? band.bottom : std::min(band.bottom, top + kTileSide / 4);
  // The band's rows lie on pages of their own, which the processor does not read ahead
  // by itself: through the caches, the rows a few ahead are asked for while a row is
  // copied.
  const auto readAhead = [&](int32_t y) {
    if (cold || y >= bottom) return;
    const Unfilled& a = unfilled_[first];
    const uint32_t* row = a.from->Bits() + static_cast<size_t>(y) * a.from->Width();
    for (int32_t x = a.r.left; x < unfilled_[end - 1].r.right; x += kLinePixels)
      __builtin_prefetch(row + x);
  };
  for (int32_t y = top; y < top + kRowsAhead; ++y)
    readAhead(y);
  for (int32_t y = top; y < bottom; ++y) {
    readAhead(y + kRowsAhead);
    for (size_t k = first; k < end; ++k) {
      const Unfilled& u = unfilled_[k];
      const auto w = static_cast<size_t>(u.r.right - u.r.left);
      uint32_t* to = u.pixels + static_cast<size_t>(y - band.top) * w;
      const uint32_t* from = u.from->Bits() + static_cast<size_t>(y) * u.from->Width() + u.r.left;
      if (cold) {
        raster::CopyCold(to, from, w);
      } else {
        std::memcpy(to, from, w * 4);
      }
    }
  }
  if (cold) raster::EndColdCopies();
}

void UndoHistory::FillCaptured() {
  // A few tiles stay in the caches, to be written back when the processor has time. A
  // band of tiles at a time, each row of the pictures read from left to right: read
  // tile by tile, every row of a tile is on another page.
  for (size_t first = 0; first < unfilled_.size();) {
    size_t end = first;
    while (end < unfilled_.size() && unfilled_[end].r.top == unfilled_[first].r.top)
      ++end;
    FillBand(first, end, false, -1);
    first = end;
  }
  unfilled_.clear();
}

template <typename F, typename Then>
void UndoHistory::CaptureMarkedTiles(F&& f, Then&& then) {
  const auto marked = static_cast<size_t>(
      std::count_if(marks_.begin(), marks_.end(), [](uint8_t m) { return m & kMarked; }));
  if (marked <= kWarmTiles) {
    TakeMarkedTiles(f);
    FillCaptured();
    then();
    return;
  }
  // Many would only push out what is in use: they go past the caches, on two cores,
  // each band of rows as soon as its tiles are captured, the second hand beginning
  // while the first still captures.
  // Where each band begins among the captured tiles, and how many bands are complete;
  // neither list may move while the second hand reads it.
  std::vector<size_t> bands;
  bands.reserve(static_cast<size_t>(rows_) + 1);
  unfilled_.reserve(unfilled_.size() + marked);
  std::atomic<size_t> ready{0};
  std::atomic<bool> closed{false};
  std::atomic<size_t> next{0};
  // A quarter of a band at a time, so that neither thread waits long for the other's
  // last share.
  const std::function<void()> fill = [&] {
    for (size_t k;;) {
      k = next.fetch_add(1, std::memory_order_relaxed);
      const size_t b = k / 4;
      while (b >= ready.load(std::memory_order_acquire)) {
        if (closed.load(std::memory_order_acquire) && b >= ready.load(std::memory_order_acquire))
          return;
        std::this_thread::yield();
      }
      FillBand(bands[b], bands[b + 1], true, static_cast<int32_t>(k % 4));
    }
  };
  const auto publish = [&] {
    bands.push_back(unfilled_.size());
    ready.store(bands.size() - 1, std::memory_order_release);
  };
  hand_->Start(fill);
  // Whatever happens, the tiles are filled before this returns, and the bands and the
  // captured tiles' list are let go of only then.
  struct Close {
    UndoHistory& history;
    std::atomic<bool>& closed;
    ~Close() {
      closed.store(true, std::memory_order_release);
      history.hand_->Finish();
      history.unfilled_.clear();
    }
  } close{*this, closed};
  int32_t top = -1;
  TakeMarkedTiles([&](size_t i, const Rect& r) {
    if (r.top != top) {
      top = r.top;
      publish();
    }
    f(i, r);
  });
  publish();
  then();
}

void UndoHistory::MarkBehind(size_t i, uint8_t which) {
  if (marks_[i] & which) return;
  marks_[i] |= which;
  ++(which == kBackupBehind ? backupBehind_ : undoBehind_);
}

void UndoHistory::WriteBehind(uint8_t which, HistorySurfaces s) {
  size_t& behind = which == kBackupBehind ? backupBehind_ : undoBehind_;
  if (behind == 0) return;
  behind = 0;
  std::vector<size_t> tiles;
  for (size_t i = 0; i < marks_.size(); ++i) {
    if (!(marks_[i] & which)) continue;
    marks_[i] &= ~which;
    tiles.push_back(i);
  }
  if (!Fits(s)) return;
  ShareTiles(tiles.size(), [&](size_t k) {
    const size_t i = tiles[k];
    const Rect r = TileRect(i);
    if (which == kBackupBehind) {
      WriteTile(s.backup, r, r, states_[current_][i]->pixels);
    } else {
      WriteTile(s.undoImage, r, undoClip_, undoTiles_[i]->pixels);
    }
  });
}

void UndoHistory::Reset(HistorySurfaces s) {
  // What the backup and the undo image are yet to take is theirs before anything else.
  SyncBackup(s);
  SyncUndoImage(s);
  states_.clear();
  undoTiles_ = State{};
  solid_.clear();
  current_ = 0;
  width_ = s.backup.Width();
  height_ = s.backup.Height();
  if (s.canvas.Bounds() != s.backup.Bounds() || s.undoImage.Bounds() != s.backup.Bounds()) return;
  columns_ = (width_ + kTileSide - 1) / kTileSide;
  rows_ = (height_ + kTileSide - 1) / kTileSide;
  State first(static_cast<size_t>(columns_), static_cast<size_t>(rows_));
  marks_.assign(first.size(), 0);
  MarkTiles(s.backup.Bounds());
  CaptureMarkedTiles([&](size_t i, const Rect& r) { first.Set(i, Capture(s.backup, r)); }, [] {});
  states_.push_back(std::move(first));
  // The first change may be one of the whole picture.
  pool_->Expect(marks_.size());
  for (Surface* p : {&s.canvas, &s.backup, &s.undoImage})
    p->TakeChanged();
  // Nothing says the canvas shows the backup yet.
  canvasApart_ = s.canvas.Bounds();
  canvasTiles_.assign(marks_.size(), 1);
  stripApart_ = Rect{};
  backupApart_ = Rect{};
  undoApart_ = Rect{};
}

void UndoHistory::Gather(HistorySurfaces s) {
  canvasApart_ = Union(canvasApart_, s.canvas.TakeChanged(canvasTiles_));
  backupApart_ = Union(backupApart_, s.backup.TakeChanged());
}

bool UndoHistory::ShowBackup(HistorySurfaces s) {
  if (!Fits(s)) return false;
  Gather(s);
  MarkCanvasTiles(canvasApart_);
  for (const Rect& apart : {stripApart_, backupApart_})
    MarkTiles(apart);
  const State& now = states_[current_];
  TakeMarkedTiles([&](size_t i, const Rect& r) {
    if (marks_[i] & kBackupBehind) {
      Put(s.canvas, r, now[i]->pixels);
    } else {
      s.canvas.CopyRect(r, s.backup, r, kSrcCopy);
    }
  });
  s.canvas.TakeChanged();
  ClearCanvasApart();
  stripApart_ = Rect{};
  return true;
}

void UndoHistory::MarkTiles(const Rect& r) {
  ForTiles(r, [&](size_t i, const Rect&) { marks_[i] |= kMarked; });
}

void UndoHistory::MarkCanvasTiles(const Rect& r) {
  ForTiles(r, [&](size_t i, const Rect&) { marks_[i] |= canvasTiles_[i] != 0 ? kMarked : 0; });
}

void UndoHistory::ClearCanvasApart() {
  canvasApart_ = Rect{};
  std::fill(canvasTiles_.begin(), canvasTiles_.end(), uint8_t{0});
}

template <typename F>
void UndoHistory::TakeMarkedTiles(F&& f) {
  for (size_t i = 0; i < marks_.size(); ++i) {
    if (!(marks_[i] & kMarked)) continue;
    marks_[i] &= ~kMarked;
    f(i, TileRect(i));
  }
}

void UndoHistory::KeepBackupAsUndoImage(HistorySurfaces s, const Rect& reference) {
  const State& now = states_[current_];
  const Rect own = Union(undoApart_, s.undoImage.TakeChanged());
  // Tiles still to be written within another rectangle are written now.
  if (reference != undoClip_) SyncUndoImage(s);
  undoClip_ = reference;
  if (undoTiles_.size() != now.size()) {
    ForTiles(reference, [&](size_t i, const Rect&) { MarkBehind(i, kUndoBehind); });
  } else {
    ForTiles(Intersect(own, reference), [&](size_t i, const Rect&) { MarkBehind(i, kUndoBehind); });
    // Tiles the reference rectangle cuts are left to ForTiles, which keeps to it.
    const bool whole = reference == Rect{0, 0, width_, height_};
    now.ForApart(undoTiles_, [&](size_t i) {
      if (whole || Meets(TileRect(i), reference)) MarkBehind(i, kUndoBehind);
    });
  }
  undoTiles_ = now;
  // Where the backup has left the state, the undo image takes the backup itself, now;
  // it keeps its own pixels outside the reference rectangle.
  const Rect moved = Intersect(backupApart_, reference);
  if (!moved.Empty()) {
    ForTiles(moved, [&](size_t i, const Rect& r) {
      if (!(marks_[i] & kUndoBehind)) return;
      marks_[i] &= ~kUndoBehind;
      --undoBehind_;
      WriteTile(s.undoImage, r, reference, now[i]->pixels);
    });
    s.undoImage.CopyRect(moved, s.backup, moved, kSrcCopy);
    s.undoImage.TakeChanged();
  }
  undoApart_ = Inside(s.undoImage.Bounds(), reference) ? moved : s.undoImage.Bounds();
}

UndoHistory::TileRef UndoHistory::Compose(HistorySurfaces s, size_t i, const Rect& r,
                                          const Rect& visible, std::span<const Rect> copied,
                                          bool met) {
  const uint32_t* old = states_[current_][i]->pixels;
  if (Inside(r, visible)) {
    // Where it is shown the backup takes all of the canvas, which shows the present
    // state but in the areas copied.
    const bool same = std::all_of(copied.begin(), copied.end(), [&](const Rect& c) {
      return SamePart(s.canvas, r, Intersect(c, r), old);
    });
    return same ? nullptr : Capture(s.canvas, r);
  }
  const bool behind = marks_[i] & kBackupBehind;
  if (!met) {
    // Only the backup's own changes: it holds them, unless it is yet to take the tile.
    if (behind) return nullptr;
    return SameRows(r, RowsOf(s.backup, r), old) ? nullptr : Capture(s.backup, r);
  }
  // Part canvas, part backup, across the edge of what is shown: put together in a
  // new tile.
  TileRef tile(new Tile(r.right - r.left, r.bottom - r.top, pool_));
  const auto w = static_cast<size_t>(r.right - r.left);
  const auto rows = [&](int32_t y) { return tile->pixels + static_cast<size_t>(y - r.top) * w; };
  const auto backupRows = RowsOf(s.backup, r);
  for (int32_t y = r.top; y < r.bottom; ++y)
    std::memcpy(rows(y), behind ? old + static_cast<size_t>(y - r.top) * w : backupRows(y), w * 4);
  for (const Rect& c : copied) {
    const Rect part = Intersect(c, r);
    if (part.Empty()) continue;
    const auto canvasRows = RowsOf(s.canvas, part);
    for (int32_t y = part.top; y < part.bottom; ++y)
      std::memcpy(rows(y) + (part.left - r.left), canvasRows(y),
                  static_cast<size_t>(part.right - part.left) * 4);
  }
  if (SameRows(r, rows, old)) return nullptr;
  if (const std::optional<uint32_t> colour = OneColour(r, rows)) return SolidTile(r, *colour);
  return tile;
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
  // Each area apart is taken on its own: a box around two would take in much more.
  const Rect aparts[] = {canvasApart_, stripApart_, backupApart_};
  Rect copied[std::size(aparts)];
  Rect under{};
  for (size_t k = 0; k < std::size(aparts); ++k) {
    const Rect& apart = aparts[k];
    // Where shown, the backup takes the canvas. The backup's own changes are new
    // wherever they are, the canvas's where shown.
    copied[k] = Intersect(apart, visible);
    if (k == 0) {
      MarkCanvasTiles(copied[k]);
    } else {
      MarkTiles(k == 2 ? apart : copied[k]);
    }
    // Under a strip the canvas keeps what it shows, and the backup what it held.
    if (!Inside(apart, visible)) {
      const bool band = visible.left == 0 && visible.top == 0 && visible.right == width_;
      under =
          Union(under, band ? Intersect(apart, Rect{0, visible.bottom, width_, height_}) : apart);
    }
  }
  const State& now = states_[current_];
  State next;
  size_t taken = 0;
  bool added = false;
  CaptureMarkedTiles(
      [&](size_t i, const Rect& r) {
        const bool met = std::any_of(std::begin(copied), std::end(copied),
                                     [&](const Rect& c) { return Meets(c, r); });
        TileRef tile = Compose(s, i, r, visible, copied, met);
        // The backup takes the canvas's pixels when it is next read.
        if (met) MarkBehind(i, kBackupBehind);
        if (tile == nullptr) return;
        if (next.empty()) next = now;
        next.Set(i, std::move(tile));
        ++taken;
      },
      [&] {
        // While the tiles are still being filled: the new tiles are the newest state's,
        // which stays.
        ClearCanvasApart();
        backupApart_ = Rect{};
        stripApart_ = under;
        if (next.empty()) return;
        states_.erase(states_.begin() + static_cast<std::ptrdiff_t>(current_) + 1, states_.end());
        states_.push_back(std::move(next));
        ++current_;
        Trim();
        added = true;
      });
  // The next snapshot may take as many tiles as this one.
  pool_->Expect(taken);
  return added;
}

void UndoHistory::StepTo(HistorySurfaces s, size_t to) {
  Gather(s);
  const State& from = states_[current_];
  const State& target = states_[to];
  from.ForApart(target, [&](size_t i) { marks_[i] |= kMarked; });
  MarkCanvasTiles(canvasApart_);
  for (const Rect& apart : {stripApart_, backupApart_})
    MarkTiles(apart);
  std::vector<size_t> changed;
  TakeMarkedTiles([&](size_t i, const Rect& r) {
    changed.push_back(i);
    MarkBehind(i, kBackupBehind);
    s.canvas.MarkDirty(r);
  });
  ShareTiles(changed.size(), [&](size_t k) {
    const Rect r = TileRect(changed[k]);
    WriteTile(s.canvas, r, r, target[changed[k]]->pixels);
  });
  s.canvas.TakeChanged();
  ClearCanvasApart();
  stripApart_ = Rect{};
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

namespace {

// The words of an encoded history: a mark, a version, the picture's width and height,
// the tile side, the number of states, the present one among them and the number of
// tiles; then each state's grid of tile numbers, each tile's width, height and
// pixels, and last a checksum of every word before it. All little-endian.
constexpr uint32_t kHistoryMark = 0x4948'4C51;  // "QLHI"
constexpr uint32_t kHistoryVersion = 1;
constexpr size_t kHeaderWords = 8;

uint32_t WordsSum(std::span<const uint32_t> words) {
  uint64_t sum = 0xcbf2'9ce4'8422'2325ull;
  for (uint32_t w : words)
    sum = (sum ^ w) * 0x100'0000'01b3ull;
  return static_cast<uint32_t>(sum ^ (sum >> 32));
}

std::vector<uint8_t> LittleEndianBytes(const std::vector<uint32_t>& words) {
  std::vector<uint8_t> bytes(words.size() * 4);
  for (size_t i = 0; i < words.size(); ++i)
    for (int b = 0; b < 4; ++b)
      bytes[4 * i + b] = static_cast<uint8_t>(words[i] >> (8 * b));
  return bytes;
}

}  // namespace

std::vector<uint8_t> UndoHistory::Encode(int64_t maxPixelBytes) const {
  if (states_.empty()) return {};
  // Tiles by their first appearance, in the order they are written.
  std::unordered_map<const Tile*, uint32_t> numbers;
  std::vector<const Tile*> tiles;
  int64_t pixelBytes = 0;
  // Takes a state's new tiles when they fit, or always for the present one.
  auto take = [&](size_t state, bool always) {
    int64_t extra = 0;
    std::vector<const Tile*> fresh;
    for (size_t i = 0; i < states_[state].size(); ++i) {
      const TileRef& t = states_[state][i];
      if (numbers.contains(t.get()) ||
          std::find(fresh.begin(), fresh.end(), t.get()) != fresh.end())
        continue;
      fresh.push_back(t.get());
      extra += int64_t{t->width} * t->height * 4;
    }
    if (!always && pixelBytes + extra > maxPixelBytes) return false;
    for (const Tile* t : fresh) {
      numbers.emplace(t, static_cast<uint32_t>(tiles.size()));
      tiles.push_back(t);
    }
    pixelBytes += extra;
    return true;
  };
  take(current_, true);
  pixelBytes = 0;  // the bound is for the steps
  size_t first = current_;
  while (first > 0 && take(first - 1, false))
    --first;
  size_t last = current_;
  while (last + 1 < states_.size() && take(last + 1, false))
    ++last;

  std::vector<uint32_t> words = {kHistoryMark,
                                 kHistoryVersion,
                                 static_cast<uint32_t>(width_),
                                 static_cast<uint32_t>(height_),
                                 static_cast<uint32_t>(kTileSide),
                                 static_cast<uint32_t>(last - first + 1),
                                 static_cast<uint32_t>(current_ - first),
                                 static_cast<uint32_t>(tiles.size())};
  for (size_t state = first; state <= last; ++state)
    for (size_t i = 0; i < states_[state].size(); ++i)
      words.push_back(numbers.at(states_[state][i].get()));
  for (const Tile* t : tiles) {
    words.push_back(static_cast<uint32_t>(t->width));
    words.push_back(static_cast<uint32_t>(t->height));
    words.insert(words.end(), t->pixels,
                 t->pixels + static_cast<size_t>(t->width) * static_cast<size_t>(t->height));
  }
  words.push_back(WordsSum(words));
  return LittleEndianBytes(words);
}

bool UndoHistory::Decode(std::span<const uint8_t> bytes, HistorySurfaces s) {
  SyncBackup(s);
  SyncUndoImage(s);
  if (!Fits(s) || bytes.size() % 4 != 0 || bytes.size() < 4 * (kHeaderWords + 1)) return false;
  std::vector<uint32_t> words(bytes.size() / 4);
  for (size_t i = 0; i < words.size(); ++i)
    words[i] = uint32_t{bytes[4 * i]} | uint32_t{bytes[4 * i + 1]} << 8 |
               uint32_t{bytes[4 * i + 2]} << 16 | uint32_t{bytes[4 * i + 3]} << 24;
  const std::span<const uint32_t> body(words.data(), words.size() - 1);
  if (words.back() != WordsSum(body) || words[0] != kHistoryMark || words[1] != kHistoryVersion ||
      words[2] != static_cast<uint32_t>(width_) || words[3] != static_cast<uint32_t>(height_) ||
      words[4] != kTileSide)
    return false;
  const size_t stateCount = words[5], present = words[6], tileCount = words[7];
  const size_t cells = static_cast<size_t>(columns_) * static_cast<size_t>(rows_);
  // Every count is checked against the words there are before anything is made.
  if (stateCount == 0 || present >= stateCount || stateCount > body.size() / cells ||
      tileCount > body.size() / 2)
    return false;
  size_t at = kHeaderWords + stateCount * cells;
  std::vector<TileRef> tiles;
  tiles.reserve(tileCount);
  for (size_t k = 0; k < tileCount; ++k) {
    if (at + 2 > body.size()) return false;
    const uint32_t w = body[at], h = body[at + 1];
    at += 2;
    if (w == 0 || h == 0 || w > kTileSide || h > kTileSide || body.size() - at < size_t{w} * h)
      return false;
    TileRef tile(new Tile(static_cast<int32_t>(w), static_cast<int32_t>(h), pool_));
    std::copy_n(body.begin() + static_cast<std::ptrdiff_t>(at), size_t{w} * h, tile->pixels);
    at += size_t{w} * h;
    tiles.push_back(std::move(tile));
  }
  if (at != body.size()) return false;
  std::deque<State> states;
  for (size_t state = 0; state < stateCount; ++state) {
    State grid(static_cast<size_t>(columns_), static_cast<size_t>(rows_));
    for (size_t i = 0; i < cells; ++i) {
      const uint32_t number = body[kHeaderWords + state * cells + i];
      if (number >= tileCount) return false;
      const Rect r = TileRect(i);
      if (tiles[number]->width != r.right - r.left || tiles[number]->height != r.bottom - r.top)
        return false;
      grid.Set(i, tiles[number]);
    }
    states.push_back(std::move(grid));
  }
  for (size_t i = 0; i < cells; ++i) {
    const Rect r = TileRect(i);
    if (!SameRows(r, RowsOf(s.backup, r), states[present][i]->pixels)) return false;
  }
  states_ = std::move(states);
  current_ = present;
  undoTiles_ = State{};
  Gather(s);
  Trim();
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
