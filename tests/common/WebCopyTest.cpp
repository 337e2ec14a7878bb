// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Web copies: upright, never enlarged, stripped of everything but the colour profile, and the
// cell picture's size from the page's scaling.
#include <gtest/gtest.h>

#include <string>

#include "Helpers.h"
#include "Platform.h"
#include "TestSupport.h"
#include "WebCopy.h"

namespace pictalon {
namespace {

using test::TempDir;

// Colour of the pixel at (x, y) of a decoded copy: "red", "green" or "neither".
std::string MarkAt(const test::TRgb& rgb, int x, int y) {
  const unsigned char* p = rgb.At(x, y);
  if (p[0] > 200 && p[1] < 60) return "red";
  if (p[1] > 200 && p[0] < 60) return "green";
  return "neither";
}

std::string MarkIn(const test::TRgb& rgb, test::TCorner corner, int inset) {
  const bool right = corner == test::TCorner::TopRight || corner == test::TCorner::BottomRight;
  const bool bottom = corner == test::TCorner::BottomLeft || corner == test::TCorner::BottomRight;
  return MarkAt(rgb, right ? rgb.width - 1 - inset : inset, bottom ? rgb.height - 1 - inset : inset);
}

// An APP2 segment's payload holding a whole colour profile.
std::string IccPayload(const std::string& profile) {
  return std::string("ICC_PROFILE\0\x01\x01", 14) + profile;
}

TEST(WebCopy, CopiesStandUprightAtTheirSize) {
  TempDir dir;
  const std::string marked = test::MakeMarkedJpeg(test::kMarkedWidth * 4, test::kMarkedHeight * 4);
  for (const test::TOrientationCase& c : test::kOrientationCases) {
    SCOPED_TRACE("orientation " + std::to_string(c.orientation));
    const std::string source = dir.write("o.jpg", test::WithApp1(marked, test::ExifPayload(c.orientation)));
    const TWebCopyResult made = MakeWebCopy(source, 128, dir.file("copy.jpg"), {}, "");
    ASSERT_TRUE(made.decoded) << made.error;
    EXPECT_EQ(made.shown, (TPixelSize{c.shownWidth * 4, c.shownHeight * 4}));
    EXPECT_EQ(made.copy, (TPixelSize{c.shownWidth * 2, c.shownHeight * 2}));
    const test::TRgb copy = test::DecodeRgb(test::ReadFile(dir.file("copy.jpg")));
    ASSERT_EQ(copy.width, c.shownWidth * 2);
    ASSERT_EQ(copy.height, c.shownHeight * 2);
    EXPECT_EQ(MarkIn(copy, c.red, test::kMark / 4), "red");
    EXPECT_EQ(MarkIn(copy, c.green, test::kMark / 4), "green");
  }
}

TEST(WebCopy, OnlyTheColourProfileTravels) {
  TempDir dir;
  const std::string profile(300, 'P');
  std::string exif = test::ExifPayload(1) + "GPS 52N 13E SERIAL-4711";
  std::string jpeg = test::WithApp1(test::MakeJpeg(900, 600), exif);
  jpeg.insert(2, "\xFF\xE2" + std::string(1, char((IccPayload(profile).size() + 2) >> 8)) +
                     char((IccPayload(profile).size() + 2) & 0xFF) + IccPayload(profile));
  const std::string source = dir.write("p.jpg", jpeg);
  ASSERT_TRUE(MakeWebCopy(source, 450, dir.file("copy.jpg"), {}, "").decoded);
  const std::string copy = test::ReadFile(dir.file("copy.jpg"));
  EXPECT_EQ(copy.find("Exif"), std::string::npos);
  EXPECT_EQ(copy.find("SERIAL-4711"), std::string::npos);
  EXPECT_NE(copy.find(IccPayload(profile)), std::string::npos);
  EXPECT_EQ(test::DecodeRgb(copy).width, 450);
}

TEST(WebCopy, SizesOfCopiesAndCellPictures) {
  TempDir dir;
  // Never enlarged; a smaller picture is copied at its own size.
  const std::string small = dir.write("s.jpg", test::MakeJpeg(300, 200));
  TWebCopyResult made = MakeWebCopy(small, 1600, dir.file("s-copy.jpg"),
                                    [](TPixelSize, TPixelSize) { return TPixelSize{150, 100}; },
                                    dir.file("s-cell.jpg"));
  EXPECT_EQ(made.copy, (TPixelSize{300, 200}));
  EXPECT_EQ(made.cell, (TPixelSize{150, 100}));
  EXPECT_EQ(test::DecodeRgb(test::ReadFile(dir.file("s-cell.jpg"))).width, 150);

  struct Case {
    int mode, thumb;
    TPixelSize shown, copy, cell;
  } cases[] = {
      {2, 300, {4000, 3000}, {1600, 1200}, {600, 450}},   // fixed width: twice the width shown
      {2, 300, {3000, 4000}, {1200, 1600}, {600, 800}},
      {2, 800, {4000, 3000}, {1600, 1200}, {}},           // would not be smaller: the web copy
      {1, 150, {4000, 3000}, {1600, 1200}, {400, 300}},   // fixed height
      {0, 100, {4000, 3000}, {1600, 1200}, {}},           // natural size: the web copy
      {0, 10, {4000, 3000}, {1600, 1200}, {800, 600}},    // a tenth of 4000, doubled
      {0, 25, {640, 480}, {640, 480}, {320, 240}},
      {7, 300, {4000, 3000}, {1600, 1200}, {}},           // no size given
      {2, 0, {4000, 3000}, {1600, 1200}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " at " << c.thumb << ", shown "
                                    << c.shown.width << " x " << c.shown.height);
    GallerySettings s{};
    s.ScalingMode = std::uint8_t(c.mode);
    s.ThumbSize.set(c.thumb);
    EXPECT_EQ(CellPictureSize(s, c.shown, c.copy), c.cell);
  }
  EXPECT_EQ(FitLongestSide({4000, 3000}, 1600), (TPixelSize{1600, 1200}));
  EXPECT_EQ(FitLongestSide({3000, 4000}, 1600), (TPixelSize{1200, 1600}));
  EXPECT_EQ(FitLongestSide({10000, 10}, 320), (TPixelSize{320, 1}));
}

TEST(WebCopy, PicturesThatCannotBeDecodedWriteNothing) {
  TempDir dir;
  const std::string cut = test::MakeJpeg(200, 100);
  const std::string cases[] = {"not a picture", "\x89PNG\r\n\x1a\n", cut.substr(0, cut.size() / 2),
                               cut.substr(0, 100)};
  for (const std::string& bytes : cases) {
    SCOPED_TRACE(bytes.size());
    const std::string source = dir.write("bad.jpg", bytes);
    const TWebCopyResult made = MakeWebCopy(source, 100, dir.file("copy.jpg"), {}, "");
    EXPECT_FALSE(made.decoded);
    EXPECT_FALSE(made.error.empty());
    EXPECT_FALSE(FileExists(dir.file("copy.jpg")));
  }
  EXPECT_FALSE(MakeWebCopy(dir.file("missing.jpg"), 100, dir.file("copy.jpg"), {}, "").decoded);
}

// Each way a picture is refused says why, and writes nothing: a header claiming 65000 x 65000
// (refused from the header, before any raster), and a photo cut short, with or without an
// end-of-image marker after the cut (else copied with a grey lower half).
TEST(WebCopy, RefusedPicturesSayWhy) {
  TempDir dir;
  std::string huge = test::MakeJpeg(8, 8);
  const std::size_t sof = huge.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  huge.replace(sof + 5, 4, "\xFD\xE8\xFD\xE8");  // height and width 65000
  const std::string photo = test::MakeJpeg(256, 256), half = photo.substr(0, photo.size() / 2);
  const struct {
    const char* name;
    std::string bytes;
    TNotResized why;
    const char* says;
  } cases[] = {
      {"header claims 65000 x 65000", huge, TNotResized::TooLarge, "too large: 65000 x 65000"},
      {"cut short, then an end marker", half + "\xFF\xD9", TNotResized::CutShort, "premature end"},
      {"cut short", half, TNotResized::CutShort, "Premature end"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TWebCopyResult made = MakeWebCopy(dir.write("in.jpg", c.bytes), 1600, dir.file("copy.jpg"), {}, "");
    EXPECT_FALSE(made.decoded);
    EXPECT_EQ(made.why, c.why);
    EXPECT_NE(made.error.find(c.says), std::string::npos) << made.error;
    EXPECT_FALSE(FileExists(dir.file("copy.jpg")));
  }
}

// The size reader and the decoder read the same orientation, also from a first Exif directory
// that lies beyond the first 4 KiB of the block.
TEST(WebCopy, OrientationFarIntoTheExifBlockIsReadAlike) {
  TempDir dir;
  constexpr int kGap = 5000;
  std::string payload = std::string("Exif\0\0II*\0", 10) + std::string(1, char((8 + kGap) & 0xFF)) +
                        char((8 + kGap) >> 8) + std::string(2, '\0') + std::string(kGap, '\0');
  payload += std::string("\x01\x00\x12\x01\x03\x00\x01\x00\x00\x00\x06\x00\x00\x00", 14);
  payload += std::string(4, '\0');  // no next directory
  const std::string source = dir.write("p.jpg", test::WithApp1(test::MakeJpeg(120, 90), payload));
  std::int32_t height = 0, width = 0;
  GetJpegSize(source, height, width);
  EXPECT_EQ(width, 90);
  EXPECT_EQ(height, 120);
  const TWebCopyResult made = MakeWebCopy(source, 1600, dir.file("copy.jpg"), {}, "");
  EXPECT_EQ(made.shown, (TPixelSize{90, 120}));
  EXPECT_EQ(made.copy, (TPixelSize{90, 120}));
}

}  // namespace
}  // namespace pictalon
