// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>

#include <filesystem>

#include "EngineFixture.h"
#include "Error.h"
#include "Platform.h"

namespace pictalon {
namespace {

namespace fs = std::filesystem;
using test::EngineTest;
using test::ReadFile;
using Events = std::vector<std::string>;

// The message of the Error that f throws; empty when it throws none.
template <typename F>
std::string FailureOf(F f) {
  try {
    f();
  } catch (const Error& e) {
    return e.what();
  }
  return std::string();
}

class RunTest : public EngineTest {
protected:
  RunTest() {
    SetTemplate("<html><head><#gentag><#pictcss></head><body><table><#backlink></table><#gallery></body></html>\r\n");
    run.settings.ScalingMode = 2;  // fixed width: the image files need not exist
    run.settings.CopyImages.set(false);
  }
  static std::vector<std::string> Images(int count) {
    std::vector<std::string> images;
    for (int i = 1; i <= count; ++i) images.push_back("/p/" + std::to_string(i) + ".jpg");
    return images;
  }
};

TEST_F(RunTest, CountFullPages) {
  struct Case {
    int entries, rows, columns, full;
    bool partial;
  } cases[] = {{31, 5, 3, 2, true}, {30, 5, 3, 2, false}, {0, 5, 3, 0, false},
               {12, 3, 4, 1, false}, {13, 3, 4, 1, true}, {5, 3, 4, 0, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entries);
    run.imageList = Images(c.entries);
    run.rows = c.rows;
    run.columns = c.columns;
    bool partial = !c.partial;
    EXPECT_EQ(CountFullPages(run, partial), c.full);
    EXPECT_EQ(partial, c.partial);
  }
  run.rows = 0;
  bool partial;
  EXPECT_EQ(FailureOf([&] { CountFullPages(run, partial); }), "Division by zero");
}

TEST_F(RunTest, TwoPagesWithNavigationBackLinkAndStyleSheet) {
  run.settings.Rows.set(3);
  run.settings.Columns.set(4);
  run.settings.BackLinkURL.set("index.html");
  ASSERT_TRUE(Generate(Images(13)));
  EXPECT_EQ(ui.events, (Events{"open", "close"}));
  EXPECT_EQ(ui.progress, (std::vector<int>{12, 13}));
  EXPECT_EQ(ui.processed, 2);

  std::string page1 = ReadFile(Out() + "gallery1.html"), page2 = ReadFile(Out() + "gallery2.html");
  EXPECT_NE(page1.find("<a href=\"index.html\"><b>&lt; Back</b>"), std::string::npos);
  EXPECT_NE(page2.find("<a href=\"#\" onClick=\"history.go(-1)\">"), std::string::npos);
  EXPECT_NE(page1.find("1&nbsp;&nbsp;<a href=\"gallery2.html\">2</a>&nbsp;&nbsp;"), std::string::npos);
  EXPECT_NE(page2.find("/p/13.jpg"), std::string::npos);
  EXPECT_EQ(page2.find("/p/12.jpg"), std::string::npos);
  EXPECT_NE(page1.find("<meta name=\"Generator\" content=\"Pictalon v" PICTALON_TEST_PROJECT_VERSION "\">"),
            std::string::npos);
  EXPECT_EQ(ReadFile(Out() + "pictalon.css"),
            "body {\r\n  margin: 0;\r\n}\r\n.gallerycell {\r\n  color: #333333;\r\n}\r\n\r\nbody {background: #ffffff}\r\n");
  EXPECT_FALSE(FileExists(Out() + "gallery3.html"));
}

TEST_F(RunTest, ProgressIsFullFromTheHundredthImage) {
  run.settings.Rows.set(5);
  run.settings.Columns.set(10);
  ASSERT_TRUE(Generate(Images(160)));
  EXPECT_EQ(ui.progress, (std::vector<int>{50, 100, 100, 100}));
}

TEST_F(RunTest, UnreadableSettingsAndEmptyImageList) {
  EXPECT_FALSE(RunGeneration(dir.path() + "none.pgs", ui));
  EXPECT_FALSE(RunGeneration("", ui));
  EXPECT_EQ(ui.events, (Events{"message: Error reading settings", "message: Error reading settings"}));

  ui.events.clear();
  EXPECT_FALSE(Generate({}));
  EXPECT_EQ(ui.events, Events{"message: Image List is empty"});
  EXPECT_FALSE(DirectoryExists(Out()));
}

TEST_F(RunTest, OneEmptyEntryMakesOnePage) {
  std::string written;
  ForceDirectories(dir.path() + "Data/User");
  ASSERT_TRUE(WriteGalleryFile(dir.path() + "Data/User/T.pgs", run.settings, written));
  dir.write(kImageListFileName, "\r\n");
  ASSERT_TRUE(RunGeneration(written, ui));
  EXPECT_NE(ReadFile(Out() + "gallery1.html").find("<img src=\"\" border=\"0\""), std::string::npos);
}

TEST_F(RunTest, FailuresEndTheRunWithTheirMessage) {
  std::string userFolder = dir.path() + "Data/User/";
  ForceDirectories(userFolder);
  std::string written;

  // No image list file.
  ASSERT_TRUE(WriteGalleryFile(userFolder + "T.pgs", run.settings, written));
  EXPECT_EQ(FailureOf([&] { RunGeneration(written, ui); }), "Cannot open file " + dir.path() + kImageListFileName);

  // A 100-byte gallery file: Rows and Columns read as 0.
  dir.write("Data/User/short.pgs", std::string(100, '\x05'));
  dir.write(kImageListFileName, "/p/a.jpg\r\n");
  EXPECT_EQ(FailureOf([&] { RunGeneration(userFolder + "short.pgs", ui); }), "Division by zero");

  // Layouts a damaged file may hold.
  for (auto [rows, columns] : {std::pair{-1, 3}, {3, 1000000}, {2147483647, 2}}) {
    run.settings.Rows.set(rows);
    run.settings.Columns.set(columns);
    EXPECT_NE(FailureOf([&] { Generate(Images(3)); }).find("out of range"), std::string::npos);
  }
  EXPECT_TRUE(ui.events.empty()) << "no window for a run that cannot start";
}

TEST_F(RunTest, MissingTemplateEndsTheRunBeforeAnyFile) {
  run.settings.TemplateName.set("Nothing.html");
  EXPECT_EQ(FailureOf([&] { Generate(Images(2)); }), "Cannot locate " + dir.path() + "Templates/Nothing.html");
  EXPECT_EQ(ui.events, (Events{"open", "close"}));
  EXPECT_FALSE(FileExists(Out() + "gallery1.html"));
  EXPECT_FALSE(FileExists(Out() + "pictalon.css"));
}

TEST_F(RunTest, TemplateNameIgnoresLetterCase) {
  run.settings.TemplateName.set("pictbase.HTML");
  ASSERT_TRUE(Generate(Images(2)));
  EXPECT_TRUE(FileExists(Out() + "gallery1.html"));
}

// A page whose template cannot be processed is not written, an older file of its name stays, the
// style sheet is written and the run goes on; but the run then ends with one message and false.
TEST_F(RunTest, PagesNotWrittenMakeTheRunFailWithOneMessage) {
  const std::string templatePath = dir.path() + "Templates/PictBase.html";
  struct Case {
    const char* what;
    std::string templ;
    int images;
    std::string message;
  } cases[] = {
      {"a line longer than the read window", std::string(5000, 'x'), 1,
       "1 of 1 page not written: " + Out() + "gallery1.html: " + templatePath +
           ": a line is longer than 4093 bytes"},
      {"a tag that fails", "<p><#backlink></p>\r\n", 3,
       "3 of 3 pages not written, the first " + Out() + "gallery1.html: <#backlink>: '#12345G' is not a valid colour value"},
  };
  run.settings.Rows.set(1);
  run.settings.Columns.set(1);
  run.settings.BackLinkURL.set("x.html");
  run.settings.BackgroundColour.set("#12345G");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ui.events.clear();
    ui.processed = 0;
    fs::remove_all(Out());
    dir.write("Output/gallery1.html", "from an earlier run");
    SetTemplate(c.templ);
    EXPECT_FALSE(Generate(Images(c.images)));
    EXPECT_EQ(ui.events, (Events{"open", "close", "message: " + c.message}));
    EXPECT_EQ(ui.processed, c.images) << "every page was tried";
    EXPECT_EQ(ReadFile(Out() + "gallery1.html"), "from an earlier run");
    EXPECT_EQ(ListFilesWithExtension(Out(), ".html"), std::vector<std::string>{"gallery1.html"});
    EXPECT_TRUE(FileExists(Out() + "pictalon.css"));
  }
}

// Nothing a page shows changes within a run: the template, the style sheet sources and the
// right-click script are read once, so changing or removing them between pages changes nothing.
TEST_F(RunTest, SourcesAreReadOncePerRun) {
  SetTemplate("<#script><#gallery>");
  dir.write("Data/norgtclk.js", "<script>first</script>");
  run.settings.DisableRightClick.set(true);
  run.settings.Rows.set(1);
  run.settings.Columns.set(1);
  ui.betweenPages = [&] {
    SetTemplate("changed <#gallery>");
    dir.write("Data/norgtclk.js", "<script>changed</script>");
    fs::remove(dir.path() + "Data/pictalon.css");
    fs::remove(dir.path() + "Data/gallerycell6.css");
  };
  ASSERT_TRUE(Generate(Images(3)));
  for (const char* page : {"gallery1.html", "gallery2.html", "gallery3.html"}) {
    SCOPED_TRACE(page);
    EXPECT_EQ(ReadFile(Out() + page).rfind("<script>first</script>", 0), 0u);
  }
  EXPECT_NE(ReadFile(Out() + "pictalon.css").find("margin: 0;"), std::string::npos);
}

TEST_F(RunTest, PageThatCannotBeWrittenStopsTheRunAndKeepsEarlierPages) {
  run.settings.Rows.set(1);
  run.settings.Columns.set(1);
  ForceDirectories(Out() + "gallery2.html");  // a folder in the way of page 2
  EXPECT_EQ(FailureOf([&] { Generate(Images(3)); }), "Cannot create file " + Out() + "gallery2.html");
  EXPECT_TRUE(FileExists(Out() + "gallery1.html"));
  EXPECT_FALSE(FileExists(Out() + "gallery3.html"));
  EXPECT_EQ(ui.events, (Events{"open", "close"}));
  EXPECT_EQ(ListFilesWithExtension(Out(), ".html"), std::vector<std::string>{"gallery1.html"});
}

TEST_F(RunTest, OutputFolderIsCreatedOrDefaulted) {
  run.settings.OutputFolder.set(dir.path() + "site/deep/er");
  ASSERT_TRUE(Generate(Images(1)));
  EXPECT_TRUE(FileExists(dir.path() + "site/deep/er/gallery1.html"));

  run.settings.OutputFolder.set(" \t ");
  ASSERT_TRUE(Generate(Images(1)));
  EXPECT_TRUE(FileExists(dir.path() + "Output/gallery1.html"));
}

TEST_F(RunTest, CaptionsComeFromTheDetailsBesideTheGalleryFile) {
  dir.write("Data/User/Test.dat", "[2.JPG]\r\nTitle=Second\r\n");
  ASSERT_TRUE(Generate(Images(2)));
  std::string page = ReadFile(Out() + "gallery1.html");
  EXPECT_NE(page.find("Title: Second<br>"), std::string::npos);
  EXPECT_NE(page.find(">1.jpg</a>"), std::string::npos);
}

}  // namespace
}  // namespace pictalon
