// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// pictgen: generates the pages of a gallery file from the command line, as "Generate Pages" does
// in the desktop program (without saving the gallery first).
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Error.h"
#include "GalleryFile.h"
#include "GenerateCommand.h"
#include "Helpers.h"
#include "PhotoMetadata.h"
#include "PictGenerator_IF.h"
#include "Platform.h"
#include "TextUtil.h"

namespace {

constexpr const char* kUsage =
    "Usage: pictgen [--open] GALLERY.pgs\n"
    "Generates the web pages of a Pictalon gallery file into its output folder and prints\n"
    "the path of the first page.\n"
    "  --open    open the first page in the web browser when the run succeeded\n"
    "Exit status: 0 pages generated, 1 generation failed (or --open found no program to open\n"
    "the page), 2 wrong command line.\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace pictalon;
  bool open = false;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--open") == 0) {
      open = true;
    } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
      std::fprintf(stderr, "pictgen: unknown option %s\n%s", argv[i], kUsage);
      return 2;
    } else {
      paths.push_back(argv[i]);
    }
  }
  if (paths.size() != 1 || paths[0].empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }

  std::error_code ec;
  std::string galleryPath = std::filesystem::absolute(paths[0], ec).string();
  if (ec) galleryPath = paths[0];

  // The engine reports an unreadable gallery file itself; the list then stays empty.
  PreparePhotoMetadata();
  GallerySettings settings{};
  TGalleryTail tail;
  ReadGalleryFile(galleryPath, settings, tail);
  std::vector<std::string> images;
  FillImageListFromFolder(settings.ImageFolder.get(), images);
  OrderImageList(images, tail.Order);

  TGenerateHooks hooks;
  hooks.waiting = [] { std::fputs("pictgen: waiting for another Pictalon run to finish\n", stderr); };
  if (::isatty(STDERR_FILENO)) {
    hooks.copyProgress = [](std::size_t done, std::size_t total) {
      std::fprintf(stderr, "\rCopying images: %zu of %zu", done, total);
      if (done == total) std::fputc('\n', stderr);
    };
  }

  // The first page is opened only after a run that generated every page: after a failure it
  // may be missing or left from an earlier run.
  std::string failure;
  TGenerateResult result;
  try {
    result = GeneratePages(galleryPath, settings, images, hooks);
    std::fputs(NotResizedMessage(result.notResized).c_str(), stderr);
    switch (result.outcome) {
      case TGenerateOutcome::Generated:
        std::printf("%s\n", result.firstPage.c_str());
        std::fflush(stdout);
        if (open && !OpenDocument(result.firstPage, false))
          return Fail("pictgen: cannot open the first page: no program to open it (xdg-open) could be started.");
        return 0;
      case TGenerateOutcome::EngineReturnedFalse:
        failure = "Error running engine";
        break;
      case TGenerateOutcome::EngineFailed:
        failure = WithFullStop(result.failure);
        break;
      case TGenerateOutcome::EngineNotLoaded:
        failure = std::string("Cannot load the page generator ") + kEngineLibraryName;
        break;
      case TGenerateOutcome::Cancelled:  // pictgen asks nobody to stop
        failure = "Stopped";
        break;
    }
  } catch (const std::exception& e) {
    failure = WithFullStop(e.what());
  }
  if (open) failure += "\nNothing opened, as the pages were not generated.";
  return Fail(failure);
}
