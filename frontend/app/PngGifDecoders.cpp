// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The picture loader's PNG decoder (libpng) and GIF decoder (giflib).
//
// libpng reports failures by longjmp: its decoding runs in a function that takes all its state by
// reference, so nothing it changes lives in a local variable of the frame that calls setjmp; the
// message is turned into an Error only after the library has been left.
#include <QCoreApplication>

#include <csetjmp>
#include <cstring>
#include <vector>

#include <gif_lib.h>
#include <png.h>

#include "Error.h"
#include "PictureDecoding.h"

namespace pictalon {

namespace {

// ---------------------------------------------------------------------------------------------
// PNG

struct TPngJob {
  std::string message;
  QSize fullSize;
  bool headerOnly = false;
  bool tooLarge = false;
  QImage image;
  std::vector<png_bytep> rows;
};

[[noreturn]] void PngError(png_structp png, png_const_charp text) {
  auto* job = static_cast<TPngJob*>(png_get_error_ptr(png));
  job->message = text ? text : QT_TRANSLATE_NOOP("Picture", "PNG error");
  std::longjmp(png_jmpbuf(png), 1);
}

void PngWarning(png_structp, png_const_charp) {}

bool RunPng(FILE* file, png_structp png, png_infop info, TPngJob& job) {
  if (setjmp(png_jmpbuf(png)) != 0) return false;
  png_init_io(png, file);
  png_set_user_limits(png, 1000000, 1000000);
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int depth = 0, colourType = 0;
  png_get_IHDR(png, info, &width, &height, &depth, &colourType, nullptr, nullptr, nullptr);
  job.fullSize = QSize(static_cast<int>(width), static_cast<int>(height));
  if (job.headerOnly) return true;
  if (!FitsLimit(width, height)) {
    job.tooLarge = true;
    return false;
  }
  const bool alpha = (colourType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
  png_set_bgr(png);
  if (!alpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
#else
  if (alpha) png_set_swap_alpha(png);
  else png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
#endif
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != std::size_t(width) * 4)
    png_error(png, QT_TRANSLATE_NOOP("Picture", "Unsupported PNG layout"));
  job.image = QImage(static_cast<int>(width), static_cast<int>(height),
                     alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  if (job.image.isNull()) {
    job.tooLarge = true;
    return false;
  }
  job.rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) job.rows[y] = job.image.scanLine(static_cast<int>(y));
  png_read_image(png, job.rows.data());
  return true;
}

}  // namespace

TDecodedPicture DecodePng(TFd& fd, bool headerOnly) {
  TFile file(fd);
  TPngJob job;
  job.headerOnly = headerOnly;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job, PngError, PngWarning);
  if (!png) throw Error(QCoreApplication::translate("Picture", "Out of memory").toStdString());
  png_infop info = png_create_info_struct(png);
  const bool ok = info && RunPng(file.get(), png, info, job);
  png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
  if (!ok) {
    if (job.tooLarge) TooLarge(job.fullSize);
    // libpng's messages stay as it wrote them; the loader's own are looked up.
    throw Error(job.message.empty()
                    ? QCoreApplication::translate("Picture", "Out of memory").toStdString()
                    : QCoreApplication::translate("Picture", job.message.c_str()).toStdString());
  }
  return {std::move(job.image), job.fullSize};
}

namespace {

// ---------------------------------------------------------------------------------------------
// GIF: the first image of the file, placed on the logical screen; the rest is transparent.

[[noreturn]] void GifFail(int code) {
  const char* text = GifErrorString(code);
  throw Error(text ? text : QCoreApplication::translate("Picture", "GIF error").toStdString());
}

struct TGif {
  GifFileType* file = nullptr;
  ~TGif() {
    int code = 0;
    if (file) DGifCloseFile(file, &code);
  }
};

void ReadGifImage(GifFileType* gif, QImage& canvas, int transparent) {
  const GifImageDesc& desc = gif->Image;
  const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
  if (!map)
    throw Error(QCoreApplication::translate("Picture", "GIF file has no colour map").toStdString());
  const int left = desc.Left, top = desc.Top, width = desc.Width, height = desc.Height;
  std::vector<GifPixelType> line(static_cast<std::size_t>(std::max(width, 1)));
  // Interlaced images come in four passes: every 8th row from 0, from 4, every 4th from 2, every
  // 2nd from 1.
  static const int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
  const int passes = desc.Interlace ? 4 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    const int start = desc.Interlace ? kStart[pass] : 0, step = desc.Interlace ? kStep[pass] : 1;
    for (int y = start; y < height; y += step) {
      if (DGifGetLine(gif, line.data(), width) == GIF_ERROR) GifFail(gif->Error);
      if (top + y >= canvas.height()) continue;
      auto* out = reinterpret_cast<QRgb*>(canvas.scanLine(top + y));
      for (int x = 0; x < width && left + x < canvas.width(); ++x) {
        const int index = line[std::size_t(x)];
        if (index == transparent || index >= map->ColorCount) continue;
        const GifColorType& c = map->Colors[index];
        out[left + x] = qRgb(c.Red, c.Green, c.Blue);
      }
    }
  }
}

}  // namespace

TDecodedPicture DecodeGif(TFd& fd, bool headerOnly) {
  int code = 0;
  TGif gif;
  gif.file = DGifOpenFileHandle(fd.release(), &code);  // giflib closes it, even when it fails
  if (!gif.file) GifFail(code);
  QSize screen(gif.file->SWidth, gif.file->SHeight);
  if (headerOnly) return {QImage(), screen};
  int transparent = -1;
  for (;;) {
    GifRecordType type;
    if (DGifGetRecordType(gif.file, &type) == GIF_ERROR) GifFail(gif.file->Error);
    if (type == TERMINATE_RECORD_TYPE)
      throw Error(QCoreApplication::translate("Picture", "GIF file holds no image").toStdString());
    if (type == EXTENSION_RECORD_TYPE) {
      int extCode = 0;
      GifByteType* ext = nullptr;
      if (DGifGetExtension(gif.file, &extCode, &ext) == GIF_ERROR) GifFail(gif.file->Error);
      if (extCode == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4) {
        GraphicsControlBlock gcb;
        if (DGifExtensionToGCB(ext[0], ext + 1, &gcb) == GIF_OK) transparent = gcb.TransparentColor;
      }
      while (ext) {
        if (DGifGetExtensionNext(gif.file, &ext) == GIF_ERROR) GifFail(gif.file->Error);
      }
      continue;
    }
    if (type != IMAGE_DESC_RECORD_TYPE) continue;
    if (DGifGetImageDesc(gif.file) == GIF_ERROR) GifFail(gif.file->Error);
    const GifImageDesc& desc = gif.file->Image;
    // A screen too small for its image grows to hold it, as viewers do.
    const qint64 width = std::max<qint64>(screen.width(), qint64(desc.Left) + desc.Width);
    const qint64 height = std::max<qint64>(screen.height(), qint64(desc.Top) + desc.Height);
    if (width == 0 || height == 0)
      throw Error(QCoreApplication::translate("Picture", "Picture has no pixels").toStdString());
    if (!FitsLimit(width, height)) TooLarge(QSize(int(width), int(height)));
    QImage canvas(int(width), int(height), QImage::Format_ARGB32);
    if (canvas.isNull()) TooLarge(QSize(int(width), int(height)));
    canvas.fill(Qt::transparent);
    ReadGifImage(gif.file, canvas, transparent);
    return {std::move(canvas), QSize(int(width), int(height))};
  }
}

}  // namespace pictalon
