// The installed program, run as a user runs it: a prefix of the build's own (made by the
// install_into_prefix fixture) whose program folder is read-only, and a home folder per test.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
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
  for (const auto& [link, target] : links) {
    SCOPED_TRACE(link);
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
