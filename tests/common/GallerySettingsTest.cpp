// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
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

TEST(GalleryTail, WrittenOnlyWhenNotAtDefaultsAndReadBack) {
  TempDir dir;
  GallerySettings settings{};
  ApplyDefaultSettings(settings, "/opt/pictalon/");
  const std::string path = dir.path() + "Web.pgs";
  std::string written;
  ASSERT_TRUE(WriteGalleryFile(path, settings, TGalleryTail{}, written));
  EXPECT_EQ(ReadFile(path).size(), 4384u);

  const TGalleryTail web = TGalleryTail::WebCopies(true, 2048);
  ASSERT_TRUE(WriteGalleryFile(path, settings, web, written));
  const std::string bytes = ReadFile(path);
  EXPECT_EQ(bytes.substr(0, 4384), Bytes(settings));
  EXPECT_EQ(bytes.substr(4384), "\r\n[Pictalon]\r\nResizeCopies=1\r\nLongestSide=2048\r\n");

  GallerySettings read{};
  TGalleryTail readWeb;
  ASSERT_TRUE(ReadGalleryFile(path, read, readWeb));
  EXPECT_EQ(Bytes(read), Bytes(settings));
  EXPECT_EQ(readWeb, web);
  GallerySettings recordOnly{};  // a reader of the record alone sees the same record
  ASSERT_TRUE(ReadGalleryFile(path, recordOnly));
  EXPECT_EQ(Bytes(recordOnly), Bytes(settings));

  // A caller that knows only the record keeps the tail it did not read.
  settings.Rows.set(7);
  ASSERT_TRUE(WriteGalleryFile(path, settings, written));
  ASSERT_TRUE(ReadGalleryFile(path, read, readWeb));
  EXPECT_EQ(read.Rows.get(), 7);
  EXPECT_EQ(readWeb, web);
}

TGalleryTail WithOther(std::vector<std::pair<std::string, std::string>> other) {
  TGalleryTail tail;
  tail.Other = std::move(other);
  return tail;
}

TEST(GalleryTail, NewerKeysAreWrittenOnlyWhenSetAndUnknownKeysAreKept) {
  TGalleryTail tail = TGalleryTail::ForNewGallery();
  tail.PublishTo = "sftp://me@example.org/~/www";
  tail.Order = TImageOrder::ByDate;
  tail.Other = {{"Future", "x=1"}, {"Later", ""}};
  const std::string text = GalleryTail(tail);
  EXPECT_EQ(text,
            "\r\n[Pictalon]\r\nResizeCopies=0\r\nLongestSide=1600\r\nPageStyle=modern\r\n"
            "PublishTo=sftp://me@example.org/~/www\r\nPhotoCaptions=1\r\nOrder=date\r\n"
            "Future=x=1\r\nLater=\r\n");
  EXPECT_EQ(ParseGalleryTail(text), tail);
}

TEST(GalleryTail, MissingDamagedOrForeignTailsGiveTheDefaults) {
  const TGalleryTail defaults;
  using namespace std::string_literals;
  struct Case {
    std::string tail;
    TGalleryTail expected;
  } cases[] = {
      {"", defaults},
      {"\x7F\x7F\x7F", defaults},
      {"\r\n[Other]\r\nResizeCopies=1\r\n", defaults},
      {"\r\n[pictalon]\nresizecopies=1\n", TGalleryTail::WebCopies(true, 1600)},  // LF lines, any letter case
      {"\r\n[Pictalon]\r\nResizeCopies=2\r\nLongestSide=319\r\n", defaults},
      {"\r\n[Pictalon]\r\nResizeCopies=yes\r\nLongestSide=8193\r\n", defaults},
      {"\r\n[Pictalon]\r\nLongestSide=-800\r\nLongestSide2=900\r\n", WithOther({{"LongestSide2", "900"}})},
      {"\r\n[Pictalon]\r\nLongestSide=99999999999999999999\r\n", defaults},
      {"\r\n[Pictalon]\r\nFuture=1\r\nLongestSide= 8192 \r\n", {false, 8192, {}, {}, {}, {}, {{"Future", "1"}}}},
      {"\r\n[Pictalon]\r\nPageStyle=Modern\r\nOrder=DATE\r\nPhotoCaptions=1\r\n",
       {false, 1600, TPageStyle::Modern, "", true, TImageOrder::ByDate, {}}},
      {"\r\n[Pictalon]\r\nPageStyle=fancy\r\nOrder=size\r\nPhotoCaptions=2\r\nPublishTo=a\x01" "b\r\n", defaults},
      {"\r\n[Pictalon]\r\nLongestSide=320\0ResizeCopies=1"s, TGalleryTail::WebCopies(false, 320)},  // a zero byte ends it
  };
  TempDir dir;
  GallerySettings settings{};
  ApplyDefaultSettings(settings, "/opt/pictalon/");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tail);
    const std::string& tail = c.tail;
    EXPECT_EQ(ParseGalleryTail(tail), c.expected);
    GallerySettings read{};
    TGalleryTail web = TGalleryTail::WebCopies(true, 999);
    ASSERT_TRUE(ReadGalleryFile(dir.write("t.pgs", Bytes(settings) + tail), read, web));
    EXPECT_EQ(web, c.expected);
    EXPECT_EQ(Bytes(read), Bytes(settings));
  }
  // A file cut inside the record has no tail.
  TGalleryTail web = TGalleryTail::WebCopies(true, 999);
  GallerySettings read{};
  ASSERT_TRUE(ReadGalleryFile(dir.write("short.pgs", Bytes(settings).substr(0, 100)), read, web));
  EXPECT_EQ(web, defaults);
}

}  // namespace
}  // namespace pictalon
