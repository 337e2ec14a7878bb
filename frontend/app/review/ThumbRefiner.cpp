// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThumbRefiner.h"

#include <algorithm>

namespace pictalon {

TThumbRefiner::TThumbRefiner(int threads, bool yield, int cell) : yield_(yield), cell_(cell) {
  workers_ = StartWorkers(std::size_t(std::max(threads, 1)), [this] { Work(); });
}

TThumbRefiner::~TThumbRefiner() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
  }
  wake_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

bool TThumbRefiner::Known(const TThumbJob& job) const {
  const std::pair<int, bool> key(job.row, job.exact);
  if (std::find(underWay_.begin(), underWay_.end(), key) != underWay_.end()) return true;
  return std::any_of(done_.begin(), done_.end(), [&](const TThumbResult& r) {
    return int(r.index) == job.row && r.exact == job.exact;
  });
}

void TThumbRefiner::Want(std::vector<TThumbJob> jobs) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.clear();
    for (TThumbJob& job : jobs)
      if (!Known(job)) queue_.push_back(std::move(job));
  }
  wake_.notify_all();
}

void TThumbRefiner::Reset() {
  std::lock_guard<std::mutex> lock(mutex_);
  queue_.clear();
  done_.clear();
  underWay_.clear();
  ++generation_;
}

std::vector<TThumbResult> TThumbRefiner::TakeDone() {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(done_, {});
}

bool TThumbRefiner::Idle() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return queue_.empty() && underWay_.empty() && done_.empty();
}

void TThumbRefiner::Work() {
  if (yield_) LowerThreadPriority();
  for (;;) {
    TThumbJob job;
    std::uint64_t generation;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [&] { return stopped_ || !queue_.empty(); });
      if (stopped_) return;
      job = std::move(queue_.front());
      queue_.pop_front();
      generation = generation_;
      underWay_.emplace_back(job.row, job.exact);
    }
    TThumbResult result =
        job.exact ? MakeThumbnail(job.path, cell_) : MakeFirstThumbnail(job.path, cell_);
    result.index = std::size_t(job.row);
    // A failed exact thumbnail is still an answer: the list does not ask again.
    result.exact = result.exact || job.exact;
    std::lock_guard<std::mutex> lock(mutex_);
    if (generation != generation_) continue;  // reset meanwhile: for a list that is gone
    underWay_.erase(std::find(underWay_.begin(), underWay_.end(), std::make_pair(job.row, job.exact)));
    done_.push_back(std::move(result));
  }
}

}  // namespace pictalon
