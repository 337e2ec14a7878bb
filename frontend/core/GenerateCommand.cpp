#include "GenerateCommand.h"

#include <unistd.h>

#include <array>
#include <exception>
#include <optional>

#include "Error.h"
#include "GalleryFile.h"
#include "Helpers.h"
#include "PictGenerator_IF.h"
#include "Platform.h"
#include "TextUtil.h"
#include "WebCopies.h"
#include "WorkingFiles.h"

namespace {

// Set while the engine runs: where its failure message goes.
std::optional<std::string>* activeFailure = nullptr;

}  // namespace

// Exported from the host program (see host-exports.list); the engine finds it by name.
extern "C" __attribute__((visibility("default"))) void PictalonReportEngineFailure(const char* message) {
  if (activeFailure) *activeFailure = message ? message : "";
}

namespace pictalon {

std::size_t CopyImagesToOutput(const GallerySettings& settings,
                               const std::vector<std::string>& images,
                               const std::function<void(std::size_t, std::size_t)>& progress) {
  std::string target = GetOutputFolder(settings) + "gallimgs/";
  ForceDirectories(target);
  std::size_t copied = 0;
  for (std::size_t i = 0; i < images.size(); ++i) {
    if (CopyOrMoveFile(images[i], target + ExtractFileName(images[i]), false)) ++copied;
    if (progress) progress(i + 1, images.size());
  }
  CopyGraphicsToOutput(settings, images);
  return copied;
}

std::string NotResizedMessage(const std::vector<std::string>& files) {
  if (files.empty()) return "";
  std::string text = "These pictures could not be decoded and were copied as they are, at full size:\n";
  for (const std::string& file : files) text += "  " + file + "\n";
  return text;
}

void CopyGraphicsToOutput(const GallerySettings& settings, const std::vector<std::string>& images) {
  const std::string target = GetOutputFolder(settings) + "gallimgs/";
  // The graphics travel with the images, so a published gallery keeps its logo, title and
  // background; the engine links them by the same names.
  const std::string graphics[] = {settings.LogoGraphic.get(), settings.TitleGraphic.get(),
                                  settings.BackgroundImage.get()};
  std::array<std::string, 3> names = GraphicCopyNames(settings, images);
  for (std::size_t i = 0; i < names.size(); ++i)
    if (!names[i].empty()) CopyOrMoveFile(std::string(TrimBlanks(graphics[i])), target + names[i], false);
}

namespace {

TGenerateOutcome RunEngine(const std::string& galleryPath, std::string& failureText) {
  TEngineBinding engine;
  if (!engine.LoadEngine()) return TGenerateOutcome::EngineNotLoaded;
  std::optional<std::string> failure;
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
              std::vector<std::string>& notResized) {
  GallerySettings record{};
  TWebCopySettings webCopies;
  ReadGalleryFile(galleryPath, record, webCopies);
  if (!webCopies.ResizeCopies) {
    CopyImagesToOutput(settings, images, hooks.copyProgress);
    return true;
  }
  TWebCopiesReport report = MakeWebCopies(settings, webCopies, images, hooks.copyProgress, hooks.cancelled);
  notResized = std::move(report.notResized);
  CopyGraphicsToOutput(settings, images);
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

TGenerateResult GeneratePages(TImageListLock& listLock, const std::string& galleryPath,
                              const GallerySettings& settings,
                              const std::vector<std::string>& images, const TGenerateHooks& hooks) {
  const std::string listPath = ImageListFilePath();
  if (!WriteImageListFile(listPath, images)) throw Error("Cannot create file " + listPath);

  // From here on, whatever fails, the list file is deleted and the end hook runs.
  TGenerateResult result;
  result.firstPage = GetOutputFolder(settings) + "gallery1.html";
  std::exception_ptr error;
  try {
    if (hooks.begin) hooks.begin();
    if (settings.CopyImages.get() && !CopyStep(galleryPath, settings, images, hooks, result.notResized))
      result.outcome = TGenerateOutcome::Cancelled;
    else
      result.outcome = RunEngine(galleryPath, result.failure);
  } catch (...) {
    error = std::current_exception();
  }

  // Clean-up, however the run ended; an error is passed on only afterwards.
  ::unlink(listPath.c_str());
  listLock.Release();
  if (hooks.end) hooks.end();
  if (hooks.openFirstPage && result.outcome != TGenerateOutcome::Cancelled) OpenDocument(result.firstPage, false);
  if (error) std::rethrow_exception(error);
  return result;
}

}  // namespace pictalon
