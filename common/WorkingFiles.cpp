#include "WorkingFiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "GalleryFile.h"
#include "Helpers.h"
#include "IniDocument.h"
#include "Platform.h"
#include "TextUtil.h"

namespace pictalon {

std::string ImageListFilePath() { return GetUserFilesFolder() + kImageListFileName; }

TImageListLock::TImageListLock(const std::string& listPath, const std::function<void()>& onWait) {
  if (TryAcquire(listPath)) return;
  busy_ = false;
  if (onWait) onWait();
  int result;
  while ((result = ::flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
  }
  // A file system without such locks: the run goes on unguarded rather than not at all.
  if (result != 0) Release();
}

TImageListLock::TImageListLock(const std::string& listPath, TTryOnce) {
  if (!TryAcquire(listPath)) Release();
}

bool TImageListLock::TryAcquire(const std::string& listPath) {
  std::string folder = ExtractFilePath(listPath);
  fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) return true;
  if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return true;
  if (errno != EWOULDBLOCK) {
    Release();  // no such locks here: nothing to wait for
    return true;
  }
  busy_ = true;
  return false;
}

void TImageListLock::Release() {
  if (fd_ < 0) return;
  // Unlocked before closing: a child started meanwhile (an opener, say) shares the descriptor,
  // and closing alone would leave the lock held until that child ends.
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
}

bool FitsImageList(const std::string& path) { return path.find_first_of("\r\n") == std::string::npos; }

bool WriteImageListFile(const std::string& path, const std::vector<std::string>& images) {
  return WriteFileAtomic(path, JoinLinesCrLf(images));
}

bool ReadImageListFile(const std::string& path, std::vector<std::string>& images) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  images = SplitLines(bytes);
  return true;
}

std::string ImageDetailsPathBeside(const std::string& galleryPath) {
  return ChangeFileExt(galleryPath, ".dat");
}

std::string ImageDetailsPathInUserData(const std::string& galleryPath) {
  return GetUserDataFolder() + ExtractFileName(ChangeFileExt(galleryPath, ".dat"));
}

std::string CellStyleIndexPath() { return GetDataFolder() + "cssIndex.dat"; }

std::vector<std::string> CellStyleNames() {
  return TIniDocument(CellStyleIndexPath()).KeyNames("index");
}

std::string CellStyleNameOfFile(const std::string& fileName) {
  if (fileName.empty()) return std::string();
  return TIniDocument(CellStyleIndexPath()).ReadString("xedni", fileName, "");
}

std::string CellStyleFileOfName(const std::string& styleName) {
  return GetDataFolder() + TIniDocument(CellStyleIndexPath()).ReadString("index", styleName, "");
}

std::string CellPreviewPath(int position) {
  return GetDataFolder() + "Cell" + std::to_string(position) + ".jpg";
}

}  // namespace pictalon
