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

TGalleryTail TGalleryTail::ForNewGallery() {
  TGalleryTail tail;
  tail.PageStyle = TPageStyle::Modern;
  tail.PhotoCaptions = true;
  return tail;
}

std::string GalleryTail(const TGalleryTail& tail) {
  if (tail == TGalleryTail{}) return "";
  const TGalleryTail defaults;
  std::string text = std::string("\r\n[") + kTailSection + "]\r\n" +
                     "ResizeCopies=" + (tail.ResizeCopies ? "1" : "0") + "\r\n" +
                     "LongestSide=" + std::to_string(tail.LongestSide) + "\r\n";
  auto line = [&text](const char* key, const std::string& value) {
    text += std::string(key) + "=" + value + "\r\n";
  };
  if (tail.PageStyle != defaults.PageStyle) line("PageStyle", "modern");
  if (tail.PublishTo != defaults.PublishTo) line("PublishTo", tail.PublishTo);
  if (tail.PhotoCaptions != defaults.PhotoCaptions) line("PhotoCaptions", tail.PhotoCaptions ? "1" : "0");
  if (tail.Order != defaults.Order) line("Order", "date");
  for (const auto& [key, value] : tail.Other) line(key.c_str(), value);
  return text;
}

TGalleryTail ParseGalleryTail(std::string_view text) {
  TIniDocument ini;
  ini.SetText(text);
  TGalleryTail tail;
  tail.ResizeCopies = IntValue(ini, "ResizeCopies", 0, 1, 0) == 1;
  tail.LongestSide = IntValue(ini, "LongestSide", TGalleryTail::kMinLongestSide,
                              TGalleryTail::kMaxLongestSide, tail.LongestSide);
  tail.PageStyle = SameTextIgnoringCase(ini.ReadString(kTailSection, "PageStyle", ""), "modern")
                       ? TPageStyle::Modern
                       : TPageStyle::Classic;
  // The address is one line of text; a control character in it cannot be typed, only damaged.
  tail.PublishTo = ini.ReadString(kTailSection, "PublishTo", "");
  if (std::any_of(tail.PublishTo.begin(), tail.PublishTo.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 32; }))
    tail.PublishTo.clear();
  tail.PhotoCaptions = IntValue(ini, "PhotoCaptions", 0, 1, 0) == 1;
  tail.Order = SameTextIgnoringCase(ini.ReadString(kTailSection, "Order", ""), "date")
                   ? TImageOrder::ByDate
                   : TImageOrder::ByName;
  static constexpr const char* kKnown[] = {"ResizeCopies", "LongestSide", "PageStyle",
                                           "PublishTo",    "PhotoCaptions", "Order"};
  for (const std::string& key : ini.KeyNames(kTailSection)) {
    const bool known = std::any_of(std::begin(kKnown), std::end(kKnown),
                                   [&key](const char* k) { return SameTextIgnoringCase(key, k); });
    if (!known && !key.empty()) tail.Other.emplace_back(key, ini.ReadString(kTailSection, key, ""));
  }
  return tail;
}

bool WriteGalleryFile(const std::string& path, GallerySettings settings, std::string& writtenPath) {
  GallerySettings ignored{};
  TGalleryTail kept;
  if (!path.empty()) ReadGalleryFile(path, ignored, kept);
  return WriteGalleryFile(path, settings, kept, writtenPath);
}

bool WriteGalleryFile(const std::string& path, GallerySettings settings,
                      const TGalleryTail& tail, std::string& writtenPath) {
  std::string target = path;
  if (target.empty()) {
    if (!NameProvider()) return false;
    target = NameProvider()(GetUserDataFolder());
    if (target.empty()) return false;
    if (!EndsWithIgnoringCase(target, ".pgs")) target += ".pgs";
  }
  std::string bytes(reinterpret_cast<const char*>(&settings), sizeof settings);
  bytes += GalleryTail(tail);
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

bool ReadGalleryFile(const std::string& path, GallerySettings& settings, TGalleryTail& tail) {
  std::string bytes;
  if (!ReadGalleryBytes(path, sizeof settings + kMaxTail, bytes)) return false;
  std::memcpy(&settings, bytes.data(), std::min(bytes.size(), sizeof settings));
  tail = bytes.size() > sizeof settings
             ? ParseGalleryTail(std::string_view(bytes).substr(sizeof settings))
             : TGalleryTail{};
  return true;
}

}  // namespace pictalon
