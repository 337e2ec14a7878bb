// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "Helpers.h"
#include "Platform.h"
#include "TestSupport.h"
#include "WorkingFiles.h"

namespace pictalon {
namespace {

using test::ReadFile;
using test::TempDir;
using Lines = std::vector<std::string>;

TEST(ImageListFile, WritesOneCrLfLinePerEntryAndReadsBack) {
  TempDir dir;
  Lines images = {"/p/a.jpg", "/p/b.JPG", "/q/c.jpg"};
  std::string path = dir.path() + kImageListFileName;
  ASSERT_TRUE(WriteImageListFile(path, images));
  EXPECT_EQ(ReadFile(path), "/p/a.jpg\r\n/p/b.JPG\r\n/q/c.jpg\r\n");
  Lines read;
  ASSERT_TRUE(ReadImageListFile(path, read));
  EXPECT_EQ(read, images);

  ASSERT_TRUE(WriteImageListFile(path, {}));
  EXPECT_EQ(ReadFile(path), "");
}

TEST(ImageListFile, LineRules) {
  struct Case {
    std::string bytes;
    Lines expected;
  } cases[] = {
      {"", {}},
      {"\r\n", {""}},
      {"a\r\nb", {"a", "b"}},
      {"a\r\n\r\nb\r\n", {"a", "", "b"}},
      {"a\rb\nc\r\n", {"a", "b", "c"}},
      {"a\n\rb", {"a", "", "b"}},
      {"  a b  \r\n", {"  a b  "}},
      {std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
      {std::string(70000, 'x') + "\r", {std::string(70000, 'x')}},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes.substr(0, 20)));
    Lines read = {"stale"};
    ASSERT_TRUE(ReadImageListFile(dir.write("list.dat", c.bytes), read));
    EXPECT_EQ(read, c.expected);
  }
  Lines read = {"kept"};
  EXPECT_FALSE(ReadImageListFile(dir.path() + "missing.dat", read));
  EXPECT_EQ(read, Lines{"kept"});
}

TEST(ImageDetailsPath, BesideGalleryOrInUserData) {
  TempDir dir;
  test::ProgramFolderOverride program(dir.path());
  EXPECT_EQ(ImageDetailsPathBeside("/g/Holiday.pgs"), "/g/Holiday.dat");
  EXPECT_EQ(ImageDetailsPathBeside("/g/Holiday.2002.pgs"), "/g/Holiday.2002.dat");
  EXPECT_EQ(ImageDetailsPathBeside("/g.d/Holiday"), "/g.d/Holiday.dat");
  EXPECT_EQ(ImageDetailsPathInUserData("/elsewhere/Holiday.pgs"),
            dir.path() + "Data/User/Holiday.dat");
  EXPECT_TRUE(DirectoryExists(dir.path() + "Data/User"));
}

TEST(CellStyleIndex, LookupsByNameFileAndPosition) {
  TempDir dir;
  test::ProgramFolderOverride program(dir.path());
  dir.write("Data/cssIndex.dat",
            "[index]\r\nClassic=gallerycell1.css\r\nPolaroid = gallerycell2.css\r\n"
            "Plain=gallerycell6.css\r\n\r\n[xedni]\r\ngallerycell1.css=Classic\r\n"
            "gallerycell2.css=Polaroid\r\ngallerycell6.css=Plain\r\n");
  std::string data = dir.path() + "Data/";
  EXPECT_EQ(CellStyleNames(), (Lines{"Classic", "Polaroid", "Plain"}));
  EXPECT_EQ(CellStyleFileOfName("polaroid"), data + "gallerycell2.css");
  EXPECT_EQ(CellStyleFileOfName("Unknown"), data);
  EXPECT_EQ(CellStyleNameOfFile("GalleryCell6.css"), "Plain");
  EXPECT_EQ(CellStyleNameOfFile("none.css"), "");
  EXPECT_EQ(CellStyleNameOfFile(""), "");
  EXPECT_EQ(CellPreviewPath(3), data + "Cell3.jpg");
}

TEST(CellStyleIndex, MissingIndexGivesEmptyValues) {
  TempDir dir;
  test::ProgramFolderOverride program(dir.path());
  EXPECT_TRUE(CellStyleNames().empty());
  EXPECT_EQ(CellStyleNameOfFile("gallerycell6.css"), "");
  EXPECT_EQ(CellStyleFileOfName("Plain"), dir.path() + "Data/");
}

// An installed copy: the user's own templates and cell style sheets are found first, a name in
// both places is the user's, shown once; a portable copy has one folder of each and lists as
// before.
TEST(UserTemplatesAndCellStyles, TheUsersOwnComeFirstAndAreListedOnce) {
  TempDir dir;
  test::ProgramFolderOverride program(dir.path() + "program/");
  const std::string shipped = dir.path() + "program/";
  dir.write("program/Templates/PictBase.html", "base");
  dir.write("program/Templates/Dark.html", "shipped dark");
  dir.write("program/Templates/Minimal.html", "shipped minimal");
  dir.write("program/Data/cssIndex.dat",
            "[index]\r\nClassic=gallerycell1.css\r\nPlain=gallerycell6.css\r\n\r\n"
            "[xedni]\r\ngallerycell1.css=Classic\r\ngallerycell6.css=Plain\r\n");
  dir.write("program/Data/gallerycell1.css", "shipped 1");
  dir.write("program/Data/gallerycell6.css", "shipped 6");
  dir.write("program/Data/pictalon.css", "base sheet");
  const std::string own = dir.path() + "xdg/pictalon/";
  dir.write("xdg/pictalon/Templates/dark.html", "my dark");
  dir.write("xdg/pictalon/Templates/Mine.html", "mine");
  dir.write("xdg/pictalon/Data/gallerycell6.css", "my 6");
  dir.write("xdg/pictalon/Data/Mine.css", "my own style");
  dir.write("xdg/pictalon/Data/pictalon.css", "not a cell style");
  const char* xdg = std::getenv("XDG_DATA_HOME");
  const std::optional<std::string> xdgBefore = xdg ? std::optional<std::string>(xdg) : std::nullopt;
  ::setenv("XDG_DATA_HOME", (dir.path() + "xdg").c_str(), 1);

  OverrideLayout(TLayout::Installed);
  EXPECT_EQ(GetUserTemplatesFolder(), own + "Templates/");
  EXPECT_EQ(GetUserCellStylesFolder(), own + "Data/");
  Lines templates;
  ListTemplates(templates);
  EXPECT_EQ(templates, (Lines{"dark.html", "Mine.html", "Minimal.html", "PictBase.html"}));
  EXPECT_EQ(FindTemplateFile("Dark.html"), own + "Templates/dark.html");
  EXPECT_EQ(FindTemplateFile("minimal.html"), shipped + "Templates/Minimal.html");
  EXPECT_EQ(FindTemplateFile("Mine.html"), own + "Templates/Mine.html");
  EXPECT_EQ(FindTemplateFile("None.html"), shipped + "Templates/None.html");

  std::size_t shippedStyles = 0;
  EXPECT_EQ(CellStyleNames(&shippedStyles), (Lines{"Classic", "Plain", "Mine.css"}));
  EXPECT_EQ(shippedStyles, 2u);  // only those have a preview
  EXPECT_EQ(CellStyleFileOfName("Plain"), own + "Data/gallerycell6.css");
  EXPECT_EQ(CellStyleFileOfName("Classic"), shipped + "Data/gallerycell1.css");
  EXPECT_EQ(CellStyleFileOfName("mine.css"), own + "Data/Mine.css");
  EXPECT_EQ(CellStyleFileOfName("Unknown"), shipped + "Data/");
  EXPECT_EQ(CellStyleNameOfFile("gallerycell6.css"), "Plain");
  EXPECT_EQ(CellStyleNameOfFile("Mine.css"), "Mine.css");
  EXPECT_EQ(CellStyleNameOfFile("pictalon.css"), "");
  // What a gallery stores is looked up by name, the user's first, wherever it was chosen.
  EXPECT_EQ(FindCellStyleSheet(shipped + "Data/gallerycell6.css"), own + "Data/gallerycell6.css");
  EXPECT_EQ(FindCellStyleSheet(own + "Data/gallerycell1.css"), shipped + "Data/gallerycell1.css");
  EXPECT_EQ(FindCellStyleSheet("Mine.css"), own + "Data/Mine.css");
  EXPECT_EQ(FindCellStyleSheet(dir.path() + "elsewhere/gallerycell6.css"),
            dir.path() + "elsewhere/gallerycell6.css");
  EXPECT_EQ(FindCellStyleSheet(own + "Data/gone.css"), own + "Data/gone.css");
  EXPECT_EQ(FindCellStyleSheet(""), "");

  OverrideLayout(TLayout::Portable);
  templates.clear();
  ListTemplates(templates);
  EXPECT_EQ(templates, (Lines{"Dark.html", "Minimal.html", "PictBase.html"}));
  EXPECT_EQ(CellStyleNames(), (Lines{"Classic", "Plain"}));
  EXPECT_EQ(CellStyleFileOfName("Plain"), shipped + "Data/gallerycell6.css");
  EXPECT_EQ(FindCellStyleSheet(shipped + "Data/gallerycell6.css"), shipped + "Data/gallerycell6.css");
  OverrideLayout(std::nullopt);
  if (xdgBefore)
    ::setenv("XDG_DATA_HOME", xdgBefore->c_str(), 1);
  else
    ::unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace pictalon
