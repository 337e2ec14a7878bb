// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The worker threads behind the review window's list once its rows are there: they make the
// pictures the list asks for, in the order it last named, so that the work follows the user's
// view. Qt-Widgets-free, so that the tests drive it alone.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ThumbMaker.h"

namespace pictalon {

// One picture the list wants for a row.
struct TThumbJob {
  int row = 0;
  std::string path;
  bool exact = false;  // false: the first picture (MakeFirstThumbnail); true: the exact one
  friend bool operator==(const TThumbJob& a, const TThumbJob& b) {
    return a.row == b.row && a.exact == b.exact && a.path == b.path;
  }
};

class TThumbRefiner {
public:
  // With yield, the workers run at a lower priority than the user interface thread.
  TThumbRefiner(int threads, bool yield, int cell = kThumbCell);
  ~TThumbRefiner();  // stops and waits for the workers
  TThumbRefiner(const TThumbRefiner&) = delete;
  TThumbRefiner& operator=(const TThumbRefiner&) = delete;

  // The work still to start becomes jobs, in this order; a job under way or done and not yet
  // taken is not started again.
  void Want(std::vector<TThumbJob> jobs);
  // Drops the work still to start and every result not yet taken, also those still under way.
  void Reset();
  // The results done since the last call, in the order they were done; index is the job's row.
  std::vector<TThumbResult> TakeDone();
  // Whether nothing waits to start, is under way or waits to be taken.
  bool Idle() const;

private:
  void Work();
  bool Known(const TThumbJob& job) const;  // under way or done; mutex_ held

  const bool yield_;
  const int cell_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<TThumbJob> queue_;
  std::vector<std::pair<int, bool>> underWay_;  // row, exact
  std::vector<TThumbResult> done_;
  std::uint64_t generation_ = 0;  // counts Reset: what began before is dropped
  bool stopped_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace pictalon
