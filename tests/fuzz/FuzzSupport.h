// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the fuzz targets: a failed property stops the run with a message, and readers that
// take a path get the input through one scratch file per process.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

// Like assert, but also in release builds, and with the failed condition named.
#define FUZZ_CHECK(condition)                                                         \
  do {                                                                                \
    if (!(condition)) {                                                               \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                   \
    }                                                                                 \
  } while (0)

namespace pictalon::fuzz {

// A file in the temporary folder, rewritten for every input and removed when the process ends.
// The process id in the name keeps parallel fuzzing jobs apart.
class ScratchFile {
public:
  explicit ScratchFile(const char* name) {
    const char* tmp = std::getenv("TMPDIR");
    path_ = std::string(tmp && *tmp ? tmp : "/tmp") + "/pictalon-fuzz-" +
            std::to_string(::getpid()) + "-" + name;
  }
  ~ScratchFile() { ::unlink(path_.c_str()); }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const std::string& path() const { return path_; }

  // Replaces the file's contents with the bytes; aborts when that fails, since every later
  // result would be meaningless.
  const std::string& Write(const void* data, std::size_t size) const {
    int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    FUZZ_CHECK(fd >= 0);
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
      ssize_t n = ::write(fd, p, size);
      FUZZ_CHECK(n > 0);
      p += n;
      size -= static_cast<std::size_t>(n);
    }
    ::close(fd);
    return path_;
  }

private:
  std::string path_;
};

}  // namespace pictalon::fuzz
