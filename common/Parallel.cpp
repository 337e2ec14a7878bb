// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Parallel.h"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pictalon {

std::size_t RunParallel(std::size_t count, unsigned threads, const std::function<void(std::size_t)>& work,
                        const std::function<bool(std::size_t)>& poll) {
  if (count == 0) {
    if (poll) poll(0);
    return 0;
  }
  if (threads == 0) threads = UsableCpuCount();
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::condition_variable changed;
  std::size_t done = 0, running = 0;
  std::exception_ptr failure;

  // Takes items until none is left or the run stops; false once it has stopped.
  const auto take = [&] {
    const std::size_t i = next++;
    if (i >= count || stop) return false;
    try {
      work(i);
    } catch (...) {
      std::lock_guard<std::mutex> lock(mutex);
      if (!failure) failure = std::current_exception();
      stop = true;
      changed.notify_one();
      return false;
    }
    std::lock_guard<std::mutex> lock(mutex);
    ++done;
    changed.notify_one();
    return true;
  };
  const auto worker = [&] {
    while (take()) {
    }
    std::lock_guard<std::mutex> lock(mutex);
    --running;
    changed.notify_one();
  };
  // Even one thread works beside the caller, which stays free to poll.
  std::vector<std::thread> pool;
  const std::size_t size = std::min<std::size_t>(threads, count);
  {
    std::lock_guard<std::mutex> lock(mutex);
    try {
      pool.reserve(size);
      for (std::size_t t = 0; t < size; ++t) {
        pool.emplace_back(worker);
        ++running;
      }
    } catch (const std::exception&) {  // no thread (a process limit, no memory for its stack)
    }
  }
  // Without any worker the calling thread takes the items itself, polling between them.
  if (pool.empty()) {
    while (!stop) {
      if (poll && !poll(done)) stop = true;
      else if (!take()) break;
    }
  }

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
  if (failure) std::rethrow_exception(failure);
  if (poll && !stop) poll(finished);
  return finished;
}

unsigned UsableCpuCount() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (::sched_getaffinity(0, sizeof set, &set) == 0) return std::max(1, CPU_COUNT(&set));
  return std::max(1u, std::thread::hardware_concurrency());
}

namespace {

// The first number in the file at path after key (the whole file when key is empty); -1 if none.
long long NumberIn(const std::string& path, const std::string& key) {
  std::ifstream in(path);
  std::string word;
  while (key.empty() || in >> word) {
    if (!key.empty() && word != key) continue;
    long long value = -1;
    return in >> value ? value : -1;
  }
  return -1;
}

// What the cgroup (version 2) of this process may still take; -1 when it sets no limit.
long long CgroupRoom() {
  std::ifstream in("/proc/self/cgroup");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("0::", 0) != 0) continue;
    const std::string folder = "/sys/fs/cgroup" + line.substr(3) + "/";
    const long long limit = NumberIn(folder + "memory.max", ""), used = NumberIn(folder + "memory.current", "");
    if (limit < 0 || used < 0) return -1;  // "max", or no memory controller
    return std::max(0LL, limit - used);
  }
  return -1;
}

}  // namespace

std::uint64_t AvailableMemory() {
  const long long kib = NumberIn("/proc/meminfo", "MemAvailable:");
  const long long system = kib < 0 ? -1 : kib * 1024, group = CgroupRoom();
  if (system < 0) return group < 0 ? 0 : std::uint64_t(group);
  return std::uint64_t(group < 0 ? system : std::min(system, group));
}

unsigned WorkerCount(std::size_t count, std::uint64_t perWorker) {
  std::uint64_t workers = std::min<std::uint64_t>(UsableCpuCount(), std::max<std::size_t>(count, 1));
  const std::uint64_t room = AvailableMemory() / 2;
  if (room > 0 && perWorker > 0) workers = std::min(workers, room / perWorker);
  return unsigned(std::max<std::uint64_t>(workers, 1));
}

}  // namespace pictalon
