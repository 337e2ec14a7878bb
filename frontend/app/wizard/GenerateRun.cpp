// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "GenerateRun.h"

#include <QApplication>
#include <QProgressDialog>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>

#include <exception>
#include <filesystem>
#include <optional>

#include "GalleryFile.h"
#include "GenerateCommand.h"
#include "Helpers.h"
#include "NonVis.h"
#include "Platform.h"
#include "PublishRun.h"
#include "SiteFiles.h"
#include "Translations.h"
#include "WorkingFiles.h"

namespace pictalon {

namespace {

namespace fs = std::filesystem;

constexpr const char* kFrozenPrefix = ".run-";

// The run's own copy of the gallery file and its image details, in a hidden folder beside the
// image list: the engine reads these, so a save made while the images are copied (a tab change,
// the review window closing) cannot change what this run generates. The run holds a lock on its
// folder (flock) for as long as it lives; any other such folder whose lock can be had is what an
// ended program left: it goes first. One that another live run holds stays.
class TFrozenGallery {
public:
  explicit TFrozenGallery(const std::string& galleryPath) : path_(galleryPath) {
    const std::string files = ExtractFilePath(ImageListFilePath());
    std::error_code ignored;
    for (const fs::directory_entry& entry : fs::directory_iterator(files, ignored)) {
      if (entry.path().filename().string().rfind(kFrozenPrefix, 0) != 0) continue;
      const int left = LockFolder(entry.path().string());
      if (left < 0) continue;  // another run's, or no lock to be had here: left alone
      fs::remove_all(entry.path(), ignored);
      ::close(left);
    }
    if (galleryPath.empty() || !FileExists(galleryPath)) return;
    std::string folder = files + kFrozenPrefix + "XXXXXX";
    if (!::mkdtemp(folder.data())) return;
    folder_ = folder + "/";
    held_ = LockFolder(folder);
    const std::string copy = folder_ + ExtractFileName(galleryPath);
    const std::string details = ImageDetailsPathBeside(galleryPath);
    if (CopyOrMoveFile(galleryPath, copy, false) &&
        (!FileExists(details) || CopyOrMoveFile(details, ImageDetailsPathBeside(copy), false)))
      path_ = copy;
  }
  ~TFrozenGallery() {
    std::error_code ignored;
    if (!folder_.empty()) fs::remove_all(folder_, ignored);
    if (held_ >= 0) ::close(held_);
  }
  TFrozenGallery(const TFrozenGallery&) = delete;
  TFrozenGallery& operator=(const TFrozenGallery&) = delete;
  // The copy to generate from; the gallery file itself when no copy could be made.
  const std::string& Path() const { return path_; }

private:
  // The folder opened and locked, never waiting; -1 when it is another run's or cannot be locked.
  static int LockFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) return fd;
    if (fd >= 0) ::close(fd);
    return -1;
  }

  std::string path_;
  std::string folder_;
  int held_ = -1;
};

}  // namespace

TGenerateRun::TGenerateRun(TdmNonVis& dm, QWidget& window, QAbstractButton& button, QAbstractButton& publish)
    : dm_(dm), window_(window), button_(button), publish_(publish) {
  UpdateButton();
}

void TGenerateRun::GuardCommands(std::vector<QWidget*> commands) {
  for (QWidget* command : commands) commands_.emplace_back(command);
}

void TGenerateRun::SetImagesListed(bool listed) {
  listed_ = listed;
  UpdateButton();
}

void TGenerateRun::UpdateButton() {
  button_.setEnabled(listed_ && !running_);
  publish_.setEnabled(listed_ && !running_);
}

void TGenerateRun::SetRunning(bool running) {
  running_ = running;
  for (const QPointer<QWidget>& command : commands_)
    if (command) command->setEnabled(!running);
  UpdateButton();
}

struct TGenerateRun::TRunning {
  TGenerateRun& run;
  explicit TRunning(TGenerateRun& r) : run(r) { run.SetRunning(true); }
  ~TRunning() {
    run.SetRunning(false);
    emit run.finished();
  }
};

void TGenerateRun::Run(const TRunSnapshot& snapshot) {
  if (running_) return;
  TRunning running(*this);
  Generate(snapshot, true);
}

void TGenerateRun::Publish(const TRunSnapshot& snapshot) {
  if (running_) return;
  TRunning running(*this);
  // The address as saved when the run started, whatever is saved while it runs.
  GallerySettings settings{};
  TGalleryTail tail;
  ReadGalleryFile(snapshot.galleryPath, settings, tail);
  if (!Generate(snapshot, false)) return;
  TPublishWindow::Publish(dm_, window_, {tail.PublishTo, GetOutputFolder(snapshot.settings),
                                         SiteFiles(snapshot.settings, tail, snapshot.images)});
}

bool TGenerateRun::Generate(const TRunSnapshot& snapshot, bool openFirstPage) {
  // Another run (pictgen, another Pictalon) may hold the image list: wait for it with the
  // window alive and a way out, never on the lock itself.
  const std::string listPath = ImageListFilePath();
  ForceDirectories(ExtractFilePath(listPath));
  std::optional<TImageListLock> lock;
  auto tryLock = [&] {
    lock.reset();
    lock.emplace(listPath, TImageListLock::TTryOnce{});
    return !lock->Busy();
  };
  if (!tryLock() &&
      !dm_.Dialogs().Wait(&window_, tr("Waiting for another gallery to finish generating..."), tryLock))
    return false;

  TFrozenGallery gallery(snapshot.galleryPath);
  bool busy = false, begun = false;
  TGenerateHooks hooks;
  hooks.begin = [&busy, &begun] {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    busy = begun = true;
  };
  hooks.end = [&busy] {
    if (busy) QApplication::restoreOverrideCursor();
    busy = false;
    // Let the window repaint before the browser takes over.
    QCoreApplication::processEvents();
  };
  // The copies show their progress once they take a while, and can be stopped.
  QProgressDialog progress(tr("Copying images to the output folder..."), tr("Cancel"), 0, 0, &window_);
  progress.setWindowTitle(QApplication::applicationName());
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(400);
  progress.setAutoClose(false);
  progress.setAutoReset(false);
  progress.reset();  // hidden until the first step
  hooks.copyProgress = [&progress](std::size_t done, std::size_t total) {
    progress.setMaximum(int(total));
    progress.setValue(int(done));
    QCoreApplication::processEvents();
  };
  hooks.cancelled = [&progress] { return progress.wasCanceled(); };

  TGenerateResult result;
  std::exception_ptr error;
  try {
    result = GeneratePages(*lock, gallery.Path(), snapshot.settings, snapshot.images, hooks);
  } catch (...) {
    error = std::current_exception();
  }
  progress.reset();
  if (error && !begun) std::rethrow_exception(error);  // no image list file: nothing was run
  if (!error && result.outcome == TGenerateOutcome::Cancelled) return false;  // nothing new to show
  if (!error && result.outcome == TGenerateOutcome::EngineReturnedFalse)
    dm_.Dialogs().MessageBox(&window_, tr("Error running engine"));
  if (!result.notResized.empty()) {
    QString files;
    for (const TNotResizedImage& file : result.notResized) {
      files += "\n  " + QString::fromStdString(file.file) + " (" + Translated(NotResizedReason(file.why)) + ")";
    }
    dm_.Dialogs().MessageBox(
        &window_, tr("These pictures could not be resized and were copied as they are, at full size:") + files);
  }
  // The first page is asked for after every run, as the user expects to see what there is.
  if (openFirstPage)
    dm_.Dialogs().OpenDocument(QString::fromStdString(GetOutputFolder(snapshot.settings) + "gallery1.html"));
  if (error) std::rethrow_exception(error);
  if (result.outcome == TGenerateOutcome::EngineFailed)
    dm_.ShowGeneralError(&window_, Translated(result.failure));
  return result.outcome == TGenerateOutcome::Generated;
}

}  // namespace pictalon
