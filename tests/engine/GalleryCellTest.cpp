// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "EngineFixture.h"
#include "GalleryCell.h"
#include "Platform.h"

namespace pictalon {
namespace {

using test::EngineTest;

constexpr const char* kOpen = "<td align=\"center\" valign=\"top\" class=\"gallerycell\">";

class GalleryCellTest : public EngineTest {
protected:
  std::string Cell(const std::string& entry) {
    run.imageList = {entry};
    return MakeGalleryCell(run, 0);
  }
};

TEST_F(GalleryCellTest, WorkedExample) {
  std::string beach = Image("beach.jpg", 640, 480);
  GallerySettings& s = run.settings;
  s.ScalingMode = 0;
  s.ThumbSize.set(25);
  s.CopyImages.set(false);
  s.HyperlinkMode = 1;
  run.details.emplace();
  run.details->SetText("[beach.jpg]\r\nTitle=Beach\r\nRef=\r\nSize=\r\n");
  EXPECT_EQ(Cell(beach), std::string(kOpen) + "<a href=\"" + beach + "\" target=\"new\"><img src=\"" +
                             beach + "\" border=\"0\" width=\"160\" GALLERYIMG=\"no\"></a><br>" +
                             "Title: Beach<br><br></td>");
}

TEST(ScaledWidth, ExtendedPrecisionTruncation) {
  struct Case {
    int width, thumb, expected;
  } cases[] = {{640, 25, 160}, {640, 33, 211}, {900, 13, 116}, {333, 50, 166},
               {-1, 50, 0},    {4000, 1, 40},  {7, 99, 6},     {100, -50, -50}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " at " + std::to_string(c.thumb));
    EXPECT_EQ(ScaledWidth(c.width, c.thumb), c.expected);
  }
}

TEST_F(GalleryCellTest, ScalingModes) {
  std::string jpeg = Image("p.jpg", 640, 480);
  std::string png = dir.write("photos/p.png", "\x89PNG\r\n\x1a\n");
  std::string missing = dir.path() + "photos/none.jpg";
  struct Case {
    int mode, thumb;
    std::string entry;
    std::string attributes;  // between border="0" and the blank before the toolbar attribute
  } cases[] = {
      {0, 100, jpeg, " height=\"480\" width=\"640\""},
      {0, 150, jpeg, " height=\"480\" width=\"640\""},
      {0, 50, jpeg, " width=\"320\""},
      {1, 120, jpeg, " height=\"120\""},
      {1, 120, missing, " height=\"120\""},
      {2, 300, png, " width=\"300\""},
      {7, 50, missing, ""},
  };
  run.settings.CopyImages.set(false);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.mode) + "/" + std::to_string(c.thumb) + " " + c.entry);
    run.settings.ScalingMode = static_cast<std::uint8_t>(c.mode);
    run.settings.ThumbSize.set(c.thumb);
    run.settings.HyperlinkImages.set(false);
    EXPECT_EQ(Cell(c.entry), std::string(kOpen) + "<img src=\"" + c.entry + "\" border=\"0\"" +
                                 c.attributes + " GALLERYIMG=\"no\"><br>" +
                                 ExtractFileName(c.entry) + "<br></td>");
  }
}

// Pages size a camera's portrait photo by the way browsers show it: upright.
TEST_F(GalleryCellTest, AttributesFollowTheOrientation) {
  const std::string marked = test::MakeMarkedJpeg(test::kMarkedWidth, test::kMarkedHeight);
  run.settings.CopyImages.set(false);
  run.settings.ScalingMode = 0;
  for (const test::TOrientationCase& c : test::kOrientationCases) {
    SCOPED_TRACE("orientation " + std::to_string(c.orientation));
    const std::string path = dir.write("photos/o.jpg", test::WithApp1(marked, test::ExifPayload(c.orientation)));
    run.settings.ThumbSize.set(100);
    EXPECT_NE(Cell(path).find(" height=\"" + std::to_string(c.shownHeight) + "\" width=\"" +
                              std::to_string(c.shownWidth) + "\" "),
              std::string::npos);
    run.settings.ThumbSize.set(50);
    EXPECT_NE(Cell(path).find(" border=\"0\" width=\"" + std::to_string(c.shownWidth / 2) + "\" "),
              std::string::npos);
  }
}

TEST_F(GalleryCellTest, ImagesThatCannotBeMeasuredAreInvalid) {
  run.settings.CopyImages.set(false);
  run.settings.HyperlinkImages.set(false);
  std::string notJpeg = dir.write("photos/fake.jpg", "GIF89a");
  for (const std::string& entry : {dir.path() + "photos/none.jpg", notJpeg, std::string()}) {
    SCOPED_TRACE(entry);
    for (int thumb : {100, 50}) {
      run.settings.ThumbSize.set(thumb);
      EXPECT_EQ(Cell(entry), std::string(kOpen) + "*Invalid Image*<br>" + ExtractFileName(entry) + "<br></td>");
      EXPECT_EQ(run.lastImageHeight, -1);
    }
  }
}

TEST_F(GalleryCellTest, LastSizeCarriesOverInFixedModes) {
  run.settings.ScalingMode = 0;
  run.settings.ThumbSize.set(100);
  run.imageList = {dir.path() + "missing.jpg", dir.path() + "missing.jpg"};
  MakeGalleryCell(run, 0);  // leaves -1 x -1 behind
  run.settings.ScalingMode = 1;
  EXPECT_NE(MakeGalleryCell(run, 1).find("*Invalid Image*"), std::string::npos)
      << "the width of the previous cell is still -1";
}

TEST_F(GalleryCellTest, CaptionBlock) {
  struct Case {
    const char* details;
    bool fileNameAsCaption;
    const char* caption;
  } cases[] = {
      {"Title=Sunset\r\nRef=A1\r\nSize=640 x 480", true, "Title: Sunset<br>Ref: A1<br>Size: 640 x 480<br>"},
      {"Title=   \r\nRef=R", true, "Ref: R<br>"},
      {"Title=  ", true, "b.jpg"},
      {"Title=  ", false, ""},
      {"Size=<i>big</i>", false, "Size: <i>big</i><br>"},
  };
  run.settings.CopyImages.set(false);
  run.settings.HyperlinkImages.set(false);
  run.settings.ScalingMode = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.details);
    run.details.emplace();
    run.details->SetText(std::string("[B.JPG]\r\n") + c.details);
    run.settings.FileNameAsCaption.set(c.fileNameAsCaption);
    std::string cell = Cell("/p/b.jpg");
    EXPECT_EQ(cell.substr(cell.find("><br>") + 5),
              std::string(c.caption) + "<br></td>");
  }
  run.details.reset();
  run.settings.FileNameAsCaption.set(true);
  EXPECT_NE(Cell("/p/b.jpg").find("<br>b.jpg<br>"), std::string::npos);
}

TEST_F(GalleryCellTest, LinkModes) {
  run.settings.CopyImages.set(false);
  run.settings.ScalingMode = 2;
  run.settings.ThumbSize.set(90);
  run.settings.DisableImageToolbar.set(false);
  const std::string img = "<img src=\"/p/a.jpg\" border=\"0\" width=\"90\" >";
  struct Case {
    bool linked;
    int mode;
    bool newWindow;
    std::string body;
  } cases[] = {
      {false, 1, true, img + "<br>a.jpg<br>"},
      {true, 0, true, img + "<br><a href=\"/p/a.jpg\" target=\"new\">a.jpg</a><br>"},
      {true, 1, false, "<a href=\"/p/a.jpg\">" + img + "</a><br>a.jpg<br>"},
      {true, 2, true, "<a href=\"/p/a.jpg\" target=\"new\">" + img + "<br>a.jpg</a><br>"},
      {true, 3, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.linked) + "/" + std::to_string(c.mode));
    run.settings.HyperlinkImages.set(c.linked);
    run.settings.HyperlinkMode = static_cast<std::uint8_t>(c.mode);
    run.settings.LinkInNewWindow.set(c.newWindow);
    EXPECT_EQ(Cell("/p/a.jpg"), kOpen + c.body + "</td>");
  }
  // An empty caption still leaves an empty link in caption-only mode.
  run.settings.HyperlinkImages.set(true);
  run.settings.HyperlinkMode = 0;
  run.settings.FileNameAsCaption.set(false);
  EXPECT_EQ(Cell("/p/a.jpg"), kOpen + img + "<br><a href=\"/p/a.jpg\" target=\"new\"></a><br></td>");
}

TEST_F(GalleryCellTest, CopiesAreReferencedRelativelyAndMeasuredInTheOutputFolder) {
  run.settings.CopyImages.set(true);
  run.settings.OutputFolder.set(dir.path() + "Site");
  dir.write("Site/gallimgs/beach.jpg", test::MakeJpeg(200, 100));
  run.settings.HyperlinkMode = 1;
  EXPECT_EQ(Cell("/elsewhere/beach.jpg"),
            std::string(kOpen) + "<a href=\"gallimgs/beach.jpg\" target=\"new\"><img src=\"gallimgs/beach.jpg\""
                                 " border=\"0\" height=\"100\" width=\"200\" GALLERYIMG=\"no\"></a><br>beach.jpg<br></td>");

  // A blank output folder means the default one, where the copies are made.
  run.settings.OutputFolder.set("  ");
  dir.write("Output/gallimgs/beach.jpg", test::MakeJpeg(30, 20));
  EXPECT_NE(Cell("/elsewhere/beach.jpg").find("height=\"20\" width=\"30\""), std::string::npos);
}

// With web copies the cell shows its cell picture when one was made, links the web copy, and
// sizes the picture as the original is shown (the copies are smaller).
TEST_F(GalleryCellTest, WebCopiesShowTheCellPictureAndLinkTheCopy) {
  const std::string portrait =
      dir.write("photos/p 1.jpg", test::WithApp1(test::MakeJpeg(400, 300), test::ExifPayload(6)));
  run.settings.CopyImages.set(true);
  run.tail = TGalleryTail::WebCopies(true, 320);
  run.settings.HyperlinkMode = 1;
  run.settings.LinkInNewWindow.set(false);
  run.settings.DisableImageToolbar.set(false);
  dir.write("Output/gallimgs/p 1.jpg", test::MakeJpeg(240, 320));
  struct Case {
    int mode, thumb;
    bool cellMade;
    std::string src, attributes;
  } cases[] = {
      {0, 100, false, "gallimgs/p 1.jpg", " height=\"400\" width=\"300\""},
      {0, 50, true, "gallimgs/cells/p 1.jpg", " width=\"150\""},
      {2, 100, true, "gallimgs/cells/p 1.jpg", " width=\"100\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.mode) + "/" + std::to_string(c.thumb));
    run.settings.ScalingMode = std::uint8_t(c.mode);
    run.settings.ThumbSize.set(c.thumb);
    const std::string cell = Out() + "gallimgs/cells/p 1.jpg";
    if (c.cellMade) dir.write("Output/gallimgs/cells/p 1.jpg", test::MakeJpeg(200, 266));
    else std::remove(cell.c_str());
    EXPECT_EQ(Cell(portrait), std::string(kOpen) + "<a href=\"gallimgs/p 1.jpg\"><img src=\"" + c.src +
                                  "\" border=\"0\"" + c.attributes + " ></a><br>p 1.jpg<br></td>");
  }
}

TEST_F(GalleryCellTest, ImageUrlAndUnsafePathBytes) {
  run.settings.CopyImages.set(false);
  run.settings.ScalingMode = 1;
  run.settings.HyperlinkMode = 0;
  struct Case {
    const char* url;
    const char* entry;
    const char* src;
    const char* href;
  } cases[] = {
      {"", "/p/a.jpg", "/p/a.jpg", "/p/a.jpg"},
      {"   ", "/p/a.jpg", "/p/a.jpg", "/p/a.jpg"},
      {"http://x.org/photos", "/p/a.jpg", "/p/a.jpg", "http://x.org/photos/a.jpg"},
      {"http://x.org/photos/", "/p/a.jpg", "/p/a.jpg", "http://x.org/photos/a.jpg"},
      {"http://x.org/g?id=", "/Summer #1/100% \"b\".jpg", "/Summer %231/100%25 %22b%22.jpg",
       "http://x.org/g?id=/100%25 %22b%22.jpg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    run.settings.ImageURL.set(c.url);
    std::string cell = Cell(c.entry);
    EXPECT_NE(cell.find(std::string("<img src=\"") + c.src + "\""), std::string::npos) << cell;
    EXPECT_NE(cell.find(std::string("<a href=\"") + c.href + "\""), std::string::npos) << cell;
  }
}

// A file name is shown as its name: in the caption its markup characters are character
// references, and in src and href an ampersand is one too, so no reference hides in a name.
// The user's own caption texts keep their markup.
TEST_F(GalleryCellTest, FileNamesAreTextInThePage) {
  run.settings.CopyImages.set(false);
  run.settings.ScalingMode = 1;
  run.settings.ThumbSize.set(100);
  run.settings.HyperlinkMode = 0;
  run.settings.FileNameAsCaption.set(true);
  struct Case {
    const char* name;
    const char* caption;
    const char* path;  // in src and href
  } cases[] = {
      {"Tom & Jerry.jpg", "Tom &amp; Jerry.jpg", "/p/Tom &amp; Jerry.jpg"},
      {"<b>draft<\\b>.jpg", "&lt;b&gt;draft&lt;\\b&gt;.jpg", "/p/<b>draft<\\b>.jpg"},
      {"<img src=x onerror=alert(1)>.jpg", "&lt;img src=x onerror=alert(1)&gt;.jpg",
       "/p/<img src=x onerror=alert(1)>.jpg"},
      {"\"><script>alert(1)<\\script>.jpg", "&quot;&gt;&lt;script&gt;alert(1)&lt;\\script&gt;.jpg",
       "/p/%22><script>alert(1)<\\script>.jpg"},
      {"a&copy.jpg", "a&amp;copy.jpg", "/p/a&amp;copy.jpg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string cell = Cell(std::string("/p/") + c.name);
    EXPECT_EQ(cell, std::string(kOpen) + "<img src=\"" + c.path + "\" border=\"0\" height=\"100\" GALLERYIMG=\"no\">" +
                        "<br><a href=\"" + c.path + "\" target=\"new\">" + c.caption + "</a><br></td>");
  }
  run.details.emplace();
  run.details->SetText("[Tom & Jerry.jpg]\r\nTitle=<i>Tom</i> & Jerry\r\n");
  EXPECT_NE(Cell("/p/Tom & Jerry.jpg").find(">Title: <i>Tom</i> & Jerry<br></a>"), std::string::npos);
}

// With the photos' own titles, a photo whose title was not typed shows its own, as text; a typed
// title wins; without the setting the caption is as it always was.
TEST_F(GalleryCellTest, PhotosOwnTitles) {
  run.settings.CopyImages.set(false);
  run.settings.ScalingMode = 1;
  run.settings.HyperlinkImages.set(false);
  run.settings.FileNameAsCaption.set(true);
  const std::string titled =
      dir.write("photos/t.jpg", test::WithApp1(test::MakeJpeg(8, 8), test::XmpPayload("<b>Tom</b> & \"Jerry\"")));
  const std::string plain = Image("p.jpg", 8, 8);
  run.details.emplace();
  run.details->SetText("[typed.jpg]\r\nTitle=<i>Mine</i>\r\n");
  const std::string typed = dir.write("photos/typed.jpg", test::ReadFile(titled));
  struct Case {
    bool on;
    std::string entry, caption;
  } cases[] = {
      {true, titled, "Title: &lt;b&gt;Tom&lt;/b&gt; &amp; &quot;Jerry&quot;<br>"},
      {true, typed, "Title: <i>Mine</i><br>"},
      {true, plain, "p.jpg"},
      {false, titled, "t.jpg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry + (c.on ? " on" : " off"));
    run.tail.PhotoCaptions = c.on;
    run.photoTitles.clear();
    const std::string cell = Cell(c.entry);
    EXPECT_EQ(cell.substr(cell.find("><br>") + 5), c.caption + "<br></td>");
    EXPECT_EQ(PhotoTitle(run, 0), c.on && c.entry != plain ? "<b>Tom</b> & \"Jerry\"" : "");
  }
}

}  // namespace
}  // namespace pictalon
