// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Modern page style: the same pages, texts and settings as the classic ones, written as
// semantic HTML5 from the template "Modern.html", with a responsive grid of described, sized
// pictures and an in-page picture viewer copied into the site.
#include <cstdint>
#include <string>
#include <vector>

#include "GenerationRun.h"
#include "Helpers.h"
#include "PageBuild.h"
#include "WebCopy.h"

namespace pictalon {

// The template is kModernTemplateName (Helpers.h).
// The Modern style sheet's source in the data folder; the pages link it as "pictalon.css".
constexpr const char* kModernStyleSource = "Modern/modern.css";

// One file that a Modern site holds beside its pages: where it comes from in the data folder and
// where it goes in the output folder.
struct TSiteFile {
  const char* source;
  const char* destination;
};
// Every file a Modern site adds to the pages, "pictalon.css" and the picture copies.
const std::vector<TSiteFile>& ModernSiteFiles();
// Copies them into outputFolder. Throws Error("Cannot open file ...") when a source cannot be
// read, Error("Cannot create file ...") when a copy cannot be written.
void WriteModernSiteFiles(const TRunState& run, const std::string& outputFolder);

// Text that may hold markup as plain text: tags dropped, line breaks and tabs as spaces, blanks
// at the ends removed. Character references stay as they are.
std::string PlainText(const std::string& markup);

// The alt text of image-list entry index's picture, ready for the attribute: its typed title as
// plain text, else the photo's own title (see PhotoTitle), else its reference, else its file name
// without the extension; markup characters escaped.
std::string PictureAltText(const TRunState& run, std::int64_t index, const std::string& fileName);

// The width and height a Modern page shows a picture of this upright size at, as the scaling
// settings say; empty for an empty size.
TPixelSize ShownOnPage(const GallerySettings& s, std::int32_t width, std::int32_t height);

// The page navigation of the current page (label names the landmark), and the page's pictures
// framed by it; the gallery advances the images placed.
std::string ModernPageNavigation(const TRunState& run, const std::string& label);
std::string ModernGallery(TRunState& run);

// Answers a template tag of a Modern page.
void ModernTagHandler(TRunState& run, const std::string& tagName, std::string& replacement);

}  // namespace pictalon
