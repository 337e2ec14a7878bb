// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Parallel.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace pictalon {

std::size_t RunParallel(std::size_t count, unsigned threads, const std::function<void(std::size_t)>& work,
                        const std::function<bool(std::size_t)>& poll) {
  if (count == 0) {
    if (poll) poll(0);
    return 0;
  }
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::condition_variable changed;
  std::size_t done = 0, running = 0;

  auto worker = [&] {
    for (;;) {
      const std::size_t i = next++;
      if (i >= count || stop) break;
      work(i);
      std::lock_guard<std::mutex> lock(mutex);
      ++done;
      changed.notify_one();
    }
    std::lock_guard<std::mutex> lock(mutex);
    --running;
    changed.notify_one();
  };
  // Even one thread works beside the caller, which stays free to poll.
  std::vector<std::thread> pool;
  const std::size_t size = std::min<std::size_t>(threads, count);
  running = size;
  for (std::size_t t = 0; t < size; ++t) pool.emplace_back(worker);

  std::unique_lock<std::mutex> lock(mutex);
  while (running > 0) {
    changed.wait_for(lock, std::chrono::milliseconds(100));
    if (!poll || stop) continue;
    const std::size_t now = done;
    lock.unlock();  // poll may take its time (a window repainting): the workers go on
    if (!poll(now)) stop = true;
    lock.lock();
  }
  const std::size_t finished = done;
  lock.unlock();
  for (std::thread& t : pool) t.join();
  if (poll && !stop) poll(finished);
  return finished;
}

}  // namespace pictalon
