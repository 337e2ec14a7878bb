// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The photos' own titles, descriptions and times, read from photos tagged by exiftool
// (make-metadata-photos.sh) and from damaged bytes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "PhotoMetadata.h"
#include "Platform.h"
#include "TestSupport.h"

namespace pictalon {
namespace {

std::string Photo(const std::string& name) { return std::string(PICTALON_METADATA_PHOTOS) + "/" + name + ".jpg"; }

TEST(PhotoMetadata, TitlesDescriptionsAndTimesFromEachFormat) {
  struct Case {
    const char* photo;
    const char* language;
    TPhotoMetadata expected;
  } cases[] = {
      {"xmp-title", "", {"Beach at dawn", "The long walk", ""}},
      {"xmp-languages", "de", {"Strand am Morgen", "", ""}},
      {"xmp-languages", "fr", {"Beach at dawn", "", ""}},
      {"iptc-utf8", "", {"Grüße aus Köln", "Dom", ""}},
      {"iptc-utf8-unmarked", "", {"Grüße aus Köln", "", ""}},
      {"iptc-latin1", "", {"Grüße aus Köln", "", ""}},
      {"exif-description", "", {"Harbour lights", "", ""}},
      {"xptitle", "", {"Sommer 2024 ☀", "", ""}},
      // A camera's fixed text and a blank title are no title: the next format's title counts.
      {"camera-text", "", {"Kept", "", ""}},
      {"blank-title", "", {"From IPTC", "", ""}},
      {"markup", "", {"<b>Tom & \"Jerry\"</b>", "", ""}},
      {"taken-exif", "", {"", "", "2024-05-11 14:30:00"}},
      {"taken-xmp", "", {"", "", "2023-12-24 18:05:00"}},
      {"plain", "", {"", "", ""}},
      {"no-such-photo", "", {"", "", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.photo);
    TPhotoMetadata got = ReadPhotoMetadata(Photo(c.photo), c.language);
    EXPECT_EQ(got.title, c.expected.title);
    EXPECT_EQ(got.description, c.expected.description);
    EXPECT_EQ(got.taken, c.expected.taken);
  }
}

TEST(PhotoMetadata, DamagedBlocksGiveNoTitleAndNeverFail) {
  test::TempDir dir;
  const std::string jpeg = test::MakeJpeg(16, 12);
  const std::string xmpHeader("http://ns.adobe.com/xap/1.0/\0", 29);
  const std::string cut = xmpHeader +
                          "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF xmlns:rdf='http://www.w3.org/"
                          "1999/02/22-rdf-syntax-ns#'><rdf:Description dc:title='Cut";
  const std::string exifLie = std::string("Exif\0\0MM\0\x2a\xff\xff\xff\xff", 14);
  for (const std::string& bytes : {test::WithApp1(jpeg, cut), test::WithApp1(jpeg, exifLie),
                                   jpeg.substr(0, 40), std::string("not a picture")}) {
    const std::string path = dir.write("damaged.jpg", bytes);
    EXPECT_EQ(ReadPhotoMetadata(path, ""), TPhotoMetadata{});
  }
}

TEST(PhotoMetadata, ReadingLeavesThePhotoAsItWas) {
  test::TempDir dir;
  const std::string original = test::ReadFile(Photo("xmp-title"));
  const std::string path = dir.write("photo.jpg", original);
  struct stat before {}, after {};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  EXPECT_EQ(PhotoMetadata(path).title, "Beach at dawn");
  EXPECT_EQ(ReadPhotoMetadata(path, "").title, "Beach at dawn");
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  EXPECT_EQ(test::ReadFile(path), original);
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);

  // A photo changed since it was read is read again.
  dir.write("photo.jpg", test::ReadFile(Photo("exif-description")));
  EXPECT_EQ(PhotoMetadata(path).title, "Harbour lights");
}

// What was read is kept in the user data folder's cache file for the next run, one line per
// photo with its size and modification time; texts cannot break the lines.
TEST(PhotoMetadata, CacheFileKeepsWhatWasRead) {
  test::TempDir dir;
  test::ProgramFolderOverride program(dir.path());
  const std::string path = dir.write("photos/a\tb.jpg", test::WithApp1(test::MakeJpeg(8, 8), test::XmpPayload("Line\none")));
  EXPECT_EQ(PhotoMetadata(path).title, "Line\none");
  ASSERT_TRUE(SavePhotoMetadataCache());
  const std::string cache = test::ReadFile(GetUserDataFolderPath() + "photo-metadata.cache");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_NE(cache.find(dir.path() + "photos/a\\tb.jpg\t" + std::to_string(st.st_size) + "\t" +
                       std::to_string(st.st_mtim.tv_sec) + "\t" + std::to_string(st.st_mtim.tv_nsec) +
                       "\tLine\\none\t\t\n"),
            std::string::npos)
      << cache;
}

// The titles file names each image with its title, so that a file of other images is not taken;
// texts cannot break its lines.
TEST(PhotoMetadata, TitlesFileHandsOverTheTitlesOfExactlyItsImages) {
  test::TempDir dir;
  test::ProgramFolderOverride program(dir.path());
  const std::vector<std::string> images = {
      dir.write("photos/a\tb.jpg", test::WithApp1(test::MakeJpeg(8, 8), test::XmpPayload("Line\none"))),
      Photo("plain")};
  const std::string file = dir.path() + "titles.dat";
  ASSERT_TRUE(WritePhotoTitlesFile(file, images));
  std::vector<std::string> titles;
  ASSERT_TRUE(ReadPhotoTitlesFile(file, images, titles));
  EXPECT_EQ(titles, (std::vector<std::string>{"Line\none", ""}));
  for (const std::vector<std::string>& others :
       {std::vector<std::string>{images[0]}, std::vector<std::string>{images[1], images[0]},
        std::vector<std::string>{images[0], images[1], images[1]}}) {
    EXPECT_FALSE(ReadPhotoTitlesFile(file, others, titles));
    EXPECT_TRUE(titles.empty());
  }
  EXPECT_FALSE(ReadPhotoTitlesFile(dir.path() + "none.dat", images, titles));
}

// Within a snapshot a photo is looked at once; outside it every call sees a changed photo.
TEST(PhotoMetadata, SnapshotLooksAtEachPhotoOnce) {
  test::TempDir dir;
  test::ProgramFolderOverride program(dir.path());
  const std::string jpeg = test::MakeJpeg(8, 8);
  const std::string path = dir.write("photos/p.jpg", test::WithApp1(jpeg, test::XmpPayload("First")));
  {
    TPhotoMetadataSnapshot snapshot;
    EXPECT_EQ(PhotoMetadata(path).title, "First");
    dir.write("photos/p.jpg", test::WithApp1(jpeg, test::XmpPayload("Second title")));
    EXPECT_EQ(PhotoMetadata(path).title, "First");
  }
  EXPECT_EQ(PhotoMetadata(path).title, "Second title");
}

TEST(PhotoMetadata, OrderByTimeTaken) {
  test::TempDir dir;
  test::ProgramFolderOverride program(dir.path());  // where the order keeps the times it read
  const std::vector<std::string> byName = {Photo("a-same-time"), Photo("plain"), Photo("taken-early"),
                                           Photo("taken-exif"), Photo("taken-xmp"), Photo("xmp-title")};
  std::vector<std::string> list = byName;
  OrderImageList(list, TImageOrder::ByName);
  EXPECT_EQ(list, byName);
  // Ties by name; the undated after the dated ones, by name, whatever order they came in.
  std::vector<std::string> reversed(byName.rbegin(), byName.rend());
  OrderImageList(reversed, TImageOrder::ByDate);
  EXPECT_EQ(reversed, (std::vector<std::string>{Photo("taken-xmp"), Photo("taken-early"),
                                                Photo("a-same-time"), Photo("taken-exif"),
                                                Photo("plain"), Photo("xmp-title")}));
}

}  // namespace
}  // namespace pictalon
