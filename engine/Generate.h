// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Page assembly: the tag handler that answers the template tags, and one page of a run.
#include <cstdint>
#include <string>

#include "GenerationRun.h"
#include "PageBuild.h"

namespace pictalon {

constexpr const char* kHomePageAddress = "https://www.pictalon.org/";

// Answers the template tags of one page from the run state.
class TDummyClass {
public:
  explicit TDummyClass(TRunState& run) : run_(run) {}
  // Tag names match without regard to ASCII letter case; unknown names give an empty text.
  void TagHandler(TPageBuilder& sender, const std::string& tagName, std::string& replacement);

private:
  TRunState& run_;
};

// Writes page N ("gallery" + N + ".html") into the output folder, then the style sheet.
// Throws Error when the template is missing or a file cannot be written.
void GeneratePage(TRunState& run, std::int32_t pageNumber);

// The tag values, each from the run state as it stands.
std::string IntroText(const GallerySettings& settings);  // the four parts of the introduction
std::string GeneratorTag(TRunState& run);
std::string TableWidthText(const GallerySettings& settings);
std::string TitleWithBreaks(const std::string& title);
std::string IntroWithBreaks(const std::string& intro);
std::string CreditLine();
std::string BackLinkRows(TRunState& run);
std::string PageNavigationBar(const TRunState& run);
std::string GalleryTable(TRunState& run);

}  // namespace pictalon
