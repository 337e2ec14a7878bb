// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The picture loader: JPEG through libjpeg with DCT scaling, PNG through libpng, GIF through giflib.
//
// The decoders report failures by longjmp (libjpeg, libpng) or by return codes (giflib). Each
// decoder runs in a function that takes all its state by reference, so nothing it changes lives in
// a local variable of the frame that calls setjmp; the message is turned into an Error only after
// the C library has been left.
#include "Picture.h"

#include <QCoreApplication>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include <errno.h>
#include <unistd.h>

#include <gif_lib.h>
#include <jerror.h>
#include <jpeglib.h>
#include <png.h>

#include <QTransform>

#include "Error.h"
#include "PictureDecoding.h"
#include "Exif.h"
#include "JpegDecoding.h"
#include "Platform.h"

namespace pictalon {

[[noreturn]] void TooLarge(QSize size) {
  throw Error(QCoreApplication::translate("Picture", "Picture too large (%1 x %2 pixels)")
                  .arg(size.width())
                  .arg(size.height())
                  .toStdString());
}

// The loader's message for a failed system call: text (with %1 for the reason) in the user's
// language and the system's reason for code, taken before anything else can change errno.
std::string WithReason(const char* text, int code) {
  const QString reason = QString::fromStdString(std::strerror(code));
  return QCoreApplication::translate("Picture", text).arg(reason).toStdString();
}

bool FitsLimit(qint64 width, qint64 height) { return width * height <= kMaxDecodedPixels; }

void ThrowUnreadable(int code) {
  throw Error(WithReason(QT_TRANSLATE_NOOP("Picture", "Cannot read the file: %1"), code));
}

namespace {

// libjpeg's own buffers (a progressive picture keeps all its coefficients) may not grow past this.
constexpr long kJpegWorkMemory = 192L << 20;

enum class TFormat { Jpeg, Png, Gif, Unknown };

TFormat FormatOf(const unsigned char* head, ssize_t n) {
  if (n >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) return TFormat::Jpeg;
  static const unsigned char kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (n >= 8 && std::memcmp(head, kPng, 8) == 0) return TFormat::Png;
  if (n >= 6 && (std::memcmp(head, "GIF87a", 6) == 0 || std::memcmp(head, "GIF89a", 6) == 0))
    return TFormat::Gif;
  return TFormat::Unknown;
}


// ---------------------------------------------------------------------------------------------
// JPEG

struct TJpegJob {
  jpeg_decompress_struct cinfo{};
  struct {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
  } err{};
  bool created = false;
  bool endOfFile = false;  // the data ended early: libjpeg would fill the rest with grey
  std::string message;
  QSize fullSize;  // as shown, upright
  int orientation = kUpright;
  const std::function<QSize(QSize)>* atLeastFor = nullptr;  // none: the header only
  std::string* thumbnail = nullptr;  // given: receives the Exif preview's bytes
  std::string_view bytes;  // the source when there is no file
  bool tooLarge = false;
  QImage image;
  std::vector<JSAMPLE> cmykRow;
};

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo) {
  auto* job = reinterpret_cast<TJpegJob*>(cinfo->client_data);
  char text[JMSG_LENGTH_MAX];
  (*cinfo->err->format_message)(cinfo, text);
  job->message = text;
  std::longjmp(job->err.jump, 1);
}

// Warnings are dropped (cameras write many harmless ones), except the early end of the data: a cut
// file is a damaged picture that the user should hear about.
void JpegEmitMessage(j_common_ptr cinfo, int level) {
  if (level >= 0 || cinfo->err->msg_code != JWRN_JPEG_EOF) return;
  auto* job = reinterpret_cast<TJpegJob*>(cinfo->client_data);
  if (job->endOfFile) return;
  char text[JMSG_LENGTH_MAX];
  (*cinfo->err->format_message)(cinfo, text);
  job->message = text;
  job->endOfFile = true;
}

void CmykToRgb32(const JSAMPLE* cmyk, QRgb* out, JDIMENSION width, bool adobe) {
  unsigned char rgb[3];
  for (JDIMENSION x = 0; x < width; ++x, cmyk += 4) {
    CmykToRgb(cmyk, adobe, rgb);
    out[x] = qRgb(rgb[0], rgb[1], rgb[2]);
  }
}

// The decoded picture turned the way its camera's orientation says it is to be shown.
QImage Upright(const QImage& image, int orientation) {
  // Qt's rotation by a quarter turn is clockwise on screen and copies pixels exactly.
  const QTransform quarter = QTransform().rotate(90);
  switch (orientation) {
    case 2: return image.mirrored(true, false);
    case 3: return image.mirrored(true, true);
    case 4: return image.mirrored(false, true);
    case 5: return image.transformed(quarter).mirrored(true, false);
    case 6: return image.transformed(quarter);
    case 7: return image.transformed(quarter).mirrored(false, true);
    case 8: return image.transformed(QTransform().rotate(270));
    default: return image;
  }
}

// Runs libjpeg over file; false with job.message set when it failed.
bool RunJpeg(FILE* file, TJpegJob& job) {
  job.cinfo.err = jpeg_std_error(&job.err.pub);
  job.err.pub.error_exit = JpegErrorExit;
  job.err.pub.emit_message = JpegEmitMessage;
  job.cinfo.client_data = &job;
  if (setjmp(job.err.jump) != 0) {
    if (job.created) jpeg_destroy_decompress(&job.cinfo);
    return false;
  }
  jpeg_create_decompress(&job.cinfo);
  job.created = true;
  job.cinfo.mem->max_memory_to_use = kJpegWorkMemory;
  if (file)
    jpeg_stdio_src(&job.cinfo, file);
  else
    jpeg_mem_src(&job.cinfo, reinterpret_cast<const unsigned char*>(job.bytes.data()),
                 static_cast<unsigned long>(job.bytes.size()));
  jpeg_save_markers(&job.cinfo, JPEG_APP0 + 1, 0xFFFF);
  jpeg_read_header(&job.cinfo, TRUE);
  job.orientation = SavedOrientation(job.cinfo);
  job.fullSize = QSize(static_cast<int>(job.cinfo.image_width),
                       static_cast<int>(job.cinfo.image_height));
  if (SidesSwapped(job.orientation)) job.fullSize.transpose();
  if (job.thumbnail) job.thumbnail->assign(SavedExifThumbnail(job.cinfo));
  if (!job.atLeastFor) {
    jpeg_destroy_decompress(&job.cinfo);
    return true;
  }
  if (qint64(job.cinfo.image_width) * job.cinfo.image_height > kMaxPicturePixels) {
    job.tooLarge = true;
    jpeg_destroy_decompress(&job.cinfo);
    return false;
  }
  QSize atLeast = (*job.atLeastFor)(job.fullSize);
  if (SidesSwapped(job.orientation)) atLeast.transpose();  // the decoder works on the stored picture

  const bool cmyk = job.cinfo.jpeg_color_space == JCS_CMYK || job.cinfo.jpeg_color_space == JCS_YCCK;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
  job.cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
#else
  job.cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_XRGB;
#endif
  // No wanted size: the whole picture.
  if (atLeast.isValid())
    ScaleToCover(job.cinfo, JDIMENSION(std::max(0, atLeast.width())), JDIMENSION(std::max(0, atLeast.height())));
  else
    jpeg_calc_output_dimensions(&job.cinfo);
  const JDIMENSION width = job.cinfo.output_width;
  const JDIMENSION height = job.cinfo.output_height;
  if (!FitsLimit(width, height)) {
    job.tooLarge = true;
    jpeg_destroy_decompress(&job.cinfo);
    return false;
  }
  job.image = QImage(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
  if (job.image.isNull()) {
    job.tooLarge = true;
    jpeg_destroy_decompress(&job.cinfo);
    return false;
  }
  if (cmyk) job.cmykRow.resize(std::size_t(width) * 4);

  jpeg_start_decompress(&job.cinfo);
  while (job.cinfo.output_scanline < height && !job.endOfFile) {
    const JDIMENSION y = job.cinfo.output_scanline;
    JSAMPROW row = cmyk ? job.cmykRow.data() : job.image.scanLine(static_cast<int>(y));
    if (jpeg_read_scanlines(&job.cinfo, &row, 1) != 1) break;
    if (cmyk) {
      CmykToRgb32(row, reinterpret_cast<QRgb*>(job.image.scanLine(static_cast<int>(y))), width,
                  job.cinfo.saw_Adobe_marker);
    }
  }
  // A cut file ends here with its message; the rest of a whole one (markers after the image) is
  // not needed.
  jpeg_destroy_decompress(&job.cinfo);
  return !job.endOfFile;
}

// Runs the job over file (none: over job.bytes); failures become Errors.
TDecodedPicture FinishJpeg(FILE* file, TJpegJob& job) {
  if (!RunJpeg(file, job)) {
    if (job.tooLarge) TooLarge(job.fullSize);
    // libjpeg's own limit on its buffers shows as a want of backing store.
    if (job.err.pub.msg_code == JERR_NO_BACKING_STORE || job.err.pub.msg_code == JERR_OUT_OF_MEMORY)
      TooLarge(job.fullSize);
    throw Error(job.message);
  }
  return {Upright(job.image, job.orientation), job.fullSize};
}

// The Exif preview's bytes and the photo's orientation, when wanted, of a header-only read.
struct TPreviewWanted {
  std::string bytes;
  int orientation = kUpright;
};

TDecodedPicture DecodeJpegFile(TFd& fd, const std::function<QSize(QSize)>* atLeastFor,
                               TPreviewWanted* preview) {
  TFile file(fd);
  TJpegJob job;
  job.atLeastFor = atLeastFor;
  if (preview) job.thumbnail = &preview->bytes;
  TDecodedPicture picture = FinishJpeg(file.get(), job);
  if (preview) preview->orientation = job.orientation;
  return picture;
}

struct TJpegWriteJob {
  jpeg_compress_struct cinfo{};
  struct {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
  } err{};
  bool created = false;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
};

[[noreturn]] void JpegWriteErrorExit(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<TJpegWriteJob*>(cinfo->client_data)->err.jump, 1);
}

// Compresses image (RGB32) into job.buffer; false when libjpeg failed (out of memory).
bool RunJpegWrite(const QImage& image, int quality, TJpegWriteJob& job) {
  job.cinfo.err = jpeg_std_error(&job.err.pub);
  job.err.pub.error_exit = JpegWriteErrorExit;
  job.cinfo.client_data = &job;
  if (setjmp(job.err.jump) != 0) {
    if (job.created) jpeg_destroy_compress(&job.cinfo);
    return false;
  }
  jpeg_create_compress(&job.cinfo);
  job.created = true;
  jpeg_mem_dest(&job.cinfo, &job.buffer, &job.size);
  job.cinfo.image_width = static_cast<JDIMENSION>(image.width());
  job.cinfo.image_height = static_cast<JDIMENSION>(image.height());
  job.cinfo.input_components = 4;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
  job.cinfo.in_color_space = JCS_EXT_BGRX;
#else
  job.cinfo.in_color_space = JCS_EXT_XRGB;
#endif
  jpeg_set_defaults(&job.cinfo);
  jpeg_set_quality(&job.cinfo, quality, TRUE);
  // Full colour resolution: small pictures show halved colour as fringes.
  for (int c = 0; c < job.cinfo.num_components; ++c)
    job.cinfo.comp_info[c].h_samp_factor = job.cinfo.comp_info[c].v_samp_factor = 1;
  jpeg_start_compress(&job.cinfo, TRUE);
  while (job.cinfo.next_scanline < job.cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(image.constScanLine(static_cast<int>(job.cinfo.next_scanline)));
    jpeg_write_scanlines(&job.cinfo, &row, 1);
  }
  jpeg_finish_compress(&job.cinfo);
  jpeg_destroy_compress(&job.cinfo);
  return true;
}

// ---------------------------------------------------------------------------------------------

TDecodedPicture Decode(const std::string& path, const std::function<QSize(QSize)>* atLeastFor,
                       bool headerOnly, TPreviewWanted* preview = nullptr) {
  errno = 0;
  TFd fd(OpenRegularFile(path));
  if (fd.get() < 0) {
    const int code = errno;
    if (!DirectoryExists(path) && code != 0) {
      throw Error(WithReason(QT_TRANSLATE_NOOP("Picture", "Cannot open the file: %1"), code));
    }
    throw Error(QCoreApplication::translate("Picture", "Not a file").toStdString());
  }
  unsigned char head[8];
  ssize_t n;
  do {
    n = ::pread(fd.get(), head, sizeof head, 0);
  } while (n < 0 && errno == EINTR);
  if (n < 0)
    throw Error(WithReason(QT_TRANSLATE_NOOP("Picture", "Cannot read the file: %1"), errno));
  if (n == 0) throw Error(QCoreApplication::translate("Picture", "Empty input file").toStdString());
  const TFormat format = FormatOf(head, n);
  switch (format) {
    case TFormat::Jpeg:
      return DecodeJpegFile(fd, headerOnly ? nullptr : atLeastFor, preview);
    case TFormat::Png:
    case TFormat::Gif: {
      TDecodedPicture picture = format == TFormat::Png ? DecodePng(fd, headerOnly) : DecodeGif(fd, headerOnly);
      // Decoded whole whatever is wanted; the caller still learns the size as with a JPEG.
      if (!headerOnly && atLeastFor) (*atLeastFor)(picture.fullSize);
      return picture;
    }
    case TFormat::Unknown:
      break;
  }
  throw Error(
      QCoreApplication::translate("Picture", "Not a JPEG, PNG or GIF picture").toStdString());
}

}  // namespace

TDecodedPicture LoadPictureFor(const std::string& path,
                               const std::function<QSize(QSize)>& atLeastFor) {
  TDecodedPicture picture = Decode(path, &atLeastFor, false);
  if (picture.image.isNull())
    throw Error(QCoreApplication::translate("Picture", "Picture has no pixels").toStdString());
  return picture;
}

QImage LoadPicture(const std::string& path, QSize atLeast) {
  return LoadPictureFor(path, [atLeast](QSize) { return atLeast; }).image;
}

QSize PictureSize(const std::string& path) {
  return Decode(path, nullptr, true).fullSize;
}

TEmbeddedPreview LoadEmbeddedPreview(const std::string& path) {
  TPreviewWanted wanted;
  TEmbeddedPreview preview;
  preview.fullSize = Decode(path, nullptr, true, &wanted).fullSize;
  if (wanted.bytes.empty()) return preview;
  try {
    // The camera stores its preview the way it stores the photo: it is turned the same way.
    preview.image = Upright(DecodeJpeg(wanted.bytes), wanted.orientation);
  } catch (const Error&) {
    // A damaged preview is no preview; the photo itself may still be sound.
  }
  return preview;
}

QImage LoadPictureToFit(const std::string& path, QSize box, bool enlarge, QSize* fullSize) {
  auto fit = [&](QSize full) {
    if (!enlarge && full.width() <= box.width() && full.height() <= box.height()) return full;
    return full.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
  };
  TDecodedPicture picture = LoadPictureFor(path, fit);
  if (fullSize) *fullSize = picture.fullSize;
  const QSize shown = fit(picture.fullSize);
  if (picture.image.size() == shown) return std::move(picture.image);
  return picture.image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

std::string EncodeJpeg(const QImage& image, int quality) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  if (rgb.isNull())
    throw Error(QCoreApplication::translate("Picture", "Out of memory").toStdString());
  TJpegWriteJob job;
  const bool ok = RunJpegWrite(rgb, quality, job);
  std::string bytes;
  if (ok) bytes.assign(reinterpret_cast<const char*>(job.buffer), job.size);
  std::free(job.buffer);
  if (!ok) throw Error(QCoreApplication::translate("Picture", "Out of memory").toStdString());
  return bytes;
}

QImage DecodeJpeg(std::string_view bytes) {
  const std::function<QSize(QSize)> whole = [](QSize) { return QSize(); };
  TJpegJob job;
  job.atLeastFor = &whole;
  job.bytes = bytes;
  return FinishJpeg(nullptr, job).image;
}

}  // namespace pictalon
