// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Where the user's files go: the portable layout (beside the program) and the installed one
// (the user's own folder), how the layout is chosen, and the lock two runs share.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>

#include "GalleryFile.h"
#include "Helpers.h"
#include "Platform.h"
#include "TestSupport.h"
#include "TypeDef.h"
#include "WorkingFiles.h"

namespace pictalon {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable (or removes it, for nullopt) for the life of the object.
class EnvOverride {
public:
  EnvOverride(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      ::setenv(name, value->c_str(), 1);
    else
      ::unsetenv(name);
  }
  ~EnvOverride() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }

private:
  const char* name_;
  std::optional<std::string> old_;
};

class LayoutTest : public testing::Test {
protected:
  LayoutTest() : program_(program()), xdg_("XDG_DATA_HOME", dir.path() + "xdg"), home_("HOME", dir.path() + "home") {
    ForceDirectories(program());
  }
  ~LayoutTest() override { fs::permissions(program(), fs::perms::owner_all, fs::perm_options::add); }

  std::string program() const { return dir.path() + "program/"; }
  std::string xdgPictalon() const { return dir.path() + "xdg/pictalon/"; }

  test::TempDir dir;
  test::ProgramFolderOverride program_;
  EnvOverride xdg_, home_;
};

TEST_F(LayoutTest, ChosenByTheMarkerOrAProgramFolderClosedForWriting) {
  struct Case {
    const char* name;
    bool marker;
    fs::perms mode;
    TLayout layout;
  } cases[] = {
      {"writable folder", false, fs::perms::owner_all, TLayout::Portable},
      {"writable folder with the marker", true, fs::perms::owner_all, TLayout::Installed},
      // Also as root, who may write anywhere: no write bit at all closes the folder.
      {"read-only folder", false, fs::perms::owner_read | fs::perms::owner_exec, TLayout::Installed},
      {"read-only folder with the marker", true, fs::perms::owner_read | fs::perms::owner_exec,
       TLayout::Installed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::permissions(program(), fs::perms::owner_all);
    fs::remove(program() + kInstalledLayoutMarker);
    if (c.marker) dir.write(std::string("program/") + kInstalledLayoutMarker, "installed\n");
    fs::permissions(program(), c.mode);
    OverrideProgramFolder(program());  // looked at afresh
    EXPECT_EQ(GetLayout(), c.layout);
  }
}

TEST_F(LayoutTest, TheLayoutIsDecidedOnce) {
  EXPECT_EQ(GetLayout(), TLayout::Portable);
  dir.write(std::string("program/") + kInstalledLayoutMarker, "installed\n");
  EXPECT_EQ(GetLayout(), TLayout::Portable) << "a run never switches layouts";
}

TEST_F(LayoutTest, EveryFolderOfBothLayouts) {
  GallerySettings blank{};
  {
    SCOPED_TRACE("installed");
    OverrideLayout(TLayout::Installed);
    EXPECT_EQ(GetUserFilesFolder(), xdgPictalon());
    EXPECT_FALSE(fs::exists(xdgPictalon() + "User")) << "only the user data folder is made on demand";
    EXPECT_EQ(GetUserDataFolder(), xdgPictalon() + "User/");
    EXPECT_TRUE(fs::is_directory(xdgPictalon() + "User"));
    EXPECT_EQ(GetDefaultOutputFolder(), xdgPictalon() + "Output/");
    EXPECT_EQ(GetOutputFolder(blank), xdgPictalon() + "Output/");
    EXPECT_EQ(ImageListFilePath(), xdgPictalon() + "~imgList.dat");
    EXPECT_EQ(ImageDetailsPathInUserData("/elsewhere/Holiday.pgs"), xdgPictalon() + "User/Holiday.dat");
    // The shipped data is still read from the program folder.
    EXPECT_EQ(GetDataFolder(), program() + "Data/");
    EXPECT_EQ(GetTemplatesFolder(), program() + "Templates/");
    EXPECT_EQ(CellStyleIndexPath(), program() + "Data/cssIndex.dat");

    GallerySettings fresh{};
    ApplyDefaultSettings(fresh);
    EXPECT_EQ(fresh.OutputFolder.get(), xdgPictalon() + "Output/");
    EXPECT_EQ(fresh.CellStyleSheet.get(), program() + "Data/gallerycell6.css");
    EXPECT_TRUE(fs::is_empty(program())) << "nothing was written beside the program";
  }
  {
    SCOPED_TRACE("portable");
    OverrideLayout(TLayout::Portable);
    EXPECT_EQ(GetUserFilesFolder(), program());
    EXPECT_EQ(GetUserDataFolder(), program() + "Data/User/");
    EXPECT_EQ(GetDefaultOutputFolder(), program() + "Output/");
    EXPECT_EQ(GetOutputFolder(blank), program() + "Output/");
    EXPECT_EQ(ImageListFilePath(), program() + "~imgList.dat");
    GallerySettings fresh{};
    ApplyDefaultSettings(fresh);
    EXPECT_EQ(fresh.OutputFolder.get(), program() + "Output/");
  }
  OverrideLayout(std::nullopt);
}

TEST_F(LayoutTest, UserFilesFolderFollowsTheBaseDirectoryRules) {
  OverrideLayout(TLayout::Installed);
  struct Case {
    const char* name;
    std::optional<std::string> xdg, home;
    std::string expected;
  } cases[] = {
      {"XDG_DATA_HOME", "/data/home", "/h", "/data/home/pictalon/"},
      {"XDG_DATA_HOME with a trailing slash", "/data/home/", "/h", "/data/home/pictalon/"},
      {"unset: HOME", std::nullopt, "/h", "/h/.local/share/pictalon/"},
      {"empty: HOME", "", "/h/", "/h/.local/share/pictalon/"},
      {"relative ones are ignored", "data", "/h", "/h/.local/share/pictalon/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EnvOverride xdg("XDG_DATA_HOME", c.xdg), home("HOME", c.home);
    EXPECT_EQ(GetUserFilesFolder(), c.expected);
  }
  OverrideLayout(std::nullopt);
}

// Reads one byte from fd, waiting at most a few seconds; 0 when none came.
char ReadByte(int fd, int timeoutMs) {
  for (int waited = 0; waited <= timeoutMs; waited += 10) {
    char c = 0;
    if (::read(fd, &c, 1) == 1) return c;
    ::usleep(10000);
  }
  return 0;
}

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

TEST_F(LayoutTest, ASecondRunWaitsForTheImageListLock) {
  std::string list = dir.path() + kImageListFileName;
  const std::set<std::string> before = Names(dir.path());
  auto lock = std::make_unique<TImageListLock>(list);
  ASSERT_TRUE(lock->Held());
  {
    // A window's try never waits: it is told the list is busy and holds nothing.
    TImageListLock tried(list, TImageListLock::TTryOnce{});
    EXPECT_FALSE(tried.Held());
    EXPECT_TRUE(tried.Busy());
  }

  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  ::fcntl(pipeFds[0], F_SETFL, O_NONBLOCK);
  // The child inherits the first lock's descriptor, as a browser started during a run would:
  // releasing must still let it in.
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(pipeFds[0]);
    TImageListLock second(list, [&] { (void)!::write(pipeFds[1], "w", 1); });
    (void)!::write(pipeFds[1], second.Held() ? "h" : "-", 1);
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  EXPECT_EQ(ReadByte(pipeFds[0], 5000), 'w') << "the second run is told that it waits";
  EXPECT_EQ(ReadByte(pipeFds[0], 200), 0) << "and does not go on while the first holds the lock";
  lock.reset();
  EXPECT_EQ(ReadByte(pipeFds[0], 5000), 'h') << "it goes on once the first is done";
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(pipeFds[0]);

  {
    TImageListLock tried(list, TImageListLock::TTryOnce{});
    EXPECT_TRUE(tried.Held());
    EXPECT_FALSE(tried.Busy());
  }
  {
    TImageListLock again(list, [] { ADD_FAILURE() << "nobody holds the lock any more"; });
    EXPECT_TRUE(again.Held());
  }
  EXPECT_EQ(Names(dir.path()), before) << "the lock leaves no file behind";
}

}  // namespace
}  // namespace pictalon
