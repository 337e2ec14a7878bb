// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small pool for work that is split into independent items (the web copies of a gallery).
#include <cstddef>
#include <functional>

namespace pictalon {

// Runs work(i) for every i below count on up to threads worker threads (all cores when 0); work
// must not throw. Meanwhile the calling thread calls poll(done) after items finish and at least
// every 100 ms (and at least once, also for no items), so it can show progress and keep a window
// alive; poll returning false cancels:
// items not yet started are never started, those running finish. Returns how many finished.
std::size_t RunParallel(std::size_t count, unsigned threads, const std::function<void(std::size_t)>& work,
                        const std::function<bool(std::size_t done)>& poll);

}  // namespace pictalon
