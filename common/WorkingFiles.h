// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small files that carry data between the desktop program and the engine: the image list
// file, the image details file and the cell style index.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace pictalon {

constexpr const char* kImageListFileName = "~imgList.dat";
constexpr const char* kPhotoTitlesFileName = "~imgTitles.dat";

// The user files folder + "~imgList.dat": beside the program in the portable layout, in the
// user's own folder in the installed one; the front ends and the engine all find it here.
std::string ImageListFilePath();
// Beside it, "~imgTitles.dat": the photos' own titles of the run (see WritePhotoTitlesFile).
std::string PhotoTitlesFilePath();

// Held by a run from writing the image list file to deleting it, so that two runs sharing the
// file (the desktop program and pictgen, or two pictgen) never read or delete each other's list:
// the second waits for the first. The lock is a record lock on a lock file beside the list, which
// an NFS home passes between machines too; the run deletes that file as it lets go, so none is
// left behind. The operating system drops the lock when a run ends in any way, a crash included
// (the empty lock file then stays and the next run reuses it).
class TImageListLock {
public:
  // Blocks until no other run holds the lock of the list at listPath; onWait is called once
  // before that when another run holds it. Where the lock cannot be had at all (the folder is
  // missing or closed for writing, or its file system has no such locks) nothing is held and
  // the run goes on unguarded.
  explicit TImageListLock(const std::string& listPath, const std::function<void()>& onWait = {});
  // Takes the lock only when it is free at once and never waits: a window that must keep
  // repainting tries again later while Busy() says another run holds it.
  struct TTryOnce {};
  TImageListLock(const std::string& listPath, TTryOnce);
  ~TImageListLock() { Release(); }
  TImageListLock(const TImageListLock&) = delete;
  TImageListLock& operator=(const TImageListLock&) = delete;

  bool Held() const { return fd_ >= 0; }
  bool Busy() const { return busy_; }
  // The lock file: the list's path + kLockFileSuffix.
  const std::string& LockFilePath() const { return lockPath_; }
  void Release();

  static constexpr const char* kLockFileSuffix = ".lock";

private:
  enum class TState { Held, Busy, Unguarded };
  // Opens the lock file and locks it with command (F_OFD_SETLK or F_OFD_SETLKW).
  TState Take(int command);

  std::string lockPath_;
  int fd_ = -1;
  bool busy_ = false;
};

// One entry per line, each line ended by CR LF, written atomically; false when it cannot be written.
// The image list file holds one path per line: a path with a line break would turn into two
// wrong entries there, so such a file cannot be part of a gallery.
bool FitsImageList(const std::string& path);

bool WriteImageListFile(const std::string& path, const std::vector<std::string>& images);
// False when the file cannot be opened or read; otherwise its lines, taken unchanged.
bool ReadImageListFile(const std::string& path, std::vector<std::string>& images);

// The image details file the engine reads: beside the gallery file, extension ".dat".
std::string ImageDetailsPathBeside(const std::string& galleryPath);
// The image details file the desktop program keeps: user data folder + gallery name with ".dat".
std::string ImageDetailsPathInUserData(const std::string& galleryPath);

// The cell styles: the shipped ones, named by the shipped index (data folder + "cssIndex.dat"),
// and in the installed layout the user's own sheets ("*.css" of the user's cell styles folder),
// named by their file names. A user's sheet with the name of a shipped one stands in for it.
std::string CellStyleIndexPath();
// Display names of the cell styles: the keys of section "index" in file order, then the user's
// own sheets that the index does not name.
// shipped, when given, receives how many of them the shipped index names (they come first; only
// those have a preview picture).
std::vector<std::string> CellStyleNames(std::size_t* shipped = nullptr);
// The display name of the sheet called fileName: value of key fileName in section "xedni", or
// the name of the user's own sheet; empty for an empty name or one that is neither.
std::string CellStyleNameOfFile(const std::string& fileName);
// The sheet of the style called styleName: the file the index names, the user's own first (see
// FindUserFirst), or the user's own sheet of that name; the data folder alone when none.
std::string CellStyleFileOfName(const std::string& styleName);
// The sheet to read for the cell style sheet a gallery names at path: a sheet of the shipped or
// the user's cell styles folder, or a bare file name, is looked for by name, the user's own
// first; any other path is taken as it is.
std::string FindCellStyleSheet(const std::string& path);
// Data folder + "Cell" + position + ".jpg" for the style at position (counting from 1).
std::string CellPreviewPath(int position);

}  // namespace pictalon
