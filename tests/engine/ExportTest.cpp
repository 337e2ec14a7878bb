// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the real export: the pictgen program and a bare host, copied with libPictgen.so into a
// program folder of the test's own.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "GalleryFile.h"
#include "Platform.h"
#include "TestSupport.h"
#include "TypeDef.h"
#include "WorkingFiles.h"

namespace pictalon {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;

struct Outcome {
  int status;
  std::string out, err;
};

class ExportTest : public testing::Test {
protected:
  ExportTest() {
    for (const char* file : {PICTGEN_PROGRAM, ENGINE_LIBRARY, ENGINE_HOST})
      fs::copy_file(file, program() + fs::path(file).filename().string());
    dir.write("Data/pictalon.css", "body {\r\n}\r\n");
    dir.write("Data/gallerycell6.css", ".gallerycell {\r\n}\r\n");
    dir.write("Templates/PictBase.html", "<#gentag><table><#backlink></table><#gallery>");
    for (const char* name : {"b.jpg", "a.JPG", "c.jpg"}) dir.write(std::string("photos/") + name, test::MakeJpeg(40, 30));
    ApplyDefaultSettings(settings, program());
    settings.ImageFolder.set(dir.path() + "photos");
    settings.BackLinkURL.set("index.html");
    settings.Columns.set(2);
    settings.Rows.set(1);
  }

  std::string program() const { return dir.path(); }
  std::string gallery() const { return dir.path() + "Data/User/Holiday.pgs"; }
  void Save() {
    std::string written;
    ForceDirectories(dir.path() + "Data/User");
    ASSERT_TRUE(WriteGalleryFile(gallery(), settings, written));
  }

  Outcome Run(const std::string& command) const {
    std::string out = dir.path() + "stdout.txt", err = dir.path() + "stderr.txt";
    int raw = std::system((command + " >'" + out + "' 2>'" + err + "'").c_str());
    Outcome o{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
    fs::remove(out);
    fs::remove(err);
    return o;
  }
  Outcome Pictgen(const std::string& arguments) const { return Run("'" + program() + "pictgen' " + arguments); }

  test::TempDir dir;
  GallerySettings settings{};
};

TEST_F(ExportTest, PictgenGeneratesCopiesAndCleansUp) {
  Save();
  Outcome o = Pictgen("'" + gallery() + "'");
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.out, program() + "Output/gallery1.html\n");
  EXPECT_EQ(o.err, "");
  EXPECT_EQ(ListFilesWithExtension(program() + "Output", ".html"),
            (std::vector<std::string>{"gallery1.html", "gallery2.html"}));
  EXPECT_EQ(ListFilesWithExtension(program() + "Output/gallimgs", ".jpg"),
            (std::vector<std::string>{"a.JPG", "b.jpg", "c.jpg"}));
  EXPECT_NE(ReadFile(program() + "Output/gallery1.html").find("Pictalon v" PICTALON_TEST_PROJECT_VERSION),
            std::string::npos);
  EXPECT_FALSE(fs::exists(program() + kImageListFileName));
}

// pictgen lists the photos in the order they were taken and captions them with their own titles
// when the gallery file's tail asks for it.
TEST_F(ExportTest, PictgenHonoursOrderAndPhotoCaptions) {
  const std::string jpeg = test::MakeJpeg(40, 30);
  dir.write("photos/b.jpg", test::WithApp1(jpeg, test::XmpPayload("Older", "2020-01-01T10:00:00")));
  dir.write("photos/c.jpg", test::WithApp1(jpeg, test::XmpPayload("Newer", "2024-01-01T10:00:00")));
  settings.Columns.set(3);
  settings.CopyImages.set(false);
  TGalleryTail tail;
  tail.Order = TImageOrder::ByDate;
  tail.PhotoCaptions = true;
  std::string written;
  ForceDirectories(dir.path() + "Data/User");
  ASSERT_TRUE(WriteGalleryFile(gallery(), settings, tail, written));
  Outcome o = Pictgen("'" + gallery() + "'");
  ASSERT_EQ(o.status, 0) << o.err;
  const std::string page = ReadFile(program() + "Output/gallery1.html");
  const std::size_t older = page.find("Title: Older<br>"), newer = page.find("Title: Newer<br>"),
                    undated = page.find("a.JPG<br>");
  ASSERT_NE(older, std::string::npos) << page;
  EXPECT_LT(older, newer);
  EXPECT_LT(newer, undated);
  EXPECT_FALSE(fs::exists(program() + kPhotoTitlesFileName));
}

// The engine takes the titles the front end handed over for exactly these images; without them
// (an older front end) or for other images (a file left behind) it reads the photo's own.
TEST_F(ExportTest, EngineTakesHandedOverTitlesOnlyForItsOwnImages) {
  const std::string photo =
      dir.write("photos/a.JPG", test::WithApp1(test::MakeJpeg(40, 30), test::XmpPayload("Own")));
  settings.CopyImages.set(false);
  TGalleryTail tail;
  tail.PhotoCaptions = true;
  std::string written;
  ForceDirectories(dir.path() + "Data/User");
  ASSERT_TRUE(WriteGalleryFile(gallery(), settings, tail, written));
  ASSERT_TRUE(WriteImageListFile(program() + kImageListFileName, {photo}));
  const std::string titles = program() + kPhotoTitlesFileName;
  struct Case {
    const char* name;
    std::vector<std::string> handedOver;  // the images of the titles file; none for no file
    const char* caption;
  } cases[] = {{"no file", {}, "Title: Own<br>"},
               {"these images", {photo}, "Title: Handed &lt;over&gt;<br>"},
               {"other images", {photo + "x"}, "Title: Own<br>"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(titles);
    if (!c.handedOver.empty())
      dir.write(kPhotoTitlesFileName, "Pictalon photo titles 1\n" + c.handedOver[0] + "\tHanded <over>\n");
    Outcome o = Run("'" + program() + "engine_host' '" + gallery() + "'");
    const std::string page = ReadFile(program() + "Output/gallery1.html");
    EXPECT_NE(page.find(c.caption), std::string::npos) << page << o.err;
  }
}

// --open asks the desktop for the first page after a run that generated every page, and after a
// failed run says that it opens nothing.
TEST_F(ExportTest, OpenAsksTheDesktopForTheFirstPageOnlyAfterSuccess) {
  Save();
  // A stand-in xdg-open records what it was asked to open instead of starting a browser.
  std::string opened = dir.path() + "opened.txt";
  dir.write("bin/xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" >> '" + opened + "'\n");
  fs::permissions(dir.path() + "bin/xdg-open", fs::perms::owner_all);
  const std::string command = "PATH='" + dir.path() + "bin':\"$PATH\" '" + program() + "pictgen' --open '" + gallery() + "'";
  Outcome o = Run(command);
  EXPECT_EQ(o.status, 0) << o.err;
  for (int i = 0; i < 250 && ReadFile(opened).empty(); ++i) usleep(20000);  // the opener runs detached
  EXPECT_EQ(ReadFile(opened), program() + "Output/gallery1.html");

  fs::remove(opened);
  dir.write("Templates/PictBase.html", std::string(4900, 'x'));
  o = Run(command);
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.out, "");
  EXPECT_NE(o.err.find("\nError running engine\nNothing opened, as the pages were not generated.\n"),
            std::string::npos) << o.err;
  usleep(500000);
  EXPECT_FALSE(fs::exists(opened));
}

// A template that cannot be processed: no page is written (the older one stays), the style sheet
// is, and pictgen says how many pages were not written and why, and exits 1.
TEST_F(ExportTest, PagesNotWrittenFailTheRun) {
  Save();
  dir.write("Output/gallery1.html", "from an earlier run");
  dir.write("Templates/PictBase.html", "<html>" + std::string(4900, 'x') + "</html>");
  Outcome o = Pictgen("'" + gallery() + "'");
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(o.err, "2 of 2 pages not written, the first " + program() + "Output/gallery1.html: " + program() +
                       "Templates/PictBase.html: a line is longer than 4093 bytes\nError running engine\n");
  EXPECT_EQ(ReadFile(program() + "Output/gallery1.html"), "from an earlier run");
  EXPECT_FALSE(fs::exists(program() + "Output/gallery2.html"));
  EXPECT_TRUE(fs::exists(program() + "Output/pictalon.css"));
  EXPECT_FALSE(fs::exists(program() + kImageListFileName));

  // The same through a bare host, which gets the engine's own line and false.
  std::vector<std::string> images = {dir.path() + "photos/a.JPG"};
  ASSERT_TRUE(WriteImageListFile(program() + kImageListFileName, images));
  o = Run("'" + program() + "engine_host' '" + gallery() + "'");
  EXPECT_EQ(o.out, "false\nfalse\n");
  EXPECT_EQ(o.err, "1 of 1 page not written: " + program() + "Output/gallery1.html: " + program() +
                       "Templates/PictBase.html: a line is longer than 4093 bytes\nError reading settings\n");
}

TEST_F(ExportTest, PictgenReportsFailuresWithStatusOne) {
  Save();
  struct Case {
    std::string name;
    std::function<void()> arrange;
    std::string argument;
    std::string err;
  } cases[] = {
      {"missing template", [&] { fs::remove(program() + "Templates/PictBase.html"); }, gallery(),
       "Cannot locate " + program() + "Templates/PictBase.html.\n"},
      {"unreadable settings", [] {}, program() + "none.pgs", "Error reading settings\nError running engine\n"},
      {"no images", [&] { fs::remove_all(program() + "photos"); }, gallery(),
       "Image List is empty\nError running engine\n"},
      {"no engine", [&] { fs::remove(program() + "libPictgen.so"); }, gallery(),
       "Cannot load the page generator libPictgen.so\n"},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.arrange();
    Outcome o = Pictgen("'" + c.argument + "'");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, c.err);
    EXPECT_FALSE(fs::exists(program() + kImageListFileName));
  }
}

TEST_F(ExportTest, PictgenCommandLine) {
  for (const char* arguments : {"", "a.pgs b.pgs", "--bogus a.pgs", "''"}) {
    SCOPED_TRACE(arguments);
    Outcome o = Pictgen(arguments);
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find("Usage: pictgen [--open] GALLERY.pgs"), std::string::npos);
  }
  Outcome help = Pictgen("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("Usage:"), std::string::npos);
}

TEST_F(ExportTest, BareHostGetsTheEnginesOwnLinesAndFreshStateOnEveryCall) {
  Save();
  std::vector<std::string> images = {dir.path() + "photos/a.JPG"};
  ASSERT_TRUE(WriteImageListFile(program() + kImageListFileName, images));
  std::string host = "'" + program() + "engine_host' ";

  // Two runs in one loaded library: the second starts afresh (its first page again links the
  // back link URL, not the browser history).
  Outcome o = Run(host + "'" + gallery() + "' '" + gallery() + "'");
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out, "true\ntrue\nfalse\n");
  EXPECT_EQ(o.err, "Error reading settings\n");
  EXPECT_NE(ReadFile(program() + "Output/gallery1.html").find("href=\"index.html\""), std::string::npos);

  // A failure comes out as the engine's own error line, with a full stop.
  fs::remove(program() + "Templates/PictBase.html");
  o = Run(host + "'" + gallery() + "'");
  EXPECT_EQ(o.out, "false\nfalse\n");
  EXPECT_EQ(o.err, "Cannot locate " + program() + "Templates/PictBase.html.\nError reading settings\n");
}

}  // namespace
}  // namespace pictalon
