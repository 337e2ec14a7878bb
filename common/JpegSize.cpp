// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// GetJpegSize: the pixel size from a JPEG file's header, read with libjpeg.
//
// The engine asks once per gallery cell, so this reads only what the header needs: small reads
// through a source manager over a file descriptor, and marker segments it does not want (a
// camera's Exif block with its thumbnail is often tens of KiB) are skipped by moving the read
// position instead of being read through. Reads are positioned (pread), so a skip costs no system
// call of its own; with the open and the close, a camera picture takes four. One decompressor is
// kept and reset between files, as creating one costs about as much as a system call.
//
// The size is the one the picture is shown at: a camera stores a portrait photo lying on its side
// with an Exif Orientation that tells viewers to turn it, so for orientations 5 to 8 the sides are
// exchanged. The orientation usually sits near the start of the Exif block, inside the first read;
// the block is read further only as far as its first directory lies, so the answer is the one the
// decoders (web copies, windows) take from the whole block.
#include "Helpers.h"

#include <csetjmp>
#include <cstddef>
#include <cstring>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <mutex>
#include <utility>

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <jerror.h>
#include <jpeglib.h>

#include "Exif.h"

namespace pictalon {
namespace {

// The most of an Exif block read for its orientation: the whole of the largest segment there is.
constexpr std::size_t kExifLook = 0xFFFF - 2;

// Enough for a whole JFIF header, or for the DQT + SOF + DHT + SOS run that follows a camera's
// Exif block, in one read.
constexpr std::size_t kReadBlock = 1024;

// libjpeg's own error handler ends the process; this one jumps back to the caller's setjmp.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void OutputMessage(j_common_ptr) {}

struct FdSource {
  jpeg_source_mgr pub;
  int fd;
  off_t position;  // of the next read
  bool eofSeen;
  int orientation;  // from the first Exif block, kUpright until one is found
  JOCTET buffer[kReadBlock];
};

FdSource* SourceOf(j_decompress_ptr cinfo) { return reinterpret_cast<FdSource*>(cinfo->src); }

void InitSource(j_decompress_ptr) {}

void TermSource(j_decompress_ptr) {}

// Refills the buffer with the next block. At the end of the file it supplies a fake EOI marker,
// as libjpeg's own sources do, so a header cut short ends in "no image" instead of a hang; the
// header never needs more than that one marker from beyond the end, so a second request there
// is an error rather than another fake marker.
boolean FillInputBuffer(j_decompress_ptr cinfo) {
  FdSource* src = SourceOf(cinfo);
  ssize_t n;
  do {
    n = ::pread(src->fd, src->buffer, kReadBlock, src->position);
  } while (n < 0 && errno == EINTR);
  // A folder (EISDIR), a pipe or a terminal (ESPIPE) fails here: only seekable files are read.
  if (n < 0) ERREXIT(cinfo, JERR_FILE_READ);
  src->position += n;
  if (n == 0) {
    if (src->eofSeen) ERREXIT(cinfo, JERR_INPUT_EOF);
    src->eofSeen = true;
    WARNMS(cinfo, JWRN_JPEG_EOF);
    src->buffer[0] = 0xFF;
    src->buffer[1] = JPEG_EOI;
    n = 2;
  }
  src->pub.next_input_byte = src->buffer;
  src->pub.bytes_in_buffer = static_cast<std::size_t>(n);
  return TRUE;
}

// Skips within the buffer when it can, otherwise moves the read position past the rest of the
// segment; a position past the end of the file shows up as the end of the file at the next read.
void SkipInputData(j_decompress_ptr cinfo, long numBytes) {
  if (numBytes <= 0) return;
  FdSource* src = SourceOf(cinfo);
  const auto wanted = static_cast<unsigned long>(numBytes);
  if (wanted <= src->pub.bytes_in_buffer) {
    src->pub.next_input_byte += wanted;
    src->pub.bytes_in_buffer -= wanted;
    return;
  }
  // libjpeg skips at most one segment (under 64 KiB) at a time: the position cannot overflow.
  const auto beyond = static_cast<off_t>(wanted - src->pub.bytes_in_buffer);
  src->pub.next_input_byte = src->buffer;
  src->pub.bytes_in_buffer = 0;
  if (src->eofSeen) ERREXIT(cinfo, JERR_INPUT_EOF);
  src->position += beyond;
}

// Copies the next n bytes of the stream to out, refilling the buffer as needed.
void ReadBytes(j_decompress_ptr cinfo, unsigned char* out, std::size_t n) {
  FdSource* src = SourceOf(cinfo);
  while (n > 0) {
    if (src->pub.bytes_in_buffer == 0) FillInputBuffer(cinfo);
    const std::size_t part = n < src->pub.bytes_in_buffer ? n : src->pub.bytes_in_buffer;
    std::memcpy(out, src->pub.next_input_byte, part);
    src->pub.next_input_byte += part;
    src->pub.bytes_in_buffer -= part;
    out += part;
    n -= part;
  }
}

// libjpeg's handler for APP1 segments: reads as much of the segment as the orientation needs
// (usually only what the buffer already holds) and skips the rest.
boolean ReadApp1(j_decompress_ptr cinfo) {
  FdSource* src = SourceOf(cinfo);
  unsigned char length[2];
  ReadBytes(cinfo, length, 2);
  const long size = long(length[0] << 8 | length[1]) - 2;
  if (size <= 0) return TRUE;
  const auto segment = static_cast<std::size_t>(size);
  const std::size_t limit = segment < kExifLook ? segment : kExifLook;
  unsigned char payload[kExifLook];
  std::size_t have = 0;
  // What the buffer holds now costs nothing; more is read only when the directory goes on.
  std::size_t want = src->pub.bytes_in_buffer;
  for (;;) {
    if (want > limit) want = limit;
    if (want > have) ReadBytes(cinfo, payload + have, want - have), have = want;
    const int orientation = ExifOrientation(payload, have, &want);
    if (want == 0 || want > limit || have == limit) {
      if (want == 0 && src->orientation == kUpright) src->orientation = orientation;
      break;
    }
  }
  SkipInputData(cinfo, static_cast<long>(segment - have));
  return TRUE;
}

struct Decompressor {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
};

// Creates d's decompressor with the silent error handler; false when libjpeg cannot (no memory).
bool Create(Decompressor& d) {
  d.cinfo = {};
  d.err = {};
  d.cinfo.err = jpeg_std_error(&d.err.pub);
  d.err.pub.error_exit = ErrorExit;
  d.err.pub.output_message = OutputMessage;
  if (setjmp(d.err.jump) != 0) {
    jpeg_destroy_decompress(&d.cinfo);
    return false;
  }
  jpeg_create_decompress(&d.cinfo);
  jpeg_set_marker_processor(&d.cinfo, JPEG_APP0 + 1, ReadApp1);
  return true;
}

// Reads the header of the JPEG stream in fd; false when libjpeg reports any error. Either way
// the decompressor is left reset, ready for the next file.
// Only trivially destructible objects live here: a longjmp back into this frame skips nothing
// that needs cleaning up.
bool ReadHeaderSize(Decompressor& d, int fd, std::int32_t& height, std::int32_t& width) {
  FdSource src;  // the buffer needs no clearing
  src.pub.next_input_byte = nullptr;
  src.pub.bytes_in_buffer = 0;
  src.pub.init_source = InitSource;
  src.pub.fill_input_buffer = FillInputBuffer;
  src.pub.skip_input_data = SkipInputData;
  src.pub.resync_to_restart = jpeg_resync_to_restart;
  src.pub.term_source = TermSource;
  src.fd = fd;
  src.position = 0;
  src.eofSeen = false;
  src.orientation = kUpright;
  d.cinfo.src = &src.pub;
  if (setjmp(d.err.jump) != 0) {
    jpeg_abort_decompress(&d.cinfo);
    d.cinfo.src = nullptr;
    return false;
  }
  jpeg_read_header(&d.cinfo, TRUE);  // without an image it ends in ErrorExit
  height = static_cast<std::int32_t>(d.cinfo.image_height);
  width = static_cast<std::int32_t>(d.cinfo.image_width);
  if (SidesSwapped(src.orientation)) std::swap(height, width);
  jpeg_abort_decompress(&d.cinfo);
  d.cinfo.src = nullptr;
  return true;
}

// The decompressor that calls share, destroyed when the program ends or the library that holds
// it is unloaded. A call that finds it busy (another thread) makes its own.
class SharedDecompressor {
public:
  SharedDecompressor() : ready_(Create(d_)) {}
  ~SharedDecompressor() {
    if (ready_) jpeg_destroy_decompress(&d_.cinfo);
  }
  SharedDecompressor(const SharedDecompressor&) = delete;
  SharedDecompressor& operator=(const SharedDecompressor&) = delete;

  bool Read(int fd, std::int32_t& height, std::int32_t& width) {
    std::unique_lock<std::mutex> lock(mutex_, std::try_to_lock);
    if (lock.owns_lock() && ready_) return ReadHeaderSize(d_, fd, height, width);
    Decompressor own;
    if (!Create(own)) return false;
    const bool ok = ReadHeaderSize(own, fd, height, width);
    jpeg_destroy_decompress(&own.cinfo);
    return ok;
  }

private:
  std::mutex mutex_;
  Decompressor d_;
  bool ready_;
};

}  // namespace

void GetJpegSize(const std::string& path, std::int32_t& height, std::int32_t& width) {
  height = -1;
  width = -1;
  // O_NONBLOCK keeps a FIFO from blocking the open (its first read then fails).
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return;
  std::int32_t h = -1;
  std::int32_t w = -1;
  static SharedDecompressor decompressor;
  if (decompressor.Read(fd, h, w)) {
    height = h;
    width = w;
  }
  ::close(fd);
}

}  // namespace pictalon
