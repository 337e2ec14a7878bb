// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Generate Pages" sequence after the gallery file has been saved: image list file, image
// copies, the engine run, clean-up. Shared by the desktop program and the command line.
#include <signal.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "Message.h"
#include "TypeDef.h"
#include "WebCopies.h"
#include "WorkingFiles.h"

namespace pictalon {

enum class TGenerateOutcome {
  Generated,            // the engine returned true
  EngineReturnedFalse,  // the engine showed its own message and returned false
  EngineFailed,         // the run failed; failure holds its message
  EngineNotLoaded,      // the library or its export is missing
  Cancelled,            // stopped while the images were copied; the engine did not run
};

struct TGenerateResult {
  TGenerateOutcome outcome = TGenerateOutcome::EngineNotLoaded;
  TMessage failure;
  std::string firstPage;  // output folder + "gallery1.html"
  // Images that could not be resized for their web copies and were copied as they are, for one
  // message at the end.
  std::vector<TNotResizedImage> notResized;
};

struct TGenerateHooks {
  // Once, when another run (pictgen or another desktop program) is using the image list file:
  // this run then waits until that one has finished.
  std::function<void()> waiting;
  std::function<void()> begin;  // once the image list file is written (busy cursor, button off)
  std::function<void()> end;    // in the clean-up, however the run ended (begin failing included)
  // While the images are copied, on the calling thread (web copies are made on worker threads
  // meanwhile): progress, and whether the user asked to stop (no further copy is then started,
  // and the engine does not run).
  std::function<void(std::size_t done, std::size_t total)> copyProgress;
  std::function<bool()> cancelled;
  bool openFirstPage = false;   // ask the browser for the first page at the end
};

// For as long as it lives, SIGINT, SIGTERM and SIGHUP first delete the files handed to
// DeleteOnInterrupt and the temporary files of unfinished writes, then end the program by that
// same signal, as if it had not been caught (so a shell sees 130, 143 or 129). A signal that the
// program was started to ignore stays ignored. One at a time per process.
class TInterruptCleanup {
public:
  TInterruptCleanup();
  ~TInterruptCleanup();
  TInterruptCleanup(const TInterruptCleanup&) = delete;
  TInterruptCleanup& operator=(const TInterruptCleanup&) = delete;
  // At most three files.
  void DeleteOnInterrupt(const std::string& path);
  // From now on a signal deletes none of the files handed to DeleteOnInterrupt (they may be
  // another run's by then); the temporary files still go.
  void ForgetFiles();

private:
  struct sigaction previous_[3];
  bool installed_[3] = {};
};

// Runs the sequence for the gallery file at galleryPath (already written from settings, with the
// web copy settings in its tail) over images. Holds the image list lock from writing the list to deleting it. Throws Error when the
// image list file cannot be written (before anything else happens), and, after the clean-up,
// when an image or graphic cannot be copied (the engine then does not run) or the engine cannot
// be released. While it runs, SIGINT, SIGTERM and SIGHUP remove the image list file and every
// temporary file of the run before they end the program (see TInterruptCleanup).
TGenerateResult GeneratePages(const std::string& galleryPath, const GallerySettings& settings,
                              const std::vector<std::string>& images,
                              const TGenerateHooks& hooks = {});
// The same for a caller that has taken the image list lock itself (one that must not block
// while it waits), from writing the list on; the lock is released in the clean-up.
TGenerateResult GeneratePages(TImageListLock& listLock, const std::string& galleryPath,
                              const GallerySettings& settings,
                              const std::vector<std::string>& images,
                              const TGenerateHooks& hooks = {});

// The one message that lists the images copied as they are because they could not be resized,
// each with its reason (lines end with "\n"); empty when there are none.
std::string NotResizedMessage(const std::vector<TNotResizedImage>& files);
// Why a picture was not resized, as the message above says it (windows translate it).
TMessage NotResizedReason(TNotResized why);

// Copies every image into the output folder's "gallimgs/" folder under its own name, and the
// gallery's graphics under the names GraphicCopyNames gives them; empty files are skipped. An
// image whose source did not change since its copy was made (the copies record says) is not
// copied again. A file that cannot be read or written is skipped too, and the first such failure
// (the file and the reason) goes to failure when given. cancelled, asked before each image,
// returning true copies no further one. Returns how many images are in place.
std::size_t CopyImagesToOutput(const GallerySettings& settings,
                               const std::vector<std::string>& images,
                               const std::function<void(std::size_t, std::size_t)>& progress = {},
                               TMessage* failure = nullptr, const std::function<bool()>& cancelled = {});
// Copies only the graphics, as above (the web copies take the images' place).
void CopyGraphicsToOutput(const GallerySettings& settings, const std::vector<std::string>& images,
                          TMessage* failure = nullptr);

}  // namespace pictalon
