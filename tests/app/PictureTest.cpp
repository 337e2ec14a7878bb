// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The picture loader: the DCT scale it picks, the three formats, and damaged or hostile files,
// each of which must end in an Error with a message, never in a crash or a huge allocation.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include <gif_lib.h>

#include "Error.h"
#include "Picture.h"
#include "TestSupport.h"

namespace pictalon {
namespace {

using test::MakeJpeg;
using test::TempDir;

// A JPEG whose frame header declares width x height, made by patching a small real one.
std::string JpegDeclaring(int width, int height) {
  std::string jpeg = MakeJpeg(16, 16);
  const std::size_t sof = jpeg.find("\xFF\xC0", 2);
  EXPECT_NE(sof, std::string::npos);
  jpeg[sof + 5] = char(height >> 8), jpeg[sof + 6] = char(height & 0xFF);
  jpeg[sof + 7] = char(width >> 8), jpeg[sof + 8] = char(width & 0xFF);
  return jpeg;
}

std::string Png(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(image.save(&buffer, "PNG"));
  return bytes.toStdString();
}

// A GIF of width x height on a screen of the same size, written by giflib: colour 1 (red) on the
// left half, colour 0 (transparent) on the right half.
std::string Gif(const TempDir& dir, int width, int height, bool interlaced) {
  const std::string path = dir.file("made.gif");
  int code = 0;
  GifFileType* gif = EGifOpenFileName(path.c_str(), false, &code);
  EXPECT_NE(gif, nullptr);
  GifColorType colours[2] = {{0, 0, 0}, {255, 0, 0}};
  ColorMapObject* map = GifMakeMapObject(2, colours);
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, width, height, 1, 0, map);
  GraphicsControlBlock gcb{};
  gcb.TransparentColor = 0;
  GifByteType ext[4];
  EGifGCBToExtension(&gcb, ext);
  EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext);
  EGifPutImageDesc(gif, 0, 0, width, height, interlaced, nullptr);
  std::vector<GifPixelType> line(static_cast<std::size_t>(width));
  for (int x = 0; x < width; ++x) line[std::size_t(x)] = x < width / 2 ? 1 : 0;
  // Interlaced rows go in pass order; every row here is the same, so plain order writes them.
  for (int y = 0; y < height; ++y) EGifPutLine(gif, line.data(), width);
  EGifCloseFile(gif, &code);
  GifFreeMapObject(map);
  return test::ReadFile(path);
}

TEST(PictureTest, JpegDecodesAtTheSmallestScaleThatCovers) {
  TempDir dir;
  const std::string path = dir.write("a.jpg", MakeJpeg(1600, 1200));
  struct Case {
    QSize atLeast;
    QSize decoded;
  } cases[] = {
      {QSize(), QSize(1600, 1200)},          // nothing asked: full size
      {QSize(138, 103), QSize(200, 150)},    // a thumbnail: one eighth
      {QSize(0, 138), QSize(200, 150)},      // a strip's zero width asks for nothing in width
      {QSize(201, 10), QSize(400, 300)},     // just over an eighth: two eighths
      {QSize(300, 300), QSize(400, 300)},
      {QSize(1000, 500), QSize(1000, 750)},  // five eighths
      {QSize(5000, 5000), QSize(1600, 1200)},  // never more than full size
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.atLeast.width() << " x " << c.atLeast.height());
    const QImage image = LoadPicture(path, c.atLeast);
    EXPECT_EQ(image.size(), c.decoded);
  }
  EXPECT_EQ(PictureSize(path), QSize(1600, 1200));
  const TDecodedPicture picture = LoadPictureFor(path, [](QSize full) { return full / 8; });
  EXPECT_EQ(picture.fullSize, QSize(1600, 1200));
  EXPECT_EQ(picture.image.size(), QSize(200, 150));
}

// Whatever the kind of JPEG, the pixels agree with Qt's own reader.
TEST(PictureTest, JpegKindsGiveTheSamePixelsAsQtsReader) {
  TempDir dir;
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"baseline", MakeJpeg(64, 48)},
      {"progressive", MakeJpeg(64, 48, true)},
      {"greyscale", MakeJpeg(64, 48, false, 1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.write(std::string(c.name) + ".jpg", c.bytes);
    const QImage ours = LoadPicture(path);
    const QImage qts(QString::fromStdString(path));
    ASSERT_FALSE(qts.isNull());
    ASSERT_EQ(ours.size(), qts.size());
    for (QPoint p : {QPoint(0, 0), QPoint(31, 20), QPoint(63, 47)}) {
      const QRgb a = ours.pixel(p), b = qts.pixel(p);
      EXPECT_NEAR(qRed(a), qRed(b), 2);
      EXPECT_NEAR(qGreen(a), qGreen(b), 2);
      EXPECT_NEAR(qBlue(a), qBlue(b), 2);
    }
  }
}

// The mark in a corner of image: red, green or neither.
QString MarkIn(const QImage& image, test::TCorner corner) {
  const int inset = test::kMark / 4;  // inside the mark also at half size
  const bool right = corner == test::TCorner::TopRight || corner == test::TCorner::BottomRight;
  const bool bottom = corner == test::TCorner::BottomLeft || corner == test::TCorner::BottomRight;
  const QColor c = image.pixelColor(right ? image.width() - 1 - inset : inset,
                                    bottom ? image.height() - 1 - inset : inset);
  if (c.red() > 200 && c.green() < 60) return "red";
  if (c.green() > 200 && c.red() < 60) return "green";
  return "neither";
}

// Every window loads through here, so every window shows a camera's photo upright: the size,
// the pixels and the size asked of a scaled decode all follow the orientation.
TEST(PictureTest, JpegsAreTurnedUprightByTheirOrientation) {
  TempDir dir;
  const std::string marked = test::MakeMarkedJpeg(test::kMarkedWidth, test::kMarkedHeight);
  for (const test::TOrientationCase& c : test::kOrientationCases) {
    SCOPED_TRACE("orientation " + std::to_string(c.orientation));
    const std::string path = dir.write("o.jpg", test::WithApp1(marked, test::ExifPayload(c.orientation)));
    const QSize shown(c.shownWidth, c.shownHeight);
    EXPECT_EQ(PictureSize(path), shown);
    QSize asked;
    TDecodedPicture picture = LoadPictureFor(path, [&](QSize full) {
      asked = full;
      return QSize();
    });
    EXPECT_EQ(asked, shown);
    EXPECT_EQ(picture.fullSize, shown);
    ASSERT_EQ(picture.image.size(), shown);
    EXPECT_EQ(MarkIn(picture.image, c.red), "red");
    EXPECT_EQ(MarkIn(picture.image, c.green), "green");
    // Half the shown size is asked in shown terms and met in them.
    const QImage half = LoadPicture(path, shown / 2);
    EXPECT_EQ(half.size(), shown / 2);
    EXPECT_EQ(MarkIn(half, c.red), "red");
  }
  for (const test::TDamagedExif& c : test::DamagedExifPayloads()) {
    SCOPED_TRACE(c.what);
    const std::string path = dir.write("d.jpg", test::WithApp1(marked, c.payload));
    const QImage image = LoadPicture(path);
    ASSERT_EQ(image.size(), QSize(test::kMarkedWidth, test::kMarkedHeight));
    EXPECT_EQ(MarkIn(image, test::TCorner::TopLeft), "red");
  }
}

// The preview a camera stores beside the photo (IFD1) is found in either byte order, turned the
// way the photo is, and read from the header alone; a damaged one is none, never an error.
TEST(PictureTest, EmbeddedPreviewIsFoundAndTurnedUpright) {
  TempDir dir;
  const std::string photo = MakeJpeg(128, 64);
  const std::string marked = test::MakeMarkedJpeg(test::kMarkedWidth, test::kMarkedHeight);
  for (const bool big : {false, true}) {
    for (const test::TOrientationCase& c : test::kOrientationCases) {
      SCOPED_TRACE("orientation " + std::to_string(c.orientation) + (big ? ", big-endian" : ""));
      const std::string path = dir.write(
          "p.jpg", test::WithApp1(photo, test::ExifPayloadWithThumbnail(c.orientation, marked, big)));
      const TEmbeddedPreview preview = LoadEmbeddedPreview(path);
      EXPECT_EQ(preview.fullSize, c.shownWidth > c.shownHeight ? QSize(128, 64) : QSize(64, 128));
      ASSERT_EQ(preview.image.size(), QSize(c.shownWidth, c.shownHeight));
      EXPECT_EQ(MarkIn(preview.image, c.red), "red");
      EXPECT_EQ(MarkIn(preview.image, c.green), "green");
    }
  }
  const std::string good = test::ExifPayloadWithThumbnail(1, marked);
  auto patched = [&](std::size_t at, std::string bytes) {
    std::string s = good;
    s.replace(at, bytes.size(), bytes);
    return s;
  };
  // Offsets within the payload: the second directory's offset at 28, its entries from 34 (the
  // preview's offset entry at 46, its length's value at 66).
  const std::pair<const char*, std::string> damaged[] = {
      {"no second directory", test::ExifPayload(1)},
      {"second directory is the first", patched(28, std::string("\x08\0\0\0", 4))},
      {"second directory beyond the block", patched(28, std::string("\0\0\0\x7F", 4))},
      {"preview reaching past the block", patched(66, std::string("\0\0\x01\0", 4))},
      {"preview cut short", good.substr(0, good.size() - 20)},
      {"preview that is no JPEG", test::ExifPayloadWithThumbnail(1, "not a picture")},
      {"offset entry with a count of 2", patched(50, std::string("\x02", 1))},
  };
  for (const auto& [what, payload] : damaged) {
    SCOPED_TRACE(what);
    const std::string path = dir.write("d.jpg", test::WithApp1(photo, payload));
    TEmbeddedPreview preview;
    ASSERT_NO_THROW(preview = LoadEmbeddedPreview(path));
    EXPECT_TRUE(preview.image.isNull());
    EXPECT_EQ(preview.fullSize, QSize(128, 64));
  }
  EXPECT_THROW(LoadEmbeddedPreview(dir.write("t.jpg", "no picture")), Error);
}

TEST(PictureTest, PngAndGifDecodeWholeWithTheirTransparency) {
  TempDir dir;
  QImage source(40, 30, QImage::Format_ARGB32);
  source.fill(qRgba(0, 0, 255, 255));
  source.setPixel(39, 29, qRgba(0, 255, 0, 0));
  const std::string png = dir.write("picture.jpg", Png(source));  // the name does not matter
  const QImage fromPng = LoadPicture(png, QSize(10, 10));
  EXPECT_EQ(fromPng.size(), QSize(40, 30));
  EXPECT_EQ(fromPng.pixel(0, 0), qRgba(0, 0, 255, 255));
  EXPECT_EQ(qAlpha(fromPng.pixel(39, 29)), 0);
  EXPECT_EQ(PictureSize(png), QSize(40, 30));
  QSize told;
  LoadPictureFor(png, [&](QSize full) { return told = full; });
  EXPECT_EQ(told, QSize(40, 30));  // decoded whole, but the size is told as for a JPEG

  QImage opaque(20, 10, QImage::Format_RGB32);
  opaque.fill(qRgb(10, 20, 30));
  const QImage fromOpaque = LoadPicture(dir.write("opaque.png", Png(opaque)));
  EXPECT_EQ(fromOpaque.pixel(5, 5), qRgb(10, 20, 30));

  for (bool interlaced : {false, true}) {
    SCOPED_TRACE(interlaced ? "interlaced" : "plain");
    const std::string gif = dir.write("a.gif", Gif(dir, 20, 12, interlaced));
    const QImage fromGif = LoadPicture(gif);
    ASSERT_EQ(fromGif.size(), QSize(20, 12));
    EXPECT_EQ(fromGif.pixel(0, 11), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(fromGif.pixel(19, 0)), 0);
    EXPECT_EQ(PictureSize(gif), QSize(20, 12));
  }
}

TEST(PictureTest, FitDecodesOnlyWhatItShows) {
  TempDir dir;
  const std::string path = dir.write("a.jpg", MakeJpeg(1600, 1200));
  EXPECT_EQ(LoadPictureToFit(path, QSize(400, 400), false).size(), QSize(400, 300));
  EXPECT_EQ(LoadPictureToFit(path, QSize(1600, 1200), false).size(), QSize(1600, 1200));
  const std::string small = dir.write("small.jpg", MakeJpeg(100, 50));
  EXPECT_EQ(LoadPictureToFit(small, QSize(400, 400), false).size(), QSize(100, 50));
  EXPECT_EQ(LoadPictureToFit(small, QSize(400, 400), true).size(), QSize(400, 200));
  const std::string strip = dir.write("strip.jpg", MakeJpeg(1, 500));
  EXPECT_EQ(LoadPictureToFit(strip, QSize(100, 100), false).size(), QSize(1, 100));
}

// The review window keeps its thumbnails as JPEG bytes in memory.
TEST(PictureTest, JpegBytesInMemoryRoundTrip) {
  QImage image(138, 96, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x, y * 2, (x + y) % 256));
  image.setPixel(70, 40, qRgb(255, 0, 0));
  const std::string bytes = EncodeJpeg(image, 92);
  EXPECT_LT(bytes.size(), std::size_t(image.sizeInBytes() / 4));
  const QImage back = DecodeJpeg(bytes);
  ASSERT_EQ(back.size(), image.size());
  for (QPoint p : {QPoint(0, 0), QPoint(100, 90), QPoint(137, 95)}) {
    EXPECT_NEAR(qRed(back.pixel(p)), qRed(image.pixel(p)), 6);
    EXPECT_NEAR(qGreen(back.pixel(p)), qGreen(image.pixel(p)), 6);
    EXPECT_NEAR(qBlue(back.pixel(p)), qBlue(image.pixel(p)), 6);
  }
  EXPECT_THROW(DecodeJpeg(bytes.substr(0, bytes.size() / 2)), Error);
  EXPECT_THROW(DecodeJpeg("not a picture"), Error);
  EXPECT_THROW(DecodeJpeg(""), Error);
}

TEST(PictureTest, DamagedAndHostileFilesFailWithAMessage) {
  TempDir dir;
  const std::string jpeg = MakeJpeg(400, 300);
  struct Case {
    const char* name;
    std::string path;
    const char* message;
  } cases[] = {
      {"truncated", dir.write("cut.jpg", jpeg.substr(0, jpeg.size() / 2)),
       "Premature end of JPEG file"},
      {"header only", dir.write("head.jpg", jpeg.substr(0, 200)), nullptr},
      {"zero bytes", dir.write("zero.jpg", ""), "Empty input file"},
      {"text", dir.write("text.jpg", "just some words\n"), "Not a JPEG, PNG or GIF picture"},
      {"cut PNG", dir.write("cut.png", Png(QImage(50, 50, QImage::Format_RGB32)).substr(0, 60)),
       nullptr},
      {"cut GIF", dir.write("cut.gif", Gif(dir, 30, 30, false).substr(0, 40)), nullptr},
      {"huge", dir.write("huge.jpg", JpegDeclaring(65000, 65000)),
       "Picture too large (65000 x 65000 pixels)"},
      // A panorama's shape, past what a picture may declare.
      {"large", dir.write("large.jpg", JpegDeclaring(60000, 20000)),
       "Picture too large (60000 x 20000 pixels)"},
      {"missing", dir.path() + "gone.jpg", "Cannot open the file: No such file or directory"},
      {"folder", dir.path(), "Not a file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (QSize atLeast : {QSize(), QSize(138, 92)}) {
      try {
        LoadPicture(c.path, atLeast);
        ADD_FAILURE() << "no error";
      } catch (const Error& e) {
        EXPECT_STRNE(e.what(), "");
        if (c.message) {
          EXPECT_STREQ(e.what(), c.message);
        }
      }
    }
  }
  // The header alone is readable, so the size of a huge picture is known without decoding it.
  EXPECT_EQ(PictureSize(dir.path() + "huge.jpg"), QSize(65000, 65000));
  EXPECT_THROW(PictureSize(dir.path() + "text.jpg"), Error);
}

}  // namespace
}  // namespace pictalon
