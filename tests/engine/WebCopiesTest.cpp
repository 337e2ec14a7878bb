// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The Generate sequence's web copies: what is made, what is kept on the next run, what a cancel
// leaves, and the files that are copied as they are.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "Error.h"
#include "FaultSandbox.h"
#include "GalleryFile.h"
#include "GenerateCommand.h"
#include "Helpers.h"
#include "Platform.h"
#include "TestSupport.h"
#include "WebCopies.h"
#include "WebCopy.h"
#include "WorkingFiles.h"

namespace pictalon {
namespace {

namespace fs = std::filesystem;

class WebCopiesTest : public testing::Test {
protected:
  WebCopiesTest() : program_(dir.path()) {
    ApplyDefaultSettings(settings, dir.path());
    settings.OutputFolder.set(dir.path() + "out");
    settings.ScalingMode = 2;
    settings.ThumbSize.set(150);
  }

  std::string Copy(const std::string& name) const { return dir.path() + "out/gallimgs/" + name; }
  std::string Cell(const std::string& name) const { return Copy("cells/" + name); }
  TPixelSize SizeOf(const std::string& path) const {
    const test::TRgb rgb = test::DecodeRgb(test::ReadFile(path));
    return {rgb.width, rgb.height};
  }
  // The files under gallimgs/, relative to it, sorted.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(Copy("")))
      if (e.is_regular_file()) names.push_back(fs::relative(e.path(), Copy("")).string());
    std::sort(names.begin(), names.end());
    return names;
  }
  static long long Changed(const std::string& path) {
    struct ::stat info {};
    ::stat(path.c_str(), &info);
    return static_cast<long long>(info.st_ino) * 1000000007LL + info.st_mtim.tv_nsec + info.st_mtim.tv_sec;
  }

  // Writes the gallery file for a run with web copies (of that longest side) or plain ones.
  std::string Gallery(bool web, std::int32_t longest = 600) {
    const std::string gallery = dir.path() + "G.pgs";
    std::string written;
    settings.CopyImages.set(true);
    EXPECT_TRUE(WriteGalleryFile(gallery, settings, TGalleryTail::WebCopies(web, longest), written));
    return gallery;
  }
  // A run that the user cancels at once; the pages it asks the browser for go to opened.
  TGenerateResult CancelledRun(const std::string& gallery, const std::vector<std::string>& images,
                               std::vector<std::string>& opened) {
    SetDocumentOpener([&](const std::string& path, bool) {
      opened.push_back(path);
      return true;
    });
    TGenerateHooks hooks;
    hooks.cancelled = [] { return true; };
    hooks.openFirstPage = true;
    const TGenerateResult result = GeneratePages(gallery, settings, images, hooks);
    SetDocumentOpener(nullptr);
    return result;
  }
  // The failure of a whole run, empty when it succeeded; the image list file must be gone either way.
  std::string RunFailure(bool web, const std::vector<std::string>& images) {
    std::string failure;
    try {
      GeneratePages(Gallery(web), settings, images);
    } catch (const Error& e) {
      failure = e.what();
    }
    EXPECT_FALSE(FileExists(ImageListFilePath()));
    return failure;
  }

  test::TempDir dir;
  test::ProgramFolderOverride program_;
  GallerySettings settings{};
};

// Neither web nor plain copies ever write an original: not when the images folder is the output's
// gallimgs/ (web copies then fail, naming the file), nor through a link in gallimgs/ to the
// original (which the copy replaces), on this run or the next.
TEST_F(WebCopiesTest, OriginalsAreNeverWritten) {
  const std::string photo = test::MakeJpeg(1200, 900);
  for (const bool web : {true, false}) {
    for (const bool linked : {false, true}) {
      SCOPED_TRACE(std::string(web ? "web" : "plain") + (linked ? ", linked from gallimgs/" : ", in gallimgs/"));
      fs::remove_all(dir.path() + "out");
      const std::string original = dir.write(linked ? "photos/a.jpg" : "out/gallimgs/a.jpg", photo);
      if (linked) {
        fs::create_directories(Copy(""));
        fs::create_symlink(original, Copy("a.jpg"));
      }
      for (int run = 0; run < 2; ++run) {
        const std::string failure = RunFailure(web, {original});
        EXPECT_EQ(test::ReadFile(original), photo);
        if (web && !linked) {
          EXPECT_NE(failure.find(Copy("a.jpg") + ": it is the original picture"), std::string::npos) << failure;
          continue;
        }
        EXPECT_EQ(failure, "");
        EXPECT_EQ(fs::is_symlink(Copy("a.jpg")), false);
        EXPECT_EQ(SizeOf(Copy("a.jpg")), (web ? TPixelSize{600, 450} : TPixelSize{1200, 900}));
      }
    }
  }
}

// A web copy that cannot be made fails the run as a plain copy does, naming the file and the
// reason: a source that cannot be read (a dangling link, a file gone since the list was made) or
// a copy that cannot be written (a folder in its way, a full disk).
TEST_F(WebCopiesTest, AFailedCopyFailsTheRunNamingTheFile) {
  const std::string good = dir.write("photos/good.jpg", test::MakeJpeg(1200, 900));
  fs::create_symlink(dir.path() + "photos/none.jpg", dir.path() + "photos/dangling.jpg");
  const struct {
    const char* name;
    std::string image;
    std::string says;
  } cases[] = {
      {"dangling link", dir.path() + "photos/dangling.jpg", "Cannot read " + dir.path() + "photos/dangling.jpg: No such file"},
      {"file gone", dir.path() + "photos/gone.jpg", "Cannot read " + dir.path() + "photos/gone.jpg: No such file"},
      {"folder in the way", dir.write("photos/way.jpg", test::MakeJpeg(800, 600)), "Cannot write " + Copy("way.jpg") + ": "},
  };
  for (const auto& c : cases) {
    for (const bool web : {true, false}) {
      SCOPED_TRACE(std::string(c.name) + (web ? ", web" : ", plain"));
      fs::remove_all(dir.path() + "out");
      fs::create_directories(Copy("way.jpg/inside"));
      const std::string failure = RunFailure(web, {good, c.image});
      EXPECT_EQ(failure.rfind(c.says, 0), 0u) << failure;
      EXPECT_FALSE(FileExists(dir.path() + "out/gallery1.html"));
    }
  }

  // Four photos on an output file system with room for about one web copy.
  if (!test::SandboxUnavailableReason().empty())
    GTEST_SKIP() << "no disk-full case: " << test::SandboxUnavailableReason();
  std::vector<std::string> four;
  for (int i = 0; i < 4; ++i) four.push_back(dir.write("photos/" + std::to_string(i) + ".jpg", test::MakeJpeg(1200, 900)));
  settings.OutputFolder.set(dir.path() + "disk/out");
  fs::create_directories(dir.path() + "disk");
  const std::string gallery = Gallery(true);
  const test::TSandboxResult full = test::RunWithFault(dir.path() + "disk/", test::TFault::DiskFull, 16384, nullptr, [&] {
    try {
      GeneratePages(gallery, settings, four);
    } catch (const Error& e) {
      return std::string(e.what());
    }
    return std::string("no failure");
  });
  ASSERT_TRUE(full.ok) << full.report;
  EXPECT_EQ(full.report.rfind("Cannot write " + dir.path() + "disk/out/gallimgs/", 0), 0u) << full.report;
  EXPECT_NE(full.report.find("No space left on device"), std::string::npos) << full.report;
}

// The record matches names exactly (a.jpg beside A.jpg, a name beginning with a blank), and a new
// resizer makes every copy again.
TEST_F(WebCopiesTest, TheRecordKnowsEachNameAndTheResizer) {
  const std::vector<std::string> images = {dir.write("photos/a.jpg", test::MakeJpeg(800, 600)),
                                           dir.write("photos/A.jpg", test::MakeJpeg(600, 800)),
                                           dir.write("photos/ b.jpg", test::MakeJpeg(640, 480))};
  const TGalleryTail web = TGalleryTail::WebCopies(true, 400);
  EXPECT_EQ(MakeWebCopies(settings, web, images).made, 3u);
  TWebCopiesReport again = MakeWebCopies(settings, web, images);
  EXPECT_EQ(again.made, 0u);
  EXPECT_EQ(again.kept, 3u);
  std::string record = test::ReadFile(Copy(kWebCopiesRecord));
  for (std::size_t at; (at = record.find(" r" + std::to_string(kWebCopyResizerVersion) + "\t")) != std::string::npos;)
    record.replace(at, 3, " r0\t");
  dir.write("out/gallimgs/" + std::string(kWebCopiesRecord), record);
  EXPECT_EQ(MakeWebCopies(settings, web, images).made, 3u);
}

// Plain copies are made only for what changed, and Cancel stops them: no pages are made or opened.
TEST_F(WebCopiesTest, PlainCopiesAreIncrementalAndCanBeCancelled) {
  const std::vector<std::string> images = {dir.write("photos/a.jpg", test::MakeJpeg(80, 60)),
                                           dir.write("photos/b.jpg", test::MakeJpeg(60, 80))};
  EXPECT_EQ(CopyImagesToOutput(settings, images), 2u);
  const long long a = Changed(Copy("a.jpg")), b = Changed(Copy("b.jpg"));
  dir.write("photos/b.jpg", test::MakeJpeg(70, 80));
  EXPECT_EQ(CopyImagesToOutput(settings, images), 2u);
  EXPECT_EQ(Changed(Copy("a.jpg")), a);
  EXPECT_NE(Changed(Copy("b.jpg")), b);
  EXPECT_EQ(SizeOf(Copy("b.jpg")), (TPixelSize{70, 80}));

  fs::remove_all(dir.path() + "out");
  std::vector<std::string> opened;
  const TGenerateResult result = CancelledRun(Gallery(false), images, opened);
  EXPECT_EQ(result.outcome, TGenerateOutcome::Cancelled);
  EXPECT_TRUE(opened.empty());
  EXPECT_FALSE(FileExists(Copy("a.jpg")));
  EXPECT_FALSE(FileExists(dir.path() + "out/gallery1.html"));
}

TEST_F(WebCopiesTest, MadeOnceAndRedoneOnlyWhenTheirSourceOrShapeChanges) {
  const std::vector<std::string> images = {
      dir.write("photos/a.jpg", test::MakeJpeg(1200, 900)),
      dir.write("photos/p.jpg", test::WithApp1(test::MakeJpeg(1200, 900), test::ExifPayload(6))),
      dir.write("photos/bad.jpg", "not a picture"),
  };
  TGalleryTail web = TGalleryTail::WebCopies(true, 600);
  std::vector<std::pair<std::size_t, std::size_t>> progress;
  TWebCopiesReport report =
      MakeWebCopies(settings, web, images, [&](std::size_t d, std::size_t t) { progress.emplace_back(d, t); });
  EXPECT_EQ(report.made, 3u);
  EXPECT_EQ(report.notResized, (std::vector<TNotResizedImage>{{images[2], TNotResized::NotJpeg}}));
  EXPECT_FALSE(report.cancelled);
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back(), std::make_pair(std::size_t(3), std::size_t(3)));
  EXPECT_EQ(SizeOf(Copy("a.jpg")), (TPixelSize{600, 450}));
  EXPECT_EQ(SizeOf(Cell("a.jpg")), (TPixelSize{300, 225}));
  EXPECT_EQ(SizeOf(Copy("p.jpg")), (TPixelSize{450, 600}));
  EXPECT_EQ(SizeOf(Cell("p.jpg")), (TPixelSize{300, 400}));
  EXPECT_EQ(test::ReadFile(Copy("bad.jpg")), "not a picture");
  EXPECT_EQ(Files(), (std::vector<std::string>{".pictalon-copies", "a.jpg", "bad.jpg", "cells/a.jpg",
                                               "cells/p.jpg", "p.jpg"}));

  // Nothing changed: nothing is made again, and the undecodable file is still reported.
  const long long a = Changed(Copy("a.jpg")), p = Changed(Copy("p.jpg")), cell = Changed(Cell("p.jpg"));
  progress.clear();
  report = MakeWebCopies(settings, web, images, [&](std::size_t d, std::size_t t) { progress.emplace_back(d, t); });
  EXPECT_EQ(progress.back(), std::make_pair(std::size_t(3), std::size_t(3)));
  EXPECT_EQ(report.made, 0u);
  EXPECT_EQ(report.kept, 3u);
  EXPECT_EQ(report.notResized, (std::vector<TNotResizedImage>{{images[2], TNotResized::NotJpeg}}));
  EXPECT_EQ(Changed(Copy("a.jpg")), a);
  EXPECT_EQ(Changed(Cell("p.jpg")), cell);

  // A changed source is made again, alone.
  dir.write("photos/a.jpg", test::MakeJpeg(800, 900));
  report = MakeWebCopies(settings, web, images);
  EXPECT_EQ(report.made, 1u);
  EXPECT_EQ(SizeOf(Copy("a.jpg")), (TPixelSize{533, 600}));
  EXPECT_EQ(Changed(Copy("p.jpg")), p);

  // A deleted cell picture, or a copy replaced since (a plain copy of the original), is made again.
  std::remove(Cell("p.jpg").c_str());
  EXPECT_EQ(MakeWebCopies(settings, web, images).made, 1u);
  EXPECT_TRUE(FileExists(Cell("p.jpg")));
  ASSERT_TRUE(CopyOrMoveFile(images[1], Copy("p.jpg"), false));
  EXPECT_EQ(MakeWebCopies(settings, web, images).made, 1u);
  EXPECT_EQ(SizeOf(Copy("p.jpg")), (TPixelSize{450, 600}));

  // New shaping settings remake all; a cell that would not be smaller goes, so the page shows the copy.
  settings.ThumbSize.set(400);
  web.LongestSide = 800;
  report = MakeWebCopies(settings, web, images);
  EXPECT_EQ(report.made, 3u);
  EXPECT_EQ(SizeOf(Copy("p.jpg")), (TPixelSize{600, 800}));
  EXPECT_FALSE(FileExists(Cell("a.jpg")));
  EXPECT_FALSE(FileExists(Cell("p.jpg")));
}

// A cancel starts no further copy; every file there is whole, and the engine does not run.
TEST_F(WebCopiesTest, CancelLeavesOnlyWholeFiles) {
  std::vector<std::string> images;
  for (int i = 0; i < 8; ++i)
    images.push_back(dir.write("photos/" + std::to_string(i) + ".jpg", test::MakeJpeg(1600, 1200)));
  std::vector<std::string> opened;
  const TGenerateResult result = CancelledRun(Gallery(true, 400), images, opened);
  EXPECT_EQ(result.outcome, TGenerateOutcome::Cancelled);
  EXPECT_TRUE(opened.empty());
  EXPECT_FALSE(FileExists(ImageListFilePath()));
  std::size_t copies = 0;
  for (const std::string& name : Files()) {
    if (name == ".pictalon-copies") continue;
    SCOPED_TRACE(name);
    EXPECT_EQ(SizeOf(Copy(name)).empty(), false);  // decodes whole: no half-written file
    if (name.rfind("cells/", 0) != 0) ++copies;
  }
  EXPECT_LT(copies, images.size());
  // The next run makes only what the cancelled one did not.
  EXPECT_EQ(MakeWebCopies(settings, TGalleryTail::WebCopies(true, 400), images).made, images.size() - copies);
}

}  // namespace
}  // namespace pictalon
