// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the picture loader's decoders share, inside the loader only: the open file, the messages
// and the size limit.
#include <QSize>

#include <cstdio>
#include <string>
#include <utility>

#include <errno.h>
#include <unistd.h>

#include "Picture.h"

namespace pictalon {

// "Picture too large (w x h pixels)".
[[noreturn]] void TooLarge(QSize size);
// The loader's message for a failed system call: text (with %1 for the reason) in the user's
// language and the system's reason for code, taken before anything else can change errno.
std::string WithReason(const char* text, int code);
// Whether a decoded picture of this size stays within kMaxDecodedPixels.
bool FitsLimit(qint64 width, qint64 height);
// "Cannot read the file: <reason>".
[[noreturn]] void ThrowUnreadable(int code);

// An open file descriptor, closed at the end of its scope unless handed on.
class TFd {
public:
  explicit TFd(int fd) : fd_(fd) {}
  ~TFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  TFd(const TFd&) = delete;
  TFd& operator=(const TFd&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

private:
  int fd_;
};

// A stdio stream over fd (which it then owns), closed at the end of its scope.
class TFile {
public:
  explicit TFile(TFd& fd) : file_(::fdopen(fd.get(), "rb")) {
    if (!file_) ThrowUnreadable(errno);
    fd.release();
    // A camera's photo is read whole: large reads, fewer system calls.
    std::setvbuf(file_, nullptr, _IOFBF, 64 * 1024);
  }
  ~TFile() { std::fclose(file_); }
  TFile(const TFile&) = delete;
  TFile& operator=(const TFile&) = delete;
  FILE* get() const { return file_; }

private:
  FILE* file_;
};

// PNG and GIF, decoded whole (or only their header): the picture and its size. Throw Error.
TDecodedPicture DecodePng(TFd& fd, bool headerOnly);
TDecodedPicture DecodeGif(TFd& fd, bool headerOnly);

}  // namespace pictalon
