#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace quillo::raster {

// The columns of one row already decided, as sorted runs [x0, x1) that neither overlap
// nor touch.
class CoveredRuns {
 public:
  void Clear() { runs_.clear(); }

  struct Run {
    int64_t x0;
    int64_t x1;
  };

  // From the first run's start to the last run's end; empty with no run.
  Run Extent() const { return runs_.empty() ? Run{0, 0} : Run{runs_.front().x0, runs_.back().x1}; }

  // Calls gap(from, to) for each part of [x0, x1) not yet covered, then covers it;
  // returns the run that now holds it.
  template <class Gap>
  Run Cover(int64_t x0, int64_t x1, Gap&& gap) {
    // A row's cover is mostly one run that each span meets or extends.
    if (runs_.size() == 1 && x0 <= runs_[0].x1 && x1 >= runs_[0].x0) {
      Run& run = runs_[0];
      if (x0 < run.x0) gap(x0, run.x0);
      if (x1 > run.x1) gap(run.x1, x1);
      run = Run{std::min(x0, run.x0), std::max(x1, run.x1)};
      return run;
    }
    // Runs that end at x0 or later, up to those starting at x1, overlap or touch.
    auto first = FirstEndingAtOrAfter(x0);
    auto it = first;
    int64_t pos = x0;
    int64_t start = x0;
    int64_t end = x1;
    while (it != runs_.end() && it->x0 <= x1) {
      if (it->x0 > pos) gap(pos, it->x0);
      pos = std::max(pos, it->x1);
      start = std::min(start, it->x0);
      end = std::max(end, it->x1);
      ++it;
    }
    if (pos < x1) gap(pos, x1);
    if (first == it) {
      runs_.insert(first, Run{start, end});
    } else {
      *first = Run{start, end};
      runs_.erase(first + 1, it);
    }
    return Run{start, end};
  }

 private:
  std::vector<Run>::iterator FirstEndingAtOrAfter(int64_t x) {
    return std::lower_bound(runs_.begin(), runs_.end(), x,
                            [](const Run& r, int64_t v) { return r.x1 < v; });
  }
  std::vector<Run> runs_;
};

}  // namespace quillo::raster
