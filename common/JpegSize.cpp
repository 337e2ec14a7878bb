// GetJpegSize: the pixel size from a JPEG file's header, read with libjpeg.
//
// The engine asks once per gallery cell, so this reads only what the header needs: small reads
// through a source manager over a file descriptor, and marker segments it does not want (a
// camera's Exif block with its thumbnail is often tens of KiB) are skipped with lseek instead of
// being read through.
#include "Helpers.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <jerror.h>
#include <jpeglib.h>

namespace pictalon {
namespace {

// Enough for SOI and the start of the first segment, or for the usual DQT + SOF + DHT + SOS run
// that follows an Exif block, in one read each.
constexpr std::size_t kReadBlock = 2048;

// libjpeg's own error handler ends the process; this one jumps back to ReadHeaderSize instead.
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
  bool eofSeen;
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
    n = ::read(src->fd, src->buffer, kReadBlock);
  } while (n < 0 && errno == EINTR);
  if (n < 0) ERREXIT(cinfo, JERR_FILE_READ);
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

// Skips within the buffer when it can, otherwise seeks past the rest of the segment; a seek past
// the end of the file shows up as the end of the file at the next read.
void SkipInputData(j_decompress_ptr cinfo, long numBytes) {
  if (numBytes <= 0) return;
  FdSource* src = SourceOf(cinfo);
  const auto wanted = static_cast<unsigned long>(numBytes);
  if (wanted <= src->pub.bytes_in_buffer) {
    src->pub.next_input_byte += wanted;
    src->pub.bytes_in_buffer -= wanted;
    return;
  }
  const auto beyond = static_cast<off_t>(wanted - src->pub.bytes_in_buffer);
  src->pub.next_input_byte = src->buffer;
  src->pub.bytes_in_buffer = 0;
  if (src->eofSeen || ::lseek(src->fd, beyond, SEEK_CUR) < 0) ERREXIT(cinfo, JERR_INPUT_EOF);
}

// Reads the header of the JPEG stream in fd; false when libjpeg reports any error.
// Only trivially destructible objects live here: a longjmp back into this frame skips nothing
// that needs cleaning up.
bool ReadHeaderSize(int fd, std::int32_t& height, std::int32_t& width) {
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  FdSource src{};
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = ErrorExit;
  err.pub.output_message = OutputMessage;
  if (setjmp(err.jump) != 0) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);

  src.fd = fd;
  src.pub.init_source = InitSource;
  src.pub.fill_input_buffer = FillInputBuffer;
  src.pub.skip_input_data = SkipInputData;
  src.pub.resync_to_restart = jpeg_resync_to_restart;
  src.pub.term_source = TermSource;
  cinfo.src = &src.pub;

  jpeg_read_header(&cinfo, TRUE);  // without an image it ends in ErrorExit
  height = static_cast<std::int32_t>(cinfo.image_height);
  width = static_cast<std::int32_t>(cinfo.image_width);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace

void GetJpegSize(const std::string& path, std::int32_t& height, std::int32_t& width) {
  height = -1;
  width = -1;
  // O_NONBLOCK keeps a FIFO from blocking the open; anything but a regular file is refused.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return;
  struct stat st;
  std::int32_t h = -1;
  std::int32_t w = -1;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ReadHeaderSize(fd, h, w)) {
    height = h;
    width = w;
  }
  ::close(fd);
}

}  // namespace pictalon
