#include "WorkingFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "GalleryFile.h"
#include "Helpers.h"
#include "IniDocument.h"
#include "Platform.h"
#include "TextUtil.h"

namespace pictalon {

std::string ImageListFilePath() { return GetUserFilesFolder() + kImageListFileName; }

TImageListLock::TImageListLock(const std::string& listPath, const std::function<void()>& onWait)
    : lockPath_(listPath + kLockFileSuffix) {
  if (Take(F_OFD_SETLK) != TState::Busy) return;
  if (onWait) onWait();
  // Anything but the lock (a file system without such locks): the run goes on unguarded rather
  // than not at all.
  Take(F_OFD_SETLKW);
}

TImageListLock::TImageListLock(const std::string& listPath, TTryOnce)
    : lockPath_(listPath + kLockFileSuffix) {
  busy_ = Take(F_OFD_SETLK) == TState::Busy;
}

TImageListLock::TState TImageListLock::Take(int command) {
  for (;;) {
    fd_ = ::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) return TState::Unguarded;
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    int result;
    while ((result = ::fcntl(fd_, command, &whole)) != 0 && errno == EINTR) {
    }
    if (result != 0) {
      bool busy = errno == EAGAIN || errno == EACCES;
      ::close(fd_);
      fd_ = -1;
      return busy ? TState::Busy : TState::Unguarded;
    }
    // The run before deletes the file as it lets go: a lock taken on the file it deleted is no
    // lock at all, so the lock must be on the file that the path names now.
    struct stat held, named;
    if (::fstat(fd_, &held) == 0 && ::stat(lockPath_.c_str(), &named) == 0 &&
        held.st_dev == named.st_dev && held.st_ino == named.st_ino)
      return TState::Held;
    ::close(fd_);
    fd_ = -1;
  }
}

void TImageListLock::Release() {
  if (fd_ < 0) return;
  // Deleted while still held, so no other run can take a lock on a file about to go. Unlocked
  // before closing: a child started meanwhile (an opener, say) shares the open file, and closing
  // alone would leave the lock held until that child ends.
  ::unlink(lockPath_.c_str());
  struct flock whole {};
  whole.l_type = F_UNLCK;
  whole.l_whence = SEEK_SET;
  ::fcntl(fd_, F_OFD_SETLK, &whole);
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
