// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Platform.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <utility>

#include "TextUtil.h"

namespace fs = std::filesystem;

namespace pictalon {

namespace {

std::string& ProgramFolderOverride() {
  static std::string folder;
  return folder;
}

std::optional<TLayout>& LayoutOverride() {
  static std::optional<TLayout> layout;
  return layout;
}

// The layout decided for the program folder, once per program folder.
struct DecidedLayout {
  std::mutex mutex;
  std::optional<TLayout> layout;
};

DecidedLayout& Decided() {
  static DecidedLayout decided;
  return decided;
}

WriteFaultHook& FaultHook() {
  static WriteFaultHook hook;
  return hook;
}

DocumentOpener& Opener() {
  static DocumentOpener opener;
  return opener;
}

std::string ErrnoText(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

// Closes a file descriptor on every path.
struct FdGuard {
  int fd;
  ~FdGuard() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

std::string GetProgramFilePath() {
  // The executable of a running process does not move: one look is enough.
  static const std::string path = [] {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
  }();
  return path;
}

std::string GetProgramFolder() {
  if (!ProgramFolderOverride().empty()) return ProgramFolderOverride();
  std::string folder = ExtractFilePath(GetProgramFilePath());
  return folder.empty() ? std::string(1, kPathDelim) : folder;
}

void OverrideProgramFolder(const std::string& folder) {
  ProgramFolderOverride() = folder.empty() ? folder : IncludeTrailingPathDelim(folder);
  std::lock_guard<std::mutex> lock(Decided().mutex);
  Decided().layout.reset();  // another folder: its layout is decided afresh
}

namespace {

// Whether this user may create files in folder. Root passes every permission check, so for root
// a folder without any write permission bit counts as closed for writing: that is how an
// administrator marks a program folder read-only, and it keeps the decision testable as root.
bool FolderWritable(const std::string& folder) {
  if (::access(folder.c_str(), W_OK) != 0) return false;
  struct stat st;
  if (::geteuid() == 0) return ::stat(folder.c_str(), &st) == 0 && (st.st_mode & 0222) != 0;
  return true;
}

TLayout DetectLayout(const std::string& programFolder) {
  if (FileExists(programFolder + kInstalledLayoutMarker)) return TLayout::Installed;
  return FolderWritable(programFolder) ? TLayout::Portable : TLayout::Installed;
}

bool IsAbsolute(const char* path) { return path && path[0] == kPathDelim; }

// $XDG_DATA_HOME, or $HOME/.local/share; relative values are ignored, as the base directory
// rules ask. Ends with '/'.
std::string XdgDataHome() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (IsAbsolute(xdg)) return IncludeTrailingPathDelim(xdg);
  const char* home = std::getenv("HOME");
  if (!IsAbsolute(home)) {
    const passwd* entry = ::getpwuid(::getuid());
    home = entry ? entry->pw_dir : nullptr;
  }
  if (!IsAbsolute(home)) return std::string();
  return IncludeTrailingPathDelim(home) + ".local/share/";
}

}  // namespace

TLayout GetLayout() {
  if (LayoutOverride()) return *LayoutOverride();
  // Decided once, so a run never switches layouts half-way.
  DecidedLayout& decided = Decided();
  std::lock_guard<std::mutex> lock(decided.mutex);
  if (!decided.layout) decided.layout = DetectLayout(GetProgramFolder());
  return *decided.layout;
}

void OverrideLayout(std::optional<TLayout> layout) { LayoutOverride() = layout; }

std::string GetUserFilesFolder() {
  if (GetLayout() == TLayout::Portable) return GetProgramFolder();
  std::string dataHome = XdgDataHome();
  // Without any home the program folder is all there is; writing there then fails with a message.
  return dataHome.empty() ? GetProgramFolder() : dataHome + "pictalon/";
}

std::string GetUserDataFolderPath() {
  if (GetLayout() == TLayout::Portable) return GetProgramFolder() + "Data/User/";
  return GetUserFilesFolder() + "User/";
}

std::string IncludeTrailingPathDelim(const std::string& path) {
  if (!path.empty() && path.back() == kPathDelim) return path;
  return path + kPathDelim;
}

std::string ExtractFileName(const std::string& path) {
  std::size_t slash = path.rfind(kPathDelim);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtractFilePath(const std::string& path) {
  std::size_t slash = path.rfind(kPathDelim);
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
  std::size_t nameStart = path.rfind(kPathDelim);
  nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
  std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return path + ext;
  return path.substr(0, dot) + ext;
}

bool FileExists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ForceDirectories(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  fs::create_directories(path, ec);
  return DirectoryExists(path);
}

std::vector<std::string> ListFilesWithExtension(const std::string& folder, std::string_view ext) {
  std::vector<std::string> names;
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? "." : folder, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (name.empty() || name[0] == '.' || !EndsWithIgnoringCase(name, ext)) continue;
    std::error_code typeError;
    if (it->is_directory(typeError)) continue;
    names.push_back(std::move(name));
  }
  SortIgnoringCase(names);
  return names;
}

void SortIgnoringCase(std::vector<std::string>& names) {
  // Ties are broken by bytes so that lists are stable; the folded names are made once, not in
  // every comparison.
  std::vector<std::pair<std::string, std::string>> keyed;
  keyed.reserve(names.size());
  for (std::string& name : names) keyed.emplace_back(AsciiLower(name), std::move(name));
  std::sort(keyed.begin(), keyed.end());
  for (std::size_t i = 0; i < keyed.size(); ++i) names[i] = std::move(keyed[i].second);
}

std::string FindFileIgnoringCase(const std::string& path) {
  if (FileExists(path)) return path;
  std::string folder = ExtractFilePath(path);
  std::string wanted = ExtractFileName(path);
  if (wanted.empty()) return path;
  for (const std::string& name : ListFilesWithExtension(folder, ""))
    if (SameTextIgnoringCase(name, wanted)) return folder + name;
  return path;
}

int OpenRegularFile(const std::string& path, struct ::stat* info) {
  // Non-blocking, so that opening a FIFO cannot hang; it changes nothing for a regular file.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  struct stat st;
  if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
    ::close(fd);
    return -1;
  }
  if (fd >= 0 && info) *info = st;
  return fd;
}

namespace {

// Reads fd to its end; sizeHint is the size it had when opened.
bool ReadToEnd(int fd, std::size_t sizeHint, std::string& bytes) {
  std::string data;
  data.resize(sizeHint + 1);  // the spare byte notices a file that grew meanwhile
  std::size_t got = 0;
  for (;;) {
    if (got == data.size()) data.resize(data.size() * 2);
    ssize_t n = ::read(fd, &data[got], data.size() - got);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    got += static_cast<std::size_t>(n);
  }
  data.resize(got);
  bytes = std::move(data);
  return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  struct stat st;
  FdGuard file{OpenRegularFile(path, &st)};
  return file.fd >= 0 && ReadToEnd(file.fd, static_cast<std::size_t>(st.st_size), bytes);
}

void SetWriteFaultHook(WriteFaultHook hook) { FaultHook() = std::move(hook); }

namespace {

bool WriteAll(int fd, const std::string& path, std::string_view bytes, std::string& error) {
  constexpr std::size_t kBlock = 1 << 20;
  std::size_t done = 0;
  while (done < bytes.size()) {
    std::size_t chunk = std::min(kBlock, bytes.size() - done);
    if (FaultHook() && !FaultHook()(path, done)) {
      errno = ENOSPC;
      error = ErrnoText("write");
      return false;
    }
    ssize_t n = ::write(fd, bytes.data() + done, chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      error = ErrnoText("write");
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// The umask as the kernel reports it, without setting it: setting it to read it would, for that
// instant, give every other thread's new files the wrong mode. -1 without /proc.
int UmaskFromProc() {
  std::string status;
  if (!ReadWholeFile("/proc/self/status", status)) return -1;
  std::size_t at = status.find("\nUmask:");
  if (at == std::string::npos) return -1;
  return static_cast<int>(std::strtol(status.c_str() + at + 8, nullptr, 8));
}

// Without /proc the umask is read the old way, once, while the program starts and has one thread.
const mode_t kUmaskAtStart = [] {
  int fromProc = UmaskFromProc();
  if (fromProc >= 0) return static_cast<mode_t>(fromProc);
  mode_t m = ::umask(0);
  ::umask(m);
  return m;
}();

mode_t NewFileMode(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) return st.st_mode & 07777;  // keep a replaced file's mode
  int mask = UmaskFromProc();
  return 0666 & ~(mask >= 0 ? static_cast<mode_t>(mask) : kUmaskAtStart);
}

bool Fail(const char* what, std::string& reason) {
  reason = ErrnoText(what);
  return false;
}

// The file a write to path replaces: path itself, or the file a symbolic link there names
// (through any chain of links), so that the link stays a link and its target gets the bytes.
bool ResolveWriteTarget(const std::string& path, std::string& target, std::string& reason) {
  target = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
    std::string link(PATH_MAX, '\0');
    ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
    if (n <= 0) return Fail("readlink", reason);
    link.resize(static_cast<std::size_t>(n));
    target = link.front() == kPathDelim ? link : ExtractFilePath(target) + link;
  }
  errno = ELOOP;
  return Fail("open", reason);
}

}  // namespace

// The temporary files of writes under way, in slots a signal handler may read and unlink. The
// engine library carries its own copy of this code; it finds the host program's table by name,
// so that one table lists every temporary of the process.
struct TTemporaryFiles {
  static constexpr int kSlots = 64;
  std::atomic<bool> used[kSlots];
  char path[kSlots][PATH_MAX];
};

extern "C" __attribute__((visibility("default"))) TTemporaryFiles* PictalonTemporaryFiles() {
  static TTemporaryFiles files{};
  return &files;
}

namespace {

TTemporaryFiles& TemporaryFiles() {
  static TTemporaryFiles* const files = [] {
    auto host = reinterpret_cast<TTemporaryFiles* (*)()>(::dlsym(RTLD_DEFAULT, "PictalonTemporaryFiles"));
    return host ? host() : PictalonTemporaryFiles();
  }();
  return *files;
}

// Lists a temporary file for as long as it lives under its temporary name. A write with every
// slot taken goes on unlisted.
class TListedTemporary {
public:
  explicit TListedTemporary(const std::string& path) {
    if (path.size() >= PATH_MAX) return;
    TTemporaryFiles& files = TemporaryFiles();
    for (int i = 0; i < TTemporaryFiles::kSlots; ++i) {
      bool expected = false;
      if (files.used[i].load() || !files.used[i].compare_exchange_strong(expected, true)) continue;
      std::memcpy(files.path[i], path.c_str(), path.size() + 1);
      slot_ = i;
      return;
    }
  }
  ~TListedTemporary() {
    if (slot_ >= 0) TemporaryFiles().used[slot_].store(false);
  }
  TListedTemporary(const TListedTemporary&) = delete;
  TListedTemporary& operator=(const TListedTemporary&) = delete;

private:
  int slot_ = -1;
};

// A temporary name in the target's folder: the rename then stays on one file system, listings
// skip it (it begins with '.'), and it is short, so it fits wherever the target's name fits.
std::string TemporaryName(const std::string& folder) {
  static std::atomic<unsigned> counter{0};
  return folder + ".pictalon-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
}

// Creates a new temporary file in folder, listed from before it exists until it is renamed or
// removed, so that an interrupted run can always find it.
int CreateTemporary(const std::string& folder, std::string& temp,
                    std::optional<TListedTemporary>& listed) {
  for (;;) {
    temp = TemporaryName(folder);
    listed.emplace(temp);
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0 || errno != EEXIST) return fd;  // a name taken (another machine, say): next one
  }
}

bool WriteThroughTemporary(const std::string& path, std::string_view bytes, bool durable, bool followLinks,
                           std::string& reason) {
  std::string target = path;
  if (followLinks && !ResolveWriteTarget(path, target, reason)) return false;
  if (ExtractFileName(target).empty()) {
    reason = "no file name";
    return false;
  }
  std::string folder = ExtractFilePath(target);
  std::string temp;
  std::optional<TListedTemporary> listed;
  int fd = CreateTemporary(folder, temp, listed);
  if (fd < 0) return Fail("create", reason);
  bool ok = WriteAll(fd, path, bytes, reason);
  if (ok && ::fchmod(fd, NewFileMode(target)) != 0) ok = Fail("chmod", reason);
  if (ok && durable && ::fsync(fd) != 0) ok = Fail("sync", reason);
  if (::close(fd) != 0 && ok) ok = Fail("close", reason);
  if (ok && ::rename(temp.c_str(), target.c_str()) != 0) ok = Fail("rename", reason);
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  if (durable) {
    FdGuard dir{::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (dir.fd >= 0) ::fsync(dir.fd);
  }
  return true;
}

}  // namespace

void RemoveTemporaryFiles() {
  // The program's own table (it holds the engine's temporaries too); its storage is static.
  TTemporaryFiles& files = *PictalonTemporaryFiles();
  for (int i = 0; i < TTemporaryFiles::kSlots; ++i)
    if (files.used[i].load()) ::unlink(files.path[i]);
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes, bool durable,
                     std::string* error) {
  std::string reason;
  bool ok = WriteThroughTemporary(path, bytes, durable, true, reason);
  if (!ok && error) *error = reason;
  return ok;
}

bool ReplaceFileAtomic(const std::string& path, std::string_view bytes, std::string* error) {
  std::string reason;
  bool ok = WriteThroughTemporary(path, bytes, false, false, reason);
  if (!ok && error) *error = reason;
  return ok;
}

namespace {

bool HoldsExactly(const std::string& path, std::string_view bytes) {
  struct stat st;
  FdGuard file{OpenRegularFile(path, &st)};
  if (file.fd < 0 || static_cast<std::size_t>(st.st_size) != bytes.size()) return false;
  std::string current;
  return ReadToEnd(file.fd, bytes.size(), current) && current == bytes;
}

}  // namespace

bool WriteFileIfChanged(const std::string& path, std::string_view bytes, std::string* error) {
  return HoldsExactly(path, bytes) || WriteFileAtomic(path, bytes, false, error);
}

namespace {

// Hands path to xdg-open, with standard input, output and error on /dev/null: a caller that reads
// this program's output (first=$(pictgen --open ...)) is never held open by the browser. Without
// wait the opener runs detached (double fork), so a browser that stays in the foreground never
// blocks the caller and leaves no zombie behind. False when xdg-open cannot be started.
bool OpenWithXdgOpen(const std::string& path, bool wait) {
  const char* argv[] = {"xdg-open", path.c_str(), nullptr};
  // The started process reports a failed exec through this pipe; a successful one closes it.
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return false;
  pid_t child = ::fork();
  if (child < 0) {
    ::close(report[0]);
    ::close(report[1]);
    return false;
  }
  if (child == 0) {
    int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
      for (int fd = 0; fd <= 2; ++fd) ::dup2(null, fd);
      if (null > 2) ::close(null);
    }
    if (!wait) {
      ::setsid();
      if (::fork() != 0) ::_exit(0);
    }
    ::execvp(argv[0], const_cast<char* const*>(argv));
    int error = errno;
    (void)!::write(report[1], &error, sizeof error);
    ::_exit(127);
  }
  ::close(report[1]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t n;
  while ((n = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
  }
  ::close(report[0]);
  if (n > 0) return false;  // the exec failed: no opener
  return !wait || (WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace

bool OpenDocument(const std::string& path, bool wait) {
  if (Opener()) return Opener()(path, wait);
  return OpenWithXdgOpen(path, wait);
}

void SetDocumentOpener(DocumentOpener opener) { Opener() = std::move(opener); }

}  // namespace pictalon
