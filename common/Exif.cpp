// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Exif.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace pictalon {
namespace {

constexpr std::size_t kExifHeader = 6;  // "Exif\0\0"
constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kThumbnailOffsetTag = 0x0201, kThumbnailLengthTag = 0x0202;
constexpr std::uint16_t kGpsPointerTag = 0x8825;
constexpr std::uint16_t kShort = 3, kLong = 4;

struct TTiff {
  const unsigned char* data;
  bool bigEndian;

  std::uint32_t U16(std::size_t at) const {
    return bigEndian ? (data[at] << 8 | data[at + 1]) : (data[at + 1] << 8 | data[at]);
  }
  std::uint32_t U32(std::size_t at) const {
    return bigEndian ? (U16(at) << 16 | U16(at + 2)) : (U16(at + 2) << 16 | U16(at));
  }
};

// The TIFF block of an Exif payload, or nothing when the payload is none.
std::optional<TTiff> TiffOf(const unsigned char* payload, std::size_t size) {
  if (size < kExifHeader + 8 || std::memcmp(payload, "Exif\0\0", kExifHeader) != 0) return {};
  const unsigned char* data = payload + kExifHeader;
  if (std::memcmp(data, "MM\0*", 4) == 0) return TTiff{data, true};
  if (std::memcmp(data, "II*\0", 4) == 0) return TTiff{data, false};
  return {};
}

}  // namespace

std::optional<TByteRange> ExifThumbnail(const unsigned char* payload, std::size_t size) {
  const std::optional<TTiff> tiff = TiffOf(payload, size);
  if (!tiff) return {};
  const std::uint64_t tiffSize = size - kExifHeader;
  // The first directory only leads to the second; 64-bit sums, so no offset can wrap around.
  const std::uint64_t first = tiff->U32(4);
  if (first < 8 || first + 2 > tiffSize) return {};
  const std::uint64_t link = first + 2 + 12 * std::uint64_t(tiff->U16(std::size_t(first)));
  if (link + 4 > tiffSize) return {};
  const std::uint64_t second = tiff->U32(std::size_t(link));
  if (second < 8 || second == first || second + 2 > tiffSize) return {};
  std::uint64_t offset = 0, length = 0;
  const std::uint32_t count = tiff->U16(std::size_t(second));
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::uint64_t entry = second + 2 + 12 * i;
    if (entry + 12 > tiffSize) return {};
    const auto at = std::size_t(entry);
    const std::uint32_t tag = tiff->U16(at), type = tiff->U16(at + 2);
    if ((tag != kThumbnailOffsetTag && tag != kThumbnailLengthTag) || tiff->U32(at + 4) != 1)
      continue;
    const std::uint64_t value = type == kLong ? tiff->U32(at + 8) : type == kShort ? tiff->U16(at + 8) : 0;
    (tag == kThumbnailOffsetTag ? offset : length) = value;
  }
  if (offset < 8 || length == 0 || offset + length > tiffSize) return {};
  return TByteRange{std::size_t(offset) + kExifHeader, std::size_t(length)};
}

namespace {

// The entry of tag in the first directory of an APP1 payload: its offset in the TIFF data, or
// none; *want as ExifOrientation documents it.
struct TFound {
  TTiff tiff{nullptr, false};
  std::size_t at = 0;
  bool found = false;
};

TFound FindFirstDirectoryTag(const unsigned char* payload, std::size_t size, std::uint16_t tag,
                             std::size_t& want) {
  TFound result;
  want = 0;
  if (size < kExifHeader + 8) {
    want = kExifHeader + 8;
    return result;
  }
  if (std::memcmp(payload, "Exif\0\0", kExifHeader) != 0) return result;
  const unsigned char* tiffData = payload + kExifHeader;
  const std::size_t tiffSize = size - kExifHeader;
  TTiff tiff{tiffData, false};
  if (std::memcmp(tiffData, "MM\0*", 4) == 0)
    tiff.bigEndian = true;
  else if (std::memcmp(tiffData, "II*\0", 4) != 0)
    return result;
  // 64-bit sums: no offset from the file can wrap around.
  const std::uint64_t directory = tiff.U32(4);
  if (directory < 8) return result;  // inside the header: damaged
  if (directory + 2 > tiffSize) {
    want = std::size_t(directory + 2 + kExifHeader);
    return result;
  }
  const std::uint32_t count = tiff.U16(std::size_t(directory));
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::uint64_t entry = directory + 2 + 12 * i;
    if (entry + 12 > tiffSize) {
      want = std::size_t(entry + 12 + kExifHeader);
      return result;
    }
    if (tiff.U16(std::size_t(entry)) != tag) continue;
    result.tiff = tiff;
    result.at = std::size_t(entry);
    result.found = true;
    return result;
  }
  return result;
}

}  // namespace

int ExifOrientation(const unsigned char* payload, std::size_t size, std::size_t* wanted) {
  std::size_t want = 0;
  int orientation = kUpright;
  const TFound entry = FindFirstDirectoryTag(payload, size, kOrientationTag, want);
  if (entry.found) {
    const TTiff& tiff = entry.tiff;
    const std::uint32_t type = tiff.U16(entry.at + 2);
    std::uint32_t value = 0;
    if (type == kShort) value = tiff.U16(entry.at + 8);
    else if (type == kLong) value = tiff.U32(entry.at + 8);
    if (tiff.U32(entry.at + 4) == 1 && value >= 1 && value <= 8) orientation = int(value);
  }
  if (wanted) *wanted = want;
  return orientation;
}

bool ExifHasGps(const unsigned char* payload, std::size_t size) {
  std::size_t want = 0;
  const TFound entry = FindFirstDirectoryTag(payload, size, kGpsPointerTag, want);
  return entry.found && entry.tiff.U32(entry.at + 8) != 0;
}

bool JpegHasGps(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(file, std::fclose);
  unsigned char marker[4];
  if (std::fread(marker, 1, 2, file) != 2 || marker[0] != 0xFF || marker[1] != 0xD8) return false;
  std::vector<unsigned char> payload;
  // The Exif block is among the segments before the first scan.
  while (std::fread(marker, 1, 4, file) == 4 && marker[0] == 0xFF && marker[1] != 0xDA) {
    const std::size_t length = std::size_t(marker[2] << 8 | marker[3]);
    if (length < 2) return false;
    if (marker[1] != 0xE1) {
      if (std::fseek(file, long(length - 2), SEEK_CUR) != 0) return false;
      continue;
    }
    payload.resize(length - 2);
    if (std::fread(payload.data(), 1, payload.size(), file) != payload.size()) return false;
    if (ExifHasGps(payload.data(), payload.size())) return true;
  }
  return false;
}

}  // namespace pictalon
