// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Steps that every JPEG decoder of the program takes the same way, over libjpeg.
#include <cstddef>
#include <string_view>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

namespace pictalon {

// The orientation recorded by the first Exif block among the APP1 segments libjpeg saved
// (jpeg_save_markers for JPEG_APP0 + 1 before reading the header); upright when there is none.
int SavedOrientation(const jpeg_decompress_struct& cinfo);

// The bytes of the preview JPEG the first Exif block among the saved APP1 segments carries
// (ExifThumbnail); empty when there is none.
std::string_view SavedExifThumbnail(const jpeg_decompress_struct& cinfo);

// Sets cinfo's DCT scale to the smallest eighth whose picture is still at least width x height
// (at most the full size), with its output dimensions calculated.
void ScaleToCover(jpeg_decompress_struct& cinfo, JDIMENSION width, JDIMENSION height);

// The red, green and blue of one CMYK pixel; Adobe's JPEGs store the inks inverted, others plainly.
inline void CmykToRgb(const JSAMPLE* cmyk, bool adobe, unsigned char rgb[3]) {
  int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
  if (!adobe) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
  rgb[0] = static_cast<unsigned char>(c * k / 255);
  rgb[1] = static_cast<unsigned char>(m * k / 255);
  rgb[2] = static_cast<unsigned char>(y * k / 255);
}

}  // namespace pictalon
