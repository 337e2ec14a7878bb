// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModernPage.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "Error.h"
#include "GalleryCell.h"
#include "Generate.h"
#include "Helpers.h"
#include "Platform.h"
#include "StyleSheet.h"
#include "TextUtil.h"

namespace pictalon {

namespace {

constexpr std::int32_t kGridGap = 16;  // the grid's gap in the Modern style sheet, in pixels

std::string Attribute(const char* name, const std::string& value) {
  return std::string(" ") + name + "=\"" + value + "\"";
}
std::string Attribute(const char* name, std::int32_t value) { return Attribute(name, std::to_string(value)); }

TPixelSize UprightSize(const std::string& path) {
  TPixelSize size;
  GetJpegSize(path, size.height, size.width);
  return size;
}

std::int32_t Proportional(std::int32_t side, std::int32_t to, std::int32_t from) {
  return std::max<std::int32_t>(1, static_cast<std::int32_t>(std::lround(double(side) * to / from)));
}

// The caption block without its last break, which only closes a table cell's line.
std::string ModernCaption(const TRunState& run, std::int64_t index, const std::string& fileName) {
  std::string caption = CaptionBlock(run, index, fileName);
  if (caption.size() >= 4 && caption.compare(caption.size() - 4, 4, "<br>") == 0) caption.resize(caption.size() - 4);
  return caption;
}

struct TModernCell {
  std::string markup;
  std::int32_t width = 0;  // the width the picture is shown at; 0 for an invalid picture
};

TModernCell ModernCell(const TRunState& run, std::int64_t index, bool firstRow) {
  const GallerySettings& s = run.settings;
  const std::string outputFolder = GetOutputFolder(s);
  TCellPaths paths = CellPaths(run, run.imageList[static_cast<std::size_t>(index)]);
  TPixelSize picture = UprightSize(paths.measured);
  std::string caption = ModernCaption(run, index, paths.fileName);

  // The linked picture: the copy where images are copied (the web copy when it was resized).
  TPixelSize linked = s.CopyImages.get() ? UprightSize(outputFolder + paths.image) : picture;
  if (linked.empty()) linked = picture;

  TModernCell cell;
  std::string image;
  if (picture.empty()) {
    image = "<p>*Invalid Image*</p>";
  } else {
    TPixelSize shown = ShownOnPage(s, picture.width, picture.height);
    cell.width = shown.width;
    image = "<img src=\"" + UrlAttribute(paths.shown) + "\"";
    // With web copies the browser picks the cell picture or, on a dense screen, the web copy.
    if (paths.shown != paths.image) {
      TPixelSize small = UprightSize(outputFolder + paths.shown);
      if (!small.empty())
        image += Attribute("srcset", UrlAttribute(paths.shown) + " " + std::to_string(small.width) + "w, " +
                                         UrlAttribute(paths.image) + " " + std::to_string(linked.width) + "w") +
                 Attribute("sizes", "(max-width: " + std::to_string(shown.width + 2 * kGridGap) + "px) calc(100vw - " +
                                        std::to_string(2 * kGridGap) + "px), " + std::to_string(shown.width) + "px");
    }
    image += Attribute("alt", PictureAltText(run, index, paths.fileName)) + Attribute("width", shown.width) +
             Attribute("height", shown.height) + (firstRow ? "" : " loading=\"lazy\"") + " decoding=\"async\">";
  }

  // The viewer shows the linked picture at its own size.
  std::string link;
  if (s.HyperlinkImages.get() && cell.width > 0)
    link = "<a href=\"" + LinkAddress(s, paths) + "\"" + (s.LinkInNewWindow.get() ? " target=\"new\"" : "") +
           Attribute("data-pswp-width", linked.width) + Attribute("data-pswp-height", linked.height) + ">";
  // A caption link needs a caption to name it; otherwise the picture carries the link.
  bool captionLinked = !link.empty() && s.HyperlinkMode == 0 && !caption.empty();
  if (!link.empty() && !captionLinked) image = link + image + "</a>";
  if (captionLinked) caption = link + caption + "</a>";
  cell.markup = "<figure class=\"md-cell\">" + image +
                (caption.empty() ? std::string() : "<figcaption>" + caption + "</figcaption>") + "</figure>";
  return cell;
}

std::string PageAddress(std::int32_t page) { return "gallery" + std::to_string(page) + ".html"; }

}  // namespace

const std::vector<TSiteFile>& ModernSiteFiles() {
  static const std::vector<TSiteFile> files = {
      {"PhotoSwipe/photoswipe.css", "assets/photoswipe.css"},
      {"PhotoSwipe/photoswipe-lightbox.umd.min.js", "assets/photoswipe-lightbox.umd.min.js"},
      {"PhotoSwipe/photoswipe.umd.min.js", "assets/photoswipe.umd.min.js"},
      {"Modern/viewer.js", "assets/viewer.js"},
      {"Modern/icon.svg", "assets/icon.svg"},
  };
  return files;
}

void WriteModernSiteFiles(const TRunState& run, const std::string& outputFolder) {
  ForceDirectories(outputFolder + "assets/");
  for (const TSiteFile& file : ModernSiteFiles()) {
    std::string source = FindFileIgnoringCase(run.dataFolder + file.source);
    std::string bytes;
    if (!ReadWholeFile(source, bytes)) throw Error("Cannot open file " + source);
    std::string destination = outputFolder + file.destination;
    if (!WriteFileIfChanged(destination, bytes)) throw Error("Cannot create file " + destination);
  }
}

std::string PlainText(const std::string& markup) {
  std::string text;
  for (std::size_t i = 0; i < markup.size(); ++i) {
    char c = markup[i];
    unsigned char next = i + 1 < markup.size() ? static_cast<unsigned char>(markup[i + 1]) : 0;
    if (c == '<' && (std::isalpha(next) || next == '/' || next == '!')) {
      std::size_t end = markup.find('>', i);
      if (end != std::string::npos) {
        i = end;
        text += ' ';  // a tag such as a break parts words
        continue;
      }
    }
    text += (c == '\r' || c == '\n' || c == '\t') ? ' ' : c;
  }
  // Runs of blanks, from tags and breaks, as one.
  std::string collapsed;
  for (char c : text)
    if (c != ' ' || (!collapsed.empty() && collapsed.back() != ' ')) collapsed += c;
  while (!collapsed.empty() && collapsed.back() == ' ') collapsed.pop_back();
  return collapsed;
}

std::string PictureAltText(const TRunState& run, std::int64_t index, const std::string& fileName) {
  std::string text;
  if (run.details) text = PlainText(run.details->ReadString(fileName, "Title", ""));
  if (text.empty()) text = PhotoTitle(run, index);  // text already, not markup
  if (text.empty() && run.details) text = PlainText(run.details->ReadString(fileName, "Ref", ""));
  if (text.empty()) text = ChangeFileExt(fileName, "");
  return HtmlText(text);
}

TPixelSize ShownOnPage(const GallerySettings& s, std::int32_t width, std::int32_t height) {
  if (width <= 0 || height <= 0) return {};
  const std::int32_t thumb = s.ThumbSize.get();
  if (thumb <= 0) return {width, height};
  switch (s.ScalingMode) {
    case 0: {
      if (thumb >= 100) return {width, height};
      std::int32_t w = std::max<std::int32_t>(1, ScaledWidth(width, thumb));
      return {w, Proportional(height, w, width)};
    }
    case 1: return {Proportional(width, thumb, height), thumb};
    case 2: return {thumb, Proportional(height, thumb, width)};
    default: return {width, height};
  }
}

std::string ModernPageNavigation(const TRunState& run, const std::string& label) {
  const std::int32_t current = run.currentPage;
  std::string nav = "<nav class=\"md-pages\"" + Attribute("aria-label", label) + ">";
  if (current > 1) nav += "<a href=\"" + PageAddress(current - 1) + "\" rel=\"prev\">&lsaquo; Previous</a>";
  for (std::int32_t k = 1; k <= run.pageCount; ++k) {
    nav += "<a href=\"" + PageAddress(k) + "\"" + (k == current ? " aria-current=\"page\"" : "") + ">" +
           std::to_string(k) + "</a>";
  }
  if (current < run.pageCount) nav += "<a href=\"" + PageAddress(current + 1) + "\" rel=\"next\">Next &rsaquo;</a>";
  return nav + "</nav>";
}

std::string ModernGallery(TRunState& run) {
  const auto entries = static_cast<std::int64_t>(run.imageList.size());
  const std::int64_t perPage = std::int64_t(run.rows) * run.columns;
  std::string cells;
  std::int32_t widest = 0;
  for (std::int64_t i = 0; i < perPage && run.imagesPlaced < entries; ++i) {
    TModernCell cell = ModernCell(run, run.imagesPlaced, i < run.columns);
    cells += cell.markup;
    widest = std::max(widest, cell.width);
    ++run.imagesPlaced;
  }
  if (widest <= 0) widest = 240;
  // The grid is at most as wide as the gallery's columns of its widest picture, so a wide screen
  // shows the gallery's columns and a narrow one fewer.
  const std::int64_t maxWidth = std::int64_t(run.columns) * (widest + kGridGap) - kGridGap;
  std::string grid = "<div class=\"md-grid\" style=\"--cell: " + std::to_string(widest) +
                     "px; max-width: " + std::to_string(maxWidth) + "px\">" + cells + "</div>";
  run.ui.SetProgress(std::min(run.imagesPlaced, 100));
  if (run.pageCount <= 1) return grid;
  return ModernPageNavigation(run, "Pages") + grid + ModernPageNavigation(run, "Pages, again");
}

void ModernTagHandler(TRunState& run, const std::string& tagName, std::string& replacement) {
  const GallerySettings& s = run.settings;
  auto is = [&](const char* name) { return SameTextIgnoringCase(tagName, name); };
  const std::string title = s.TitleText.empty() ? "Pictalon Gallery" : s.TitleText.get();
  if (is("galltitle")) {
    replacement = HtmlText(PlainText(title));
  } else if (is("gentag")) {
    replacement = GeneratorTag(run);
  } else if (is("description")) {
    std::string intro = PlainText(IntroText(s));
    replacement = "<meta name=\"description\" content=\"" + HtmlText(intro.empty() ? PlainText(title) : intro) + "\">";
  } else if (is("icon")) {
    replacement = "<link rel=\"icon\" href=\"assets/icon.svg\" type=\"image/svg+xml\">";
  } else if (is("pictcss")) {
    replacement = PictCssTag();
  } else if (is("script")) {
    replacement = ScriptTag(run) + "<script src=\"assets/viewer.js\" defer></script>";
  } else if (is("tblwidth")) {
    replacement = TableWidthText(s);
  } else if (is("backlink")) {
    std::string url = s.BackLinkURL.get();
    if (!url.empty()) {
      std::string target = run.backLinkUsed ? "#\" onclick=\"history.go(-1); return false" : url;
      replacement = "<p class=\"md-backlink\"><a href=\"" + target + "\">&lt; Back</a></p>";
    }
    run.backLinkUsed = true;
  } else if (is("userimg")) {
    std::string logo = GraphicAddress(run, kLogoGraphic);
    if (!logo.empty()) replacement = "<img class=\"md-logo\" src=\"" + logo + "\" alt=\"\">";
  } else if (is("galleryheading")) {
    if (!s.TitleGraphic.empty())
      replacement = "<img src=\"" + GraphicAddress(run, kTitleGraphic) + "\" alt=\"" + HtmlText(PlainText(title)) + "\">";
    else
      replacement = TitleWithBreaks(title);
  } else if (is("galleryintro")) {
    if (!s.IntroText1.empty()) replacement = IntroWithBreaks(IntroText(s));
  } else if (is("gallery")) {
    replacement = ModernGallery(run);
  } else if (is("galleryfooter")) {
    replacement = s.FooterText.empty() ? CreditLine() : s.FooterText.get();
  } else if (is("pictfoot")) {
    if (!s.FooterText.empty()) replacement = "<p>" + CreditLine() + "</p>";
  }
}

}  // namespace pictalon
