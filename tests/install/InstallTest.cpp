// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The installed program, run as a user runs it: a prefix of the build's own (made by the
// install_into_prefix fixture) whose program folder is read-only, and a home folder per test.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <thread>
#include <tuple>

#include "GalleryFile.h"
#include "Helpers.h"
#include "IniDocument.h"
#include "Platform.h"
#include "SampleGallery.h"
#include "TestSupport.h"
#include "TypeDef.h"
#include "WorkingFiles.h"

extern char** environ;

namespace pictalon {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;

const std::string kPrefix = INSTALL_PREFIX;
const std::string kProgram = kPrefix + "lib/pictalon/";

using Env = std::map<std::string, std::optional<std::string>>;  // nullopt: removed

struct Outcome {
  int status = -1;
  std::string out, err;
};

// Starts argv with the environment changed by env, its output going to files under logs.
pid_t Start(const std::vector<std::string>& argv, const Env& env, const std::string& logs) {
  std::vector<std::string> vars;
  for (char** e = environ; *e; ++e) {
    std::string var = *e;
    if (!env.count(var.substr(0, var.find('=')))) vars.push_back(var);
  }
  for (const auto& [name, value] : env)
    if (value) vars.push_back(name + "=" + *value);
  pid_t child = ::fork();
  if (child != 0) return child;
  int out = ::open((logs + ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  int err = ::open((logs + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ::dup2(out, 1);
  ::dup2(err, 2);
  std::vector<char*> args, envp;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  for (const std::string& v : vars) envp.push_back(const_cast<char*>(v.c_str()));
  args.push_back(nullptr);
  envp.push_back(nullptr);
  ::execve(args[0], args.data(), envp.data());
  ::_exit(127);
}

Outcome Finish(pid_t child, const std::string& logs) {
  int raw = 0;
  ::waitpid(child, &raw, 0);
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(logs + ".out"), ReadFile(logs + ".err")};
}

// Every file and folder below root with its size and modification time.
std::map<std::string, std::string> Snapshot(const std::string& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    struct stat st;
    ::lstat(entry.path().c_str(), &st);
    files[entry.path().string()] = std::to_string(st.st_size) + "/" + std::to_string(st.st_mtim.tv_sec) +
                                   "." + std::to_string(st.st_mtim.tv_nsec);
  }
  return files;
}

std::vector<std::string> Names(const std::string& folder, const char* ext) {
  return ListFilesWithExtension(folder, ext);
}

class InstallTest : public testing::Test {
protected:
  InstallTest() : before(Snapshot(kPrefix)) {}
  ~InstallTest() override { EXPECT_EQ(Snapshot(kPrefix), before) << "the installed tree changed"; }

  std::string home() const { return dir.path() + "home/"; }
  std::string xdg() const { return dir.path() + "xdg/"; }
  std::string userFiles() const { return xdg() + "pictalon/"; }
  // The environment of a user with their own home and data folder.
  Env UserEnv() const { return {{"HOME", home()}, {"XDG_DATA_HOME", xdg()}}; }

  // A gallery of its own photos (named prefix1.jpg ...), written where the desktop program keeps
  // it, with a title for its first photo in its image details file.
  std::string WriteGallery(const std::string& folder, const std::string& name, int photos,
                           const std::string& outputFolder = "") const {
    for (int i = 1; i <= photos; ++i)
      dir.write("photos-" + name + "/" + name + std::to_string(i) + ".jpg", test::MakeJpeg(40, 30));
    GallerySettings settings{};
    ApplyDefaultSettings(settings, kProgram);
    settings.ImageFolder.set(dir.path() + "photos-" + name + "/");
    settings.OutputFolder.set(outputFolder);
    settings.Columns.set(2);
    settings.Rows.set(2);
    std::string path = folder + name + ".pgs", written;
    ForceDirectories(folder);
    EXPECT_TRUE(WriteGalleryFile(path, settings, written));
    TIniDocument details(ImageDetailsPathBeside(path));
    details.WriteString(name + "1.jpg", "Title", "Title of " + name);
    EXPECT_TRUE(details.UpdateFile());
    return path;
  }

  Outcome Pictgen(const std::string& program, const std::string& gallery, const Env& env) const {
    std::string logs = dir.path() + "pictgen";
    return Finish(Start({program, gallery}, env, logs), logs);
  }

  // All pages of a gallery in folder, joined.
  static std::string Pages(const std::string& folder) {
    std::string all;
    for (const std::string& page : Names(folder, ".html")) all += ReadFile(folder + page);
    return all;
  }

  // A copy of the installed program folder, writable, without the installed marker.
  std::string PortableCopy() const {
    std::string copy = dir.path() + "portable/";
    fs::copy(kProgram, copy, fs::copy_options::recursive);
    fs::permissions(copy, fs::perms::owner_all);
    for (const auto& entry : fs::recursive_directory_iterator(copy))
      fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
    fs::remove(copy + kInstalledLayoutMarker);
    return copy;
  }

  test::TempDir dir;
  const std::map<std::string, std::string> before;
};

TEST_F(InstallTest, TheInstalledTree) {
  for (const char* file : {"lib/pictalon/pictgen", "lib/pictalon/libPictgen.so", "lib/pictalon/libPictgenUi.so",
                           "lib/pictalon/installed-layout", "lib/pictalon/Data/cssIndex.dat",
                           "lib/pictalon/Data/pictalon.css", "lib/pictalon/Data/Samples/01-sunset-hills.jpg",
                           "lib/pictalon/Templates/PictBase.html", "lib/pictalon/Cell Sampler/index.html",
                           "lib/pictalon/Guide/index.html", "share/icons/hicolor/scalable/apps/pictalon.svg",
                           "share/mime/packages/pictalon.xml", "share/doc/pictalon/copyright",
                           "share/doc/pictalon/changelog.gz"})
    EXPECT_TRUE(fs::is_regular_file(kPrefix + file)) << file;
  EXPECT_FALSE(fs::exists(kProgram + "Data/User")) << "a user's galleries are no part of the program";
  EXPECT_FALSE(fs::exists(kProgram + "Output"));
  std::vector<std::pair<std::string, std::string>> links = {{"bin/pictgen", "pictgen"}};
  if (PICTALON_HAS_DESKTOP_PROGRAM) {
    links.push_back({"bin/pictalon", "Pictalon"});
    EXPECT_TRUE(fs::is_regular_file(kProgram + "Pictalon"));
    EXPECT_TRUE(fs::is_regular_file(kPrefix + "share/applications/pictalon.desktop"));
  }
  const std::string manifest = ReadFile(INSTALL_MANIFEST);
  for (const auto& [link, target] : links) {
    SCOPED_TRACE(link);
    EXPECT_NE(manifest.find(kPrefix + link + "\n"), std::string::npos) << "the install manifest lists it";
    EXPECT_TRUE(fs::is_symlink(kPrefix + link));
    EXPECT_EQ(fs::read_symlink(kPrefix + link), "../lib/pictalon/" + target) << "relative, so the tree can move";
    EXPECT_EQ(fs::canonical(kPrefix + link), fs::canonical(kProgram + target));
  }
  std::string mime = ReadFile(kPrefix + "share/mime/packages/pictalon.xml");
  EXPECT_NE(mime.find("type=\"application/x-pictalon-gallery\""), std::string::npos);
  EXPECT_NE(mime.find("<glob pattern=\"*.pgs\"/>"), std::string::npos);
  std::string entry = ReadFile(DESKTOP_ENTRY);
  for (const char* line : {"Exec=pictalon %f\n", "Icon=pictalon\n", "MimeType=application/x-pictalon-gallery;\n"})
    EXPECT_NE(entry.find(line), std::string::npos) << line;
}

TEST_F(InstallTest, PictgenWritesOnlyIntoTheUsersOwnFolderAndFindsTheShippedData) {
  struct Case {
    const char* name;
    Env env;
    std::string userFiles;
  } cases[] = {
      {"XDG_DATA_HOME", UserEnv(), userFiles()},
      {"HOME alone", {{"HOME", home()}, {"XDG_DATA_HOME", std::nullopt}}, home() + ".local/share/pictalon/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string gallery = WriteGallery(c.userFiles + "User/", "holiday", 5);
    // Through the link in bin/, as a user types it.
    Outcome o = Pictgen(kPrefix + "bin/pictgen", gallery, c.env);
    EXPECT_EQ(o.status, 0) << o.err;
    const std::string output = c.userFiles + "Output/";
    EXPECT_EQ(o.out, output + "gallery1.html\n");
    EXPECT_EQ(Names(output, ".html"), (std::vector<std::string>{"gallery1.html", "gallery2.html"}));
    EXPECT_EQ(Names(output + "gallimgs", ".jpg").size(), 5u);
    // The shipped template, style sheets and the details beside the gallery were all found.
    std::string pages = Pages(output);
    EXPECT_NE(pages.find("Title of holiday"), std::string::npos);
    std::string css = ReadFile(output + "pictalon.css");
    EXPECT_NE(css.find(ReadFile(kProgram + "Data/gallerycell6.css").substr(0, 40)), std::string::npos);
    EXPECT_FALSE(fs::exists(c.userFiles + kImageListFileName));
  }
}

TEST_F(InstallTest, TwoRunsAtOnceTakeTurnsAndBothSucceed) {
  std::string a = WriteGallery(userFiles() + "User/", "alpha", 7, userFiles() + "OutA/");
  std::string b = WriteGallery(userFiles() + "User/", "beta", 6, userFiles() + "OutB/");
  // A third run (this test) holds the image list: both must wait for it, then for each other.
  auto holder = std::make_unique<TImageListLock>(userFiles() + kImageListFileName);
  ASSERT_TRUE(holder->Held());
  pid_t runA = Start({kPrefix + "bin/pictgen", a}, UserEnv(), dir.path() + "a");
  pid_t runB = Start({kPrefix + "bin/pictgen", b}, UserEnv(), dir.path() + "b");
  auto waiting = [&](const char* logs) {
    return ReadFile(dir.path() + logs + ".err").find("waiting for another Pictalon run") != std::string::npos;
  };
  for (int i = 0; i < 500 && !(waiting("a") && waiting("b")); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_TRUE(waiting("a") && waiting("b")) << "both runs wait while the list is in use";
  EXPECT_FALSE(fs::exists(userFiles() + "OutA")) << "nothing happens before the list is free";
  holder.reset();

  Outcome oa = Finish(runA, dir.path() + "a"), ob = Finish(runB, dir.path() + "b");
  EXPECT_EQ(oa.status, 0) << oa.err;
  EXPECT_EQ(ob.status, 0) << ob.err;
  // Each gallery shows its own photos only: neither run read the other's list.
  for (const auto& [out, own, other, count] :
       {std::tuple{"OutA/", "alpha", "beta", 7}, std::tuple{"OutB/", "beta", "alpha", 6}}) {
    SCOPED_TRACE(own);
    std::string pages = Pages(userFiles() + out);
    for (int i = 1; i <= count; ++i)
      EXPECT_NE(pages.find(std::string(own) + std::to_string(i) + ".jpg"), std::string::npos) << i;
    EXPECT_EQ(pages.find(other), std::string::npos);
  }
  EXPECT_FALSE(fs::exists(userFiles() + kImageListFileName));
}

TEST_F(InstallTest, APortableCopyStillWritesBesideTheProgram) {
  std::string copy = PortableCopy();
  std::string gallery = WriteGallery(copy + "Data/User/", "trip", 3);
  Outcome o = Pictgen(copy + "pictgen", gallery, UserEnv());
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.out, copy + "Output/gallery1.html\n");
  EXPECT_NE(Pages(copy + "Output/").find("Title of trip"), std::string::npos);
  EXPECT_FALSE(fs::exists(copy + kImageListFileName));
  EXPECT_FALSE(fs::exists(xdg())) << "the user's own folder is not touched";
}

TEST_F(InstallTest, ACopyWithoutTheMarkerThatCannotBeWrittenCountsAsInstalled) {
  std::string copy = PortableCopy();
  fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_exec);
  std::string gallery = WriteGallery(userFiles() + "User/", "trip", 3);
  Outcome o = Pictgen(copy + "pictgen", gallery, UserEnv());
  fs::permissions(copy, fs::perms::owner_all);
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.out, userFiles() + "Output/gallery1.html\n");
  EXPECT_FALSE(fs::exists(copy + "Output"));
}

// Every entry below folder whose name begins with '.' (a temporary left behind).
std::vector<std::string> HiddenEntries(const std::string& folder) {
  std::vector<std::string> hidden;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (it->path().filename().string().front() == '.') hidden.push_back(it->path().string());
  return hidden;
}

// Ctrl+C, a kill or a closed terminal during the copy step: pictgen deletes the image list, its
// lock file and the partial copy, and ends by that very signal, as a shell expects.
TEST_F(InstallTest, ARunEndedBySignalDuringTheCopyLeavesNothingBehind) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(strsignal(signal));
    const std::string name = "big" + std::to_string(signal);
    const std::string output = userFiles() + "Out" + std::to_string(signal) + "/";
    std::string gallery = WriteGallery(userFiles() + "User/", name, 1, output);
    for (int i = 0; i < 60; ++i)
      dir.write("photos-" + name + "/photo" + std::to_string(i) + ".jpg", std::string(1 << 20, char(i)));
    std::string logs = dir.path() + name;
    pid_t run = Start({kPrefix + "bin/pictgen", gallery}, UserEnv(), logs);

    // Stopped at a moment when a copy is being written, so the signal comes mid-copy.
    const std::string copies = output + "gallimgs/";
    bool midCopy = false;
    for (int i = 0; i < 20000 && !midCopy; ++i) {
      if (!fs::exists(copies)) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        continue;
      }
      ::kill(run, SIGSTOP);
      midCopy = !HiddenEntries(copies).empty();
      if (!midCopy) ::kill(run, SIGCONT);
    }
    EXPECT_TRUE(midCopy) << "no moment with a partial copy was caught";
    EXPECT_TRUE(fs::exists(userFiles() + kImageListFileName));
    ::kill(run, signal);
    ::kill(run, SIGCONT);
    int raw = 0;
    ::waitpid(run, &raw, 0);
    EXPECT_TRUE(WIFSIGNALED(raw) && WTERMSIG(raw) == signal) << raw << ReadFile(logs + ".err");
    EXPECT_FALSE(fs::exists(userFiles() + kImageListFileName));
    EXPECT_FALSE(fs::exists(userFiles() + kImageListFileName + TImageListLock::kLockFileSuffix));
    EXPECT_EQ(HiddenEntries(userFiles()), std::vector<std::string>{});
    EXPECT_LT(Names(copies, ".jpg").size(), 61u) << "the copy step was not finished";
    EXPECT_TRUE(Names(output, ".html").empty()) << "no page was written";
  }
}

// A photo name of 250 bytes is copied; a copy that cannot be written fails the run (exit 1)
// with the file and the reason, instead of pages with a broken photo.
TEST_F(InstallTest, LongPhotoNamesAreCopiedAndAFailedCopyFailsTheRun) {
  std::string gallery = WriteGallery(userFiles() + "User/", "long", 2);
  const std::string longName = std::string(246, 'l') + ".jpg";
  dir.write("photos-long/" + longName, test::MakeJpeg(40, 30));
  Outcome o = Pictgen(kPrefix + "bin/pictgen", gallery, UserEnv());
  EXPECT_EQ(o.status, 0) << o.err;
  const std::string copies = userFiles() + "Output/gallimgs/";
  EXPECT_EQ(ReadFile(copies + longName), ReadFile(dir.path() + "photos-long/" + longName));
  EXPECT_EQ(Pages(userFiles() + "Output/").find("Invalid Image"), std::string::npos);

  fs::remove(copies + "long2.jpg");
  fs::create_directory(copies + "long2.jpg");  // what the copy would replace is a folder
  o = Pictgen(kPrefix + "bin/pictgen", gallery, UserEnv());
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find("Cannot write " + copies + "long2.jpg: "), std::string::npos) << o.err;
  EXPECT_EQ(o.out, "");
  EXPECT_FALSE(fs::exists(userFiles() + kImageListFileName));
}

// An upgrade replaces the program while a run waits: the run reads its version from the file
// that runs, not from the path, and still writes every page.
TEST_F(InstallTest, ARunWhoseProgramWasReplacedStillWritesEveryPage) {
  std::string copy = PortableCopy();
  std::string gallery = WriteGallery(copy + "Data/User/", "upgrade", 6);
  auto holder = std::make_unique<TImageListLock>(copy + kImageListFileName);
  ASSERT_TRUE(holder->Held());
  std::string logs = dir.path() + "upgrade";
  pid_t run = Start({copy + "pictgen", gallery}, UserEnv(), logs);
  for (int i = 0; i < 500 && ReadFile(logs + ".err").find("waiting") == std::string::npos; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_NE(ReadFile(logs + ".err").find("waiting"), std::string::npos);
  // As dpkg does it: the new file is written beside the old one and renamed over it.
  dir.write("portable/pictgen.dpkg-new", "#!/bin/sh\necho a newer program\n");
  fs::rename(copy + "pictgen.dpkg-new", copy + "pictgen");
  holder.reset();

  Outcome o = Finish(run, logs);
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(Names(copy + "Output/", ".html"), (std::vector<std::string>{"gallery1.html", "gallery2.html"}));
  EXPECT_NE(ReadFile(copy + "Output/gallery1.html").find("Pictalon v" PICTALON_VERSION), std::string::npos);
}

// --open hands the page to xdg-open, which keeps none of pictgen's output: a caller reading that
// output is done when pictgen is, though the browser runs on. Without any opener pictgen says so.
TEST_F(InstallTest, OpenNeverHoldsTheCallerAndSaysWhenNothingCanOpen) {
  std::string gallery = WriteGallery(userFiles() + "User/", "open", 3);
  dir.write("bin/xdg-open",
            "#!/bin/sh\n"
            "out=$(readlink /proc/$$/fd/1)\n"
            "echo \"$out\" > \"$OPENER_LOG\"\n"
            "echo \"$1\" >> \"$OPENER_LOG\"\n"
            "echo $$ > \"$OPENER_PID\"\n"
            "exec sleep 30\n");
  fs::permissions(dir.path() + "bin/xdg-open", fs::perms::owner_all);
  Env env = UserEnv();
  env["PATH"] = dir.path() + "bin:/usr/bin:/bin";
  env["OPENER_LOG"] = dir.path() + "opener.log";
  env["OPENER_PID"] = dir.path() + "opener.pid";

  // As first=$(pictgen --open g.pgs) runs it: output into a pipe, read to its end.
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  pid_t run = ::fork();
  if (run == 0) {
    ::dup2(pipeFds[1], 1);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    for (const auto& [name, value] : env) ::setenv(name.c_str(), value->c_str(), 1);
    const std::string program = kPrefix + "bin/pictgen";
    ::execl(program.c_str(), program.c_str(), "--open", gallery.c_str(), nullptr);
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  std::string out;
  char buffer[256];
  for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) != 0;)
    if (n > 0) out.append(buffer, std::size_t(n));
  ::close(pipeFds[0]);
  int raw = 0;
  ::waitpid(run, &raw, 0);
  EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << raw;
  EXPECT_EQ(out, userFiles() + "Output/gallery1.html\n");
  for (int i = 0; i < 500 && ReadFile(dir.path() + "opener.pid").empty(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  pid_t opener = std::atoi(ReadFile(dir.path() + "opener.pid").c_str());
  ASSERT_GT(opener, 0);
  EXPECT_EQ(::kill(opener, 0), 0) << "the opener still runs: the caller did not wait for it";
  ::kill(opener, SIGTERM);
  EXPECT_EQ(ReadFile(dir.path() + "opener.log"), "/dev/null\n" + userFiles() + "Output/gallery1.html\n");

  env["PATH"] = dir.path() + "empty";
  std::string logs = dir.path() + "noopener";
  Outcome o = Finish(Start({kPrefix + "bin/pictgen", "--open", gallery}, env, logs), logs);
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.out, userFiles() + "Output/gallery1.html\n");
  EXPECT_NE(o.err.find("no program to open it"), std::string::npos) << o.err;
}

// A user's own template and cell style sheet: listed beside the shipped ones, and generated by
// the installed pictgen (the user's gallerycell6.css standing in for the shipped one).
TEST_F(InstallTest, TheUsersOwnTemplateAndCellStyleAreListedAndGenerated) {
  std::string base = ReadFile(kProgram + "Templates/PictBase.html");
  std::string mine = base;
  mine.insert(mine.find("<#gallery>"), "<p>My own template</p>");
  dir.write("xdg/pictalon/Templates/Mine.html", mine);
  std::string cell = ReadFile(kProgram + "Data/gallerycell6.css") + ".mine {margin: 0}\r\n";
  dir.write("xdg/pictalon/Data/gallerycell6.css", cell);
  dir.write("xdg/pictalon/Data/Fresh.css", ".fresh {margin: 0}\r\n");

  {
    test::ProgramFolderOverride program(kProgram);
    ::setenv("XDG_DATA_HOME", xdg().c_str(), 1);
    std::vector<std::string> templates;
    ListTemplates(templates);
    std::vector<std::string> styles = CellStyleNames();
    std::string plain = CellStyleFileOfName(CellStyleNameOfFile("gallerycell6.css"));
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(templates, (std::vector<std::string>{"Dark.html", "Mine.html", "Minimal.html", "PictBase.html"}));
    ASSERT_FALSE(styles.empty());
    EXPECT_EQ(styles.back(), "Fresh.css");
    EXPECT_EQ(std::count(styles.begin(), styles.end(), CellStyleNameOfFile("gallerycell6.css")), 1);
    EXPECT_EQ(plain, userFiles() + "Data/gallerycell6.css");
  }

  std::string gallery = WriteGallery(userFiles() + "User/", "own", 3);
  GallerySettings settings{};
  ASSERT_TRUE(ReadGalleryFile(gallery, settings));
  settings.TemplateName.set("Mine.html");  // the shipped cell style's path stays as stored
  std::string written;
  ASSERT_TRUE(WriteGalleryFile(gallery, settings, written));
  Outcome o = Pictgen(kPrefix + "bin/pictgen", gallery, UserEnv());
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(ReadFile(userFiles() + "Output/gallery1.html").find("<p>My own template</p>"), std::string::npos);
  EXPECT_NE(ReadFile(userFiles() + "Output/pictalon.css").find(".mine {margin: 0}"), std::string::npos);
}

TEST_F(InstallTest, TheDesktopProgramStartsThroughItsLinkAndWritesTheSampleForTheUser) {
  if (!PICTALON_HAS_DESKTOP_PROGRAM) GTEST_SKIP() << "no desktop program in this build";
  Env env = UserEnv();
  env["QT_QPA_PLATFORM"] = "offscreen";
  std::string logs = dir.path() + "pictalon";
  pid_t desktop = Start({kPrefix + "bin/pictalon"}, env, logs);
  const std::string sample = userFiles() + "User/Sample.pgs";
  for (int i = 0; i < 500 && !fs::exists(sample); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  // Give the window a moment: a program that found no shipped data would end at once.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  int raw = 0;
  bool running = ::waitpid(desktop, &raw, WNOHANG) == 0;
  if (running) {
    ::kill(desktop, SIGTERM);
    ::waitpid(desktop, &raw, 0);
  }
  EXPECT_TRUE(running) << ReadFile(logs + ".err");
  EXPECT_TRUE(fs::exists(sample));
  EXPECT_TRUE(fs::exists(userFiles() + "User/Sample.dat"));
}

// The sample gallery of a user's first start, made in-process with the installed program
// folder, then generated by the installed pictgen.
class SampleGalleryTest : public InstallTest {
protected:
  SampleGalleryTest() : program_(kProgram) {
    ::setenv("XDG_DATA_HOME", xdg().c_str(), 1);
  }
  ~SampleGalleryTest() override { ::unsetenv("XDG_DATA_HOME"); }

  test::ProgramFolderOverride program_;
};

TEST_F(SampleGalleryTest, WrittenAtTheFirstStartOnlyAndGeneratesFromTheInstalledData) {
  ASSERT_EQ(GetLayout(), TLayout::Installed);
  EXPECT_TRUE(ProvideSampleGallery());
  const std::string sample = userFiles() + "User/Sample.pgs";
  GallerySettings settings{};
  ASSERT_TRUE(ReadGalleryFile(sample, settings));
  EXPECT_EQ(settings.ImageFolder.get(), kProgram + "Data/Samples/");
  EXPECT_EQ(settings.OutputFolder.get(), userFiles() + "Output/");
  EXPECT_EQ(settings.CellStyleSheet.get(), kProgram + "Data/gallerycell6.css");
  EXPECT_EQ(settings.BackLinkURL.get(), "file://" + kProgram + "Guide/index.html");
  EXPECT_TRUE(fs::exists(userFiles() + "User/Sample.dat"));

  EXPECT_FALSE(ProvideSampleGallery()) << "only at the first start";
  fs::remove(sample);
  EXPECT_FALSE(ProvideSampleGallery()) << "a sample the user deleted stays deleted";
  fs::remove_all(userFiles());
  EXPECT_TRUE(ProvideSampleGallery());

  Outcome o = Pictgen(kPrefix + "bin/pictgen", sample, UserEnv());
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(Names(userFiles() + "Output/gallimgs", ".jpg").size(), 8u);
  EXPECT_NE(Pages(userFiles() + "Output/").find("Mountain Lake at Dawn"), std::string::npos);
}

TEST_F(SampleGalleryTest, NotWrittenInThePortableLayout) {
  OverrideLayout(TLayout::Portable);
  EXPECT_FALSE(ProvideSampleGallery());
  OverrideLayout(std::nullopt);
  EXPECT_FALSE(fs::exists(xdg()));
}

}  // namespace
}  // namespace pictalon
