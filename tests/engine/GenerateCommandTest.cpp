// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The shared Generate sequence around the engine call.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "Error.h"
#include "GenerateCommand.h"
#include "GalleryFile.h"
#include "Platform.h"
#include "TestSupport.h"
#include "WorkingFiles.h"

namespace pictalon {
namespace {

// Whatever fails once the image list file is written, the begin hook included, the file is
// deleted, the end hook runs, the first page is still asked for, and the failure passes on.
TEST(GenerateSequence, CleanUpRunsWhenBeginFails) {
  test::TempDir dir;
  test::ProgramFolderOverride program(dir.path());
  GallerySettings settings{};
  ApplyDefaultSettings(settings, dir.path());
  std::vector<std::string> opened;
  SetDocumentOpener([&](const std::string& path, bool) {
    opened.push_back(path);
    return true;
  });

  bool listWritten = false;
  int ends = 0;
  TGenerateHooks hooks;
  hooks.begin = [&] {
    listWritten = FileExists(ImageListFilePath());
    throw Error("Cannot show the busy cursor");
  };
  hooks.end = [&] { ++ends; };
  hooks.openFirstPage = true;
  try {
    GeneratePages(dir.path() + "Data/User/G.pgs", settings, {dir.path() + "a.jpg"}, hooks);
    ADD_FAILURE() << "the failure of begin did not pass on";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Cannot show the busy cursor");
  }
  SetDocumentOpener(nullptr);
  EXPECT_TRUE(listWritten);
  EXPECT_FALSE(FileExists(ImageListFilePath()));
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(opened, std::vector<std::string>{dir.path() + "Output/gallery1.html"});
}

// With copying on, a photo of any legal name is copied; a copy that cannot be written stops the
// run before the engine, with the file and the reason, and the clean-up still runs.
TEST(GenerateSequence, ACopyThatFailsIsAnErrorNamingTheFile) {
  test::TempDir dir;
  test::ProgramFolderOverride program(dir.path());  // no engine here: it is never reached
  GallerySettings settings{};
  ApplyDefaultSettings(settings, dir.path());
  settings.CopyImages.set(true);
  const std::string longName = std::string(246, 'p') + ".jpg";
  std::vector<std::string> images = {dir.write("photos/" + longName, "JPEG 1"),
                                     dir.write("photos/b.jpg", "JPEG 2")};
  int ends = 0;
  TGenerateHooks hooks;
  hooks.end = [&] { ++ends; };
  TGenerateResult result = GeneratePages(dir.path() + "G.pgs", settings, images, hooks);
  EXPECT_EQ(result.outcome, TGenerateOutcome::EngineNotLoaded);
  EXPECT_EQ(test::ReadFile(dir.path() + "Output/gallimgs/" + longName), "JPEG 1");

  // A folder where the copy should go: the rename cannot replace it.
  ASSERT_EQ(::unlink((dir.path() + "Output/gallimgs/b.jpg").c_str()), 0);
  ASSERT_TRUE(ForceDirectories(dir.path() + "Output/gallimgs/b.jpg"));
  try {
    GeneratePages(dir.path() + "G.pgs", settings, images, hooks);
    ADD_FAILURE() << "the failed copy did not pass on";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot write " + dir.path() + "Output/gallimgs/b.jpg: ", 0), 0u)
        << e.what();
  }
  EXPECT_EQ(ends, 2);
  EXPECT_FALSE(FileExists(ImageListFilePath()));
}

// The desktop program takes the lock itself and runs the sequence on it: ended by a signal during
// the run, it too deletes the list and the lock's file and ends by that signal.
TEST(GenerateSequence, ARunOnTheCallersLockEndedBySignalLeavesNothing) {
  test::TempDir dir;
  test::ProgramFolderOverride program(dir.path());
  GallerySettings settings{};
  ApplyDefaultSettings(settings, dir.path());
  settings.CopyImages.set(false);
  std::string list = ImageListFilePath();
  pid_t run = ::fork();
  if (run == 0) {
    TImageListLock lock(list, TImageListLock::TTryOnce{});
    TGenerateHooks hooks;
    hooks.begin = [&] {
      if (FileExists(list) && FileExists(lock.LockFilePath())) ::raise(SIGTERM);
    };
    GeneratePages(lock, dir.path() + "G.pgs", settings, {dir.path() + "a.jpg"}, hooks);
    ::_exit(0);  // only when begin found no list or no lock
  }
  int raw = 0;
  ::waitpid(run, &raw, 0);
  EXPECT_TRUE(WIFSIGNALED(raw) && WTERMSIG(raw) == SIGTERM) << raw;
  EXPECT_FALSE(FileExists(list));
  EXPECT_FALSE(FileExists(list + TImageListLock::kLockFileSuffix));
  // After a run the signals are handled as before it.
  GeneratePages(dir.path() + "G.pgs", settings, {dir.path() + "a.jpg"});
  struct sigaction now {};
  ::sigaction(SIGTERM, nullptr, &now);
  EXPECT_EQ(now.sa_handler, SIG_DFL);
}

// A signal after the run has let go of the lock (here in the end hook, which runs then) leaves the
// list and the lock file alone: by then they can be the next run's.
TEST(GenerateSequence, ASignalAfterTheLockIsReleasedLeavesTheNextRunsList) {
  test::TempDir dir;
  test::ProgramFolderOverride program(dir.path());
  GallerySettings settings{};
  ApplyDefaultSettings(settings, dir.path());
  settings.CopyImages.set(false);
  const std::string list = ImageListFilePath(), lockFile = list + TImageListLock::kLockFileSuffix;
  const pid_t run = ::fork();
  if (run == 0) {
    TGenerateHooks hooks;
    hooks.end = [&] {
      WriteFileAtomic(list, "the next run's\r\n");
      WriteFileAtomic(lockFile, "");
      ::raise(SIGTERM);
    };
    GeneratePages(dir.path() + "G.pgs", settings, {dir.path() + "a.jpg"}, hooks);
    ::_exit(0);
  }
  int raw = 0;
  ::waitpid(run, &raw, 0);
  EXPECT_TRUE(WIFSIGNALED(raw) && WTERMSIG(raw) == SIGTERM) << raw;
  EXPECT_TRUE(FileExists(list));
  EXPECT_TRUE(FileExists(lockFile));
}

}  // namespace
}  // namespace pictalon
