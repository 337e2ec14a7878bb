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
#include "PublishJob.h"
#include "SiteFiles.h"
#include "TextUtil.h"

namespace {

constexpr const char* kUsage =
    "Usage: pictgen [--open] GALLERY.pgs\n"
    "       pictgen [--open] --publish [--accept-new-host] GALLERY.pgs\n"
    "Generates the web pages of a Pictalon gallery file into its output folder and prints\n"
    "the path of the first page.\n"
    "  --open             open the first page in the web browser when the run succeeded\n"
    "  --publish          then publish the site to the gallery's \"Publish to\" address over\n"
    "                     SFTP, sending only what changed (keys from ssh-agent and ~/.ssh;\n"
    "                     nothing is asked for)\n"
    "  --accept-new-host  trust a server that is not in ~/.ssh/known_hosts yet and add it\n"
    "Exit status: 0 pages generated (and published), 1 generation or publishing failed (or\n"
    "--open found no program to open the page), 2 wrong command line.\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  return 1;
}

// Publishes what Generate just wrote; the exit status.
int Publish(const std::string& galleryPath, const std::vector<std::string>& images, bool acceptNewHost) {
  using namespace pictalon;
  GallerySettings settings{};
  TGalleryTail tail;
  ReadGalleryFile(galleryPath, settings, tail);
  if (IsBlank(tail.PublishTo))
    return Fail("pictgen: nothing published: the gallery has no \"Publish to:\" address (sftp://host/folder).");
  TPublishSnapshot snapshot{tail.PublishTo, GetOutputFolder(settings), SiteFiles(settings, tail, images)};
  if (const std::size_t gps = SitePicturesWithGps(snapshot.outputFolder, snapshot.files))
    std::fprintf(stderr, "pictgen: warning: %zu published %s where %s taken (GPS position)\n", gps,
                 gps == 1 ? "photo tells" : "photos tell", gps == 1 ? "it was" : "they were");

  TPublishCallbacks callbacks;
  callbacks.trustNewHost = [acceptNewHost](const std::string& host, const std::string& type, const std::string& fingerprint) {
    if (acceptNewHost)
      std::fprintf(stderr, "pictgen: adding %s to ~/.ssh/known_hosts (%s key %s)\n", host.c_str(), type.c_str(),
                   fingerprint.c_str());
    return acceptNewHost;
  };
  const bool terminal = ::isatty(STDERR_FILENO);
  if (terminal) {
    callbacks.progress = [](const TPublishProgress& p) {
      std::fprintf(stderr, "\rPublishing: %zu of %zu files, %llu of %llu KiB   ", p.filesDone, p.filesTotal,
                   (unsigned long long)(p.bytesDone / 1024), (unsigned long long)(p.bytesTotal / 1024));
    };
  }
  const TPublishResult result = PublishSite(snapshot, callbacks);
  if (terminal) std::fputc('\n', stderr);
  if (result.outcome != TPublishOutcome::Published) {
    std::string message = result.message.empty() ? "Publishing stopped" : result.message;
    if (!acceptNewHost && message.find("the host is unknown") != std::string::npos)
      message += "; check the fingerprint and run again with --accept-new-host to trust it";
    return Fail("pictgen: " + WithFullStop(message));
  }
  if (terminal)
    std::fprintf(stderr, "Published to %s: %zu files sent (%llu bytes), %zu deleted\n", tail.PublishTo.c_str(),
                 result.filesSent, (unsigned long long)result.bytesSent, result.filesDeleted);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace pictalon;
  bool open = false, publish = false, acceptNewHost = false;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--open") == 0) {
      open = true;
    } else if (std::strcmp(argv[i], "--publish") == 0) {
      publish = true;
    } else if (std::strcmp(argv[i], "--accept-new-host") == 0) {
      acceptNewHost = true;
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
  if (paths.size() != 1 || paths[0].empty() || (acceptNewHost && !publish)) {
    std::fputs(kUsage, stderr);
    return 2;
  }

  std::error_code ec;
  std::string galleryPath = std::filesystem::absolute(paths[0], ec).string();
  if (ec) galleryPath = paths[0];

  // The engine reports an unreadable gallery file itself; the list then stays empty.
  PreparePhotoMetadata();
  // The list is ordered and its titles are read over one look at each photo.
  TPhotoMetadataSnapshot snapshot;
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
        return publish ? Publish(galleryPath, images, acceptNewHost) : 0;
      case TGenerateOutcome::EngineReturnedFalse:
        failure = "Error running engine";
        break;
      case TGenerateOutcome::EngineFailed:
        failure = WithFullStop(result.failure.Text());
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
  if (publish) failure += "\nNothing published, as the pages were not generated.";
  return Fail(failure);
}
