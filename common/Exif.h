// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What is read from a camera's Exif block: how the picture must be turned to stand upright, and
// where the small preview the camera stored beside it lies, and whether it records where it was
// taken.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace pictalon {

// Exif Orientation values: 1 stored upright, 2 mirrored, 3 turned half round, 4 flipped, 5 to 8
// lying on their side (5 transposed, 6 turned a quarter clockwise to stand up, 7 transversed,
// 8 turned a quarter anticlockwise to stand up).
constexpr int kUpright = 1;

// Whether a picture of this orientation is shown with its width and height exchanged.
constexpr bool SidesSwapped(int orientation) { return orientation >= 5 && orientation <= 8; }

// The orientation recorded in the first directory of an APP1 segment's payload (the bytes after
// its length, starting "Exif\0\0"); kUpright for any other segment, a damaged block or a value
// out of range. Only the first directory is read and no offset is followed twice, so no block
// can make this loop or read outside size.
// When the payload ends before the answer and wanted is given, *wanted receives the payload
// length that would settle it (a caller reading a file piecewise reads that far and asks again);
// otherwise *wanted is set to 0.
int ExifOrientation(const unsigned char* payload, std::size_t size, std::size_t* wanted = nullptr);

// A stretch of bytes: where it starts and how long it is.
struct TByteRange {
  std::size_t offset = 0, length = 0;
};

// Where the preview JPEG that the second directory (IFD1) names lies in an APP1 segment's payload,
// counted from the payload's start; nothing for any other segment, a damaged block, or a preview
// that would reach past size. Stored in the picture's own orientation, as cameras write it.
std::optional<TByteRange> ExifThumbnail(const unsigned char* payload, std::size_t size);

// Whether the first directory of an APP1 payload (as above) points to a GPS directory: the
// picture then tells where it was taken. False for a damaged or short block.
bool ExifHasGps(const unsigned char* payload, std::size_t size);
// The same for a JPEG file's Exif blocks; false when the file cannot be read or is no JPEG.
bool JpegHasGps(const std::string& path);

}  // namespace pictalon
