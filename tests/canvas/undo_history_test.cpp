// The tiled history against whole pictures copied whole, and its bounds.
#include "canvas/undo_history.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>

#include <vector>
#include "canvas/second_hand.h"

namespace quillo::testing {
namespace {

using Pixels = std::vector<uint32_t>;

Pixels PixelsOf(const Surface& s) {
  return Pixels(s.Bits(), s.Bits() + static_cast<size_t>(s.Width()) * s.Height());
}

void SetPixels(Surface& s, const Pixels& p) {
  std::copy(p.begin(), p.end(), s.Bits());
  s.MarkDirty(s.Bounds());
}

// The backup and the undo image as a reader sees them, brought up to date first.
Pixels BackupOf(UndoHistory& history, HistorySurfaces s) {
  history.SyncBackup(s);
  return PixelsOf(s.backup);
}
Pixels UndoImageOf(UndoHistory& history, HistorySurfaces s) {
  history.SyncUndoImage(s);
  return PixelsOf(s.undoImage);
}

// The canvas, the backup and the undo image, one set for the tiled history and one
// for the plain model.
struct Pictures {
  Surface canvas, backup, undo;
  explicit Pictures(int32_t w, int32_t h) {
    for (Surface* s : {&canvas, &backup, &undo})
      EXPECT_TRUE(s->Resize(w, h));
  }
  HistorySurfaces Refs() { return HistorySurfaces{canvas, backup, undo}; }
};

// The history as the plain copies of the whole pictures that it stands for.
struct PlainHistory {
  std::vector<Pixels> states;
  size_t current = 0;

  bool Commit(Pictures& p, const Rect& reference, const Rect& shown, UndoImageRule rule) {
    if (rule == UndoImageRule::kFromBackup)
      p.undo.CopyRect(reference, p.backup, reference, kSrcCopy);
    p.backup.CopyRect(shown, p.canvas, shown, kSrcCopy);
    Pixels now = PixelsOf(p.backup);
    if (now == states[current]) return false;
    states.resize(current + 1);
    states.push_back(std::move(now));
    ++current;
    return true;
  }
  bool Step(Pictures& p, bool back) {
    if (back ? current == 0 : current + 1 == states.size()) return false;
    current = back ? current - 1 : current + 1;
    SetPixels(p.canvas, states[current]);
    SetPixels(p.backup, states[current]);
    return true;
  }
};

// Random changes to each picture, snapshots with and without the undo image, under
// strips of any height and with smaller reference sizes, steps back and forward and
// repaints from the backup, on pictures whose edge tiles are partial: the tiled
// history leaves every picture as the plain copies do. The backup and the undo image
// are brought up to date only now and then, as their readers do, so that the tiles
// they are yet to take pile up over many steps.
TEST(UndoHistoryTest, LeavesThePicturesAsWholeCopiesWould) {
  for (uint32_t seed = 1; seed <= 6; ++seed) {
    std::mt19937 random(seed);
    auto uniform = [&](int lo, int hi) {
      return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    // Every other seed on a picture of 77 tiles, where a change or a step of more than
    // 32 goes past the caches on two threads.
    const int32_t w = seed % 2 != 0 ? 200 : 700, h = seed % 2 != 0 ? 150 : 420;
    Pictures tiled(w, h), plain(w, h);
    for (Pictures* p : {&tiled, &plain}) {
      p->canvas.FillRect(p->canvas.Bounds(), Rgb(1, 2, 3));
      p->backup.FillRect(p->backup.Bounds(), Rgb(4, 5, 6));
      p->undo.FillRect(p->undo.Bounds(), Rgb(7, 8, 9));
    }
    UndoHistory history;
    history.Reset(tiled.Refs());
    PlainHistory model{{PixelsOf(plain.backup)}, 0};

    for (int op = 0; op < 400; ++op) {
      const int kind = uniform(0, 9);
      const Rect r{uniform(-20, w + 20), uniform(-20, h + 20), uniform(-20, w + 20),
                   uniform(-20, h + 20)};
      const Color c = static_cast<Color>(uniform(0, 3)) * 0x404040u;
      SCOPED_TRACE(::testing::Message() << "seed " << seed << ", op " << op << ", kind " << kind);
      if (kind <= 2) {
        for (Pictures* p : {&tiled, &plain})
          p->canvas.FillRect(r, c);
      } else if (kind == 3) {
        const bool backup = uniform(0, 1) == 0;
        backup ? history.SyncBackup(tiled.Refs()) : history.SyncUndoImage(tiled.Refs());
        for (Pictures* p : {&tiled, &plain})
          (backup ? p->backup : p->undo).FillRect(r, c);
      } else if (kind <= 5) {
        const bool clear = kind == 5 && uniform(0, 2) == 0;
        const auto rule = clear ? UndoImageRule::kKeep : UndoImageRule::kFromBackup;
        const int32_t visible = uniform(-3, h + 3);
        const Rect reference = uniform(0, 4) == 0 ? Rect{0, 0, w - 30, h - 20} : Rect{0, 0, w, h};
        const Rect shown{0, 0, reference.right, visible};
        EXPECT_EQ(history.Commit(tiled.Refs(), reference, shown, rule),
                  model.Commit(plain, reference, shown, rule));
      } else if (kind <= 7) {
        const bool back = kind == 6;
        EXPECT_EQ(back ? history.StepBack(tiled.Refs()) : history.StepForward(tiled.Refs()),
                  model.Step(plain, back));
      } else if (kind == 8) {
        plain.canvas.CopyRect(plain.canvas.Bounds(), plain.backup, plain.backup.Bounds(), kSrcCopy);
        ASSERT_TRUE(history.ShowBackup(tiled.Refs()));
      } else {
        // A write through the pixels, marked as changed.
        const Point at{uniform(0, w - 1), uniform(0, h - 1)};
        history.SyncBackup(tiled.Refs());
        for (Pictures* p : {&tiled, &plain}) {
          p->backup.Bits()[at.y * w + at.x] = 0xFF123456u;
          p->backup.MarkDirty(Rect{at.x, at.y, at.x + 1, at.y + 1});
        }
      }
      ASSERT_EQ(PixelsOf(tiled.canvas), PixelsOf(plain.canvas));
      if (uniform(0, 3) == 0) {
        ASSERT_EQ(BackupOf(history, tiled.Refs()), PixelsOf(plain.backup));
        ASSERT_EQ(UndoImageOf(history, tiled.Refs()), PixelsOf(plain.undo));
      }
      ASSERT_EQ(history.StepsBack(), model.current);
      ASSERT_EQ(history.StepsForward(), model.states.size() - 1 - model.current);
    }
  }
}

// Memory and step count: when either is over its bound the oldest states go, the
// present one and the newest stay, and stepping back ends at the oldest kept.
TEST(UndoHistoryTest, TheBoundsDropTheOldestSteps) {
  const int32_t side = 128;  // four tiles
  const int64_t picture = 4 * UndoHistory::kTileBytes;
  struct Case {
    int64_t bound;
    int changes;
    bool wholePicture;  // each change repaints everything, or one pixel
  };
  for (const Case& k :
       {Case{picture * 6, 20, true},
        Case{UndoHistory::kMemoryBound, static_cast<int>(UndoHistory::kMaxSteps) + 9, false}}) {
    Pictures p(side, side);
    UndoHistory history(k.bound);
    history.Reset(p.Refs());
    // The blank picture's four tiles share one.
    EXPECT_LT(history.Bytes(), 2 * UndoHistory::kTileBytes);
    const Rect all = p.canvas.Bounds();
    auto change = [&](Surface& s, int i) {
      const Color c = static_cast<Color>(i + 1);
      if (k.wholePicture) {
        // Two diagonals keep each tile from being of one colour, which would share.
        s.FillRect(all, c);
        for (int32_t x = 0; x < side; ++x) {
          s.SetPixel(Point{x, x}, c + 1);
          s.SetPixel(Point{x, side - 1 - x}, c + 1);
        }
      } else {
        s.SetPixel(Point{i % side, i / side}, c);
      }
    };
    for (int i = 0; i < k.changes; ++i) {
      change(p.canvas, i);
      ASSERT_TRUE(history.Commit(p.Refs(), all, all, UndoImageRule::kFromBackup));
      ASSERT_LE(history.Bytes(), k.bound) << i;
    }
    const size_t kept = history.StepsBack();
    EXPECT_GE(kept, k.wholePicture ? 3u : UndoHistory::kMaxSteps);
    EXPECT_LT(kept, static_cast<size_t>(k.changes));
    const Pixels newest = PixelsOf(p.canvas);
    for (size_t i = 0; i < kept; ++i)
      ASSERT_TRUE(history.StepBack(p.Refs()));
    EXPECT_FALSE(history.StepBack(p.Refs()));
    // The oldest state kept is the picture after change number changes - kept.
    Pictures expected(side, side);
    for (int i = 0; i < k.changes - static_cast<int>(kept); ++i)
      change(expected.canvas, i);
    EXPECT_EQ(PixelsOf(p.canvas), PixelsOf(expected.canvas));
    EXPECT_EQ(BackupOf(history, p.Refs()), PixelsOf(expected.canvas));
    for (size_t i = 0; i < kept; ++i)
      ASSERT_TRUE(history.StepForward(p.Refs()));
    EXPECT_EQ(PixelsOf(p.canvas), newest);
  }
}

// The steps kept for a restart: encoded within a bound and decoded into a fresh
// history over the same picture, they step back and forward through the same
// pictures, as far as the bound let them go; bytes that are damaged or end in another
// picture are refused and leave the fresh history as it was.
TEST(UndoHistoryTest, EncodedStepsComeBackWithinTheirBound) {
  const int32_t w = 150, h = 100;  // partial tiles at two edges
  Pictures p(w, h);
  UndoHistory history;
  history.Reset(p.Refs());
  std::vector<Pixels> pictures = {PixelsOf(p.backup)};
  for (int i = 0; i < 8; ++i) {
    p.canvas.FillRect(Rect{i * 17, i * 11, i * 17 + 40, i * 11 + 30}, Rgb(30 * i, 200, 9));
    ASSERT_TRUE(
        history.Commit(p.Refs(), p.canvas.Bounds(), p.canvas.Bounds(), UndoImageRule::kFromBackup));
    pictures.push_back(BackupOf(history, p.Refs()));
  }
  for (int i = 0; i < 3; ++i)
    ASSERT_TRUE(history.StepBack(p.Refs()));  // the present is picture 5
  const int64_t tile = int64_t{UndoHistory::kTileSide} * UndoHistory::kTileSide * 4;
  struct Case {
    int64_t bound;
    size_t back, forward;
  };
  // Each change touches one to four tiles; the present state goes whatever the bound.
  for (const Case& k : {Case{1 << 30, 5, 3}, Case{2 * tile, 1, 0}, Case{0, 0, 0}}) {
    SCOPED_TRACE(::testing::Message() << "bound " << k.bound);
    const std::vector<uint8_t> bytes = history.Encode(k.bound);
    Pictures restored(w, h);
    SetPixels(restored.backup, pictures[5]);
    SetPixels(restored.canvas, pictures[5]);
    UndoHistory fresh;
    fresh.Reset(restored.Refs());
    std::vector<uint8_t> damaged = bytes;
    damaged[damaged.size() / 2] ^= 1;
    EXPECT_FALSE(fresh.Decode(damaged, restored.Refs()));
    EXPECT_FALSE(fresh.Decode({bytes.data(), bytes.size() - 4}, restored.Refs()));
    Pictures other(w, h);
    UndoHistory elsewhere;
    elsewhere.Reset(other.Refs());
    EXPECT_FALSE(elsewhere.Decode(bytes, other.Refs()));
    ASSERT_TRUE(fresh.Decode(bytes, restored.Refs()));
    EXPECT_EQ(fresh.StepsBack(), k.back);
    EXPECT_EQ(fresh.StepsForward(), k.forward);
    for (size_t i = 1; i <= k.back; ++i) {
      ASSERT_TRUE(fresh.StepBack(restored.Refs()));
      ASSERT_EQ(PixelsOf(restored.canvas), pictures[5 - i]);
      ASSERT_EQ(BackupOf(fresh, restored.Refs()), pictures[5 - i]);
    }
    for (size_t i = 1; i <= k.back + k.forward; ++i)
      ASSERT_TRUE(fresh.StepForward(restored.Refs()));
    EXPECT_EQ(PixelsOf(restored.canvas), pictures[5 + k.forward]);
  }
}

// The second hand's share: every piece exactly once, all of them done by the time it
// returns, round after round, however the two threads happen to split them.
TEST(UndoHistoryTest, TheSecondHandDoesEachPieceOnceBeforeItReturns) {
  SecondHand hand;
  for (size_t count : {0, 1, 2, 7, 64, 1000}) {
    for (int round = 0; round < 50; ++round) {
      std::vector<std::atomic<int>> done(count);
      hand.Share(count, [&](size_t k) { done[k].fetch_add(1, std::memory_order_relaxed); });
      for (size_t k = 0; k < count; ++k)
        ASSERT_EQ(done[k].load(), 1) << "piece " << k << " of " << count;
    }
  }
}

}  // namespace
}  // namespace quillo::testing
