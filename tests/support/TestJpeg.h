// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// JPEGs made on the spot for tests and benchmarks, so that no picture file needs to be shipped.
#include <string>
#include <vector>

namespace pictalon::test {

// A small JPEG made with libjpeg's compressor (a colour gradient, quality 85).
std::string MakeJpeg(int width, int height, bool progressive = false, int components = 3);

// A grey JPEG whose stored top-left corner holds a red square and whose stored top-right corner
// a green one (kMark pixels each), so that where they land shows how a loader turned it.
constexpr int kMark = 16;
std::string MakeMarkedJpeg(int width, int height);

// JPEG bytes decoded to RGB rows; empty when they are no JPEG.
struct TRgb {
  int width = 0, height = 0;
  std::vector<unsigned char> pixels;
  const unsigned char* At(int x, int y) const { return &pixels[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3]; }
};
TRgb DecodeRgb(const std::string& jpeg);

// An Exif APP1 payload (the bytes after the segment length) whose first directory holds a camera
// make and then the Orientation tag with the given value, in either byte order; with gps, a GPS
// directory too, as a phone that records where it was writes.
std::string ExifPayload(int orientation, bool bigEndian = false, bool gps = false);

// An Exif APP1 payload with the Orientation tag in its first directory and, as cameras store it,
// thumbnail as the JPEG its second directory (IFD1) points at.
std::string ExifPayloadWithThumbnail(int orientation, const std::string& thumbnail,
                                     bool bigEndian = false);

// An XMP APP1 payload whose dc:title is title (x-default) and, when given, whose
// photoshop:DateCreated is created, as photo managers write them; title is text and is escaped
// for XML here.
std::string XmpPayload(const std::string& title, const std::string& created = "");

// jpeg with an APP1 segment holding payload inserted right after its start marker, where cameras
// put it.
std::string WithApp1(const std::string& jpeg, const std::string& payload);

// One row of the orientation table: a marked 64 x 32 picture tagged with an orientation, the size
// it is shown at and the corners its marks are shown in.
enum class TCorner { TopLeft, TopRight, BottomLeft, BottomRight };
struct TOrientationCase {
  int orientation;
  int shownWidth, shownHeight;
  TCorner red, green;
};
constexpr int kMarkedWidth = 64, kMarkedHeight = 32;
inline constexpr TOrientationCase kOrientationCases[] = {
    {1, 64, 32, TCorner::TopLeft, TCorner::TopRight},
    {2, 64, 32, TCorner::TopRight, TCorner::TopLeft},
    {3, 64, 32, TCorner::BottomRight, TCorner::BottomLeft},
    {4, 64, 32, TCorner::BottomLeft, TCorner::BottomRight},
    {5, 32, 64, TCorner::TopLeft, TCorner::BottomLeft},
    {6, 32, 64, TCorner::TopRight, TCorner::BottomRight},
    {7, 32, 64, TCorner::BottomRight, TCorner::TopRight},
    {8, 32, 64, TCorner::BottomLeft, TCorner::TopLeft},
};

// Exif blocks that are damaged in the ways files in the wild are: each must read as upright.
struct TDamagedExif {
  const char* what;
  std::string payload;
};
std::vector<TDamagedExif> DamagedExifPayloads();

}  // namespace pictalon::test
