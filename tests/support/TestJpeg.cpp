// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestJpeg.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <jpeglib.h>

namespace pictalon::test {

namespace {

// Compresses a width x height picture whose rows fill(row, y) writes, at quality.
std::string Compress(int width, int height, int components, int quality, bool progressive,
                     const std::function<void(unsigned char* row, int y)>& fill) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = components;
  cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(width * components));
  while (cinfo.next_scanline < cinfo.image_height) {
    fill(row.data(), static_cast<int>(cinfo.next_scanline));
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::string jpeg(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return jpeg;
}

}  // namespace

std::string MakeJpeg(int width, int height, bool progressive, int components) {
  const std::size_t rowSize = static_cast<std::size_t>(width * components);
  return Compress(width, height, components, 85, progressive, [&](unsigned char* row, int y) {
    for (std::size_t i = 0; i < rowSize; ++i) row[i] = static_cast<unsigned char>((i * 7 + std::size_t(y) * 3) & 0xFF);
  });
}

std::string MakeMarkedJpeg(int width, int height) {
  return Compress(width, height, 3, 95, false, [&](unsigned char* row, int y) {
    for (int x = 0; x < width; ++x) {
      unsigned char* p = &row[std::size_t(x) * 3];
      p[0] = p[1] = p[2] = 128;
      if (y < kMark && x < kMark) p[0] = 255, p[1] = p[2] = 0;
      if (y < kMark && x >= width - kMark) p[1] = 255, p[0] = p[2] = 0;
    }
  });
}

namespace {
void Put16(std::string& s, unsigned v, bool big) {
  const char hi = char(v >> 8 & 0xFF), lo = char(v & 0xFF);
  s += big ? hi : lo;
  s += big ? lo : hi;
}

void Put32(std::string& s, unsigned v, bool big) {
  Put16(s, big ? v >> 16 : v & 0xFFFF, big);
  Put16(s, big ? v & 0xFFFF : v >> 16, big);
}

// A directory entry: tag, type, count, value (a SHORT's value sits in the first two bytes).
void PutEntry(std::string& s, unsigned tag, unsigned type, unsigned count, unsigned value, bool big) {
  Put16(s, tag, big);
  Put16(s, type, big);
  Put32(s, count, big);
  if (type == 3) {
    Put16(s, value, big);
    Put16(s, 0, big);
  } else {
    Put32(s, value, big);
  }
}

}  // namespace

TRgb DecodeRgb(const std::string& jpeg) {
  TRgb rgb;
  if (jpeg.size() < 3 || jpeg.compare(0, 3, "\xFF\xD8\xFF") != 0) return rgb;
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size());
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  rgb.width = int(cinfo.output_width);
  rgb.height = int(cinfo.output_height);
  rgb.pixels.resize(std::size_t(rgb.width) * std::size_t(rgb.height) * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = &rgb.pixels[std::size_t(cinfo.output_scanline) * std::size_t(rgb.width) * 3];
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return rgb;
}

std::string ExifPayload(int orientation, bool bigEndian, bool gps) {
  std::string s("Exif\0\0", 6);
  s += bigEndian ? std::string("MM\0*", 4) : std::string("II*\0", 4);
  const unsigned entries = gps ? 3 : 2, after = 8 + 2 + entries * 12 + 4;
  Put32(s, 8, bigEndian);  // the first directory follows the header
  Put16(s, entries, bigEndian);
  PutEntry(s, 0x010F, 2, 6, after, bigEndian);  // Make, ASCII, after the directory
  PutEntry(s, 0x0112, 3, 1, unsigned(orientation), bigEndian);
  if (gps) PutEntry(s, 0x8825, 4, 1, after + 6, bigEndian);  // GPS directory, after the make
  Put32(s, 0, bigEndian);  // no next directory
  s += std::string("Maker\0", 6);
  if (gps) s += std::string(2 + 4, '\0');  // an empty GPS directory
  return s;
}

std::string ExifPayloadWithThumbnail(int orientation, const std::string& thumbnail, bool bigEndian) {
  std::string s("Exif\0\0", 6);
  s += bigEndian ? std::string("MM\0*", 4) : std::string("II*\0", 4);
  Put32(s, 8, bigEndian);  // the first directory follows the header
  Put16(s, 1, bigEndian);
  PutEntry(s, 0x0112, 3, 1, unsigned(orientation), bigEndian);
  const unsigned second = 8 + 2 + 12 + 4;
  Put32(s, second, bigEndian);
  Put16(s, 3, bigEndian);
  const unsigned data = second + 2 + 3 * 12 + 4;
  PutEntry(s, 0x0103, 3, 1, 6, bigEndian);  // Compression: JPEG
  PutEntry(s, 0x0201, 4, 1, data, bigEndian);
  PutEntry(s, 0x0202, 4, 1, unsigned(thumbnail.size()), bigEndian);
  Put32(s, 0, bigEndian);  // no third directory
  return s + thumbnail;
}

std::string XmpPayload(const std::string& title, const std::string& created) {
  std::string escaped;
  for (char c : title) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      default: escaped += c; break;
    }
  }
  return std::string("http://ns.adobe.com/xap/1.0/\0", 29) +
         "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>"
         "<rdf:Description rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/'"
         " xmlns:photoshop='http://ns.adobe.com/photoshop/1.0/'" +
         (created.empty() ? std::string() : " photoshop:DateCreated='" + created + "'") +
         "><dc:title><rdf:Alt>"
         "<rdf:li xml:lang='x-default'>" + escaped + "</rdf:li></rdf:Alt></dc:title></rdf:Description>"
         "</rdf:RDF></x:xmpmeta>";
}

std::string WithApp1(const std::string& jpeg, const std::string& payload) {
  const std::size_t length = payload.size() + 2;
  std::string segment = "\xFF\xE1";
  segment += char(length >> 8);
  segment += char(length & 0xFF);
  return jpeg.substr(0, 2) + segment + payload + jpeg.substr(2);
}

std::vector<TDamagedExif> DamagedExifPayloads() {
  const std::string good = ExifPayload(6);
  auto patched = [&](std::size_t at, std::string bytes) {
    std::string s = good;
    s.replace(at, bytes.size(), bytes);
    return s;
  };
  // Offsets within the payload: the TIFF header at 6, its directory offset at 10, the entry
  // count at 14, the Orientation entry at 28 (its value at 36).
  std::string selfLinked = ExifPayload(1);  // upright first directory, next one points back at it
  selfLinked.replace(6 + 8 + 2 + 24, 4, std::string("\x08\0\0\0", 4));
  return {
      {"directory offset far beyond the block", patched(10, std::string("\0\0\0\x7F", 4))},
      {"directory offset inside the header", patched(10, std::string("\x02\0\0\0", 4))},
      {"entry count leaving out the Orientation entry", patched(14, std::string("\x01\0", 2))},
      {"entry count running past the block, no Orientation",
       patched(14, std::string("\xFF\xFF", 2)).replace(28, 2, "\x10\x01")},
      {"cut inside the Orientation entry", good.substr(0, 32)},
      {"cut inside the header", good.substr(0, 9)},
      {"orientation 0", patched(36, std::string("\0\0", 2))},
      {"orientation 9", patched(36, std::string("\x09\0", 2))},
      {"orientation with a count of 2", patched(32, std::string("\x02\0\0\0", 4))},
      {"unknown byte order", patched(6, "XX")},
      {"next directory linked back to the first", selfLinked},
      {"not an Exif block", std::string("http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>", 42)},
  };
}

}  // namespace pictalon::test
