// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Real file-system faults for the fault-injection tests. A child process takes a mount namespace
// of its own (inside a user namespace when it is not privileged enough), mounts a small tmpfs
// over a folder, lets the test lay out its files there, and then makes the fault real: the disk
// filled up to a few free bytes, or the file system remounted read-only. Tests run as root, where
// file permissions stop no write, so a read-only mount is the only read-only folder there is.
// The child sends back a report made by the test; the parent checks it.
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace pictalon::test {

enum class TFault { DiskFull, ReadOnly };

inline const char* FaultName(TFault fault) {
  return fault == TFault::DiskFull ? "disk full" : "read-only folder";
}

struct TSandboxResult {
  bool available = false;  // false: this machine cannot make the sandbox; report says why
  bool ok = false;         // the body ran to its end; otherwise report says what went wrong
  std::string report;      // what the body returned
};

namespace sandbox_detail {

inline std::string Why(const std::string& what) { return what + ": " + std::strerror(errno); }

inline bool WriteText(const char* path, const std::string& text) {
  int fd = ::open(path, O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  return ::close(fd) == 0 && ok;
}

// A mount namespace of this process's own whose mounts never reach the parent's; empty text on
// success, else why not.
inline std::string EnterMountNamespace() {
  const uid_t uid = ::getuid();
  const gid_t gid = ::getgid();
  if (::unshare(CLONE_NEWNS) != 0) {
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return Why("unshare");
    WriteText("/proc/self/setgroups", "deny");
    if (!WriteText("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
        !WriteText("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1"))
      return Why("user namespace id maps");
  }
  if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return Why("private mounts");
  return std::string();
}

inline constexpr unsigned long kMountFlags = MS_NOSUID | MS_NODEV;

// Fills the file system at root with a hidden filler file until a write fails, then gives back
// exactly freeBytes (whole pages). Empty text on success.
inline std::string FillLeaving(const std::string& root, std::size_t freeBytes) {
  const std::string filler = root + ".filler";
  int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return Why("create filler");
  static const char block[1 << 16] = {};
  while (::write(fd, block, sizeof block) > 0) {
  }
  if (errno != ENOSPC) return Why("fill");
  struct stat st;
  if (::fstat(fd, &st) != 0) return Why("stat filler");
  const auto allocated = static_cast<std::size_t>(st.st_blocks) * 512;
  if (allocated < freeBytes) return "the file system is too small to leave the free space";
  if (::ftruncate(fd, static_cast<off_t>(allocated - freeBytes)) != 0) return Why("truncate filler");
  ::close(fd);
  struct statvfs vfs;
  if (::statvfs(root.c_str(), &vfs) != 0) return Why("statvfs");
  const std::size_t left = static_cast<std::size_t>(vfs.f_bavail) * vfs.f_bsize;
  if (left != freeBytes)
    return "left " + std::to_string(left) + " bytes free instead of " + std::to_string(freeBytes);
  return std::string();
}

// In the child: builds the sandbox, runs the test's steps; the first byte of the result says
// 'U' (no sandbox here), 'E' (a step failed) or 'R' (the body's report follows).
inline std::string ChildRun(const std::string& root, TFault fault, std::size_t freeBytes,
                            const std::function<void()>& prepare,
                            const std::function<std::string()>& body) {
  std::string why = EnterMountNamespace();
  if (!why.empty()) return "U" + why;
  const std::string size = "size=" + std::to_string(8u << 20) + ",mode=0755";
  if (::mount("tmpfs", root.c_str(), "tmpfs", kMountFlags, size.c_str()) != 0)
    return "U" + Why("mount tmpfs");
  try {
    if (prepare) prepare();
    if (fault == TFault::DiskFull) {
      why = FillLeaving(root, freeBytes);
      if (!why.empty()) return "E" + why;
    } else {
      if (::mount(nullptr, root.c_str(), nullptr, MS_REMOUNT | MS_RDONLY | kMountFlags, size.c_str()) != 0)
        return "U" + Why("remount read-only");
      const std::string probe = root + ".probe";
      int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
      if (fd >= 0 || errno != EROFS) return "E" + std::string("the read-only mount took a new file");
    }
    return "R" + body();
  } catch (const std::exception& e) {
    return "E" + std::string("exception: ") + e.what();
  } catch (...) {
    return "E" + std::string("unknown exception");
  }
}

}  // namespace sandbox_detail

// Runs prepare, makes the fault, then runs body, in a child process in which root (an existing
// folder, ending with '/') is a fresh 8 MiB tmpfs. With DiskFull, freeBytes (whole pages) are
// left free when body starts. The tmpfs and all it holds vanish with the child.
inline TSandboxResult RunWithFault(const std::string& root, TFault fault, std::size_t freeBytes,
                                   const std::function<void()>& prepare,
                                   const std::function<std::string()>& body) {
  TSandboxResult result;
  int channel[2];
  if (::pipe2(channel, O_CLOEXEC) != 0) {
    result.report = sandbox_detail::Why("pipe");
    return result;
  }
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    const std::string answer = sandbox_detail::ChildRun(root, fault, freeBytes, prepare, body);
    std::size_t done = 0;
    while (done < answer.size()) {
      ssize_t n = ::write(channel[1], answer.data() + done, answer.size() - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    ::_exit(0);  // no exit handlers: they belong to the parent's test program
  }
  ::close(channel[1]);
  std::string answer;
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(channel[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    answer.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(channel[0]);
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child) {
    result.available = true;
    result.report = sandbox_detail::Why("fork");
    return result;
  }
  if (!WIFEXITED(status) || answer.empty()) {
    result.available = true;
    result.report = "the sandbox process died (status " + std::to_string(status) + ")";
    return result;
  }
  result.available = answer[0] != 'U';
  result.ok = answer[0] == 'R';
  result.report = answer.substr(1);
  return result;
}

// Why this machine cannot make the sandbox (no namespaces, no tmpfs, no read-only remount);
// empty when it can. Asked once per test program.
inline const std::string& SandboxUnavailableReason() {
  static const std::string reason = [] {
    std::error_code ec;
    std::filesystem::path root = std::filesystem::temp_directory_path(ec) /
                                 ("pictalon-sandbox-probe-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root, ec);
    TSandboxResult probe =
        RunWithFault(root.string() + "/", TFault::ReadOnly, 0, nullptr, [] { return std::string(); });
    std::filesystem::remove_all(root, ec);
    if (!probe.available) return "no private tmpfs mount in this sandbox (" + probe.report + ")";
    if (!probe.ok) return "the sandbox does not work here (" + probe.report + ")";
    return std::string();
  }();
  return reason;
}

// What a write left behind: the writer's answer and the state of the target's folder, sent from
// the sandbox to the test as text.
struct TWriteOutcome {
  bool result = false;
  std::string note;                // the failure's message, or anything else the attempt noticed
  std::vector<std::string> names;  // every entry of the target's folder, hidden ones included
  std::string target;              // the target's bytes; "<missing>" when there is none

  std::string Encode() const {
    std::string out = result ? "1" : "0";
    auto field = [&out](const std::string& s) { out += std::to_string(s.size()) + ":" + s; };
    field(note);
    field(target);
    for (const std::string& name : names) field(name);
    return out;
  }
  static TWriteOutcome Decode(const std::string& text) {
    TWriteOutcome o;
    o.result = !text.empty() && text[0] == '1';
    std::size_t pos = 1;
    auto field = [&](std::string& s) {
      std::size_t colon = text.find(':', pos);
      if (colon == std::string::npos) return false;
      std::size_t length = std::stoul(text.substr(pos, colon - pos));
      s = text.substr(colon + 1, length);
      pos = colon + 1 + length;
      return true;
    };
    field(o.note);
    field(o.target);
    for (std::string name; pos < text.size() && field(name);) o.names.push_back(name);
    return o;
  }
};

// Looks at the folder of the target after a write.
inline TWriteOutcome Observe(bool result, const std::string& note, const std::string& target) {
  namespace fs = std::filesystem;
  TWriteOutcome o;
  o.result = result;
  o.note = note;
  std::error_code ec;
  for (fs::directory_iterator it(fs::path(target).parent_path(), ec), end; !ec && it != end;
       it.increment(ec))
    o.names.push_back(it->path().filename().string());
  std::sort(o.names.begin(), o.names.end());
  int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    o.target = "<missing>";
    return o;
  }
  char buffer[65536];
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) o.target.append(buffer, static_cast<std::size_t>(n));
  ::close(fd);
  return o;
}

}  // namespace pictalon::test
