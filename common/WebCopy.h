// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Web-sized copies of camera photos: decoded with libjpeg at the smallest DCT scale that still
// covers the wanted size, brought to it with a Lanczos filter, turned upright and written as
// JPEG at quality 85 with no metadata but the colour profile (a camera's GPS position and serial
// number are not published).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "TypeDef.h"

namespace pictalon {

struct TPixelSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool empty() const { return width <= 0 || height <= 0; }
  friend bool operator==(TPixelSize a, TPixelSize b) { return a.width == b.width && a.height == b.height; }
  friend bool operator!=(TPixelSize a, TPixelSize b) { return !(a == b); }
};

constexpr int kWebCopyQuality = 85;

// The resizer's own version: copies made by an earlier one are made again. Raise it with any
// change to what the resizer writes.
constexpr int kWebCopyResizerVersion = 2;

// The most pixels a picture's header may claim (256 megapixels, 16384 x 16384): a larger one is
// refused before anything is allocated for it.
constexpr std::size_t kMaxSourcePixels = std::size_t(1) << 28;

// Why a picture was copied as it is instead of resized.
enum class TNotResized {
  None,         // it was resized
  NotJpeg,      // no JPEG this can decode (or damaged)
  CutShort,     // its data end early: a copy would show a grey part
  TooLarge,     // its header claims more than kMaxSourcePixels (or more than a worker may decode)
  OutOfMemory,  // the memory to decode it could not be had
};

// size scaled down, proportions kept, until its longest side is at most longest; never enlarged,
// never below one pixel.
TPixelSize FitLongestSide(TPixelSize size, std::int32_t longest);

// size scaled down, proportions kept, to the given width (or height, when width is 0); empty
// when that would not make it smaller.
TPixelSize ShrinkTo(TPixelSize size, std::int32_t width, std::int32_t height);

// The size of a picture's cell picture: twice the size the page shows it at (for high-density
// screens), from the settings' scaling and the picture's shown size; empty when that would not be
// smaller than the web copy (the cell then shows the web copy).
TPixelSize CellPictureSize(const GallerySettings& settings, TPixelSize shown, TPixelSize copy);

// What MakeWebCopy made.
struct TWebCopyResult {
  bool decoded = false;  // false: the source is no JPEG this can decode; nothing was written
  TNotResized why = TNotResized::NotJpeg;  // when not decoded and the source was read: why not
  std::string error;     // why not (a failed write names the file)
  TPixelSize shown;      // the source's upright size
  TPixelSize copy;       // the web copy's size
  TPixelSize cell;       // the cell picture's size; empty when none was wanted
};

// Writes the web copy of the JPEG at source (longest side at most longest) atomically to
// copyPath; then asks cellFor (with the source's shown size and the copy's size) for the size of
// the cell picture and, unless it answers an empty size, writes that atomically to cellPath.
// A symbolic link at either path is replaced, never written through; a path that is the source
// itself is never written (a failure). Never throws; a failure to write shows in error with
// decoded still true.
TWebCopyResult MakeWebCopy(const std::string& source, std::int32_t longest, const std::string& copyPath,
                           const std::function<TPixelSize(TPixelSize shown, TPixelSize copy)>& cellFor,
                           const std::string& cellPath);

// Gives back the calling thread's scratch rasters (kept from one picture to the next).
void ReleaseWebCopyScratch();

// About how many bytes making the web copy of a picture of this stored size takes at its peak.
std::size_t WebCopyWorkMemory(TPixelSize stored, std::int32_t longest);

}  // namespace pictalon
