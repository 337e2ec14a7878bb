#include <gtest/gtest.h>

#include <cstring>

#include "GalleryFile.h"
#include "Platform.h"
#include "TestSupport.h"
#include "TypeDef.h"

namespace pictalon {
namespace {

using test::ReadFile;
using test::TempDir;

std::string Bytes(const GallerySettings& s) {
  return std::string(reinterpret_cast<const char*>(&s), sizeof s);
}

TEST(GallerySettings, DefaultsSurviveWriteAndReadBack) {
  TempDir dir;
  GallerySettings written{};
  ApplyDefaultSettings(written, "/opt/pictalon/");
  std::string path = dir.path() + "Holiday.pgs", writtenPath = "unchanged";
  ASSERT_TRUE(WriteGalleryFile(path, written, writtenPath));
  EXPECT_EQ(writtenPath, path);
  EXPECT_EQ(ReadFile(path).size(), 4384u);

  GallerySettings read{};
  ASSERT_TRUE(ReadGalleryFile(path, read));
  EXPECT_EQ(Bytes(read), Bytes(written));
  EXPECT_EQ(read.TextColour.get(), "#000000");
  EXPECT_EQ(read.BackgroundColour.get(), "#ffffff");
  EXPECT_EQ(read.CellStyleSheet.get(), "/opt/pictalon/Data/gallerycell6.css");
  EXPECT_EQ(read.TemplateName.get(), "PictBase.html");
  EXPECT_EQ(read.OutputFolder.get(), "/opt/pictalon/Output/");
  EXPECT_EQ(read.Columns.get(), 3);
  EXPECT_EQ(read.Rows.get(), 5);
  EXPECT_EQ(read.ThumbSize.get(), 100);
  EXPECT_EQ(read.TableWidth.get(), 100);
  EXPECT_EQ(read.TableWidthUnit.get(), 0);
  EXPECT_EQ(read.CellSpacing.get(), 4);
  EXPECT_EQ(read.ScalingMode, 0);
  EXPECT_EQ(read.HyperlinkMode, 0);
  for (BoolField* flag : {&read.HyperlinkImages, &read.FileNameAsCaption, &read.LinkInNewWindow,
                          &read.DisableRightClick, &read.DisableImageToolbar, &read.CopyImages})
    EXPECT_TRUE(flag->get());
}

TEST(GallerySettings, FieldsAreLittleEndianAtTheirOffsets) {
  GallerySettings s{};
  s.Columns.set(0x01020304);
  s.CellSpacing.set(-2);
  s.CopyImages.set(true);
  s.ImageURL.set("ab");
  std::string b = Bytes(s);
  EXPECT_EQ(b.substr(4352, 4), std::string("\x04\x03\x02\x01", 4));
  EXPECT_EQ(b.substr(4372, 4), std::string("\xFE\xFF\xFF\xFF", 4));
  EXPECT_EQ(b[4383], 1);
  EXPECT_EQ(b.substr(3584, 3), std::string("\x02" "ab", 3));
  EXPECT_EQ(s.CellSpacing.get(), -2);
}

TEST(GallerySettings, StringSlotLengthRules) {
  GallerySettings s{};
  s.TitleText.set(std::string(300, 'x'));
  EXPECT_EQ(s.TitleText.get(), std::string(255, 'x'));
  EXPECT_EQ(s.TitleText.length, 255);

  // A shorter value leaves the tail of the longer one behind; readers only see the short value.
  s.TitleText.set("Sun");
  EXPECT_EQ(s.TitleText.get(), "Sun");
  EXPECT_EQ(s.TitleText.text[3], 'x');

  // A cut never splits a UTF-8 character: 254 ASCII bytes and a two-byte "é" keep 254 bytes.
  s.FooterText.set(std::string(254, 'a') + "\xC3\xA9");
  EXPECT_EQ(s.FooterText.get(), std::string(254, 'a'));
  s.FooterText.set(std::string(253, 'a') + "\xC3\xA9");
  EXPECT_EQ(s.FooterText.get().size(), 255u);
}

TEST(GallerySettings, BoolReadsAnyNonZeroByteAsTrue) {
  GallerySettings s{};
  s.CopyImages.value = 2;
  EXPECT_TRUE(s.CopyImages.get());
  s.CopyImages.set(true);
  EXPECT_EQ(s.CopyImages.value, 1);
}

TEST(GalleryFile, ShortAndLongFilesFillTheLeadingBytes) {
  TempDir dir;
  std::string full(4384, '\0');
  full[0] = 5;
  for (int i = 1; i <= 99; ++i) full[i] = 'T';
  full[4383] = 1;

  GallerySettings s{};
  ASSERT_TRUE(ReadGalleryFile(dir.write("short.pgs", full.substr(0, 100)), s));
  EXPECT_EQ(s.TitleText.get(), "TTTTT");
  EXPECT_EQ(Bytes(s).substr(100), std::string(4384 - 100, '\0'));

  GallerySettings l{};
  ASSERT_TRUE(ReadGalleryFile(dir.write("long.pgs", full + std::string(1000, '\x7F')), l));
  EXPECT_EQ(Bytes(l), full);

  GallerySettings e{};
  e.Rows.set(9);
  ASSERT_TRUE(ReadGalleryFile(dir.write("empty.pgs", ""), e));
  EXPECT_EQ(e.Rows.get(), 9);
}

TEST(GalleryFile, ReadingAMissingFileOrAFolderLeavesTheRecord) {
  TempDir dir;
  GallerySettings s{};
  s.TitleText.set("kept");
  std::string before = Bytes(s);
  EXPECT_FALSE(ReadGalleryFile(dir.path() + "none.pgs", s));
  EXPECT_FALSE(ReadGalleryFile(dir.path(), s));
  EXPECT_FALSE(ReadGalleryFile("", s));
  EXPECT_EQ(Bytes(s), before);
}

TEST(GalleryFile, FailedWriteKeepsOldFileAndWrittenPath) {
  TempDir dir;
  GallerySettings s{};
  std::string writtenPath = "before";
  EXPECT_FALSE(WriteGalleryFile(dir.path() + "missing/x.pgs", s, writtenPath));
  EXPECT_EQ(writtenPath, "before");

  std::string path = dir.write("g.pgs", "old contents");
  SetWriteFaultHook([](const std::string&, std::size_t) { return false; });
  EXPECT_FALSE(WriteGalleryFile(path, s, writtenPath));
  SetWriteFaultHook(nullptr);
  EXPECT_EQ(writtenPath, "before");
  EXPECT_EQ(ReadFile(path), "old contents");
  EXPECT_EQ(ListFilesWithExtension(dir.path(), ""), std::vector<std::string>{"g.pgs"});
}

TEST(GalleryFile, EmptyPathAsksTheNameProvider) {
  TempDir dir;
  test::ProgramFolderOverride program(dir.path());
  GallerySettings s{};
  std::string writtenPath = "before";

  // No provider, or a provider that gives no name: nothing is written.
  SetGalleryNameProvider(nullptr);
  EXPECT_FALSE(WriteGalleryFile("", s, writtenPath));
  SetGalleryNameProvider([](const std::string&) { return std::string(); });
  EXPECT_FALSE(WriteGalleryFile("", s, writtenPath));
  EXPECT_EQ(writtenPath, "before");

  std::string offeredFolder;
  SetGalleryNameProvider([&](const std::string& folder) {
    offeredFolder = folder;
    return folder + "Holiday";
  });
  EXPECT_TRUE(WriteGalleryFile("", s, writtenPath));
  SetGalleryNameProvider(nullptr);
  EXPECT_EQ(offeredFolder, dir.path() + "Data/User/");
  EXPECT_EQ(writtenPath, dir.path() + "Data/User/Holiday.pgs");
  EXPECT_EQ(ReadFile(writtenPath).size(), 4384u);
}

}  // namespace
}  // namespace pictalon
