// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "GalleryCell.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "Helpers.h"
#include "PhotoMetadata.h"
#include "Platform.h"
#include "TextUtil.h"

namespace pictalon {

static_assert(std::numeric_limits<long double>::digits == 64,
              "scaled widths are computed in x87 80-bit extended precision");

std::int32_t ScaledWidth(std::int32_t width, std::int32_t thumbSize) {
  long double quotient = static_cast<long double>(thumbSize) / 100.0L;
  long double product = static_cast<long double>(width) * quotient;
  // |product| < 2^63 for any 32-bit inputs; the narrowing wraps as a 32-bit store would.
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(truncl(product))));
}

std::string UrlAttribute(const std::string& path) {
  std::string out;
  out.reserve(path.size());
  for (unsigned char c : path) {
    if (c < 0x20 || c == 0x7F || c == '"' || c == '#' || c == '?' || c == '%') {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      out += escaped;
    } else if (c == '&') {
      out += "&amp;";
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string HtmlText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c; break;
    }
  }
  return out;
}

namespace {

struct Scaling {
  std::string height;  // " height=\"..\"" or empty
  std::string width;
};

std::string Attribute(const char* name, std::int32_t value) {
  return std::string(" ") + name + "=\"" + std::to_string(value) + "\"";
}

Scaling ScaleImage(TRunState& run, const std::string& measuredPath) {
  const GallerySettings& s = run.settings;
  std::int32_t thumbSize = s.ThumbSize.get();
  Scaling scaling;
  switch (s.ScalingMode) {
    case 0: {
      std::int32_t height = -1, width = -1;
      GetJpegSize(measuredPath, height, width);
      run.lastImageHeight = height;
      if (thumbSize >= 100) {
        run.lastImageWidth = width;
        scaling.height = Attribute("height", height);
      } else {
        run.lastImageWidth = ScaledWidth(width, thumbSize);
      }
      scaling.width = Attribute("width", run.lastImageWidth);
      break;
    }
    case 1:
      run.lastImageHeight = thumbSize;
      scaling.height = Attribute("height", thumbSize);
      break;
    case 2:
      run.lastImageWidth = thumbSize;
      scaling.width = Attribute("width", thumbSize);
      break;
    default:
      break;
  }
  return scaling;
}

}  // namespace

std::string CaptionBlock(const TRunState& run, std::int64_t index, const std::string& fileName) {
  std::string title, ref, size;
  if (run.details) {
    title = run.details->ReadString(fileName, "Title", "");
    ref = run.details->ReadString(fileName, "Ref", "");
    size = run.details->ReadString(fileName, "Size", "");
  }
  std::string block;
  if (!IsBlank(title)) block += "Title: " + title + "<br>";
  // A typed title wins; the photo's own is text from outside, never markup.
  else if (const std::string& own = PhotoTitle(run, index); !own.empty())
    block += "Title: " + HtmlText(own) + "<br>";
  if (!IsBlank(ref)) block += "Ref: " + ref + "<br>";
  if (!IsBlank(size)) block += "Size: " + size + "<br>";
  // The details are the user's own texts and may hold markup; a file name is only a name.
  if (block.empty() && run.settings.FileNameAsCaption.get()) block = HtmlText(fileName);
  return block;
}

const std::string& PhotoTitle(const TRunState& run, std::int64_t index) {
  static const std::string none;
  if (!run.tail.PhotoCaptions || index < 0 || std::size_t(index) >= run.imageList.size()) return none;
  if (run.photoTitles.empty()) run.photoTitles.resize(run.imageList.size());
  std::optional<std::string>& title = run.photoTitles[std::size_t(index)];
  if (!title) title = PhotoMetadata(run.imageList[std::size_t(index)]).title;
  return *title;
}

std::array<std::string, 3> GraphicAddresses(const GallerySettings& s, const std::vector<std::string>& images) {
  std::array<std::string, 3> addresses = {s.LogoGraphic.get(), s.TitleGraphic.get(), s.BackgroundImage.get()};
  if (s.CopyImages.get()) {
    std::array<std::string, 3> names = GraphicCopyNames(s, images);
    for (std::size_t i = 0; i < names.size(); ++i)
      if (!names[i].empty()) addresses[i] = "gallimgs/" + UrlAttribute(names[i]);
  }
  return addresses;
}

std::string GraphicAddress(const TRunState& run, TGraphic graphic) {
  if (run.graphicAddresses) return (*run.graphicAddresses)[graphic];
  return GraphicAddresses(run.settings, run.imageList)[graphic];
}

TCellPaths CellPaths(const TRunState& run, const std::string& entry) {
  const GallerySettings& s = run.settings;
  TCellPaths paths;
  paths.fileName = ExtractFileName(entry);
  // Copies live in the output folder's "gallimgs" folder beside the pages, so the pages point
  // to them relatively and the output folder stays a site that can be published or moved.
  // Web copies are smaller than the picture the page sizes: the original is measured, and the
  // cell shows its cell picture when one was made.
  if (s.CopyImages.get()) {
    paths.image = paths.shown = "gallimgs/" + paths.fileName;
    paths.measured = GetOutputFolder(s) + paths.image;
    if (run.tail.ResizeCopies) {
      paths.measured = entry;
      const std::string cell = "gallimgs/cells/" + paths.fileName;
      if (FileExists(GetOutputFolder(s) + cell)) paths.shown = cell;
    }
  } else {
    paths.image = paths.shown = paths.measured = entry;
  }
  return paths;
}

std::string LinkAddress(const GallerySettings& s, const TCellPaths& paths) {
  std::string url = s.ImageURL.get();
  return IsBlank(url) ? UrlAttribute(paths.image) : AddTrailingSlash(url) + UrlAttribute(paths.fileName);
}

std::string MakeGalleryCell(TRunState& run, std::int64_t index) {
  const GallerySettings& s = run.settings;
  TCellPaths paths = CellPaths(run, run.imageList[static_cast<std::size_t>(index)]);

  Scaling scaling = ScaleImage(run, paths.measured);
  std::string image;
  if (run.lastImageHeight == -1 || run.lastImageWidth == -1) {
    image = "*Invalid Image*";
  } else {
    image = "<img src=\"" + UrlAttribute(paths.shown) + "\" border=\"0\"" + scaling.height +
            scaling.width + " " + (s.DisableImageToolbar.get() ? "GALLERYIMG=\"no\"" : "") + ">";
  }

  std::string caption = CaptionBlock(run, index, paths.fileName);
  std::string open = "<a href=\"" + LinkAddress(s, paths) + "\"" +
                     (s.LinkInNewWindow.get() ? " target=\"new\"" : "") + ">";

  std::string body;
  if (!s.HyperlinkImages.get()) {
    body = image + "<br>" + caption + "<br>";
  } else {
    switch (s.HyperlinkMode) {
      case 0: body = image + "<br>" + open + caption + "</a><br>"; break;
      case 1: body = open + image + "</a><br>" + caption + "<br>"; break;
      case 2: body = open + image + "<br>" + caption + "</a><br>"; break;
      default: break;
    }
  }
  return "<td align=\"center\" valign=\"top\" class=\"gallerycell\">" + body + "</td>";
}

}  // namespace pictalon
