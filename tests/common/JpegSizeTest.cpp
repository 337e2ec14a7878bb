// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>

#include "Exif.h"
#include "Helpers.h"
#include "TestSupport.h"

namespace pictalon {
namespace {

using test::MakeJpeg;

struct Segment {
  unsigned char marker;
  std::size_t offset;  // of the 0xFF that starts the marker
  std::size_t end;     // just past the segment's data
};

// The marker segments of a JPEG up to and including the first SOS.
std::vector<Segment> Segments(const std::string& jpeg) {
  std::vector<Segment> list;
  std::size_t pos = 2;
  while (pos + 4 <= jpeg.size() && static_cast<unsigned char>(jpeg[pos]) == 0xFF) {
    const auto marker = static_cast<unsigned char>(jpeg[pos + 1]);
    const std::size_t length = static_cast<unsigned char>(jpeg[pos + 2]) * 256u +
                               static_cast<unsigned char>(jpeg[pos + 3]);
    list.push_back({marker, pos, pos + 2 + length});
    if (marker == 0xDA) break;
    pos += 2 + length;
  }
  return list;
}

const Segment& Find(const std::vector<Segment>& list, unsigned char marker) {
  for (const Segment& s : list)
    if (s.marker == marker) return s;
  ADD_FAILURE() << "no marker " << int(marker);
  return list.front();
}

// An APP1 segment of the largest size a segment can have, as a camera's Exif block with a
// preview picture nearly is.
std::string BigApp1() {
  std::string s = "\xFF\xE1\xFF\xFF" "Exif";
  s += std::string(2, '\0');
  while (s.size() < 2 + 0xFFFF) s += static_cast<char>(s.size() * 31 % 251);
  return s;
}

std::string Baseline() { return MakeJpeg(33, 17, false); }

std::string WithBigApp1() { return Baseline().insert(2, BigApp1()); }

std::string CutBefore(unsigned char marker) {
  const std::string jpeg = WithBigApp1();
  return jpeg.substr(0, Find(Segments(jpeg), marker).offset);
}

std::string CutAfter(unsigned char marker) {
  const std::string jpeg = WithBigApp1();
  return jpeg.substr(0, Find(Segments(jpeg), marker).end);
}

// A valid header declaring height x width; the scan data no longer fit it, which the header
// does not show.
std::string DeclaringSize(unsigned height, unsigned width) {
  std::string jpeg = Baseline();
  const std::size_t sof = Find(Segments(jpeg), 0xC0).offset;
  jpeg[sof + 5] = static_cast<char>(height >> 8);
  jpeg[sof + 6] = static_cast<char>(height & 0xFF);
  jpeg[sof + 7] = static_cast<char>(width >> 8);
  jpeg[sof + 8] = static_cast<char>(width & 0xFF);
  return jpeg;
}

const char kPngStart[] = "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x21\0\0\0\x11\x08\x02\0\0\0";
const char kGifStart[] = "GIF89a\x21\0\x11\0\x80\0\0\0\0\0\xff\xff\xff,\0\0\0\0\x21\0\x11\0\0";

int OpenDescriptors() {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    (void)entry;
    ++count;
  }
  return count;
}

struct JpegCase {
  const char* name;
  // Makes the file to read in dir and returns its path.
  std::function<std::string(const test::TempDir& dir)> make;
  std::int32_t height;
  std::int32_t width;
};

std::function<std::string(const test::TempDir&)> File(std::function<std::string()> bytes) {
  return [bytes](const test::TempDir& dir) { return dir.write("image.jpg", bytes()); };
}

TEST(JpegSizeTest, ReadsTheSizeFromTheHeaderOrGivesMinusOne) {
  const JpegCase cases[] = {
      {"baseline", File(Baseline), 17, 33},
      {"progressive", File([] { return MakeJpeg(33, 17, true); }), 17, 33},
      {"grayscale one pixel", File([] { return MakeJpeg(1, 1, false, 1); }), 1, 1},
      {"big APP1 before the frame", File(WithBigApp1), 17, 33},
      // The size is in the header: data lost from the scan leave it readable.
      {"cut inside the scan data",
       File([] { std::string j = WithBigApp1(); return j.substr(0, j.size() - 40); }), 17, 33},
      {"declares 65000 x 60000", File([] { return DeclaringSize(60000, 65000); }), 60000, 65000},
      {"cut inside APP1", File([] { return WithBigApp1().substr(0, 30000); }), -1, -1},
      {"cut just before SOF", File([] { return CutBefore(0xC0); }), -1, -1},
      {"cut just after SOF", File([] { return CutAfter(0xC0); }), -1, -1},
      {"cut inside SOS", File([] { return CutAfter(0xDA).substr(0, CutAfter(0xDA).size() - 3); }),
       -1, -1},
      {"SOI only", File([] { return std::string("\xFF\xD8"); }), -1, -1},
      {"garbage after SOI",
       File([] { return "\xFF\xD8" + std::string(5000, 'x') + "not a picture"; }), -1, -1},
      {"declares zero height", File([] { return DeclaringSize(0, 33); }), -1, -1},
      {"beyond what libjpeg decodes", File([] { return DeclaringSize(65535, 65535); }), -1, -1},
      {"empty file", File([] { return std::string(); }), -1, -1},
      {"PNG", File([] { return std::string(kPngStart, sizeof kPngStart - 1) + "rest"; }), -1, -1},
      {"GIF", File([] { return std::string(kGifStart, sizeof kGifStart - 1) + ";"; }), -1, -1},
      {"text", File([] { return std::string("Just some words.\r\n"); }), -1, -1},
      {"missing file", [](const test::TempDir& dir) { return dir.path() + "absent.jpg"; }, -1, -1},
      {"folder", [](const test::TempDir& dir) { return dir.path(); }, -1, -1},
      // Opening a FIFO for reading would wait for a writer.
      {"FIFO",
       [](const test::TempDir& dir) {
         const std::string path = dir.path() + "fifo.jpg";
         EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
         return path;
       },
       -1, -1},
  };
  const int descriptorsBefore = OpenDescriptors();
  // The second pass reads good files after bad ones: the decompressor kept between calls must
  // come out of every failure ready for the next file.
  for (int pass = 1; pass <= 2; ++pass) {
    SCOPED_TRACE("pass " + std::to_string(pass));
    for (const JpegCase& c : cases) {
      SCOPED_TRACE(c.name);
      test::TempDir dir;
      const std::string path = c.make(dir);
      std::int32_t height = 12345;
      std::int32_t width = 12345;
      GetJpegSize(path, height, width);
      EXPECT_EQ(height, c.height);
      EXPECT_EQ(width, c.width);
    }
  }
  EXPECT_EQ(OpenDescriptors(), descriptorsBefore) << "a file was left open";
}

// Calls from other threads while one is reading must neither share its decompressor nor fail.
TEST(JpegSizeTest, ThreadsReadAtTheSameTime) {
  test::TempDir dir;
  const std::string good = dir.write("good.jpg", WithBigApp1());
  const std::string bad = dir.write("bad.jpg", CutAfter(0xC0));
  std::vector<std::thread> threads;
  std::atomic<int> wrong{0};
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 300; ++i) {
        const bool pickGood = (i + t) % 3 != 0;
        std::int32_t height = 0;
        std::int32_t width = 0;
        GetJpegSize(pickGood ? good : bad, height, width);
        if (pickGood ? height != 17 || width != 33 : height != -1 || width != -1) ++wrong;
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(wrong.load(), 0);
}

// A portrait photo is stored lying down with an orientation that turns it: the size is the one
// shown, in either byte order, and an Exif block far bigger than the first read changes nothing.
TEST(JpegSizeTest, SizeIsTheUprightSize) {
  test::TempDir dir;
  const std::string marked = test::MakeMarkedJpeg(test::kMarkedWidth, test::kMarkedHeight);
  for (const test::TOrientationCase& c : test::kOrientationCases) {
    for (bool bigEndian : {false, true}) {
      for (bool thumbnail : {false, true}) {
        SCOPED_TRACE(testing::Message() << "orientation " << c.orientation << (bigEndian ? " MM" : " II")
                                        << (thumbnail ? " with a 60 KiB thumbnail" : ""));
        std::string payload = test::ExifPayload(c.orientation, bigEndian);
        if (thumbnail) payload += std::string(60000, '\x5A');
        const std::string path = dir.write("image.jpg", test::WithApp1(marked, payload));
        std::int32_t height = 0, width = 0;
        GetJpegSize(path, height, width);
        EXPECT_EQ(width, c.shownWidth);
        EXPECT_EQ(height, c.shownHeight);
      }
    }
  }
}

TEST(JpegSizeTest, DamagedExifBlockLeavesTheStoredSize) {
  test::TempDir dir;
  for (const test::TDamagedExif& c : test::DamagedExifPayloads()) {
    SCOPED_TRACE(c.what);
    const std::string path = dir.write("image.jpg", test::WithApp1(MakeJpeg(40, 30), c.payload));
    std::int32_t height = 0, width = 0;
    GetJpegSize(path, height, width);
    EXPECT_EQ(width, 40);
    EXPECT_EQ(height, 30);
  }
}

// A photo that records where it was taken is told apart from one that does not, wherever its Exif
// block sits among the segments; a damaged block or a file that is no JPEG tells nothing.
TEST(JpegSizeTest, GpsDirectoryIsFound) {
  test::TempDir dir;
  const std::string jpeg = MakeJpeg(40, 30);
  const std::string xmp("http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>", 42);
  const struct {
    const char* what;
    std::string file;
    bool gps;
  } cases[] = {
      {"GPS, II", test::WithApp1(jpeg, test::ExifPayload(1, false, true)), true},
      {"GPS, MM, after an XMP block", test::WithApp1(test::WithApp1(jpeg, test::ExifPayload(6, true, true)), xmp), true},
      {"no GPS", test::WithApp1(jpeg, test::ExifPayload(1)), false},
      {"no Exif block", jpeg, false},
      {"GPS block cut short", test::WithApp1(jpeg, test::ExifPayload(1, false, true).substr(0, 40)), false},
      {"no JPEG", std::string("GIF89a") + test::ExifPayload(1, false, true), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(JpegHasGps(dir.write("image.jpg", c.file)), c.gps);
  }
  for (const test::TDamagedExif& c : test::DamagedExifPayloads()) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(JpegHasGps(dir.write("image.jpg", test::WithApp1(jpeg, c.payload))));
  }
}

}  // namespace
}  // namespace pictalon
