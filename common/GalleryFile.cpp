#include "GalleryFile.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "Platform.h"
#include "TextUtil.h"

namespace pictalon {

namespace {

GalleryNameProvider& NameProvider() {
  static GalleryNameProvider provider;
  return provider;
}

}  // namespace

std::string GetUserDataFolder() {
  std::string folder = GetUserDataFolderPath();
  ForceDirectories(folder);
  return folder;
}

void SetGalleryNameProvider(GalleryNameProvider provider) { NameProvider() = std::move(provider); }

bool WriteGalleryFile(const std::string& path, GallerySettings settings, std::string& writtenPath) {
  std::string target = path;
  if (target.empty()) {
    if (!NameProvider()) return false;
    target = NameProvider()(GetUserDataFolder());
    if (target.empty()) return false;
    if (!EndsWithIgnoringCase(target, ".pgs")) target += ".pgs";
  }
  std::string_view bytes(reinterpret_cast<const char*>(&settings), sizeof settings);
  if (!WriteFileAtomic(target, bytes, /*durable=*/true)) return false;
  writtenPath = target;
  return true;
}

bool ReadGalleryFile(const std::string& path, GallerySettings& settings) {
  if (!FileExists(path)) return false;
  int fd = OpenRegularFile(path);
  if (fd < 0) return false;
  // Only the record's size is ever read, whatever the file's length.
  char buffer[sizeof(GallerySettings)];
  std::size_t got = 0;
  bool ok = true;
  while (got < sizeof buffer) {
    ssize_t n = ::read(fd, buffer + got, sizeof buffer - got);
    if (n == 0) break;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ok = false;
      break;
    }
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  if (ok) std::memcpy(&settings, buffer, got);
  return ok;
}

}  // namespace pictalon
