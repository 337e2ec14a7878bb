// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "Error.h"
#include "Helpers.h"
#include "Platform.h"
#include "TestSupport.h"

namespace pictalon {
namespace {

using test::ReadFile;
using test::TempDir;
using Lines = std::vector<std::string>;

TEST(Colours, HtmlToColourAndBack) {
  struct Case {
    const char* text;
    TColor colour;
    const char* html;  // ColourToHtml of the colour
  } cases[] = {
      {"#FF8000", 255 + 128 * 256, "#FF8000"},
      {"#ff8000", 255 + 128 * 256, "#FF8000"},
      {"#000000", 0, "#000000"},
      {"#336699", 0x996633, "#336699"},
      {"FF8000", kNoColour, "#FFFFFF"},
      {"#FF80001", kNoColour, "#FFFFFF"},
      {"", kNoColour, "#FFFFFF"},
      {"red", kNoColour, "#FFFFFF"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(HtmlToColour(c.text), c.colour);
    EXPECT_EQ(ColourToHtml(c.colour), c.html);
  }
  for (const char* bad : {"#12345G", "#GG0000", "# 00000", "#00 000", "#-10000"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(HtmlToColour(bad), Error);
  }
}

// A library message says in English what it always said, and hands a window the pieces to say it
// in another language: the source text, its context and its arguments.
TEST(Messages, EnglishTextAndThePiecesToTranslate) {
  try {
    HtmlToColour("#12345G");
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "'#12345G' is not a valid colour value");
    EXPECT_STREQ(e.Message().Context(), "pictalon::TMessage");
    EXPECT_EQ(e.Message().Source(), "'%1' is not a valid colour value");
    EXPECT_EQ(e.Message().Arguments(), Lines{"#12345G"});
  }
  TMessage copy;
  EXPECT_FALSE(CopyOrMoveFile("/no/such.jpg", "/tmp/x.jpg", false, &copy));
  EXPECT_EQ(copy.Text(), "Cannot read /no/such.jpg: No such file or directory");
  // A translation may reorder the arguments; an argument's own "%1" stays as it is.
  TMessage both(PICTALON_TRANSLATABLE("pictalon::TMessage", "Cannot write %1: %2"), "/a%2.jpg", "full");
  EXPECT_EQ(both.Text(), "Cannot write /a%2.jpg: full");
  EXPECT_EQ(both.TextIn([](const char*, const char*) { return std::string("%2 (%1)"); }), "full (/a%2.jpg)");
  // A text without context passes as it is, in every language.
  const TMessage plain(std::string("disk full: 100%"));
  EXPECT_EQ(plain.Context(), nullptr);
  EXPECT_EQ(plain.TextIn([](const char*, const char*) { return std::string("translated"); }), "disk full: 100%");
  EXPECT_STREQ(MessageOf(std::runtime_error("as is")).Source().c_str(), "as is");
}

TEST(Colours, Complement) {
  EXPECT_EQ(ComplementColour(0xFFFFFF), 0u);
  EXPECT_EQ(ComplementColour(255 + 128 * 256), 127u * 256 + 255u * 65536);
  EXPECT_EQ(ColourToHtml(ComplementColour(HtmlToColour("#336699"))), "#CC9966");
  EXPECT_EQ(ComplementColour(kNoColour), 0u);  // the top byte is cleared
}

TEST(Listings, JpegFilesOfAFolderOnly) {
  TempDir dir;
  for (const char* name : {"b.JPG", "a.jpg", "c.png", "sub/d.jpg", ".hidden.jpg", "C.Jpg", "x.jpeg"})
    dir.write(std::string("photos/") + name, "x");
  ASSERT_TRUE(ForceDirectories(dir.path() + "photos/e.jpg"));  // a folder named like a JPEG

  std::string folder = dir.path() + "photos";
  Lines expected = {folder + "/a.jpg", folder + "/b.JPG", folder + "/C.Jpg"};
  for (const std::string& given : {folder, folder + "/"}) {
    Lines list = {"kept"};
    ListJpegFiles(given, list);
    EXPECT_EQ(list, (Lines{"kept", expected[0], expected[1], expected[2]}));
    FillImageListFromFolder(given, list);
    EXPECT_EQ(list, expected);
  }
  Lines list = {"stale"};
  FillImageListFromFolder(dir.path() + "missing", list);
  EXPECT_TRUE(list.empty());
  FillImageListFromFolder("", list);
  EXPECT_TRUE(list.empty());
}

TEST(Listings, TemplatesByBareName) {
  TempDir dir;
  test::ProgramFolderOverride program(dir.path());
  dir.write("Templates/PictBase.html", "x");
  dir.write("Templates/dark.HTML", "x");
  dir.write("Templates/readme.txt", "x");
  Lines list;
  ListTemplates(list);
  EXPECT_EQ(list, (Lines{"dark.HTML", "PictBase.html"}));
  EXPECT_EQ(GetTemplatesFolder(), dir.path() + "Templates/");
  EXPECT_EQ(GetDataFolder(), dir.path() + "Data/");
}

TEST(Files, FindFileIgnoringCase) {
  TempDir dir;
  std::string shipped = dir.write("Templates/PictBase.html", "x");
  EXPECT_EQ(FindFileIgnoringCase(shipped), shipped);
  EXPECT_EQ(FindFileIgnoringCase(dir.path() + "Templates/pictbase.HTML"), shipped);
  EXPECT_EQ(FindFileIgnoringCase(dir.path() + "Templates/other.html"),
            dir.path() + "Templates/other.html");
}

TEST(Files, PathParts) {
  EXPECT_EQ(ExtractFileName("/a/b.c/IMG.jpg"), "IMG.jpg");
  EXPECT_EQ(ExtractFileName("IMG.jpg"), "IMG.jpg");
  EXPECT_EQ(ExtractFilePath("/a/b.c/IMG.jpg"), "/a/b.c/");
  EXPECT_EQ(ChangeFileExt("/a/b.c/IMG", ".dat"), "/a/b.c/IMG.dat");
  EXPECT_EQ(IncludeTrailingPathDelim("/a"), "/a/");
  EXPECT_EQ(IncludeTrailingPathDelim("/a/"), "/a/");
  EXPECT_EQ(AddTrailingSlash("http://x.org/photos"), "http://x.org/photos/");
  EXPECT_EQ(AddTrailingSlash("http://x.org/photos/"), "http://x.org/photos/");
}

TEST(Files, CopyOrMoveFile) {
  TempDir dir;
  std::string source = dir.write("a.jpg", "JPEG bytes");
  std::string empty = dir.write("empty.jpg", "");
  std::string target = dir.write("out/a.jpg", "old copy");

  EXPECT_FALSE(CopyOrMoveFile(empty, dir.path() + "out/empty.jpg", false));
  EXPECT_FALSE(FileExists(dir.path() + "out/empty.jpg"));
  EXPECT_FALSE(CopyOrMoveFile(dir.path() + "missing.jpg", dir.path() + "out/m.jpg", false));
  EXPECT_FALSE(CopyOrMoveFile(source, dir.path() + "no/such/folder/a.jpg", false));

  EXPECT_TRUE(CopyOrMoveFile(source, target, false));
  EXPECT_EQ(ReadFile(target), "JPEG bytes");
  EXPECT_TRUE(FileExists(source));

  EXPECT_TRUE(CopyOrMoveFile(source, dir.path() + "moved.jpg", true));
  EXPECT_FALSE(FileExists(source));
  EXPECT_EQ(ListFilesWithExtension(dir.path() + "out", ""), Lines{"a.jpg"});
}

TEST(Files, AtomicWriteKeepsModeAndLeavesNoTemporary) {
  TempDir dir;
  std::string path = dir.write("page.html", "old");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  std::string big(3 << 20, 'b');  // several blocks

  std::size_t calls = 0;
  SetWriteFaultHook([&](const std::string&, std::size_t offset) { return ++calls, offset == 0; });
  std::string reason;
  EXPECT_FALSE(WriteFileAtomic(path, big, false, &reason));
  SetWriteFaultHook(nullptr);
  EXPECT_EQ(calls, 2u);
  EXPECT_FALSE(reason.empty());
  EXPECT_EQ(ReadFile(path), "old");

  ASSERT_TRUE(WriteFileAtomic(path, big));
  EXPECT_EQ(ReadFile(path), big);
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(ListFilesWithExtension(dir.path(), ""), Lines{"page.html"});
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    EXPECT_EQ(entry.path().filename(), "page.html");
}

TEST(Files, OpenDocumentGoesThroughTheOpener) {
  std::string opened;
  SetDocumentOpener([&](const std::string& path, bool wait) {
    opened = path + (wait ? " (wait)" : "");
    return true;
  });
  EXPECT_TRUE(OpenDocument("/out/gallery1.html", false));
  SetDocumentOpener(nullptr);
  EXPECT_EQ(opened, "/out/gallery1.html");
}

TEST(GraphicCopies, NamesNeverTakeAListedImagesPlace) {
  struct Case {
    const char* logo;
    const char* title;
    const char* background;
    std::vector<std::string> images;
    std::array<std::string, 3> names;
  };
  const Case cases[] = {
      {"", "", "", {"/p/a.jpg"}, {"", "", ""}},
      {"/g/logo.png", "", "/g/bg.gif", {"/p/a.jpg"}, {"logo.png", "", "bg.gif"}},
      // The same file as a listed image shares its copy; another file of that name does not.
      {"/p/a.jpg", "/q/a.jpg", "", {"/p/a.jpg"}, {"a.jpg", "graphic1-a.jpg", ""}},
      {"/q/a.jpg", "", "", {"/p/a.jpg", "/p/graphic1-a.jpg"}, {"graphic2-a.jpg", "", ""}},
      // Two graphics of one name from different folders.
      {"/g1/x.png", "/g2/x.png", "/g1/x.png", {}, {"x.png", "graphic1-x.png", "x.png"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.logo) + " | " + c.title + " | " + c.background);
    GallerySettings s{};
    s.LogoGraphic.set(c.logo);
    s.TitleGraphic.set(c.title);
    s.BackgroundImage.set(c.background);
    EXPECT_EQ(GraphicCopyNames(s, c.images), c.names);
  }
}

}  // namespace
}  // namespace pictalon
