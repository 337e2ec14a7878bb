// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// thumbs [--count N] [--window N] [--corpus FOLDER] [--work FOLDER] [--list-only N] [--compare PNG]
// Times the review window's thumbnail maker per image, with one and with two worker threads, next
// to GraphicsMagick's `gm mogrify -size 300x300 -thumbnail 150x150` over copies of the same
// camera-like photos (bench/make-corpus.sh) in the same run, all from a warm page cache. Then it
// shows the real review window offscreen over a list of --window photos (links cycling over the
// corpus) and reports the time to its first screen (every cell in view painted with a picture),
// until every cell in view is exact, the whole run's time; then it scrolls the list end to end a
// page at a time and types a title for twenty photos along it. Over all of it: the process's peak
// memory and the longest pause of the user interface thread, measured as the longest gap between
// the ticks of a 5 ms timer.
// --compare PNG writes a picture of the first photos' cells: the camera's preview above, the exact
// thumbnail below, and prints how far apart they are.
// --list-only N runs only the window, over N links to one small picture made here, so that the
// cost of the list itself shows (10,000 items).
// With the photos' own titles and the order by time taken, every photo's metadata is read as
// well (the Gallery Images page orders the list, the review window suggests titles): the row
// "with each photo's metadata" adds that reading to the one-thread maker, goal at most 5 % more.
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "ImageReview.h"
#include "NonVis.h"
#include "Picture.h"
#include "PhotoMetadata.h"
#include "Platform.h"
#include "TestJpeg.h"
#include "ThumbList.h"
#include "ThumbMaker.h"
#include "ThumbRun.h"
#include "FixedWizard.h"

namespace {

namespace fs = std::filesystem;
using namespace pictalon;
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The processor time the calling thread has used, in ms.
double ThreadCpuMs() {
  timespec t;
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

long PeakKiB() {
  struct rusage usage;
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Processor time (user + system) in seconds of this process's threads, or of its ended children.
double CpuSeconds(int who) {
  struct rusage usage;
  ::getrusage(who, &usage);
  auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Wall and processor seconds per image of one measured pass.
struct TPass {
  double wall = -1, cpu = -1;
};

// Reads every file once, so that every measured pass finds them in the page cache.
void Warm(const std::vector<std::string>& files) {
  std::string bytes;
  for (const std::string& f : files) ReadWholeFile(f, bytes);
}

// Seconds per image for the thumbnail maker over files with the given number of threads.
TPass MakerPerImage(const std::vector<std::string>& files, int threads, int& failures) {
  const double cpu = CpuSeconds(RUSAGE_SELF);
  Clock::time_point start = Clock::now();
  TThumbMaker maker(files, threads);
  failures = 0;
  while (maker.Next() < files.size()) {
    std::optional<TThumbResult> result = maker.Take(std::chrono::milliseconds(1000));
    if (result && !result->error.empty()) ++failures;
  }
  const double n = double(files.size());
  return {Since(start) / n, (CpuSeconds(RUSAGE_SELF) - cpu) / n};
}

// As MakerPerImage with one thread, each photo's metadata read too (not from the cache).
TPass MakerWithMetadataPerImage(const std::vector<std::string>& files, int& failures) {
  const double cpu = CpuSeconds(RUSAGE_SELF);
  Clock::time_point start = Clock::now();
  std::size_t titled = 0;
  for (const std::string& f : files) titled += !ReadPhotoMetadata(f, "").title.empty();
  const double n = double(files.size());
  TPass metadata{Since(start) / n, (CpuSeconds(RUSAGE_SELF) - cpu) / n};
  if (titled != files.size()) std::fprintf(stderr, "thumbs: %zu of %zu photos have a title\n", titled, files.size());
  TPass maker = MakerPerImage(files, 1, failures);
  return {metadata.wall + maker.wall, metadata.cpu + maker.cpu};
}

// Seconds per image for gm mogrify over fresh copies of files (the copies are not timed).
TPass GmPerImage(const std::vector<std::string>& files, const std::string& folder, bool oneThread) {
  fs::remove_all(folder);
  fs::create_directories(folder);
  std::string command = std::string(oneThread ? "OMP_NUM_THREADS=1 " : "") +
                        "gm mogrify -size 300x300 -thumbnail 150x150";
  for (const std::string& f : files) {
    const std::string copy = folder + "/" + fs::path(f).filename().string();
    fs::copy_file(f, copy);
    command += " '" + copy + "'";
  }
  const double cpu = CpuSeconds(RUSAGE_CHILDREN);
  Clock::time_point start = Clock::now();
  const int status = std::system(command.c_str());
  const double seconds = Since(start);
  const double cpuSeconds = CpuSeconds(RUSAGE_CHILDREN) - cpu;
  fs::remove_all(folder);
  if (status != 0) {
    std::fprintf(stderr, "thumbs: gm mogrify failed (is graphicsmagick installed?)\n");
    return {};
  }
  const double n = double(files.size());
  return {seconds / n, cpuSeconds / n};
}

// The review window over count links to the corpus, in this process (run as a child, so that its
// peak memory is the window's alone).
int WindowRun(const std::vector<std::string>& corpus, int count, const std::string& work) {
  const std::string folder = work + "/window";
  fs::remove_all(folder);
  fs::create_directories(folder);
  test::TFixedWizard wizard;
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/P%05d.jpg", i);
    const std::string link = folder + name;
    std::error_code ec;
    fs::create_hard_link(corpus[std::size_t(i) % corpus.size()], link, ec);
    if (ec) fs::create_symlink(corpus[std::size_t(i) % corpus.size()], link);
    wizard.images.push_back(link);
  }
  Warm(corpus);
  OverrideProgramFolder(work + "/");
  wizard.gallery = work + "/Data/User/Bench.pgs";

  int argc = 1;
  char arg0[] = "thumbs";
  char* argv[] = {arg0, nullptr};
  QApplication app(argc, argv);
  TdmNonVis dm;
  TfrmImageReview window(dm, wizard);
  // In the program the wizard has loaded the fonts and the style long before: not timed here.
  window.grab();
  const long baseKiB = PeakKiB();

  QElapsedTimer sinceTick, sinceStart;
  qint64 longestGap = 0, longestAt = 0, longestCpuAt = 0;
  double longestGapCpu = 0, longestCpu = 0;  // ms the thread itself ran within a gap
  double cpuAtTick = ThreadCpuMs();
  int over50 = 0, over100 = 0;
  QTimer ticker;
  ticker.setInterval(5);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    const double cpu = ThreadCpuMs();
    if (sinceTick.isValid()) {
      over50 += sinceTick.elapsed() > 50;
      over100 += sinceTick.elapsed() > 100;
      if (cpu - cpuAtTick > longestCpu) longestCpuAt = sinceStart.elapsed();
      longestCpu = std::max(longestCpu, cpu - cpuAtTick);
    }
    if (sinceTick.isValid() && sinceTick.elapsed() > longestGap) {
      longestGap = sinceTick.elapsed();
      longestGapCpu = cpu - cpuAtTick;
      longestAt = sinceStart.elapsed();
    }
    cpuAtTick = cpu;
    sinceTick.restart();
  });
  // Watches the cells in view: when all first show a picture, and when all are exact.
  TThumbModel& model = window.Thumbs();
  QListView& view = *window.lvThumbs;
  double firstScreen = -1, exactScreen = -1, runSeconds = -1;
  bool runDone = false;
  QTimer watcher;
  watcher.setInterval(2);
  Clock::time_point start;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    // The rows the window last saw in view, as many as the view holds.
    const QSize grid = view.gridSize();
    const int capacity = std::max(1, view.viewport()->width() / grid.width()) *
                         ((view.viewport()->height() + grid.height() - 1) / grid.height());
    if (model.LastVisible() - model.FirstVisible() + 1 < std::min(capacity, count)) return;
    if (firstScreen < 0 && model.VisibleShown()) firstScreen = Since(start);
    if (exactScreen < 0 && model.VisibleExact()) exactScreen = Since(start);
  });
  QObject::connect(&window, &TfrmImageReview::ThumbnailsDone, &window, [&] {
    runSeconds = Since(start);
    runDone = true;
  });
  start = Clock::now();
  sinceStart.start();
  ticker.start();
  watcher.start();
  window.show();
  while (!runDone || (exactScreen < 0 && Since(start) < runSeconds + 60))
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  std::printf("review window, %d photos: first screen %.3f s, every cell in view exact %.3f s,\n"
              "  the whole run %.1f s (%.2f ms per image), %d thumbnails\n",
              count, firstScreen, exactScreen, runSeconds, runSeconds * 1000 / count, model.rowCount());

  // The user goes through the list: a page down (or a four-hundredth of the list, when more) every
  // 40 ms to the end, a title typed for twenty photos along the way, then back to the top in one
  // jump.
  const Clock::time_point browse = Clock::now();
  QScrollBar& bar = *view.verticalScrollBar();
  int titles = 0, steps = 0, step = 0;
  while (bar.value() < bar.maximum()) {
    // The view may still be laying out the last rows: the end is taken anew at each step.
    step = std::max(bar.pageStep(), bar.maximum() / 400);
    bar.setValue(bar.value() + step);
    ++steps;
    const int row = TThumbFollower::VisibleRows(view).first;
    if (titles < 20 && row >= titles * model.rowCount() / 20) {
      view.selectionModel()->setCurrentIndex(model.index(row), QItemSelectionModel::ClearAndSelect);
      window.ebTitle->setText(QString("Title %1").arg(++titles));
      window.btnSaveClick();
    }
    QElapsedTimer page;
    page.start();
    while (page.elapsed() < 40) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 40);
  }
  bar.setValue(0);
  QElapsedTimer settle;
  settle.start();
  while (settle.elapsed() < 1000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  ticker.stop();
  watcher.stop();
  std::printf("  scrolled end to end in %d steps of %d pixels with %d titles typed in %.1f s\n", steps,
              step, titles, Since(browse));
  std::printf("  peak memory: %.0f MB (%.0f MB before the run)\n", PeakKiB() / 1024.0,
              baseKiB / 1024.0);
  std::printf("  longest pause of the user interface thread: %lld ms, %.1f s into the run "
              "(timer ticks every 5 ms)\n",
              static_cast<long long>(longestGap), longestAt / 1000.0);
  std::printf("  pauses over 50 ms: %d, over 100 ms: %d; the thread ran %.0f ms of the longest;\n"
              "  the longest stretch it ran between two ticks: %.0f ms, %.1f s into the run (its own\n"
              "  work, without waits for a processor taken by other programs)\n",
              over50, over100, longestGapCpu, longestCpu, longestCpuAt / 1000.0);
  window.close();
  fs::remove_all(folder);
  return 0;
}

// The cells of the first photos, preview above exact, into png; the mean difference per channel.
int Compare(const std::vector<std::string>& photos, const std::string& png) {
  int argc = 1;
  char arg0[] = "thumbs";
  char* argv[] = {arg0, nullptr};
  QApplication app(argc, argv);
  const int count = int(std::min<std::size_t>(photos.size(), 4)), gap = 8;
  QImage sheet(count * (kThumbCell + gap) + gap, 2 * (kThumbCell + gap) + gap, QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  for (int i = 0; i < count; ++i) {
    const TThumbResult preview = MakeFirstThumbnail(photos[std::size_t(i)]);
    const TThumbResult exact = MakeThumbnail(photos[std::size_t(i)]);
    const QImage a = DecodeJpeg(preview.jpeg), b = DecodeJpeg(exact.jpeg);
    const int x = gap + i * (kThumbCell + gap);
    TThumbDelegate::PaintCell(painter, {x, gap}, a, preview.rect, app.palette());
    TThumbDelegate::PaintCell(painter, {x, 2 * gap + kThumbCell}, b, exact.rect, app.palette());
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
      for (int x2 = 0; x2 < a.width(); ++x2) {
        const QRgb p = a.pixel(x2, y), q = b.pixel(x2, y);
        sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
      }
    std::printf("%s: preview %s, mean difference to the exact thumbnail %.1f of 255 per channel\n",
                fs::path(photos[std::size_t(i)]).filename().c_str(),
                preview.exact ? "not usable" : "used", sum / (3.0 * a.width() * a.height()));
  }
  painter.end();
  return sheet.save(QString::fromStdString(png)) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t count = 100;
  int windowCount = 2000;
  const char* env = std::getenv("CORPUS");
  std::string corpus = env ? env : (fs::temp_directory_path() / "pictalon-corpus").string();
  std::string work = fs::temp_directory_path().string();
  bool child = false;
  int listOnly = 0;
  std::string compare;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--count" && i + 1 < argc) count = std::strtoul(argv[++i], nullptr, 10);
    else if (a == "--window" && i + 1 < argc) windowCount = std::atoi(argv[++i]);
    else if (a == "--corpus" && i + 1 < argc) corpus = argv[++i];
    else if (a == "--work" && i + 1 < argc) work = argv[++i];
    else if (a == "--window-child") child = true;
    else if (a == "--list-only" && i + 1 < argc) listOnly = std::atoi(argv[++i]);
    else if (a == "--compare" && i + 1 < argc) compare = argv[++i];
    else {
      std::fprintf(stderr, "usage: thumbs [--count N] [--window N] [--corpus FOLDER] [--work FOLDER] "
                           "[--list-only N] [--compare PNG]\n");
      return 2;
    }
  }
  if (listOnly > 0) {
    if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    work += "/pictalon-thumbs-bench";
    fs::create_directories(work);
    const std::string small = work + "/small.jpg";
    const std::string bytes = test::MakeJpeg(320, 240);
    WriteFileAtomic(small, bytes);
    const int status = WindowRun({small}, listOnly, work);
    fs::remove_all(work);
    return status;
  }
  std::vector<std::string> photos;
  for (const std::string& name : ListFilesWithExtension(corpus + "/large", ".jpg"))
    photos.push_back(corpus + "/large/" + name);
  if (photos.empty()) {
    std::fprintf(stderr, "thumbs: no photos in %s/large: run bench/make-corpus.sh first\n", corpus.c_str());
    return 1;
  }
  if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  work += "/pictalon-thumbs-bench";
  if (child) return WindowRun(photos, windowCount, work);
  if (!compare.empty()) return Compare(photos, compare);

  fs::create_directories(work);
  if (photos.size() > count) photos.resize(count);
  Warm(photos);
  std::printf("%zu camera-like photos from %s/large, per image (best of 3, warm cache):\n",
              photos.size(), corpus.c_str());
  // The best of three rounds, the four measures taking turns within each round: other programs on
  // the machine only ever make a pass slower, and they weigh on all four alike. Processor time
  // (all threads, or gm's process) is shown beside the wall time: it hardly depends on that load.
  int failures = 0;
  PreparePhotoMetadata();
  TPass one{1e9, 1e9}, two{1e9, 1e9}, gm{1e9, 1e9}, gm1{1e9, 1e9}, oneMeta{1e9, 1e9};
  auto keep = [](TPass& best, TPass pass) {
    if (pass.wall < 0) return;  // a failed gm run counts nothing
    best.wall = std::min(best.wall, pass.wall);
    best.cpu = std::min(best.cpu, pass.cpu);
  };
  for (int round = 0; round < 3; ++round) {
    keep(one, MakerPerImage(photos, 1, failures));
    keep(oneMeta, MakerWithMetadataPerImage(photos, failures));
    keep(gm1, GmPerImage(photos, work + "/gm", true));
    keep(two, MakerPerImage(photos, 2, failures));
    keep(gm, GmPerImage(photos, work + "/gm", false));
  }
  std::printf("  %-44s %9s %9s %9s\n", "", "wall", "x gm", "processor");
  auto row = [&](const char* name, const TPass& p) {
    std::printf("  %-44s %6.1f ms %8.2f  %6.1f ms\n", name, p.wall * 1000, p.wall / gm.wall,
                p.cpu * 1000);
  };
  row("gm mogrify -size 300x300 -thumbnail 150x150", gm);
  row("  the same with OMP_NUM_THREADS=1", gm1);
  row("thumbnail maker, 1 thread", one);
  row("thumbnail maker, 2 threads", two);
  row("thumbnail maker, 1 thread, each photo's metadata", oneMeta);
  std::printf("  with the photos' metadata / without: %.3f wall, %.3f processor time (goal 1.05 or less)\n",
              oneMeta.wall / one.wall, oneMeta.cpu / one.cpu);
  if (failures) std::printf("  (%d photos failed to decode)\n", failures);
  std::fflush(stdout);

  // The window in a process of its own, so that its peak memory is its own.
  pid_t pid = ::fork();
  if (pid == 0) {
    const std::string self = GetProgramFilePath();
    const std::string n = std::to_string(windowCount);
    ::execl(self.c_str(), self.c_str(), "--window-child", "--window", n.c_str(), "--corpus",
            corpus.c_str(), "--work", fs::path(work).parent_path().c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  fs::remove_all(work);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
