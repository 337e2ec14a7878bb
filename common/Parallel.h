// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small pool for work that is split into independent items (the web copies of a gallery).
#include <cstddef>
#include <cstdint>
#include <functional>

namespace pictalon {

// Runs work(i) for every i below count on up to threads worker threads (UsableCpuCount() when 0).
// Meanwhile the calling thread calls poll(done) after items finish and at least every 100 ms (and
// at least once, also for no items), so it can show progress and keep a window alive; poll
// returning false cancels: items not yet started are never started, those running finish.
// Returns how many finished. A worker thread that cannot be started leaves the work to fewer
// ones, and to the calling thread itself when none starts. An exception from work starts no
// further item and is thrown from here once every worker has ended.
std::size_t RunParallel(std::size_t count, unsigned threads, const std::function<void(std::size_t)>& work,
                        const std::function<bool(std::size_t done)>& poll);

// The CPUs this process may run on (its affinity mask), at least 1.
unsigned UsableCpuCount();

// The memory this process may still take, in bytes: the smaller of the system's MemAvailable and
// what its cgroup's memory.max leaves; 0 when neither can be read.
std::uint64_t AvailableMemory();

// How many workers to run for count items: no more than the usable CPUs, nor than the available
// memory holds at perWorker bytes each (half of it, the rest left to the system); at least 1.
unsigned WorkerCount(std::size_t count, std::uint64_t perWorker);

}  // namespace pictalon
