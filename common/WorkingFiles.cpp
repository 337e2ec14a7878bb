// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
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
std::string PhotoTitlesFilePath() { return GetUserFilesFolder() + kPhotoTitlesFileName; }

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

namespace {

constexpr const char* kBaseStyleSheet = "pictalon.css";

// The user's own cell style sheets that the shipped index does not name, by file name. Only in
// the installed layout: a portable copy's own folder is the shipped one, and its index says all.
std::vector<std::string> OwnCellStyleFiles(const TIniDocument& index) {
  std::vector<std::string> own;
  if (GetUserCellStylesFolder() == GetDataFolder()) return own;
  for (std::string& name : ListFilesWithExtension(GetUserCellStylesFolder(), ".css")) {
    if (!SameTextIgnoringCase(name, kBaseStyleSheet) && index.ReadString("xedni", name, "").empty())
      own.push_back(std::move(name));
  }
  return own;
}

// The user's own sheet of that name (letter case ignored), as its file spells it; empty if none.
std::string OwnCellStyleFile(const TIniDocument& index, const std::string& name) {
  for (std::string& own : OwnCellStyleFiles(index))
    if (SameTextIgnoringCase(own, name)) return own;
  return std::string();
}

}  // namespace

std::vector<std::string> CellStyleNames(std::size_t* shipped) {
  TIniDocument index(CellStyleIndexPath());
  std::vector<std::string> names = index.KeyNames("index");
  if (shipped) *shipped = names.size();
  for (std::string& own : OwnCellStyleFiles(index)) names.push_back(std::move(own));
  return names;
}

std::string CellStyleNameOfFile(const std::string& fileName) {
  if (fileName.empty()) return std::string();
  TIniDocument index(CellStyleIndexPath());
  std::string name = index.ReadString("xedni", fileName, "");
  return name.empty() ? OwnCellStyleFile(index, fileName) : name;
}

std::string CellStyleFileOfName(const std::string& styleName) {
  TIniDocument index(CellStyleIndexPath());
  std::string file = index.ReadString("index", styleName, "");
  if (!file.empty()) return FindUserFirst(GetUserCellStylesFolder(), GetDataFolder(), file);
  std::string own = OwnCellStyleFile(index, styleName);
  return own.empty() ? GetDataFolder() : GetUserCellStylesFolder() + own;
}

std::string FindCellStyleSheet(const std::string& path) {
  if (path.empty()) return path;
  std::string folder = ExtractFilePath(path);
  if (!folder.empty() && folder != GetDataFolder() && folder != GetUserCellStylesFolder()) return path;
  std::string found = FindUserFirst(GetUserCellStylesFolder(), GetDataFolder(), ExtractFileName(path));
  return folder.empty() || FileExists(found) ? found : path;
}

std::string CellPreviewPath(int position) {
  return GetDataFolder() + "Cell" + std::to_string(position) + ".jpg";
}

}  // namespace pictalon
