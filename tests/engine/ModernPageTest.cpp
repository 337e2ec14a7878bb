// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Modern pages: the alt text of a picture, the sizes the page gives it, and whole runs over the
// shipped Modern template and style sheet: the markup, the page navigation, the site's files, and
// a Classic gallery that stays as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "EngineFixture.h"
#include "Helpers.h"
#include "ModernPage.h"

namespace pictalon::test {
namespace {

namespace fs = std::filesystem;

class ModernPageTest : public EngineTest {
protected:
  ModernPageTest() {
    // The shipped Modern template, style sheet, viewer and icon.
    const fs::path data = PICTALON_DATA_DIR;
    fs::create_directories(dir.path() + "Templates");
    fs::copy(data / "Templates" / kModernTemplateName, dir.path() + "Templates/" + kModernTemplateName);
    fs::copy(data / "Data" / "Modern", dir.path() + "Data/Modern", fs::copy_options::recursive);
    fs::copy(data / "Data" / "PhotoSwipe", dir.path() + "Data/PhotoSwipe", fs::copy_options::recursive);
    SetTemplate("classic <#gallery>");
    run.settings.OutputFolder.set(Out());
    run.tail.PageStyle = TPageStyle::Modern;
  }

  std::string Page(int n) const { return ReadFile(Out() + "gallery" + std::to_string(n) + ".html"); }
};

TEST_F(ModernPageTest, AltTextIsTheTitleElseTheReferenceElseTheName) {
  run.details.emplace();
  run.details->SetText(
      "[a.jpg]\r\nTitle=Rock & <roll> \"live\" < 3\r\nRef=R1\r\n"
      "[b.jpg]\r\nTitle=  <br>  \r\nRef=<i>R2</i>\r\n"
      "[c.jpg]\r\nTitle=\r\n");
  struct Case {
    const char* file;
    const char* alt;
  } cases[] = {
      {"a.jpg", "Rock &amp; &quot;live&quot; &lt; 3"},
      {"b.jpg", "R2"},
      {"c.jpg", "c"},
      {"holiday.2024.JPG", "holiday.2024"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(PictureAltText(run, -1, c.file), c.alt);
  }
  run.details.reset();
  EXPECT_EQ(PictureAltText(run, -1, "x & y.jpg"), "x &amp; y");
}

TEST_F(ModernPageTest, ShownSizeFollowsTheScalingSettings) {
  struct Case {
    std::uint8_t mode;
    int thumb;
    TPixelSize expected;
  } cases[] = {
      {0, 25, {160, 120}}, {0, 100, {640, 480}}, {1, 96, {128, 96}}, {2, 300, {300, 225}}, {3, 50, {640, 480}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << int(c.mode) << " at " << c.thumb);
    run.settings.ScalingMode = c.mode;
    run.settings.ThumbSize.set(c.thumb);
    EXPECT_EQ(ShownOnPage(run.settings, 640, 480), c.expected);
  }
}

TEST_F(ModernPageTest, RunWritesSemanticPagesFromTheModernTemplate) {
  GallerySettings& s = run.settings;
  s.Columns.set(2);
  s.Rows.set(2);
  s.ScalingMode = 2;
  s.ThumbSize.set(200);
  s.CopyImages.set(false);
  s.HyperlinkImages.set(true);
  s.HyperlinkMode = 1;
  s.TitleText.set("Sea & <b>Sky</b>");
  s.IntroText1.set("Summer <i>by</i> the sea");
  std::vector<std::string> images;
  for (int i = 1; i <= 9; ++i) images.push_back(Image("p" + std::to_string(i) + ".jpg", 400, i == 3 ? 600 : 300));
  ASSERT_TRUE(Generate(images)) << testing::PrintToString(ui.events);

  const std::string page2 = Page(2);
  EXPECT_EQ(page2.find("<table"), std::string::npos);
  EXPECT_EQ(page2.find("classic"), std::string::npos) << "the Modern template, not the chosen one";
  for (const char* part : {"<header", "<main", "<footer", "<figure class=\"md-cell\">",
                           "<meta name=\"description\" content=\"Summer by the sea\">",
                           "<title>Sea &amp; Sky</title>", "<h1>Sea & <b>Sky</b></h1>",
                           "<link rel=\"icon\" href=\"assets/icon.svg\"",
                           "<script src=\"assets/viewer.js\" defer></script>"})
    EXPECT_NE(page2.find(part), std::string::npos) << part;

  // Page 2 of 3 in both navigations: previous, every page with the current one marked, next.
  const std::string nav = std::string("<a href=\"gallery1.html\" rel=\"prev\">&lsaquo; Previous</a>") +
                          "<a href=\"gallery1.html\">1</a><a href=\"gallery2.html\" aria-current=\"page\">2</a>"
                          "<a href=\"gallery3.html\">3</a><a href=\"gallery3.html\" rel=\"next\">Next &rsaquo;</a></nav>";
  EXPECT_NE(page2.find("<nav class=\"md-pages\" aria-label=\"Pages\">" + nav), std::string::npos);
  EXPECT_NE(page2.find("<nav class=\"md-pages\" aria-label=\"Pages, again\">" + nav), std::string::npos);
  EXPECT_EQ(Page(1).find("rel=\"prev\""), std::string::npos);
  EXPECT_EQ(Page(3).find("rel=\"next\""), std::string::npos);

  // The first row loads at once, the second lazily; the portrait picture is sized upright.
  const std::string p5 = images[4], p7 = images[6];
  EXPECT_NE(page2.find("<figure class=\"md-cell\"><a href=\"" + p5 + "\" target=\"new\" data-pswp-width=\"400\" "
                       "data-pswp-height=\"300\"><img src=\"" + p5 + "\" alt=\"p5\" width=\"200\" height=\"150\" "
                       "decoding=\"async\"></a><figcaption>p5.jpg</figcaption></figure>"),
            std::string::npos)
      << page2;
  EXPECT_NE(page2.find("alt=\"p7\" width=\"200\" height=\"150\" loading=\"lazy\" decoding=\"async\">"),
            std::string::npos);
  EXPECT_NE(Page(1).find("alt=\"p3\" width=\"200\" height=\"300\" loading=\"lazy\""), std::string::npos);
  EXPECT_NE(page2.find("<div class=\"md-grid\" style=\"--cell: 200px; max-width: 416px\">"), std::string::npos);

  // The site: the style sheet from the Modern one with no cell style, the viewer and the icon.
  const std::string css = ReadFile(Out() + "pictalon.css");
  EXPECT_NE(css.find(".md-grid {"), std::string::npos);
  EXPECT_EQ(css.find(".gallerycell"), std::string::npos);
  for (const TSiteFile& file : ModernSiteFiles())
    EXPECT_EQ(ReadFile(Out() + file.destination), ReadFile(dir.path() + "Data/" + file.source)) << file.destination;
}

TEST_F(ModernPageTest, WebCopiesGiveTheViewerTheCopyAndTheBrowserAChoice) {
  GallerySettings& s = run.settings;
  s.ScalingMode = 2;
  s.ThumbSize.set(100);
  s.CopyImages.set(true);
  s.HyperlinkMode = 1;
  run.tail.ResizeCopies = true;
  std::string original = Image("wide.jpg", 1600, 1200);
  dir.write("Output/gallimgs/wide.jpg", MakeJpeg(800, 600));
  dir.write("Output/gallimgs/cells/wide.jpg", MakeJpeg(200, 150));
  ASSERT_TRUE(Generate({original}));
  EXPECT_NE(Page(1).find("<a href=\"gallimgs/wide.jpg\" target=\"new\" data-pswp-width=\"800\" data-pswp-height=\"600\">"
                         "<img src=\"gallimgs/cells/wide.jpg\" srcset=\"gallimgs/cells/wide.jpg 200w, "
                         "gallimgs/wide.jpg 800w\" sizes=\"(max-width: 132px) calc(100vw - 32px), 100px\" "
                         "alt=\"wide\" width=\"100\" height=\"75\" decoding=\"async\">"),
            std::string::npos)
      << Page(1);
}

TEST_F(ModernPageTest, MissingViewerFileFailsTheRunAndClassicWritesNone) {
  std::string image = Image("a.jpg", 40, 30);
  fs::remove(dir.path() + "Data/Modern/viewer.js");
  EXPECT_THROW(
      {
        try {
          Generate({image});
        } catch (const Error& e) {
          EXPECT_EQ(std::string(e.what()), "Cannot open file " + dir.path() + "Data/Modern/viewer.js");
          throw;
        }
      },
      Error);

  fs::remove_all(Out());
  run.tail.PageStyle = TPageStyle::Classic;
  ASSERT_TRUE(Generate({image}));
  EXPECT_EQ(Page(1).rfind("classic <table", 0), 0u);
  EXPECT_FALSE(fs::exists(Out() + "assets"));
}

}  // namespace
}  // namespace pictalon::test
