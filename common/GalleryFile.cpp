// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "GalleryFile.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "IniDocument.h"
#include "Platform.h"
#include "TextUtil.h"

namespace pictalon {

namespace {

GalleryNameProvider& NameProvider() {
  static GalleryNameProvider provider;
  return provider;
}

constexpr char kTailSection[] = "Pictalon";
// More than any tail this program writes; a longer file is not read through.
constexpr std::size_t kMaxTail = 64 * 1024;

// The value of key as a whole number within [low, high], or fallback.
std::int32_t IntValue(const TIniDocument& ini, const char* key, std::int32_t low, std::int32_t high,
                      std::int32_t fallback) {
  const std::string text = ini.ReadString(kTailSection, key, "");
  if (text.empty() || text.size() > 9) return fallback;
  std::int32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return fallback;
    value = value * 10 + (c - '0');
  }
  return value >= low && value <= high ? value : fallback;
}

// Reads the first up to limit bytes of the file at path into bytes; false when it is missing or
// cannot be read.
bool ReadGalleryBytes(const std::string& path, std::size_t limit, std::string& bytes) {
  if (!FileExists(path)) return false;
  int fd = OpenRegularFile(path);
  if (fd < 0) return false;
  bytes.resize(limit);
  std::size_t got = 0;
  bool ok = true;
  while (got < limit) {
    ssize_t n = ::read(fd, &bytes[got], limit - got);
    if (n == 0) break;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ok = false;
      break;
    }
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  bytes.resize(got);
  return ok;
}

}  // namespace

std::string GetUserDataFolder() {
  std::string folder = GetUserDataFolderPath();
  ForceDirectories(folder);
  return folder;
}

void SetGalleryNameProvider(GalleryNameProvider provider) { NameProvider() = std::move(provider); }

std::string GalleryTail(const TWebCopySettings& webCopies) {
  if (webCopies == TWebCopySettings{}) return "";
  return std::string("\r\n[") + kTailSection + "]\r\n" +
         "ResizeCopies=" + (webCopies.ResizeCopies ? "1" : "0") + "\r\n" +
         "LongestSide=" + std::to_string(webCopies.LongestSide) + "\r\n";
}

TWebCopySettings ParseGalleryTail(std::string_view tail) {
  TIniDocument ini;
  ini.SetText(tail);
  TWebCopySettings webCopies;
  webCopies.ResizeCopies = IntValue(ini, "ResizeCopies", 0, 1, 0) == 1;
  webCopies.LongestSide = IntValue(ini, "LongestSide", TWebCopySettings::kMinLongestSide,
                                   TWebCopySettings::kMaxLongestSide, webCopies.LongestSide);
  return webCopies;
}

bool WriteGalleryFile(const std::string& path, GallerySettings settings, std::string& writtenPath) {
  GallerySettings ignored{};
  TWebCopySettings kept;
  if (!path.empty()) ReadGalleryFile(path, ignored, kept);
  return WriteGalleryFile(path, settings, kept, writtenPath);
}

bool WriteGalleryFile(const std::string& path, GallerySettings settings,
                      const TWebCopySettings& webCopies, std::string& writtenPath) {
  std::string target = path;
  if (target.empty()) {
    if (!NameProvider()) return false;
    target = NameProvider()(GetUserDataFolder());
    if (target.empty()) return false;
    if (!EndsWithIgnoringCase(target, ".pgs")) target += ".pgs";
  }
  std::string bytes(reinterpret_cast<const char*>(&settings), sizeof settings);
  bytes += GalleryTail(webCopies);
  if (!WriteFileAtomic(target, bytes, /*durable=*/true)) return false;
  writtenPath = target;
  return true;
}

bool ReadGalleryFile(const std::string& path, GallerySettings& settings) {
  // Only the record's size is ever read, whatever the file's length.
  std::string bytes;
  if (!ReadGalleryBytes(path, sizeof settings, bytes)) return false;
  std::memcpy(&settings, bytes.data(), bytes.size());
  return true;
}

bool ReadGalleryFile(const std::string& path, GallerySettings& settings, TWebCopySettings& webCopies) {
  std::string bytes;
  if (!ReadGalleryBytes(path, sizeof settings + kMaxTail, bytes)) return false;
  std::memcpy(&settings, bytes.data(), std::min(bytes.size(), sizeof settings));
  webCopies = bytes.size() > sizeof settings
                  ? ParseGalleryTail(std::string_view(bytes).substr(sizeof settings))
                  : TWebCopySettings{};
  return true;
}

}  // namespace pictalon
