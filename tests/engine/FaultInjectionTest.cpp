// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The files a Generate writes into the output folder (pages, the style sheet, image copies, and
// the image list file of the Generate sequence), written when the disk fills up part-way, into a
// read-only folder, and with a write failing part-way through the I/O layer's fault hook. In each
// case the previous file stays whole, the failure is reported as the engine and the Generate
// sequence define it, and no temporary file is left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "EngineFixture.h"
#include "Error.h"
#include "FaultSandbox.h"
#include "GalleryFile.h"
#include "GenerateCommand.h"
#include "GenerationRun.h"
#include "Platform.h"
#include "TestSupport.h"
#include "TypeDef.h"
#include "WorkingFiles.h"

namespace pictalon {
namespace {

namespace fs = std::filesystem;
using test::Observe;
using test::TFault;
using test::TWriteOutcome;

constexpr std::size_t kBlock = 1 << 20;  // the atomic writer's block

// About 1.5 MiB of text in short lines: more than one block of the atomic writer.
std::string BigText(const std::string& line) {
  std::string text;
  while (text.size() < 3 * kBlock / 2) text += line + "\r\n";
  return text;
}

// One file of the output: where it lies (relative to the output folder), what the folder held
// before, and the step that writes it, which returns its answer and the failure's message.
struct Writer {
  const char* name;
  std::string target;
  std::vector<std::pair<std::string, std::string>> previous;  // files of the target's folder
  std::string failingFile;          // whose write fails when the disk fills or the hook fails
  std::string failingFileReadOnly;  // the first file written, which fails in a read-only folder
  std::function<void()> setup;      // the program's own files for this case
  std::function<bool(std::string& message)> write;
  bool okResult = true;             // without a fault: the answer and the message
  std::string okMessage;
};

class EngineFaultInjection : public testing::Test {
protected:
  EngineFaultInjection() : program_(dir.path()) {
    fs::create_directories(Disk());
    bigPhoto = dir.write("big/IMG_1.jpg", std::string(3 * kBlock / 2, '\xAB'));
    ApplyDefaultSettings(settings, dir.path());
    settings.OutputFolder.set(Folder());
    settings.CopyImages.set(false);
    settings.DisableRightClick.set(false);
    std::string written;
    ForceDirectories(dir.path() + "Data/User");
    galleryPath = dir.path() + "Data/User/Holiday.pgs";
    EXPECT_TRUE(WriteGalleryFile(galleryPath, settings, written));
    EXPECT_TRUE(WriteImageListFile(dir.path() + kImageListFileName,
                                   {dir.write("photos/IMG_1.jpg", test::MakeJpeg(40, 30))}));

    const std::string smallTemplate = "<html><head><#pictcss></head><body><#gallery></body></html>\r\n";
    const std::string smallCss = "body {\r\n  margin: 0;\r\n}\r\n";
    auto runEngine = [this](std::string& message) {
      try {
        return RunGeneration(galleryPath, ui);
      } catch (const Error& e) {
        message = e.what();
        return false;
      }
    };
    const std::vector<std::pair<std::string, std::string>> previousPages = {
        {"gallery1.html", "<html>the page of the last run</html>\r\n"},
        {"pictalon.css", "body {background: #000000}\r\n"}};
    writers = {
        {"page", "gallery1.html", previousPages, "gallery1.html", "gallery1.html",
         [=] { Program(BigText("<p>Text of a long page</p><#galltitle>"), smallCss); }, runEngine, true, ""},
        {"style sheet", "pictalon.css", previousPages, "pictalon.css", "gallery1.html",
         [=] { Program(smallTemplate, BigText(".note {margin: 0; padding: 0}")); }, runEngine, true, ""},
        {"image copy", "gallimgs/IMG_1.jpg", {{"gallimgs/IMG_1.jpg", "the copy of the last run"}}, "", "",
         [=] { Program(smallTemplate, smallCss); },
         [this](std::string&) { return CopyImagesToOutput(settings, {bigPhoto}) == 1; }, true, ""},
        // The sequence writes the list into the program folder of a portable copy: here the output
        // folder stands in for it (kept portable when it is read-only). Once the list is written,
        // the sequence is stopped before it loads the engine (and deletes the list); the answer
        // is whether the list was there whole by then.
        {"image list file", kImageListFileName, {{kImageListFileName, "/the/last/run.jpg\r\n"}},
         kImageListFileName, kImageListFileName, [=] { Program(smallTemplate, smallCss); },
         [this](std::string& message) {
           std::vector<std::string> images(40000, dir.path() + "photos/IMG_1.jpg");
           const std::string line = images[0] + "\r\n";
           std::string seen;
           TGenerateHooks hooks;
           hooks.begin = [&] {
             seen = test::ReadFile(Folder() + kImageListFileName);
             throw Error("list written");
           };
           OverrideProgramFolder(Folder());
           OverrideLayout(TLayout::Portable);
           try {
             GeneratePages(galleryPath, settings, images, hooks);
           } catch (const Error& e) {
             message = e.what();
           }
           OverrideLayout(std::nullopt);
           OverrideProgramFolder(dir.path());
           return seen.size() == images.size() * line.size() && seen.compare(0, line.size(), line) == 0;
         },
         true, "list written"},
    };
  }

  void Program(const std::string& pageTemplate, const std::string& styleSheet) const {
    dir.write("Templates/PictBase.html", pageTemplate);
    dir.write("Data/pictalon.css", styleSheet);
    dir.write("Data/gallerycell6.css", ".gallerycell {\r\n}\r\n");
  }

  // The disk under test (in the sandbox a tmpfs is mounted on it) and the output folder on it.
  std::string Disk() const { return dir.path() + "disk/"; }
  std::string Folder() const { return Disk() + "out/"; }

  void WritePrevious(const Writer& w) const {
    for (const auto& [file, bytes] : w.previous) dir.write("disk/out/" + file, bytes);
  }

  static const std::string& Previous(const Writer& w) {
    return std::find_if(w.previous.begin(), w.previous.end(),
                        [&](const auto& file) { return file.first == w.target; })
        ->second;
  }

  static std::vector<std::string> PreviousNames(const Writer& w) {
    std::vector<std::string> names;
    for (const auto& [file, bytes] : w.previous) names.push_back(ExtractFileName(file));
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string ExpectedMessage(const std::string& file) const {
    return file.empty() ? std::string() : "Cannot create file " + Folder() + file;
  }

  // The failure reported, the previous file whole, and nothing new in its folder.
  void ExpectUntouched(const Writer& w, const TWriteOutcome& o, const std::string& failingFile) const {
    EXPECT_FALSE(o.result);
    EXPECT_EQ(o.note, ExpectedMessage(failingFile));
    EXPECT_TRUE(o.target == Previous(w))
        << "the previous file is not whole: " << o.target.size() << " bytes";
    EXPECT_EQ(o.names, PreviousNames(w));
  }

  void RunWithRealFault(TFault fault) {
    if (!test::SandboxUnavailableReason().empty())
      GTEST_SKIP() << "needs a private tmpfs mount: " << test::SandboxUnavailableReason();
    for (const Writer& w : writers) {
      SCOPED_TRACE(std::string(w.name) + ", " + test::FaultName(fault));
      w.setup();
      const std::string path = Folder() + w.target;
      test::TSandboxResult run = test::RunWithFault(
          Disk(), fault, 4096, [&] { WritePrevious(w); },
          [&] {
            std::string message;
            bool ok = w.write(message);
            return Observe(ok, message, path).Encode();
          });
      ASSERT_TRUE(run.ok) << run.report;
      ExpectUntouched(w, TWriteOutcome::Decode(run.report),
                      fault == TFault::ReadOnly ? w.failingFileReadOnly : w.failingFile);
    }
  }

  test::TempDir dir;
  test::ProgramFolderOverride program_;
  test::RecordingUi ui;
  GallerySettings settings{};
  std::string galleryPath;
  std::string bigPhoto;
  std::vector<Writer> writers;
};

TEST_F(EngineFaultInjection, WritersWriteWhenNothingFails) {
  for (const Writer& w : writers) {
    SCOPED_TRACE(w.name);
    w.setup();
    WritePrevious(w);
    std::string message;
    const std::string path = Folder() + w.target;
    TWriteOutcome o = Observe(w.write(message), message, path);
    EXPECT_EQ(o.result, w.okResult);
    EXPECT_EQ(o.note, w.okMessage);
    EXPECT_NE(o.target, Previous(w));
    for (const std::string& name : o.names)
      EXPECT_TRUE(name[0] != '.' || name == kWebCopiesRecord) << name;  // no temporary file left
    fs::remove_all(Folder());
  }
}

TEST_F(EngineFaultInjection, DiskFillsUpPartWay) { RunWithRealFault(TFault::DiskFull); }

TEST_F(EngineFaultInjection, ReadOnlyOutputFolder) { RunWithRealFault(TFault::ReadOnly); }

// The same faults on any machine: the fault hook fails the write as a full disk would.
TEST_F(EngineFaultInjection, WriteFailsPartWayThroughTheHook) {
  for (const Writer& w : writers) {
    SCOPED_TRACE(w.name);
    w.setup();
    WritePrevious(w);
    const std::string path = Folder() + w.target;
    std::size_t blocks = 0;
    SetWriteFaultHook([&](const std::string& target, std::size_t offset) {
      if (target != path) return true;
      ++blocks;
      return offset < kBlock;
    });
    std::string message;
    bool ok = w.write(message);
    SetWriteFaultHook(nullptr);
    EXPECT_EQ(blocks, 2u) << "the write did not fail part-way";
    ExpectUntouched(w, Observe(ok, message, path), w.failingFile);
    fs::remove_all(Folder());
  }
}

}  // namespace
}  // namespace pictalon
