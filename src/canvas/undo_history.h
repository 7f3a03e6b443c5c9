#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <span>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/raster/surface.h"

namespace quillo {

class SecondHand;

// The pictures the history works on: the canvas the user sees, the backup the canvas
// is repainted from, and the one-level undo image that older recordings step back to.
// All three have one size.
struct HistorySurfaces {
  Surface& canvas;
  Surface& backup;
  Surface& undoImage;
};

// What a snapshot does with the undo image.
enum class UndoImageRule : uint8_t {
  kFromBackup,  // the backup before the snapshot becomes the undo image
  kKeep,        // the caller has set the undo image itself
};

// The backup's history, kept as tiles: each state is a grid of shared, unchangeable
// tiles, so a change stores only the tiles it touched, and a step back or forward
// writes only the tiles in which two states differ. The surfaces' changed areas
// (Surface::TakeChanged) tell which tiles a change may have touched.
//
// The backup and the undo image are written only when they are read: a snapshot takes
// the canvas's changed tiles straight into new tiles, a step writes the canvas alone,
// and the tiles the backup (the undo image) has yet to take wait until SyncBackup
// (SyncUndoImage). So whoever reads or writes either picture brings it up to date
// first, and keeps no reference to it across a call of the history.
//
// Copies of many tiles (a snapshot of a change of much of the screen, a step over one,
// the backup catching up with one) are shared with a second thread, which sleeps
// otherwise: one core alone cannot keep the memory busy. A snapshot's go past the
// caches.
//
// Tiles of one colour and size share one (a blank picture, clears and fills).
// Memory: the tiles of all states and of the undo image, with the grids, stay within
// kMemoryBound, 248 MiB, once a snapshot is done; during one, the change's new tiles
// come on top, at most a whole picture: 7.9 MiB at 1920 x 1080, which keeps the
// history under 256 MiB there. It holds some 30 changes of the whole screen and, of
// strokes, as many as kMaxSteps (a 32-pixel stroke across a fifth of the screen takes
// some 12 tiles, 192 KiB). When it is full the oldest states go first; the present
// state always stays.
class UndoHistory {
 public:
  static constexpr int32_t kTileSide = Surface::kChangeTile;
  static constexpr int64_t kMemoryBound = int64_t{248} << 20;
  static constexpr size_t kMaxSteps = 1000;
  // Counted for every tile, a part tile at an edge too: its pixels' slot, and the
  // tile and its shared count.
  static constexpr int64_t kTileBytes = int64_t{kTileSide} * kTileSide * 4 + 128;

  // A history that holds at most memoryBound bytes (a smaller one for tests).
  explicit UndoHistory(int64_t memoryBound = kMemoryBound);
  ~UndoHistory();

  // Forgets every step: the backup as it is becomes the only state.
  void Reset(HistorySurfaces s);

  // The snapshot after a change: with kFromBackup the backup becomes the undo image
  // over reference, then the canvas becomes the backup over shown (the part not under
  // a strip), and when the backup differs from the present state the new
  // state is added after it, dropping the states a step forward would have reached.
  // Returns whether a state was added.
  bool Commit(HistorySurfaces s, const Rect& reference, const Rect& shown, UndoImageRule rule);

  // Repaints the canvas from the backup, as a plain copy of the whole backup would,
  // writing only the tiles where the two may differ. False, changing nothing, when the
  // surfaces do not fit the history.
  bool ShowBackup(HistorySurfaces s);

  // Writes the tiles the backup (the undo image) has yet to take.
  void SyncBackup(HistorySurfaces s) { WriteBehind(kBackupBehind, s); }
  void SyncUndoImage(HistorySurfaces s) { WriteBehind(kUndoBehind, s); }

  // Puts the previous (next) state on the canvas and the backup.
  // False, changing nothing, when there is none.
  bool StepBack(HistorySurfaces s);
  bool StepForward(HistorySurfaces s);

  // The present state and the steps around it as bytes, for a restart: the present
  // state whole, and as many steps back, then forward, as keep the pixels of the
  // tiles they add within maxPixelBytes.
  std::vector<uint8_t> Encode(int64_t maxPixelBytes) const;
  // Takes the states that Encode gave, when the bytes read whole, have the surfaces'
  // size and their present state is the backup as it is; otherwise, or when the
  // history is empty, returns false and leaves the history as it was.
  bool Decode(std::span<const uint8_t> bytes, HistorySurfaces s);

  // Steps that can be taken back and forward from the present state.
  size_t StepsBack() const { return current_; }
  size_t StepsForward() const { return states_.empty() ? 0 : states_.size() - 1 - current_; }
  // Memory held: tiles (kTileBytes each) and grids.
  int64_t Bytes() const;

 private:
  class TilePool;
  // A tile's pixels, from the pool, and how many references it has.
  struct Tile {
    Tile(int32_t w, int32_t h, std::shared_ptr<TilePool> from);
    ~Tile();
    Tile(const Tile&) = delete;
    Tile& operator=(const Tile&) = delete;

    int32_t width;
    int32_t height;
    std::shared_ptr<TilePool> pool;
    uint32_t* pixels;
    uint32_t references = 1;
  };
  // A counted reference. The history is used from one thread, so the count is a plain
  // one: states share hundreds of tiles.
  template <typename T>
  class Ref {
   public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    // Takes the object's first reference.
    explicit Ref(T* object) : object_(object) {}
    Ref(const Ref& other) : object_(other.object_) {
      if (object_ != nullptr) ++object_->references;
    }
    Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    Ref& operator=(Ref other) noexcept {
      std::swap(object_, other.object_);
      return *this;
    }
    ~Ref() {
      if (object_ != nullptr && --object_->references == 0) delete object_;
    }
    T* operator->() const { return object_; }
    T* get() const { return object_; }
    bool operator==(const Ref& other) const { return object_ == other.object_; }
    bool operator==(std::nullptr_t) const { return object_ == nullptr; }

   private:
    T* object_ = nullptr;
  };
  using TileRef = Ref<Tile>;
  // A row of a state's grid, shared by the states that have all of its tiles.
  struct Band {
    std::vector<TileRef> tiles;
    uint32_t references = 1;
  };
  // A grid of tiles kept as shared bands of one row of tiles each: a new state copies
  // only the bands it changes, and dropping one lets go of those alone. Counting a
  // reference to every tile of the screen instead cost more than copying the few tiles
  // of a stroke, each count being on a tile of its own that the caches had let go of.
  class State {
   public:
    State() = default;
    // A grid of null tiles.
    State(size_t columns, size_t rows);
    bool empty() const { return bands_.empty(); }
    size_t size() const { return bands_.size() * columns_; }
    const TileRef& operator[](size_t i) const { return bands_[i / columns_]->tiles[i % columns_]; }
    // Sets tile i, first copying its band when other states share it.
    void Set(size_t i, TileRef tile);
    // Calls f(i) for every tile i in which the two grids, of one size, differ; the
    // bands they share are passed by whole.
    template <typename F>
    void ForApart(const State& other, F&& f) const {
      for (size_t b = 0; b < bands_.size(); ++b) {
        if (bands_[b] == other.bands_[b]) continue;
        for (size_t c = 0; c < columns_; ++c)
          if (bands_[b]->tiles[c] != other.bands_[b]->tiles[c]) f(b * columns_ + c);
      }
    }

   private:
    size_t columns_ = 0;
    std::vector<Ref<Band>> bands_;
  };

  // Whether the surfaces have the size of the grid.
  bool Fits(const HistorySurfaces& s) const;
  // The pixels of tile i, clipped to the picture.
  Rect TileRect(size_t i) const;
  // Calls f(i, rect) for every tile that meets r.
  template <typename F>
  void ForTiles(const Rect& r, F&& f) const;
  // Marks the tiles that meet r; TakeMarkedTiles calls f(i, rect) for each marked
  // tile, in order, and clears the marks.
  void MarkTiles(const Rect& r);
  // Marks the tiles that meet r where the canvas may have changed (canvasTiles_).
  void MarkCanvasTiles(const Rect& r);
  // Forgets the canvas's changes since the last snapshot.
  void ClearCanvasApart();
  template <typename F>
  void TakeMarkedTiles(F&& f);
  // The shared tile of r's size and one colour.
  TileRef SolidTile(const Rect& r, uint32_t colour);
  // A tile that will hold the pixels of r on s once CaptureMarkedTiles is done: the
  // tiles of a pass are filled together, row by row.
  TileRef Capture(const Surface& s, const Rect& r);
  // Fills the few tiles captured, through the caches.
  void FillCaptured();
  // Fills unfilled_[first, end), tiles of one band of rows, past the caches when
  // cold: all their rows, or with a quarter from 0 to 3 that quarter of them.
  void FillBand(size_t first, size_t end, bool cold, int32_t quarter);
  // TakeMarkedTiles, with f calling Capture, and the captured tiles filled; then
  // then(), which must leave the captured tiles be. With many tiles the filling begins
  // while f still captures, and goes on during then().
  template <typename F, typename Then>
  void CaptureMarkedTiles(F&& f, Then&& then);
  // Calls each(k) for k in [0, count), a tile each, sharing many with the second hand.
  template <typename F>
  void ShareTiles(size_t count, F&& each);
  // The backup's tile i (of pixels r) once the canvas's pixels in copied, the parts
  // of the areas apart that are visible, are in it; or null when it is the present
  // state's. met tells whether any of copied meets r.
  TileRef Compose(HistorySurfaces s, size_t i, const Rect& r, const Rect& visible,
                  std::span<const Rect> copied, bool met);
  // Marks tile i as one the backup (the undo image) has yet to take; WriteBehind
  // writes every such tile.
  void MarkBehind(size_t i, uint8_t which);
  void WriteBehind(uint8_t which, HistorySurfaces s);
  // Takes the surfaces' changes into the areas where they may differ from the state.
  void Gather(HistorySurfaces s);
  // The undo image becomes the backup as it is over reference, before a snapshot
  // changes the backup.
  void KeepBackupAsUndoImage(HistorySurfaces s, const Rect& reference);
  // Makes state `to` the present one on the canvas and the backup.
  void StepTo(HistorySurfaces s, size_t to);
  // Drops the oldest states (or, with none left behind, the farthest ahead) while
  // the memory or the step count is over its bound.
  void Trim();

  int64_t memoryBound_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t columns_ = 0;
  int32_t rows_ = 0;
  // Where the tiles' pixels come from; shared with every tile, which gives its
  // pixels back.
  std::shared_ptr<TilePool> pool_;
  // Takes half of the copies over the whole screen.
  std::unique_ptr<SecondHand> hand_;
  std::deque<State> states_;
  size_t current_ = 0;
  // The tiles the undo image holds, or is yet to take within undoClip_, but in
  // undoApart_; empty when unknown.
  State undoTiles_;
  Rect undoClip_{};
  // Where the canvas, the backup and the undo image may differ from their state:
  // the canvas's changes since the last snapshot, where it kept its own pixels under a
  // strip, and the backup's and the undo image's own changes.
  Rect canvasApart_{};
  // The tiles of canvasApart_ the canvas's changes met, a byte each: a change across
  // the screen, drawn as the window showed it, meets far fewer than its box.
  std::vector<uint8_t> canvasTiles_;
  Rect stripApart_{};
  Rect backupApart_{};
  Rect undoApart_{};
  // For each tile: kMarked while a pass gathers tiles, kBackupBehind when the backup
  // is yet to take the present state's tile, kUndoBehind when the undo image is yet to
  // take undoTiles_'s; and how many tiles are behind in each.
  static constexpr uint8_t kMarked = 1;
  static constexpr uint8_t kBackupBehind = 2;
  static constexpr uint8_t kUndoBehind = 4;
  std::vector<uint8_t> marks_;
  size_t backupBehind_ = 0;
  size_t undoBehind_ = 0;
  // The tiles Capture made that wait for their pixels, in the order of the grid.
  struct Unfilled {
    uint32_t* pixels;
    const Surface* from;
    Rect r;
  };
  std::vector<Unfilled> unfilled_;
  // Up to this many tiles (512 KiB) a pass fills through the caches, on one core.
  static constexpr size_t kWarmTiles = 32;
  // The tiles of one colour, by colour and size. Above kMaxSolidTiles, those that
  // only this holds go.
  using SolidKey = std::tuple<uint32_t, int32_t, int32_t>;
  static constexpr size_t kMaxSolidTiles = 64;
  std::map<SolidKey, TileRef> solid_;
};

}  // namespace quillo
