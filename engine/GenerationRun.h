#pragma once
// One generation run: everything it needs lives in a TRunState made at the start of the call
// and released when it returns, so nothing survives from one run to the next.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "EngineUi.h"
#include "IniDocument.h"
#include "TypeDef.h"

namespace pictalon {

struct TRunState {
  explicit TRunState(TEngineUi& ui) : ui(ui) {}

  TEngineUi& ui;
  std::string programFolder;  // ends with '/'
  std::string dataFolder;     // program folder + "Data/"
  std::string settingsPath;
  GallerySettings settings{};
  std::int32_t rows = 0;
  std::int32_t columns = 0;
  std::optional<TIniDocument> details;  // absent when there is no image details file
  std::vector<std::string> imageList;
  std::int32_t pageCount = 0;
  std::int32_t currentPage = 0;
  std::int32_t imagesPlaced = 0;  // index of the next image-list entry to place
  bool backLinkUsed = false;
  std::int32_t lastImageWidth = 0;
  std::int32_t lastImageHeight = 0;
  // The last style sheet made and what it was made from, so that it is not assembled anew
  // while its sources stay the same.
  struct StyleSheet {
    std::string sources, text;
  } styleSheet;
};

// Rows and Columns above this are refused: every row of a page is written, so a damaged
// gallery file could otherwise ask for billions of rows.
constexpr std::int32_t kMaxRowsOrColumns = 10000;

// Generates every page of the gallery file at settingsPath. False after showing "Error reading
// settings" or "Image List is empty"; throws Error when the run fails.
bool RunGeneration(const std::string& settingsPath, TEngineUi& ui);

// Entries div (Rows x Columns); partialPage tells whether a remainder is left.
// Throws Error("Division by zero") when Rows x Columns is 0.
std::int32_t CountFullPages(const TRunState& run, bool& partialPage);

}  // namespace pictalon
