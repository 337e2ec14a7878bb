// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "VersionInf.h"

#include <cctype>
#include <cstdint>
#include <cstdio>

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Error.h"
#include "Platform.h"
#include "TextUtil.h"

namespace pictalon {
namespace {

const char kSectionName[] = ".pictalon_version";
const char kNoVersionInfo[] = "No version info in file";
const char kReadError[] = "Error reading version info";

class FileHandle {
public:
  explicit FileHandle(const std::string& path)
      : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)) {}
  ~FileHandle() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  int fd() const { return fd_; }

private:
  int fd_;
};

// Reads exactly size bytes at offset; false on a short read or an error.
bool ReadAt(int fd, std::uint64_t offset, std::size_t size, void* out) {
  auto* p = static_cast<unsigned char*>(out);
  while (size > 0) {
    const ssize_t n = ::pread(fd, p, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    offset += static_cast<std::uint64_t>(n);
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Little-endian fields, read byte by byte so that neither alignment nor the host's byte order
// matters.
std::uint64_t Le(const unsigned char* p, int bytes) {
  std::uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

// true when [offset, offset + size) lies inside a file of fileSize bytes.
bool InsideFile(std::uint64_t offset, std::uint64_t size, std::uint64_t fileSize) {
  return offset <= fileSize && size <= fileSize - offset;
}

// The parts of a section header the reader needs, from either ELF class.
struct SectionHeader {
  std::uint32_t name;
  std::uint32_t type;
  std::uint64_t offset;
  std::uint64_t size;
  std::uint32_t link;
};

constexpr std::uint32_t kShtNobits = 8;
constexpr std::uint32_t kShnXindex = 0xFFFF;

SectionHeader DecodeSectionHeader(const unsigned char* p, bool is64) {
  if (is64) return {std::uint32_t(Le(p, 4)), std::uint32_t(Le(p + 4, 4)), Le(p + 24, 8),
                    Le(p + 32, 8), std::uint32_t(Le(p + 40, 4))};
  return {std::uint32_t(Le(p, 4)), std::uint32_t(Le(p + 4, 4)), Le(p + 16, 4), Le(p + 20, 4),
          std::uint32_t(Le(p + 24, 4))};
}

// The contents of a section, checked against the file's size.
bool ReadSection(int fd, const SectionHeader& sh, std::uint64_t fileSize, std::string& out) {
  if (sh.type == kShtNobits || !InsideFile(sh.offset, sh.size, fileSize)) return false;
  out.assign(static_cast<std::size_t>(sh.size), '\0');
  return ReadAt(fd, sh.offset, out.size(), out.data());
}

enum class SectionResult { kFound, kMissing, kUnreadable };

// Finds the section called name in the ELF file at path (32- or 64-bit, little-endian) by way of
// the section name table. Every offset and count in the file is checked before it is used.
SectionResult ReadElfSection(const std::string& path, const char* name, std::string& out) {
  FileHandle file(path);
  struct stat st;
  if (file.fd() < 0 || ::fstat(file.fd(), &st) != 0 || !S_ISREG(st.st_mode))
    return SectionResult::kUnreadable;
  const auto fileSize = static_cast<std::uint64_t>(st.st_size);

  unsigned char eh[64];
  if (fileSize < 52 || !ReadAt(file.fd(), 0, fileSize < 64 ? 52 : 64, eh))
    return SectionResult::kUnreadable;
  if (eh[0] != 0x7F || eh[1] != 'E' || eh[2] != 'L' || eh[3] != 'F') return SectionResult::kUnreadable;
  if (eh[5] != 1) return SectionResult::kUnreadable;  // only little-endian files
  const bool is64 = eh[4] == 2;
  if (!is64 && eh[4] != 1) return SectionResult::kUnreadable;
  if (is64 && fileSize < 64) return SectionResult::kUnreadable;

  const std::uint64_t shoff = is64 ? Le(eh + 40, 8) : Le(eh + 32, 4);
  const std::uint64_t shentsize = Le(eh + (is64 ? 58 : 46), 2);
  std::uint64_t shnum = Le(eh + (is64 ? 60 : 48), 2);
  std::uint32_t shstrndx = std::uint32_t(Le(eh + (is64 ? 62 : 50), 2));
  const std::uint64_t minEntry = is64 ? 64 : 40;
  if (shoff == 0) return SectionResult::kMissing;  // no section table: no sections at all
  if (shentsize < minEntry || !InsideFile(shoff, shentsize, fileSize))
    return SectionResult::kUnreadable;

  // With very many sections, the count and the name table's index live in section 0.
  unsigned char first[64];
  if (!ReadAt(file.fd(), shoff, minEntry, first)) return SectionResult::kUnreadable;
  const SectionHeader zero = DecodeSectionHeader(first, is64);
  if (shnum == 0) shnum = zero.size;
  if (shstrndx == kShnXindex) shstrndx = zero.link;
  if (shnum == 0 || shnum > fileSize / shentsize || !InsideFile(shoff, shnum * shentsize, fileSize))
    return SectionResult::kUnreadable;
  if (shstrndx == 0 || shstrndx >= shnum) return SectionResult::kUnreadable;

  std::string table(static_cast<std::size_t>(shnum * shentsize), '\0');
  if (!ReadAt(file.fd(), shoff, table.size(), table.data())) return SectionResult::kUnreadable;
  const auto header = [&](std::uint64_t index) {
    return DecodeSectionHeader(
        reinterpret_cast<const unsigned char*>(table.data()) + index * shentsize, is64);
  };

  std::string names;
  if (!ReadSection(file.fd(), header(shstrndx), fileSize, names)) return SectionResult::kUnreadable;
  const std::string wanted(name);
  for (std::uint64_t i = 1; i < shnum; ++i) {
    const SectionHeader sh = header(i);
    // A name is the NUL-terminated text at its offset in the name table.
    if (sh.name >= names.size() || names.find('\0', sh.name) == std::string::npos)
      return SectionResult::kUnreadable;
    if (names.compare(sh.name, wanted.size() + 1, wanted.c_str(), wanted.size() + 1) != 0)
      continue;
    return ReadSection(file.fd(), sh, fileSize, out) ? SectionResult::kFound
                                                     : SectionResult::kUnreadable;
  }
  return SectionResult::kMissing;
}

// The first entry of a translation table: eight hexadecimal digits, language then code page,
// followed by the end or by a space before further entries.
bool ParseTranslation(const std::string& text, unsigned& language, unsigned& codePage) {
  if (text.size() < 8 || (text.size() > 8 && text[8] != ' ')) return false;
  for (std::size_t i = 0; i < 8; ++i)
    if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
  const unsigned long entry = std::stoul(text.substr(0, 8), nullptr, 16);
  language = static_cast<unsigned>(entry >> 16);
  codePage = static_cast<unsigned>(entry & 0xFFFF);
  return true;
}

}  // namespace

void TCustomVersionInfo::SetFileName(const std::string& name) {
  fileName_ = name.empty() ? GetProgramFilePath() : name;
  self_ = name.empty();
}

void TCustomVersionInfo::Load() {
  data_.clear();
  // The running program is read through /proc/self/exe, which opens the very file that runs even
  // after an upgrade has replaced (and so deleted) the one its path named.
  switch (ReadElfSection(self_ ? "/proc/self/exe" : fileName_, kSectionName, data_)) {
    case SectionResult::kFound:
      return;
    case SectionResult::kMissing:
      throw Error(kNoVersionInfo);
    case SectionResult::kUnreadable:
      break;
  }
  data_.clear();
  throw Error(kReadError);
}

bool TCustomVersionInfo::QueryValue(const std::string& name, std::string& value) const {
  // Entries are "name=value\0"; empty entries (padding that sanitizers add) are skipped.
  std::size_t pos = 0;
  while (pos < data_.size()) {
    std::size_t end = data_.find('\0', pos);
    if (end == std::string::npos) end = data_.size();
    const std::size_t eq = data_.find('=', pos);
    if (eq < end && SameTextIgnoringCase(std::string_view(data_).substr(pos, eq - pos), name)) {
      value.assign(data_, eq + 1, end - eq - 1);
      return true;
    }
    pos = end + 1;
  }
  return false;
}

std::string TVersionInfo::FileVersion() {
  Load();
  std::string translation;
  unsigned language = 0;
  unsigned codePage = 0;
  if (!QueryValue("\\VarFileInfo\\Translation", translation) ||
      !ParseTranslation(translation, language, codePage))
    throw Error(kReadError);
  char table[16];
  std::snprintf(table, sizeof table, "%.4x%.4x", language, codePage);
  const std::string prefix = std::string("\\StringFileInfo\\") + table + "\\";

  std::string root;
  if (!QueryValue("\\", root)) throw Error(kReadError);
  std::string version;
  if (QueryValue(prefix + "FileVersion", version) && !version.empty()) return version;
  return std::string();
}

std::string GetProgramFileVersion() {
  TVersionInfo info;
  return info.FileVersion();
}

}  // namespace pictalon
