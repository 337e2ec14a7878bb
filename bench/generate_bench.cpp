// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// generate-bench [--count N] [--repeat N] [--small] [--cold] [--corpus FOLDER] [--program FOLDER]
//                [--work FOLDER]
// Times a whole gallery generation with pictgen (proportional scaling, so every cell opens its
// JPEG) against a baseline that only reads the size of every image with GetJpegSize, and reports
// pictgen's peak memory. The gallery's images are N links cycling over the camera-like corpus
// (bench/make-corpus.sh), or with --small N tiny JPEGs made here. Warm cache: one untimed pass of
// each comes first, then --repeat passes (default 5) of both in turn, each run writing into a new
// output folder (a first generation); the figures are the medians. --work picks the file system
// (default: the temporary folder). --cold evicts the images from the page cache before each
// measured pass, as for photos fresh from a camera card. Each pass also runs pictgen on the same
// gallery with the photos' own titles as captions and the images in the order they were taken
// (every photo's metadata read), against the goal of at most 5 % over the run without them.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "GalleryFile.h"
#include "Helpers.h"
#include "Platform.h"
#include "TestJpeg.h"
#include "TypeDef.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Drops the files' cached pages, so the next pass reads them from the disk.
void Evict(const std::vector<std::string>& files) {
  for (const std::string& path : files) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
  }
}

// Runs pictgen on the gallery; returns its wall time and peak resident memory in KiB, and when
// given its processor time (user and system), which other programs on the machine hardly change.
bool RunPictgen(const std::string& pictgen, const std::string& gallery, double& seconds, long& peakKiB,
                double* cpuSeconds = nullptr) {
  Clock::time_point start = Clock::now();
  pid_t child = ::fork();
  if (child == 0) {
    std::freopen("/dev/null", "w", stdout);
    ::execl(pictgen.c_str(), pictgen.c_str(), gallery.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  struct rusage usage;
  if (child < 0 || ::wait4(child, &status, 0, &usage) != child) return false;
  seconds = Since(start);
  peakKiB = usage.ru_maxrss;
  auto inSeconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  if (cpuSeconds) *cpuSeconds = inSeconds(usage.ru_utime) + inSeconds(usage.ru_stime);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace pictalon;
  std::size_t count = 2000;
  int repeat = 5;
  bool small = false, cold = false;
  std::string corpus = std::string(std::getenv("CORPUS") ? std::getenv("CORPUS") : "/tmp/pictalon-corpus") + "/large";
  std::string program = GetProgramFolder() + "../Pictalon/";
  fs::path workRoot = fs::temp_directory_path();
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--count" && i + 1 < argc) count = std::strtoul(argv[++i], nullptr, 10);
    else if (a == "--repeat" && i + 1 < argc) repeat = std::max(1, std::atoi(argv[++i]));
    else if (a == "--small") small = true;
    else if (a == "--cold") cold = true;
    else if (a == "--corpus" && i + 1 < argc) corpus = argv[++i];
    else if (a == "--program" && i + 1 < argc) program = IncludeTrailingPathDelim(argv[++i]);
    else if (a == "--work" && i + 1 < argc) workRoot = argv[++i];
    else {
      std::fprintf(stderr, "usage: generate-bench [--count N] [--repeat N] [--small] [--cold] [--corpus FOLDER] [--program FOLDER] [--work FOLDER]\n");
      return 2;
    }
  }

  fs::path work = workRoot / ("pictalon-generate-bench-" + std::to_string(::getpid()));
  std::string images = (work / "images").string() + "/";
  fs::create_directories(images);
  std::vector<std::string> sources;
  if (!small) {
    ListJpegFiles(corpus, sources);
    if (sources.empty()) {
      std::fprintf(stderr, "No corpus in %s: run bench/make-corpus.sh first (or use --small).\n", corpus.c_str());
      return 1;
    }
  }
  std::string tiny = small ? test::MakeJpeg(160, 120) : std::string();
  std::vector<std::string> list;
  for (std::size_t i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "P%06zu.jpg", i);
    std::string path = images + name;
    if (small) WriteFileAtomic(path, tiny);
    else fs::create_symlink(sources[i % sources.size()], path);
    list.push_back(path);
  }

  GallerySettings settings{};
  ApplyDefaultSettings(settings, program);
  settings.TitleText.set("Benchmark");
  settings.ImageFolder.set(images);
  settings.OutputFolder.set((work / "out-warm").string());
  settings.ScalingMode = 0;
  settings.ThumbSize.set(25);
  settings.CopyImages.set(false);  // the copies are the front end's work, not the engine's
  std::string gallery = (work / "Bench.pgs").string(), written;
  if (!WriteGalleryFile(gallery, settings, written)) return 1;
  std::string ownGallery = (work / "BenchOwn.pgs").string();
  TGalleryTail own;
  own.PhotoCaptions = true;
  own.Order = TImageOrder::ByDate;

  auto baseline = [&] {
    std::int32_t h, w, failures = 0;
    for (const std::string& path : list) GetJpegSize(path, h, w), failures += h < 0;
    return failures;
  };
  std::string pictgen = program + "pictgen";
  double runSeconds = 0;
  long peakKiB = 0, passPeakKiB = 0;
  baseline();
  RunPictgen(pictgen, gallery, runSeconds, passPeakKiB);
  // The photos' metadata is read once; the passes find it in the cache, as every Generate after
  // the first does.
  if (!WriteGalleryFile(ownGallery, settings, own, written)) return 1;
  RunPictgen(pictgen, ownGallery, runSeconds, passPeakKiB);

  // Passes of both in turn, each run into a new output folder (a first generation); the medians
  // keep a busy machine's stray slow pass out of the figures.
  std::vector<double> baseTimes, runTimes, ownTimes, runCpu, ownCpu;
  int failures = 0;
  for (int pass = 1; pass <= repeat; ++pass) {
    if (cold) Evict(list);
    Clock::time_point start = Clock::now();
    failures = baseline();
    baseTimes.push_back(Since(start));

    // One pictgen run of a gallery file into a new output folder, its times noted.
    auto timed = [&](const std::string& path, const TGalleryTail& tail, const char* folder,
                     std::vector<double>& times, std::vector<double>& cpuTimes) {
      settings.OutputFolder.set((work / (folder + std::to_string(pass))).string());
      if (!WriteGalleryFile(path, settings, tail, written)) return false;
      if (cold) Evict(list);
      double seconds = 0, cpu = 0;
      if (!RunPictgen(pictgen, path, seconds, passPeakKiB, &cpu)) {
        std::fprintf(stderr, "pictgen failed on %s\n", path.c_str());
        return false;
      }
      times.push_back(seconds);
      cpuTimes.push_back(cpu);
      peakKiB = std::max(peakKiB, passPeakKiB);
      return true;
    };
    if (!timed(gallery, TGalleryTail{}, "out-", runTimes, runCpu) ||
        !timed(ownGallery, own, "own-", ownTimes, ownCpu))
      return 1;
  }
  const double ownSeconds = Median(ownTimes);
  double baseSeconds = Median(baseTimes);
  runSeconds = Median(runTimes);
  std::size_t pages = (count + 14) / 15;

  std::printf("images %zu (%s), pages %zu, unreadable %d, %s cache, medians of %d passes\n", count,
              small ? "160x120" : "camera-like 4000x3000", pages, failures, cold ? "cold" : "warm", repeat);
  std::printf("baseline GetJpegSize loop: %8.1f ms  %7.1f us/image\n", baseSeconds * 1e3, baseSeconds * 1e6 / count);
  std::printf("pictgen whole run:         %8.1f ms  %7.1f us/image  %7.0f pages/s\n", runSeconds * 1e3,
              runSeconds * 1e6 / count, pages / runSeconds);
  std::printf("ratio run / baseline:      %8.2f (goal 2.5 or less)\n", runSeconds / baseSeconds);
  std::printf("pictgen, photos' own titles\n  and order by time taken:  %8.1f ms  %7.1f us/image\n", ownSeconds * 1e3,
              ownSeconds * 1e6 / count);
  std::printf("ratio own titles / without: %7.3f wall, %.3f processor time (%.1f / %.1f ms; goal 1.05 or less)\n",
              ownSeconds / runSeconds, Median(ownCpu) / Median(runCpu), Median(ownCpu) * 1e3,
              Median(runCpu) * 1e3);
  std::printf("pictgen peak memory:       %8ld KiB\n", peakKiB);
  if (std::getenv("PICTALON_BENCH_KEEP")) std::printf("kept: %s\n", work.c_str());
  else fs::remove_all(work);
  return 0;
}
