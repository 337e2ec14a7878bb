// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "JpegDecoding.h"

#include "Exif.h"

namespace pictalon {

int SavedOrientation(const jpeg_decompress_struct& cinfo) {
  for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
    if (m->marker != JPEG_APP0 + 1) continue;
    const int orientation = ExifOrientation(m->data, m->data_length);
    if (orientation != kUpright) return orientation;
  }
  return kUpright;
}

std::string_view SavedExifThumbnail(const jpeg_decompress_struct& cinfo) {
  for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
    if (m->marker != JPEG_APP0 + 1) continue;
    if (const std::optional<TByteRange> range = ExifThumbnail(m->data, m->data_length))
      return {reinterpret_cast<const char*>(m->data) + range->offset, range->length};
  }
  return {};
}

void ScaleToCover(jpeg_decompress_struct& cinfo, JDIMENSION width, JDIMENSION height) {
  cinfo.scale_denom = 8;
  for (unsigned num = 1; num <= 8; ++num) {
    cinfo.scale_num = num;
    jpeg_calc_output_dimensions(&cinfo);
    if (cinfo.output_width >= width && cinfo.output_height >= height) break;
  }
}

}  // namespace pictalon
