// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's one picture-loading module, over libjpeg, libpng and giflib (the format is told
// by the file's content, not its name). A decoder failure never ends the process: it becomes an
// Error carrying the decoder's message. Every function may run on any thread at the same time.
// A JPEG is turned upright as its Exif orientation says, and every size given or asked for is the
// upright one, so that no window shows a camera's portrait photo on its side.
#include <QImage>
#include <QSize>

#include <functional>
#include <string>
#include <string_view>

namespace pictalon {

// Decodes the picture at path. With a valid atLeast (no side below 0), a JPEG is decoded at the
// smallest DCT scale whose picture is still at least atLeast in both directions (at most full
// size); other formats, and a JPEG without atLeast, are decoded whole. The result is not resampled. Throws Error.
QImage LoadPicture(const std::string& path, QSize atLeast = {});

// The full pixel size, read from the header only. Throws Error.
QSize PictureSize(const std::string& path);

// The picture scaled smoothly to fit box with its proportions kept; a smaller picture is enlarged
// only when enlarge is set. Decodes no more than it shows; fullSize, when given, receives the
// size the header declares. Throws Error.
QImage LoadPictureToFit(const std::string& path, QSize box, bool enlarge, QSize* fullSize = nullptr);

// A decoded picture with the full size its header declares.
struct TDecodedPicture {
  QImage image;
  QSize fullSize;
};

// As LoadPicture, with the atLeast size chosen from the full size once the header has been read,
// so that one opening of the file serves both. atLeastFor is called once for every format (after
// the decoding for those decoded whole) and must not throw. Throws Error.
TDecodedPicture LoadPictureFor(const std::string& path,
                               const std::function<QSize(QSize fullSize)>& atLeastFor);

// The small preview a camera stores in a JPEG's Exif block (the second directory's JPEG), upright,
// and the photo's full upright size from its header; the image is null when there is none or it
// cannot be decoded. Reads the header only. Throws Error when the photo itself cannot be read.
struct TEmbeddedPreview {
  QImage image;
  QSize fullSize;
};
TEmbeddedPreview LoadEmbeddedPreview(const std::string& path);

// A picture as JPEG bytes at the given quality, colour at full resolution: many small pictures
// kept in memory take a tenth of their size. Alpha is dropped. Throws Error.
std::string EncodeJpeg(const QImage& image, int quality);
// Decodes JPEG bytes in memory whole. Throws Error.
QImage DecodeJpeg(std::string_view bytes);

// Limits that keep a hostile or mistaken file from taking the memory: a picture declaring more
// than kMaxPicturePixels, or whose decoded form (after DCT scaling) would hold more than
// kMaxDecodedPixels, fails with "Picture too large".
constexpr qint64 kMaxPicturePixels = qint64(1) << 30;
constexpr qint64 kMaxDecodedPixels = qint64(32) << 20;

}  // namespace pictalon
