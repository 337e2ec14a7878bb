// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The gallery cell of one image: the image scaled by width and height attributes, its caption
// block from the image details, and its link.
#include <array>
#include <cstdint>
#include <string>

#include "GenerationRun.h"

namespace pictalon {

// The complete "<td ...>...</td>" of image-list entry index. Updates the run's last image
// width and height as the scaling mode says.
std::string MakeGalleryCell(TRunState& run, std::int64_t index);

// Where one image-list entry's picture is found: its file name, the address the cell links
// (image), the picture the cell shows (shown) and the file measured for its size (measured).
struct TCellPaths {
  std::string fileName;
  std::string image;
  std::string shown;
  std::string measured;
};
TCellPaths CellPaths(const TRunState& run, const std::string& entry);
// The href of a cell's link: the picture itself, or the file under ImageURL when one is set.
std::string LinkAddress(const GallerySettings& s, const TCellPaths& paths);
// The caption lines "Title: ", "Ref: ", "Size: " from the image details, each with a break (a
// title not typed is the photo's own, see PhotoTitle); else the file name as text when
// FileNameAsCaption is set; else empty.
std::string CaptionBlock(const TRunState& run, std::int64_t index, const std::string& fileName);
// The photo's own title of image-list entry index, from its metadata: empty when the gallery does
// not use the photos' titles (PhotoCaptions) or the photo has none. Read once per photo and run.
// It is text, not markup: wherever it goes into a page, it goes through HtmlText.
const std::string& PhotoTitle(const TRunState& run, std::int64_t index);

// width x (thumbSize / 100), the quotient formed first and the product taken in 80-bit extended
// precision, truncated: 900 at 13 gives 116, as the pages have always shown.
std::int32_t ScaledWidth(std::int32_t width, std::int32_t thumbSize);

// Escapes the bytes that would end a URL attribute or change how a browser reads the path
// ('"', '#', '?', '%' and control bytes as percent escapes, '&' as "&amp;", so that no
// character reference hides in a file name); other bytes stay as they are.
std::string UrlAttribute(const std::string& path);

enum TGraphic { kLogoGraphic = 0, kTitleGraphic = 1, kBackgroundGraphic = 2 };
// Where the pages find the graphics of the gallery: with copied images, their copies in
// "gallimgs/" under the names the copies took, percent-encoded as image paths are, so a published
// gallery keeps them; otherwise the paths as stored.
std::array<std::string, 3> GraphicAddresses(const GallerySettings& s, const std::vector<std::string>& images);
// One of them: as the run settled it, or worked out from the run's state as it stands.
std::string GraphicAddress(const TRunState& run, TGraphic graphic);

// A file name as page text: "&", "<", ">" and '"' as character references, so a name is shown as
// it is and never read as markup.
std::string HtmlText(const std::string& text);

}  // namespace pictalon
