// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "GenerateCommand.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstring>
#include <iterator>
#include <exception>
#include <filesystem>
#include <optional>

#include "Error.h"
#include "GalleryFile.h"
#include "Helpers.h"
#include "PhotoMetadata.h"
#include "PictGenerator_IF.h"
#include "Platform.h"
#include "TextUtil.h"
#include "WebCopies.h"
#include "WorkingFiles.h"

namespace {

// Set while the engine runs: where its failure message goes.
std::optional<pictalon::TMessage>* activeFailure = nullptr;

}  // namespace

// Exported from the host program (see host-exports.list); the engine finds it by name.
extern "C" __attribute__((visibility("default"))) void PictalonReportEngineFailure(
    const char* context, const char* source, const char* const* arguments, int argumentCount) {
  if (!activeFailure) return;
  pictalon::TMessage message(source ? source : "");
  if (context && source) message = pictalon::TMessage(pictalon::TMessageText{context, source});
  for (int i = 0; i < argumentCount; ++i) message.AddArgument(arguments[i] ? arguments[i] : "");
  *activeFailure = std::move(message);
}

namespace pictalon {

namespace {

// Copies source to destination (see CopyIntoOutput); an empty source is skipped (its cell shows
// that it is no image), any other failure is kept in failure, the first one only.
bool CopyForGallery(const std::string& source, const std::string& destination, TMessage* failure) {
  std::error_code error;
  if (std::filesystem::file_size(source, error) == 0 && !error) return false;
  TMessage reason;
  if (CopyIntoOutput(source, destination, &reason)) return true;
  if (failure && failure->empty()) *failure = reason;
  return false;
}

}  // namespace

std::size_t CopyImagesToOutput(const GallerySettings& settings,
                               const std::vector<std::string>& images,
                               const std::function<void(std::size_t, std::size_t)>& progress,
                               TMessage* failure, const std::function<bool()>& cancelled) {
  std::string target = GetOutputFolder(settings) + "gallimgs/";
  ForceDirectories(target);
  const TCopiesRecord record = ReadCopiesRecord(target);
  TCopiesRecord updated;
  std::size_t copied = 0;
  for (std::size_t i = 0; i < images.size() && !(cancelled && cancelled()); ++i) {
    const std::string name = ExtractFileName(images[i]), copy = target + name;
    const std::string source = FileStamp(images[i]), stamp = source.empty() ? "" : source + " plain";
    const auto found = record.find(name);
    // A copy whose source did not change since it was made (and that is still as it was made) stays.
    const bool current = !stamp.empty() && found != record.end() && found->second.stamp == stamp &&
                         found->second.copy == FileStamp(copy);
    if (current || CopyForGallery(images[i], copy, failure)) {
      ++copied;
      if (!stamp.empty()) updated[name] = {stamp, FileStamp(copy)};
    }
    if (progress) progress(i + 1, images.size());
  }
  WriteCopiesRecord(target, updated);
  CopyGraphicsToOutput(settings, images, failure);
  return copied;
}

std::string NotResizedMessage(const std::vector<TNotResizedImage>& files) {
  if (files.empty()) return "";
  std::string text = "These pictures could not be resized and were copied as they are, at full size:\n";
  for (const TNotResizedImage& file : files) text += "  " + file.file + " (" + NotResizedReason(file.why).Text() + ")\n";
  return text;
}

TMessage NotResizedReason(TNotResized why) {
  switch (why) {
    case TNotResized::CutShort: return TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "the file is cut short"));
    case TNotResized::TooLarge: return TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "the picture is too large"));
    case TNotResized::OutOfMemory: return TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "out of memory"));
    default: return TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "it could not be decoded"));
  }
}

void CopyGraphicsToOutput(const GallerySettings& settings, const std::vector<std::string>& images,
                          TMessage* failure) {
  const std::string target = GetOutputFolder(settings) + "gallimgs/";
  // The graphics travel with the images, so a published gallery keeps its logo, title and
  // background; the engine links them by the same names.
  const std::string graphics[] = {settings.LogoGraphic.get(), settings.TitleGraphic.get(),
                                  settings.BackgroundImage.get()};
  std::array<std::string, 3> names = GraphicCopyNames(settings, images);
  for (std::size_t i = 0; i < names.size(); ++i)
    if (!names[i].empty()) CopyForGallery(std::string(TrimBlanks(graphics[i])), target + names[i], failure);
}

namespace {

// What an interrupted run deletes: fixed storage, as the signal handler may not allocate.
struct TInterruptFiles {
  static constexpr int kFiles = 3;
  std::atomic<bool> set[kFiles];
  char path[kFiles][PATH_MAX];
};
TInterruptFiles interruptFiles{};

constexpr int kInterruptSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void OnInterrupt(int signal) {
  for (int i = 0; i < TInterruptFiles::kFiles; ++i)
    if (interruptFiles.set[i].load()) ::unlink(interruptFiles.path[i]);
  RemoveTemporaryFiles();
  // Ended by the same signal, as if it had not been caught: a calling shell sees 128 + signal.
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

}  // namespace

TInterruptCleanup::TInterruptCleanup() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  ::sigemptyset(&action.sa_mask);
  for (int signal : kInterruptSignals) ::sigaddset(&action.sa_mask, signal);
  for (std::size_t i = 0; i < std::size(kInterruptSignals); ++i) {
    ::sigaction(kInterruptSignals[i], nullptr, &previous_[i]);
    // A signal the program was started to ignore (nohup, say) stays ignored.
    if (previous_[i].sa_handler == SIG_IGN) continue;
    installed_[i] = ::sigaction(kInterruptSignals[i], &action, nullptr) == 0;
  }
}

TInterruptCleanup::~TInterruptCleanup() {
  for (std::size_t i = 0; i < std::size(kInterruptSignals); ++i)
    if (installed_[i]) ::sigaction(kInterruptSignals[i], &previous_[i], nullptr);
  ForgetFiles();
}

void TInterruptCleanup::ForgetFiles() {
  for (auto& set : interruptFiles.set) set.store(false);
}

void TInterruptCleanup::DeleteOnInterrupt(const std::string& path) {
  if (path.size() >= PATH_MAX) return;
  for (int i = 0; i < TInterruptFiles::kFiles; ++i) {
    if (interruptFiles.set[i].load()) continue;
    std::memcpy(interruptFiles.path[i], path.c_str(), path.size() + 1);
    interruptFiles.set[i].store(true);
    return;
  }
}

namespace {

TGenerateOutcome RunEngine(const std::string& galleryPath, TMessage& failureText) {
  TEngineBinding engine;
  if (!engine.LoadEngine()) return TGenerateOutcome::EngineNotLoaded;
  std::optional<TMessage> failure;
  activeFailure = &failure;
  bool generated = engine.Run(galleryPath);
  activeFailure = nullptr;
  engine.FreeEngine();
  if (failure) {
    failureText = *failure;
    return TGenerateOutcome::EngineFailed;
  }
  return generated ? TGenerateOutcome::Generated : TGenerateOutcome::EngineReturnedFalse;
}

// Copies the images into the output folder: as they are, or as web copies when the gallery
// file's tail asks for them. False when the user stopped it.
bool CopyStep(const std::string& galleryPath, const GallerySettings& settings,
              const std::vector<std::string>& images, const TGenerateHooks& hooks,
              std::vector<TNotResizedImage>& notResized, TMessage& failure) {
  GallerySettings record{};
  TGalleryTail webCopies;
  ReadGalleryFile(galleryPath, record, webCopies);
  if (!webCopies.ResizeCopies) {
    bool stopped = false;
    CopyImagesToOutput(settings, images, hooks.copyProgress, &failure,
                       [&] { return stopped = hooks.cancelled && hooks.cancelled(); });
    return !stopped;
  }
  TWebCopiesReport report = MakeWebCopies(settings, webCopies, images, hooks.copyProgress, hooks.cancelled);
  notResized = std::move(report.notResized);
  failure = report.failure;
  CopyGraphicsToOutput(settings, images, &failure);
  return !report.cancelled;
}

}  // namespace

TGenerateResult GeneratePages(const std::string& galleryPath, const GallerySettings& settings,
                              const std::vector<std::string>& images, const TGenerateHooks& hooks) {
  std::string listPath = ImageListFilePath();
  // In the installed layout the list lives in the user's own folder, which may not exist yet.
  ForceDirectories(ExtractFilePath(listPath));
  TImageListLock listLock(listPath, hooks.waiting);
  return GeneratePages(listLock, galleryPath, settings, images, hooks);
}

// With the photos' own titles the front end reads them (bringing the metadata cache file up to
// date for the next run; the engine itself writes nothing outside the output folder) and hands
// them to the engine in the photo titles file. A file that cannot be written is no failure: the
// engine then reads the titles from the cache file.
static void HandOverPhotoTitles(const std::string& galleryPath, const std::vector<std::string>& images,
                                const std::string& titlesPath) {
  GallerySettings record{};
  TGalleryTail tail;
  if (!ReadGalleryFile(galleryPath, record, tail) || !tail.PhotoCaptions) return;
  if (!WritePhotoTitlesFile(titlesPath, images)) ::unlink(titlesPath.c_str());
  SavePhotoMetadataCache();
}

TGenerateResult GeneratePages(TImageListLock& listLock, const std::string& galleryPath,
                              const GallerySettings& settings,
                              const std::vector<std::string>& images, const TGenerateHooks& hooks) {
  const std::string listPath = ImageListFilePath();
  const std::string titlesPath = PhotoTitlesFilePath();
  TInterruptCleanup interrupted;
  // Only a held lock makes the list (and the lock's file) this run's to delete.
  if (listLock.Held()) interrupted.DeleteOnInterrupt(listLock.LockFilePath());
  interrupted.DeleteOnInterrupt(listPath);
  interrupted.DeleteOnInterrupt(titlesPath);
  if (!WriteImageListFile(listPath, images)) throw Error(TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "Cannot create file %1"), listPath));

  // From here on, whatever fails, the list file is deleted and the end hook runs.
  TGenerateResult result;
  result.firstPage = GetOutputFolder(settings) + "gallery1.html";
  std::exception_ptr error;
  try {
    if (hooks.begin) hooks.begin();
    TMessage copyFailure;
    const bool copied = !settings.CopyImages.get() ||
                        CopyStep(galleryPath, settings, images, hooks, result.notResized, copyFailure);
    // Pages that link a photo that is not there would be published as if all were well.
    if (!copyFailure.empty()) throw Error(copyFailure);
    if (copied) HandOverPhotoTitles(galleryPath, images, titlesPath);
    result.outcome = copied ? RunEngine(galleryPath, result.failure) : TGenerateOutcome::Cancelled;
  } catch (...) {
    error = std::current_exception();
  }

  // Clean-up, however the run ended; an error is passed on only afterwards. Once the lock is let
  // go, the list's path and the lock file's may be the next run's: a signal must not remove them.
  ::unlink(listPath.c_str());
  ::unlink(titlesPath.c_str());
  interrupted.ForgetFiles();
  listLock.Release();
  if (hooks.end) hooks.end();
  if (hooks.openFirstPage && result.outcome != TGenerateOutcome::Cancelled) OpenDocument(result.firstPage, false);
  if (error) std::rethrow_exception(error);
  return result;
}

}  // namespace pictalon
