#include <gtest/gtest.h>

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

}  // namespace
}  // namespace pictalon
