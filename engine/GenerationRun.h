// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One generation run: everything it needs lives in a TRunState made at the start of the call
// and released when it returns, so nothing survives from one run to the next.
#include <array>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "EngineUi.h"
#include "Error.h"
#include "GalleryFile.h"
#include "IniDocument.h"
#include "PageBuild.h"
#include "TypeDef.h"

namespace pictalon {

// A text read once per run (a file's bytes, the program's version), or the failure of that one
// read, which is then the answer every time it is asked for again.
class TReadOnce {
public:
  // The text, read by read() the first time; throws Error with the first failure's message.
  template <typename Read>
  const std::string& Get(Read read) {
    if (!done_) {
      done_ = true;
      try {
        value_ = read();
      } catch (const std::exception& e) {
        failure_ = MessageOf(e);
        failed_ = true;
      }
    }
    if (failed_) throw Error(failure_);
    return value_;
  }

private:
  bool done_ = false;
  bool failed_ = false;
  std::string value_;
  TMessage failure_;
};

struct TRunState {
  explicit TRunState(TEngineUi& ui) : ui(ui) {}

  TEngineUi& ui;
  std::string programFolder;  // ends with '/'
  std::string dataFolder;     // program folder + "Data/"
  std::string settingsPath;
  GallerySettings settings{};
  TGalleryTail tail;  // the settings kept after the record in the gallery file
  std::int32_t rows = 0;
  std::int32_t columns = 0;
  std::optional<TIniDocument> details;  // absent when there is no image details file
  std::vector<std::string> imageList;
  std::int32_t pageCount = 0;
  std::int32_t currentPage = 0;
  std::int32_t imagesPlaced = 0;  // index of the next image-list entry to place
  bool backLinkUsed = false;
  // The logo, title graphic and background as the pages link them, settled once the image list
  // is known.
  std::optional<std::array<std::string, 3>> graphicAddresses;
  std::int32_t lastImageWidth = 0;
  std::int32_t lastImageHeight = 0;
  // The photos' own titles by image-list index: those the front end handed over in the photo
  // titles file, else each read when first asked for (PhotoTitle) from the metadata cache file,
  // which the front end has brought up to date before the run.
  mutable std::vector<std::optional<std::string>> photoTitles;

  // Nothing a page shows changes within a run, so the template, the program's version, the
  // right-click script and the style sheet are read (and the style sheet written) once.
  TPageBuilder pageBuilder;
  TReadOnce programVersion;
  TReadOnce script;
  bool styleSheetWritten = false;

  // Pages whose template could not be processed: how many, and the first with its reason.
  std::int32_t pagesNotWritten = 0;
  std::string firstPageNotWritten;
  std::string firstPageNotWrittenReason;
};

// Rows and Columns above this are refused: every row of a page is written, so a damaged
// gallery file could otherwise ask for billions of rows.
constexpr std::int32_t kMaxRowsOrColumns = 10000;

// Generates every page of the gallery file at settingsPath. False after showing "Error reading
// settings" or "Image List is empty", or, when a page's template could not be processed, after
// the run showing how many pages were not written, the first of them and why; throws Error when
// the run fails.
bool RunGeneration(const std::string& settingsPath, TEngineUi& ui);

// Entries div (Rows x Columns); partialPage tells whether a remainder is left.
// Throws Error("Division by zero") when Rows x Columns is 0.
std::int32_t CountFullPages(const TRunState& run, bool& partialPage);

}  // namespace pictalon
