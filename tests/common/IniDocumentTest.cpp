// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "IniDocument.h"
#include "Platform.h"
#include "TestSupport.h"

namespace pictalon {
namespace {

using test::ReadFile;
using test::TempDir;

TEST(IniDocument, ReadingRules) {
  TIniDocument doc;
  doc.SetText(
      "Title=before any section\r\n"
      "; comment\r\n"
      "  [ img_0001.JPG ]  \r\n"
      "Title \t=  Sunset \r\n"
      "\r\n"
      "  ;Ref=commented out\r\n"
      "REF=\r\n"
      "Size=640 = 480\r\n"
      "Title=second title is shadowed\r\n");
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"IMG_0001.jpg", "title", "Sunset"},
      {"img_0001.jpg", "Ref", ""},
      {"IMG_0001.JPG", "Size", "640 = 480"},
      {"IMG_0001.jpg", "Missing", "default"},
      {"Other.jpg", "Title", "default"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "/" + c.key);
    EXPECT_EQ(doc.ReadString(c.section, c.key, "default"), c.expected);
  }
  EXPECT_EQ(doc.SectionNames(), std::vector<std::string>{"img_0001.JPG"});
}

TEST(IniDocument, LineEndsAndZeroByte) {
  static const char text[] = "[a]\rk1=v1\nk2=v2\r\n[b]\r\nk=v\0[c]\r\nk=hidden";
  TIniDocument doc;
  doc.SetText(std::string(text, sizeof text - 1));
  EXPECT_EQ(doc.ReadString("a", "k1", ""), "v1");
  EXPECT_EQ(doc.ReadString("a", "k2", ""), "v2");
  EXPECT_EQ(doc.ReadString("b", "k", ""), "v");
  EXPECT_FALSE(doc.SectionExists("c"));
}

TEST(IniDocument, WriteKeepsOrderOddLinesAndMergesRepeatedSections) {
  TIniDocument doc;
  doc.SetText("junk before\r\n[B]\r\nplain line\r\nTitle=x\r\n[A]\r\nTitle=a\r\n[b]\r\nRef=r\r\n");
  doc.WriteString("b", "TITLE", "y");  // updates the existing key, keeps its spelling
  doc.WriteString("New.jpg", "Title", "n");
  doc.WriteString("New.jpg", "Ref", "");
  EXPECT_EQ(doc.Text(),
            "[B]\r\nplain line\r\nTitle=y\r\nRef=r\r\n\r\n"
            "[A]\r\nTitle=a\r\n\r\n"
            "[New.jpg]\r\nTitle=n\r\nRef=\r\n\r\n");
  EXPECT_EQ(doc.KeyNames("b"), (std::vector<std::string>{"Title", "Ref"}));
}

TEST(IniDocument, LineBreakInValueCannotAddLines) {
  TIniDocument doc;
  doc.WriteString("a.jpg", "Title", "Sea\r\n[b.jpg]\nRef=stolen\rend");
  TIniDocument again;
  again.SetText(doc.Text());
  EXPECT_EQ(again.SectionNames(), std::vector<std::string>{"a.jpg"});
  EXPECT_EQ(again.ReadString("a.jpg", "Title", ""), "Sea  [b.jpg] Ref=stolen end");
}

TEST(IniDocument, WrittenTextReadsBackTheSame) {
  TIniDocument doc;
  doc.SetText(std::string("[x]\r\n=no key\r\n[ ]\r\na=b=c\r\n[[odd]]\r\n\x01k\x80=\xff\r\n") +
              std::string(100000, 'L') + "=long\n");
  TIniDocument again;
  again.SetText(doc.Text());
  EXPECT_TRUE(again == doc);
  EXPECT_EQ(again.Text(), doc.Text());
}

TEST(IniDocument, OpensMissingFileEmptyAndRewritesWhole) {
  TempDir dir;
  TIniDocument doc(dir.path() + "Holiday.dat");
  EXPECT_TRUE(doc.SectionNames().empty());
  doc.WriteString("IMG_1.jpg", "Title", "One");
  ASSERT_TRUE(doc.UpdateFile());
  EXPECT_EQ(ReadFile(dir.path() + "Holiday.dat"), "[IMG_1.jpg]\r\nTitle=One\r\n\r\n");

  // A failed rewrite leaves the file as it was.
  doc.WriteString("IMG_1.jpg", "Title", "Changed");
  SetWriteFaultHook([](const std::string&, std::size_t) { return false; });
  EXPECT_FALSE(doc.UpdateFile());
  SetWriteFaultHook(nullptr);
  EXPECT_EQ(TIniDocument(dir.path() + "Holiday.dat").ReadString("img_1.jpg", "title", ""), "One");
  EXPECT_FALSE(TIniDocument().UpdateFile());
}

}  // namespace
}  // namespace pictalon
