// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "GenerationRun.h"

#include <iterator>

#include "Error.h"
#include "GalleryCell.h"
#include "GalleryFile.h"
#include "Generate.h"
#include "Helpers.h"
#include "PhotoMetadata.h"
#include "Platform.h"
#include "WorkingFiles.h"

namespace pictalon {

namespace {

// Closes the progress window on every path, before the run state releases the image details
// and the image list.
class ProgressGuard {
public:
  explicit ProgressGuard(TEngineUi& ui) : ui_(ui) { ui_.OpenProgress(); }
  ~ProgressGuard() { ui_.CloseProgress(); }
  ProgressGuard(const ProgressGuard&) = delete;
  ProgressGuard& operator=(const ProgressGuard&) = delete;

private:
  TEngineUi& ui_;
};

void CheckLayout(const TRunState& run) {
  auto inRange = [](std::int32_t v) { return v >= 1 && v <= kMaxRowsOrColumns; };
  if (!inRange(run.rows) || !inRange(run.columns))
    throw Error(TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "The gallery layout of %1 rows and %2 columns is out of range (1 to %3 each)"),
                         std::to_string(run.rows), std::to_string(run.columns),
                         std::to_string(kMaxRowsOrColumns)));
}

// One message for the whole run: how many pages were not written, the first and its reason.
TMessage PagesNotWrittenMessage(const TRunState& run) {
  const TMessageText text =
      run.pageCount == 1         ? PICTALON_TRANSLATABLE("pictalon::TMessage", "%1 of %2 page not written: %3: %4")
      : run.pagesNotWritten == 1 ? PICTALON_TRANSLATABLE("pictalon::TMessage", "%1 of %2 pages not written: %3: %4")
                                 : PICTALON_TRANSLATABLE("pictalon::TMessage", "%1 of %2 pages not written, the first %3: %4");
  return TMessage(text, std::to_string(run.pagesNotWritten), std::to_string(run.pageCount),
                  run.firstPageNotWritten, run.firstPageNotWrittenReason);
}

}  // namespace

std::int32_t CountFullPages(const TRunState& run, bool& partialPage) {
  std::int64_t perPage = std::int64_t(run.rows) * run.columns;
  if (perPage == 0) throw Error(TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "Division by zero")));
  std::int64_t entries = static_cast<std::int64_t>(run.imageList.size());
  partialPage = entries % perPage > 0;
  return static_cast<std::int32_t>(entries / perPage);
}

bool RunGeneration(const std::string& settingsPath, TEngineUi& ui) {
  TRunState run(ui);
  run.programFolder = GetProgramFolder();
  run.dataFolder = GetDataFolder();
  run.settingsPath = settingsPath;

  bool settingsRead = ReadGalleryFile(run.settingsPath, run.settings, run.tail);
  run.rows = run.settings.Rows.get();
  run.columns = run.settings.Columns.get();
  if (!settingsRead) {
    ui.ShowMessage(TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "Error reading settings")));
    return false;
  }

  std::string detailsPath = ImageDetailsPathBeside(run.settingsPath);
  if (FileExists(detailsPath)) run.details.emplace(detailsPath);

  std::string listPath = ImageListFilePath();
  if (!ReadImageListFile(listPath, run.imageList)) throw Error(TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "Cannot open file %1"), listPath));
  if (run.imageList.empty()) {
    ui.ShowMessage(TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "Image List is empty")));
    return false;
  }

  // The titles the front end read for this run; without them (an older front end) each is read
  // from the photo when first asked for.
  if (std::vector<std::string> titles;
      run.tail.PhotoCaptions && ReadPhotoTitlesFile(PhotoTitlesFilePath(), run.imageList, titles))
    run.photoTitles.assign(std::make_move_iterator(titles.begin()), std::make_move_iterator(titles.end()));
  run.graphicAddresses = GraphicAddresses(run.settings, run.imageList);

  bool partialPage = false;
  run.pageCount = CountFullPages(run, partialPage) + (partialPage ? 1 : 0);
  CheckLayout(run);

  {
    ProgressGuard progress(ui);
    run.imagesPlaced = 0;
    for (std::int32_t page = 1; page <= run.pageCount; ++page) {
      GeneratePage(run, page);
      ui.ProcessMessages();
    }
  }
  // A run that leaves pages unwritten is no success, even though it went on to the end.
  if (run.pagesNotWritten > 0) {
    ui.ShowMessage(PagesNotWrittenMessage(run));
    return false;
  }
  return true;
}

}  // namespace pictalon
