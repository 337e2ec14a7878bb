// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// startup [--galleries N] [--rounds R]
// Times the start of the desktop program as a user meets it: from starting the process to the
// first painted frame of the wizard, made as the program makes it (data module, wizard,
// fine-tune dialog, review window) with N gallery files in the user data folder, next to two
// baselines of the same size started and shown the same way, alternating, in the same run: a bare
// Qt Widgets window, and one showing a line of text (which loads the font machinery the wizard
// needs as well). Both are this program (the same libraries to load); the program folder is its own,
// laid out from the build's. Runs offscreen unless a display is set.
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "GalleryFile.h"
#include "Platform.h"
#include "Program.h"

namespace {

namespace fs = std::filesystem;

double NowMs() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Prints the time since the process was started at its first paint, and ends the event loop.
class TFirstFrame : public QObject {
public:
  explicit TFirstFrame(double startedMs) : startedMs_(startedMs) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && !done_) {
      done_ = true;
      std::printf("%.3f\n", NowMs() - startedMs_);
      std::fflush(stdout);
      QCoreApplication::exit(0);
    }
    return false;
  }

private:
  double startedMs_;
  bool done_ = false;
};

// The child: one start of the wizard or of the bare window.
int RunChild(const char* kind, double startedMs, int argc, char* argv[]) {
  QApplication app(argc, argv);
  TFirstFrame frame(startedMs);
  std::unique_ptr<QWidget> bare;
  std::unique_ptr<pictalon::TProgram> program;
  QWidget* window;
  if (!std::strcmp(kind, "wizard")) {
    pictalon::InitialiseApplication();
    program = std::make_unique<pictalon::TProgram>();
    window = program->frmSetup.get();
  } else {
    bare = std::make_unique<QWidget>();
    bare->resize(593, 457);
    if (!std::strcmp(kind, "text")) new QLabel("Double-click to open an existing Gallery:", bare.get());
    window = bare.get();
  }
  window->installEventFilter(&frame);
  window->show();
  return app.exec();
}

// Starts this program as a child of the given kind; the milliseconds to its first frame.
double StartChild(const char* self, const char* kind) {
  int out[2];
  if (pipe(out) != 0) return -1;
  char started[32];
  std::snprintf(started, sizeof started, "%.3f", NowMs());
  pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    close(out[0]);
    execl(self, self, "--child", kind, started, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  char text[64] = {};
  ssize_t n = read(out[0], text, sizeof text - 1);
  close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return n > 0 ? std::atof(text) : -1;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void LayOutProgramFolder(int galleries) {
  const std::string program = pictalon::GetProgramFolder();
  for (const char* folder : {"Data", "Templates"}) {
    fs::remove_all(program + folder);
    fs::copy(std::string(PICTALON_BUILT_PROGRAM) + "/" + folder, program + folder, fs::copy_options::recursive);
  }
  fs::remove_all(pictalon::GetUserDataFolder());
  pictalon::GallerySettings settings{};
  pictalon::ApplyDefaultSettings(settings, program);
  std::string written;
  for (int i = 0; i < galleries; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "Gallery %04d.pgs", i);
    pictalon::WriteGalleryFile(pictalon::GetUserDataFolder() + name, settings, written);
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (argc == 4 && !std::strcmp(argv[1], "--child")) return RunChild(argv[2], std::atof(argv[3]), 1, argv);

  int galleries = 1000, rounds = 9;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--galleries")) galleries = std::atoi(argv[i + 1]);
    if (!std::strcmp(argv[i], "--rounds")) rounds = std::atoi(argv[i + 1]);
  }
  LayOutProgramFolder(galleries);
  std::string self = pictalon::GetProgramFilePath();
  const char* kinds[] = {"bare", "text", "wizard"};
  for (const char* kind : kinds) StartChild(self.c_str(), kind);  // untimed: into the page cache
  std::vector<double> times[3];
  for (int r = 0; r < rounds; ++r)
    for (int k = 0; k < 3; ++k) times[k].push_back(StartChild(self.c_str(), kinds[k]));
  double b = Median(times[0]), t = Median(times[1]), w = Median(times[2]);
  std::printf("%s, %d gallery files, median of %d starts each\n",
              std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "display", galleries, rounds);
  std::printf("bare window       %8.1f ms from process start to first frame\n", b);
  std::printf("window with text  %8.1f ms\n", t);
  std::printf("wizard            %8.1f ms\n", w);
  std::printf("wizard / bare     %8.2f\n", w / b);
  std::printf("wizard / text     %8.2f (goal: at most 1.25)\n", w / t);
  return 0;
}
