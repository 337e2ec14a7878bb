// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// jpeg-size FOLDER [REPEAT]: how fast GetJpegSize reads the pixel size of every *.jpg in FOLDER,
// against a baseline that only opens each file, reads its first 4 KiB and closes it: the least
// any header reader must do. Bytes read are the process's rchar count from /proc/self/io.
// Figures are for a warm cache: one untimed pass of each loop comes first, then REPEAT (default 5)
// interleaved pairs of timed passes.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "Helpers.h"

namespace {

namespace fs = std::filesystem;

// Bytes the process has read so far, or 0 when /proc/self/io is not available.
std::uint64_t ReadChars() {
  char text[1024];
  const int fd = ::open("/proc/self/io", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  const ssize_t n = ::read(fd, text, sizeof text - 1);
  ::close(fd);
  if (n <= 0) return 0;
  text[n] = '\0';
  unsigned long long value = 0;
  return std::sscanf(text, "rchar: %llu", &value) == 1 ? value : 0;
}

std::vector<std::string> JpegFiles(const std::string& folder) {
  std::vector<std::string> list;
  for (const auto& entry : fs::directory_iterator(folder)) {
    std::string ext = entry.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == ".jpg" && entry.is_regular_file()) list.push_back(entry.path().string());
  }
  std::sort(list.begin(), list.end());
  return list;
}

struct Pass {
  double seconds;
  std::uint64_t bytesRead;
  std::uint64_t check;  // keeps the work from being optimised away; failures for GetJpegSize
};

template <typename Work>
Pass Measure(const std::vector<std::string>& files, Work work) {
  const std::uint64_t readOverhead = [] {
    const std::uint64_t a = ReadChars();
    return ReadChars() - a;
  }();
  std::uint64_t check = 0;
  const std::uint64_t before = ReadChars();
  const auto start = std::chrono::steady_clock::now();
  for (const std::string& path : files) check += work(path);
  const auto stop = std::chrono::steady_clock::now();
  const std::uint64_t after = ReadChars();
  return {std::chrono::duration<double>(stop - start).count(), after - before - readOverhead, check};
}

std::uint64_t OpenReadClose(const std::string& path) {
  static char buffer[4096];
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 1;
  const ssize_t n = ::read(fd, buffer, sizeof buffer);
  ::close(fd);
  return n == static_cast<ssize_t>(sizeof buffer) ? 0 : 1;
}

std::uint64_t JpegSize(const std::string& path) {
  std::int32_t height = 0;
  std::int32_t width = 0;
  pictalon::GetJpegSize(path, height, width);
  return height < 0 || width < 0 ? 1 : 0;
}

void Report(const char* name, const Pass& best, std::uint64_t bytesRead, std::size_t count) {
  std::printf("%-34s %9.0f files/s  %7.2f us/file  %8.0f bytes read/file  %llu failed\n", name,
              count / best.seconds, 1e6 * best.seconds / count, double(bytesRead) / count,
              static_cast<unsigned long long>(best.check));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: jpeg-size FOLDER [REPEAT]\n");
    return 2;
  }
  const int repeat = argc == 3 ? std::max(1, std::atoi(argv[2])) : 5;
  std::vector<std::string> files;
  try {
    files = JpegFiles(argv[1]);
  } catch (const fs::filesystem_error& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  if (files.empty()) {
    std::fprintf(stderr, "no *.jpg files in %s\n", argv[1]);
    return 1;
  }

  Measure(files, OpenReadClose);  // warm the cache and the allocator
  Measure(files, JpegSize);
  Pass baseline{1e30, 0, 0};
  Pass jpeg{1e30, 0, 0};
  std::uint64_t baselineBytes = 0;
  std::uint64_t jpegBytes = 0;
  std::vector<double> ratios;  // of each pair of passes: steadier than the best times on a busy machine
  for (int r = 0; r < repeat; ++r) {  // interleaved, best of each
    const Pass b = Measure(files, OpenReadClose);
    const Pass j = Measure(files, JpegSize);
    if (b.seconds < baseline.seconds) baseline = b;
    if (j.seconds < jpeg.seconds) jpeg = j;
    baselineBytes = b.bytesRead;
    jpegBytes = j.bytesRead;
    ratios.push_back(j.seconds / b.seconds);
  }
  std::sort(ratios.begin(), ratios.end());
  std::printf("%s: %zu files, best of %d warm passes\n", argv[1], files.size(), repeat);
  Report("open + read 4 KiB + close", baseline, baselineBytes, files.size());
  Report("GetJpegSize", jpeg, jpegBytes, files.size());
  std::printf("time ratio GetJpegSize / baseline: %.2f best times, %.2f median of pairs\n",
              jpeg.seconds / baseline.seconds, ratios[ratios.size() / 2]);
  return 0;
}
