// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The web copy resizer over libjpeg(-turbo). libjpeg reports failures by longjmp: each run of it
// takes all its state by reference in a job, so nothing the jump skips needs cleaning up, and the
// jobs free what libjpeg allocated after it has been left.
#include "WebCopy.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cstdint>
#include <memory>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "Exif.h"
#include "Helpers.h"
#include "JpegDecoding.h"
#include "Platform.h"

namespace pictalon {
namespace {

// A decoded picture may not take more than this (after DCT scaling), nor libjpeg's own buffers.
// Checked before anything is allocated for it.
constexpr std::size_t kMaxPixels = std::size_t(64) << 20;
constexpr long kJpegWorkMemory = 256L << 20;

// Pixels, rows one after another, channels interleaved (1 grey or 3 RGB). The storage only grows
// and is never cleared (every pixel is written before it is read): each worker thread keeps its
// rasters from one picture to the next, as fresh buffers of this size cost page faults that
// threads of one process wait for each other to take.
struct TRaster {
  int width = 0, height = 0, channels = 3;
  std::unique_ptr<unsigned char[]> pixels;
  std::size_t capacity = 0;

  void Reset(int w, int h, int ch) {
    width = w, height = h, channels = ch;
    const std::size_t size = std::size_t(w) * std::size_t(h) * std::size_t(ch);
    if (capacity >= size) return;
    pixels.reset();
    capacity = 0;
    pixels.reset(new unsigned char[size]);
    capacity = size;
  }
  unsigned char* Row(int y) { return &pixels[std::size_t(y) * std::size_t(width) * std::size_t(channels)]; }
  const unsigned char* Row(int y) const {
    return &pixels[std::size_t(y) * std::size_t(width) * std::size_t(channels)];
  }
};

struct TErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  std::string message;
  TNotResized why = TNotResized::NotJpeg;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<TErrorManager*>(cinfo->err);
  char text[JMSG_LENGTH_MAX];
  (*cinfo->err->format_message)(cinfo, text);
  err->message = text;
  const int code = cinfo->err->msg_code;
  err->why = code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER ? TNotResized::CutShort
             : code == JERR_OUT_OF_MEMORY                    ? TNotResized::OutOfMemory
                                                             : TNotResized::NotJpeg;
  std::longjmp(err->jump, 1);
}

// Ends the run of libjpeg as ErrorExit does, for a picture of size that is too large to decode.
[[noreturn]] void RefuseTooLarge(TErrorManager& err, TPixelSize size) {
  err.message = "The picture is too large: " + std::to_string(size.width) + " x " + std::to_string(size.height) +
                " pixels";
  err.why = TNotResized::TooLarge;
  std::longjmp(err.jump, 1);
}

void SilentMessage(j_common_ptr, int) {}

// Warnings are dropped (cameras write many harmless ones), except an early end of the data, at
// the end of the file or at a marker inside the picture's data (a cut file that still ends with
// an end-of-image marker): it would be copied with a grey lower part, while the original shows
// what it holds.
void EndIsAnError(j_common_ptr cinfo, int level) {
  const int code = cinfo->err->msg_code;
  if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) ErrorExit(cinfo);
}

// ---------------------------------------------------------------------------------------------
// Decoding

struct TDecodeJob {
  jpeg_decompress_struct cinfo{};
  TErrorManager err{};
  bool created = false;
  std::int32_t longest = 0;
  int orientation = kUpright;
  TPixelSize stored;
  JOCTET* icc = nullptr;  // libjpeg's malloc
  unsigned iccSize = 0;
  TRaster& raster;
  std::vector<JSAMPLE> cmykRow;

  explicit TDecodeJob(TRaster& into) : raster(into) {}
  TDecodeJob(const TDecodeJob&) = delete;
  TDecodeJob& operator=(const TDecodeJob&) = delete;
  ~TDecodeJob() {
    if (created) jpeg_destroy_decompress(&cinfo);  // left by an exception (no memory for a raster)
    std::free(icc);
  }
};

// Decodes job's source at the smallest eighth whose picture still covers the web copy's size.
bool RunDecode(const std::string& bytes, TDecodeJob& job) {
  job.cinfo.err = jpeg_std_error(&job.err.pub);
  job.err.pub.error_exit = ErrorExit;
  job.err.pub.emit_message = EndIsAnError;
  if (setjmp(job.err.jump) != 0) {
    if (job.created) jpeg_destroy_decompress(&job.cinfo);
    job.created = false;
    return false;
  }
  jpeg_create_decompress(&job.cinfo);
  job.created = true;
  job.cinfo.mem->max_memory_to_use = kJpegWorkMemory;
  jpeg_mem_src(&job.cinfo, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_save_markers(&job.cinfo, JPEG_APP0 + 1, 0xFFFF);
  jpeg_save_markers(&job.cinfo, JPEG_APP0 + 2, 0xFFFF);  // the colour profile
  jpeg_read_header(&job.cinfo, TRUE);
  job.orientation = SavedOrientation(job.cinfo);
  job.stored = {std::int32_t(job.cinfo.image_width), std::int32_t(job.cinfo.image_height)};
  if (std::size_t(job.stored.width) * std::size_t(job.stored.height) > kMaxSourcePixels)
    RefuseTooLarge(job.err, job.stored);
  const bool cmyk = job.cinfo.jpeg_color_space == JCS_CMYK || job.cinfo.jpeg_color_space == JCS_YCCK;
  // A CMYK profile does not describe the RGB pixels written.
  if (!cmyk) jpeg_read_icc_profile(&job.cinfo, &job.icc, &job.iccSize);
  const TPixelSize wanted = FitLongestSide(job.stored, job.longest);  // the sides do not matter here
  job.cinfo.out_color_space = cmyk ? JCS_CMYK : job.cinfo.num_components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  ScaleToCover(job.cinfo, JDIMENSION(wanted.width), JDIMENSION(wanted.height));
  TRaster& r = job.raster;
  if (std::size_t(job.cinfo.output_width) * job.cinfo.output_height > kMaxPixels)
    RefuseTooLarge(job.err, job.stored);
  r.Reset(int(job.cinfo.output_width), int(job.cinfo.output_height),
          job.cinfo.out_color_space == JCS_GRAYSCALE ? 1 : 3);
  if (cmyk) job.cmykRow.resize(std::size_t(r.width) * 4);
  jpeg_start_decompress(&job.cinfo);
  while (job.cinfo.output_scanline < job.cinfo.output_height) {
    const int y = int(job.cinfo.output_scanline);
    JSAMPROW row = cmyk ? job.cmykRow.data() : r.Row(y);
    jpeg_read_scanlines(&job.cinfo, &row, 1);
    if (!cmyk) continue;
    unsigned char* out = r.Row(y);
    for (int x = 0; x < r.width; ++x, row += 4, out += 3) CmykToRgb(row, job.cinfo.saw_Adobe_marker, out);
  }
  jpeg_finish_decompress(&job.cinfo);
  jpeg_destroy_decompress(&job.cinfo);
  job.created = false;
  return true;
}

// ---------------------------------------------------------------------------------------------
// Resampling: a separable Lanczos filter with three lobes, widened by the scale when shrinking.

constexpr int kWeightBits = 14;

double Lanczos3(double x) {
  x = std::fabs(x);
  if (x < 1e-8) return 1.0;
  if (x >= 3.0) return 0.0;
  const double px = M_PI * x;
  return 3.0 * std::sin(px) * std::sin(px / 3.0) / (px * px);
}

// For each output position along one axis: the first input position and the fixed-point weights
// of the inputs it mixes (summing to exactly 1 << kWeightBits).
struct TTaps {
  int taps = 0;
  std::vector<int> first;
  std::vector<std::int16_t> weights;  // taps per output position
};

TTaps MakeTaps(int in, int out) {
  TTaps t;
  const double scale = double(in) / out;
  const double support = 3.0 * std::max(scale, 1.0);
  const double stretch = 1.0 / std::max(scale, 1.0);
  t.taps = int(std::ceil(support)) * 2 + 1;
  t.first.resize(std::size_t(out));
  t.weights.assign(std::size_t(out) * std::size_t(t.taps), 0);
  std::vector<double> w(std::size_t(t.taps)), folded(std::size_t(t.taps));
  for (int o = 0; o < out; ++o) {
    const double centre = (o + 0.5) * scale - 0.5;
    const int first = int(std::floor(centre - support)) + 1;
    double sum = 0;
    for (int k = 0; k < t.taps; ++k) sum += w[std::size_t(k)] = Lanczos3((first + k - centre) * stretch);
    // Inputs beyond the edges take the edge's weight, so the edge is not darkened.
    std::fill(folded.begin(), folded.end(), 0.0);
    const int lo = std::clamp(first, 0, in - 1), hi = std::clamp(first + t.taps - 1, 0, in - 1);
    for (int k = 0; k < t.taps; ++k) folded[std::size_t(std::clamp(first + k, 0, in - 1) - lo)] += w[std::size_t(k)] / sum;
    t.first[std::size_t(o)] = lo;
    int total = 0, biggest = 0;
    std::int16_t* out16 = &t.weights[std::size_t(o) * std::size_t(t.taps)];
    for (int k = 0; k <= hi - lo && k < t.taps; ++k) {
      out16[k] = std::int16_t(std::lround(folded[std::size_t(k)] * (1 << kWeightBits)));
      total += out16[k];
      if (out16[k] > out16[biggest]) biggest = k;
    }
    out16[biggest] = std::int16_t(out16[biggest] + ((1 << kWeightBits) - total));  // rounding
  }
  return t;
}

unsigned char Clamp8(int v) {
  v = (v + (1 << (kWeightBits - 1))) >> kWeightBits;
  return static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v);
}

// r resampled to width x height (r itself when it has that size already): across each row into
// wide first, then down each column into out.
const TRaster& Resize(const TRaster& r, int width, int height, TRaster& wide, TRaster& out) {
  if (r.width == width && r.height == height) return r;
  const int ch = r.channels;
  const TTaps across = MakeTaps(r.width, width), down = MakeTaps(r.height, height);
  wide.Reset(width, r.height, ch);
  for (int y = 0; y < r.height; ++y) {
    const unsigned char* in = r.Row(y);
    unsigned char* row = wide.Row(y);
    for (int x = 0; x < width; ++x) {
      const int first = across.first[std::size_t(x)];
      const int n = std::min(across.taps, r.width - first);
      const std::int16_t* w = &across.weights[std::size_t(x) * std::size_t(across.taps)];
      int acc[3] = {0, 0, 0};
      for (int k = 0; k < n; ++k) {
        const unsigned char* p = in + std::size_t(first + k) * std::size_t(ch);
        for (int c = 0; c < ch; ++c) acc[c] += w[k] * p[c];
      }
      for (int c = 0; c < ch; ++c) row[std::size_t(x) * std::size_t(ch) + std::size_t(c)] = Clamp8(acc[c]);
    }
  }
  out.Reset(width, height, ch);
  const std::size_t rowSize = std::size_t(width) * std::size_t(ch);
  std::vector<int> acc(rowSize);
  for (int y = 0; y < height; ++y) {
    const int first = down.first[std::size_t(y)];
    const int n = std::min(down.taps, r.height - first);
    const std::int16_t* w = &down.weights[std::size_t(y) * std::size_t(down.taps)];
    std::fill(acc.begin(), acc.end(), 0);
    for (int k = 0; k < n; ++k) {
      const int weight = w[k];
      if (weight == 0) continue;
      const unsigned char* in = wide.Row(first + k);
      for (std::size_t i = 0; i < rowSize; ++i) acc[i] += weight * in[i];
    }
    unsigned char* row = out.Row(y);
    for (std::size_t i = 0; i < rowSize; ++i) row[i] = Clamp8(acc[i]);
  }
  return out;
}

// ---------------------------------------------------------------------------------------------
// Turning upright

// r turned as orientation says (r itself when it stands upright): each pixel of out is taken from
// the stored position it shows.
const TRaster& Upright(const TRaster& r, int orientation, TRaster& out) {
  if (orientation < 2 || orientation > 8) return r;
  const bool swapped = SidesSwapped(orientation);
  out.Reset(swapped ? r.height : r.width, swapped ? r.width : r.height, r.channels);
  const int W = r.width, H = r.height, ch = r.channels;
  for (int y = 0; y < out.height; ++y) {
    unsigned char* o = out.Row(y);
    for (int x = 0; x < out.width; ++x, o += ch) {
      int sx = x, sy = y;
      switch (orientation) {
        case 2: sx = W - 1 - x; break;
        case 3: sx = W - 1 - x, sy = H - 1 - y; break;
        case 4: sy = H - 1 - y; break;
        case 5: sx = y, sy = x; break;
        case 6: sx = y, sy = H - 1 - x; break;
        case 7: sx = W - 1 - y, sy = H - 1 - x; break;
        case 8: sx = W - 1 - y, sy = x; break;
      }
      std::memcpy(o, r.Row(sy) + std::size_t(sx) * std::size_t(ch), std::size_t(ch));
    }
  }
  return out;
}

// ---------------------------------------------------------------------------------------------
// Encoding

struct TEncodeJob {
  jpeg_compress_struct cinfo{};
  TErrorManager err{};
  bool created = false;
  unsigned char* buffer = nullptr;  // libjpeg's malloc
  unsigned long size = 0;
};

bool RunEncode(const TRaster& r, const JOCTET* icc, unsigned iccSize, TEncodeJob& job) {
  job.cinfo.err = jpeg_std_error(&job.err.pub);
  job.err.pub.error_exit = ErrorExit;
  job.err.pub.emit_message = SilentMessage;
  if (setjmp(job.err.jump) != 0) {
    if (job.created) jpeg_destroy_compress(&job.cinfo);
    return false;
  }
  jpeg_create_compress(&job.cinfo);
  job.created = true;
  jpeg_mem_dest(&job.cinfo, &job.buffer, &job.size);
  job.cinfo.image_width = JDIMENSION(r.width);
  job.cinfo.image_height = JDIMENSION(r.height);
  job.cinfo.input_components = r.channels;
  job.cinfo.in_color_space = r.channels == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&job.cinfo);
  jpeg_set_quality(&job.cinfo, kWebCopyQuality, TRUE);
  jpeg_start_compress(&job.cinfo, TRUE);
  if (icc && iccSize > 0) jpeg_write_icc_profile(&job.cinfo, icc, iccSize);
  while (job.cinfo.next_scanline < job.cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(r.Row(int(job.cinfo.next_scanline)));
    jpeg_write_scanlines(&job.cinfo, &row, 1);
  }
  jpeg_finish_compress(&job.cinfo);
  jpeg_destroy_compress(&job.cinfo);
  return true;
}

// r as JPEG bytes; empty when libjpeg failed (out of memory).
std::string Encode(const TRaster& r, const JOCTET* icc, unsigned iccSize) {
  TEncodeJob job;
  const bool ok = RunEncode(r, icc, iccSize, job);
  std::string bytes;
  if (ok) bytes.assign(reinterpret_cast<const char*>(job.buffer), job.size);
  std::free(job.buffer);
  return bytes;
}

// One worker thread's rasters, kept from picture to picture.
struct TScratch {
  TRaster decoded, wide, resized, upright, cell;
};

TScratch& Scratch() {
  thread_local TScratch scratch;
  return scratch;
}

// Writes bytes to path unless path is source itself; the reason, naming path, on failure.
bool WriteCopy(const std::string& source, const std::string& path, const std::string& bytes, std::string& error) {
  if (IsOwnSource(source, path)) {
    error = "Cannot write " + path + ": it is the original picture";
    return false;
  }
  if (bytes.empty()) {
    error = "Cannot make " + path + ": out of memory";
    return false;
  }
  if (ReplaceFileAtomic(path, bytes, &error)) return true;
  error = "Cannot write " + path + ": " + error;
  return false;
}

// Decodes bytes into job.raster and returns the web copy, resized and upright (one of the scratch
// rasters); nullptr when they cannot be decoded (job.err.message says why). The colour profile
// stays in job.
const TRaster* Shape(const std::string& bytes, std::int32_t longest, TDecodeJob& job, TPixelSize& shown) {
  job.longest = longest;
  if (!RunDecode(bytes, job)) return nullptr;
  shown = job.stored;
  if (SidesSwapped(job.orientation)) std::swap(shown.width, shown.height);
  const TPixelSize copy = FitLongestSide(job.stored, longest);
  TScratch& s = Scratch();
  return &Upright(Resize(job.raster, copy.width, copy.height, s.wide, s.resized), job.orientation, s.upright);
}

}  // namespace

TPixelSize FitLongestSide(TPixelSize size, std::int32_t longest) {
  const std::int32_t side = std::max(size.width, size.height);
  if (side <= longest || longest <= 0) return size;
  const auto scaled = [&](std::int32_t v) {
    return std::max<std::int32_t>(1, std::int32_t(std::lround(double(v) * longest / side)));
  };
  return {scaled(size.width), scaled(size.height)};
}

TPixelSize ShrinkTo(TPixelSize size, std::int32_t width, std::int32_t height) {
  if (size.empty()) return {};
  if (width > 0) {
    if (width >= size.width) return {};
    return {width, std::max<std::int32_t>(1, std::int32_t(std::lround(double(size.height) * width / size.width)))};
  }
  if (height <= 0 || height >= size.height) return {};
  return {std::max<std::int32_t>(1, std::int32_t(std::lround(double(size.width) * height / size.height))), height};
}

TPixelSize CellPictureSize(const GallerySettings& settings, TPixelSize shown, TPixelSize copy) {
  const std::int32_t thumb = settings.ThumbSize.get();
  if (thumb <= 0 || thumb > 100000 || shown.empty()) return {};
  switch (settings.ScalingMode) {
    case 0: {  // the page shows a share of the picture's width, the height following
      const std::int64_t width = std::int64_t(shown.width) * thumb / 100;
      return ShrinkTo(copy, std::int32_t(std::min<std::int64_t>(2 * width, INT32_MAX)), 0);
    }
    case 1: return ShrinkTo(copy, 0, 2 * thumb);
    case 2: return ShrinkTo(copy, 2 * thumb, 0);
    default: return {};  // no size given: the page shows the web copy as it is
  }
}

TWebCopyResult MakeWebCopy(const std::string& source, std::int32_t longest, const std::string& copyPath,
                           const std::function<TPixelSize(TPixelSize, TPixelSize)>& cellFor,
                           const std::string& cellPath) {
  TWebCopyResult result;
  try {
    std::string bytes;
    if (!ReadWholeFile(source, bytes)) {
      result.error = std::string("Cannot read ") + source + ": " + std::strerror(errno);
      return result;
    }
    TDecodeJob job(Scratch().decoded);
    const TRaster* copy = Shape(bytes, longest, job, result.shown);
    if (!copy) {
      result.why = job.err.why;
      result.error = job.err.message;
      return result;
    }
    bytes.clear();
    bytes.shrink_to_fit();
    result.decoded = true;
    result.why = TNotResized::None;
    result.copy = {copy->width, copy->height};
    if (!WriteCopy(source, copyPath, Encode(*copy, job.icc, job.iccSize), result.error)) return result;
    const TPixelSize cell = cellFor ? cellFor(result.shown, result.copy) : TPixelSize{};
    if (cell.empty()) return result;
    TScratch& scratch = Scratch();
    const std::string cellBytes =
        Encode(Resize(*copy, cell.width, cell.height, scratch.wide, scratch.cell), job.icc, job.iccSize);
    if (!WriteCopy(source, cellPath, cellBytes, result.error)) return result;
    result.cell = cell;
  } catch (const std::bad_alloc&) {  // a raster or a buffer
    if (!result.decoded) result.why = TNotResized::OutOfMemory;
    result.error = result.decoded ? "Cannot make the web copy of " + source + ": out of memory" : "Out of memory";
  } catch (const std::exception& e) {
    result.error = e.what();
  }
  return result;
}

void ReleaseWebCopyScratch() { Scratch() = TScratch{}; }

std::size_t WebCopyWorkMemory(TPixelSize stored, std::int32_t longest) {
  const TPixelSize copy = FitLongestSide(stored, longest);
  // The smallest eighth that covers the copy, as ScaleToCover picks it (libjpeg rounds up).
  std::size_t decoded = std::size_t(stored.width) * std::size_t(stored.height);
  for (std::size_t n = 1; n <= 8; ++n) {
    const std::size_t w = (std::size_t(stored.width) * n + 7) / 8, h = (std::size_t(stored.height) * n + 7) / 8;
    if (w >= std::size_t(copy.width) && h >= std::size_t(copy.height)) {
      decoded = w * h;
      break;
    }
  }
  decoded = std::min(decoded, kMaxPixels);
  const std::size_t copyPixels = std::size_t(copy.width) * std::size_t(copy.height);
  // The decoded raster, the rows resized across (copy's width, decoded height: at most decoded),
  // the resized and the upright copy, at three bytes a pixel; the file and the encoded copy on top.
  return 3 * (2 * decoded + 2 * copyPixels) + (std::size_t(16) << 20);
}

}  // namespace pictalon
