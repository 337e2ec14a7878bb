// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The worker pool: a worker's exception and a thread that cannot be started end a run, never the
// program.
#include <gtest/gtest.h>

#include <sched.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "Parallel.h"

namespace pictalon {
namespace {

TEST(RunParallel, AWorkersExceptionIsPassedOnOnceAllHaveEnded) {
  std::atomic<int> running{0}, after{0};
  EXPECT_THROW(RunParallel(
                   1000, 4,
                   [&](std::size_t i) {
                     ++running;
                     if (i == 3) throw std::runtime_error("item 3");
                     --running;
                   },
                   {}),
               std::runtime_error);
  EXPECT_EQ(running, 1);  // every other item had finished: nothing runs on after the throw
  after = 0;
  EXPECT_EQ(RunParallel(10, 4, [&](std::size_t) { ++after; }, {}), 10u);  // the pool is fine after
  EXPECT_EQ(after, 10);
}

// As an ordinary user limited to the one process it is (prlimit --nproc=1), no thread starts: the
// calling thread does the work itself, and still polls and cancels. Root is not limited, so a
// test run as root takes the nobody user first, in a child process.
TEST(RunParallel, WithoutThreadsTheCallerDoesTheWork) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
    const rlimit one{1, 1};
    if (::setrlimit(RLIMIT_NPROC, &one) != 0) ::_exit(2);
    try {
      std::thread([] {}).join();
      ::_exit(3);  // a thread started after all
    } catch (const std::system_error&) {
    }
    std::size_t polls = 0;
    std::atomic<int> done{0};
    const std::size_t all = RunParallel(20, 4, [&](std::size_t) { ++done; }, [&](std::size_t) { return ++polls > 0; });
    const std::size_t some = RunParallel(20, 4, [&](std::size_t) {}, [](std::size_t n) { return n < 5; });
    ::_exit(all == 20 && done == 20 && polls >= 20 && some == 5 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 2) GTEST_SKIP() << "cannot become an ordinary user limited to one process here";
  if (WEXITSTATUS(status) == 3) GTEST_SKIP() << "the process limit does not stop threads here";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

// Workers follow the CPUs this process may run on (taskset), not the machine's, and no more run
// than the free memory holds.
TEST(RunParallel, WorkersFollowTheUsableCpusAndTheMemory) {
  EXPECT_EQ(WorkerCount(8, ~std::uint64_t(0) / 4), 1u);  // each would need more than there is
  EXPECT_EQ(WorkerCount(1, 1), 1u);
  EXPECT_GT(AvailableMemory(), 0u);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(::sched_getcpu(), &one);
    if (::sched_setaffinity(0, sizeof one, &one) != 0) ::_exit(2);
    ::_exit(UsableCpuCount() == 1 && WorkerCount(8, 1) == 1 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 2) GTEST_SKIP() << "cannot narrow the CPU affinity here";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace pictalon
