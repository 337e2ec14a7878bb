// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Every file the shared library writes, written when the disk fills up part-way, into a read-only
// folder, and with a write failing part-way through the I/O layer's fault hook. In each case the
// previous file stays whole, the failure is reported, and no temporary file is left behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "FaultSandbox.h"
#include "GalleryFile.h"
#include "Helpers.h"
#include "IniDocument.h"
#include "Platform.h"
#include "TestSupport.h"
#include "TypeDef.h"
#include "WorkingFiles.h"

namespace pictalon {
namespace {

using test::Observe;
using test::TFault;
using test::TWriteOutcome;

GallerySettings Settings(const std::string& title) {
  GallerySettings s{};
  ApplyDefaultSettings(s, "/opt/Pictalon/");
  s.TitleText.set(title);
  return s;
}

std::string RecordBytes(const GallerySettings& s) {
  return std::string(reinterpret_cast<const char*>(&s), sizeof s);
}

std::vector<std::string> ManyImages() {
  std::vector<std::string> images;
  for (int i = 0; i < 25000; ++i)
    images.push_back("/home/someone/Pictures/Holidays 2023/Summer/IMG_" + std::to_string(100000 + i) + ".jpg");
  return images;  // about 1.5 MiB as a file: more than one block of the atomic writer
}

// One writer: where it writes (relative to the folder under test), what was there before, and
// the write itself, which returns the writer's answer and notes anything else that went wrong.
struct Writer {
  const char* name;
  std::string target;
  std::string previous;
  std::size_t hookFailsAt;  // offset of the block the fault hook fails: past the first when
                            // the new file spans several blocks, so the failure is part-way
  std::function<bool(const std::string& path, std::string& note)> write;
};

class FaultInjection : public testing::Test {
protected:
  FaultInjection() {
    std::filesystem::create_directories(Disk());
    photo = dir.write("photo.jpg", std::string(3 << 19, '\xAB'));  // 1.5 MiB
    writers = {
        {"gallery file", "Holiday.pgs", RecordBytes(Settings("Old title")), 0,
         [](const std::string& path, std::string& note) {
           std::string written = "unchanged";
           bool ok = WriteGalleryFile(path, Settings("New title"), written);
           if (!ok && written != "unchanged") note = "writtenPath became " + written;
           return ok;
         }},
        {"image details file", "Holiday.dat", "[IMG_1.jpg]\r\nTitle=Old\r\nRef=1\r\nSize=\r\n\r\n", 0,
         [](const std::string& path, std::string&) {
           TIniDocument details(path);
           for (int i = 0; i < 200; ++i)
             details.WriteString("IMG_" + std::to_string(i) + ".jpg", "Title", "A title long enough to fill pages");
           return details.UpdateFile();
         }},
        {"image list file", kImageListFileName, "/old/IMG_1.jpg\r\n", 1 << 20,
         [](const std::string& path, std::string&) { return WriteImageListFile(path, ManyImages()); }},
        {"image copy", "IMG_1.jpg", "old copy", 1 << 20,
         [this](const std::string& path, std::string&) { return CopyOrMoveFile(photo, path, false); }},
    };
  }

  // The disk under test (in the sandbox a tmpfs is mounted on it) and the folder written to,
  // apart from the sandbox's filler file.
  std::string Disk() const { return dir.path() + "disk/"; }
  std::string Folder() const { return Disk() + "out/"; }

  void WritePrevious(const Writer& w) const { dir.write("disk/out/" + w.target, w.previous); }

  // Checks what the write left behind: a failure reported, the previous file whole, and nothing
  // else in its folder.
  static void ExpectUntouched(const Writer& w, const TWriteOutcome& o) {
    EXPECT_FALSE(o.result);
    EXPECT_EQ(o.note, "");
    EXPECT_TRUE(o.target == w.previous)
        << "the previous file is not whole: " << o.target.size() << " bytes instead of " << w.previous.size();
    EXPECT_EQ(o.names, std::vector<std::string>{ExtractFileName(w.target)});
  }

  void RunWithRealFault(TFault fault) {
    if (!test::SandboxUnavailableReason().empty())
      GTEST_SKIP() << "needs a private tmpfs mount: " << test::SandboxUnavailableReason();
    for (const Writer& w : writers) {
      SCOPED_TRACE(std::string(w.name) + ", " + test::FaultName(fault));
      const std::string path = Folder() + w.target;
      test::TSandboxResult run = test::RunWithFault(
          Disk(), fault, 4096, [&] { WritePrevious(w); },
          [&] {
            std::string note;
            bool ok = w.write(path, note);
            return Observe(ok, note, path).Encode();
          });
      ASSERT_TRUE(run.ok) << run.report;
      ExpectUntouched(w, TWriteOutcome::Decode(run.report));
    }
  }

  test::TempDir dir;
  std::string photo;
  std::vector<Writer> writers;
};

TEST_F(FaultInjection, WritersWriteWhenNothingFails) {
  for (const Writer& w : writers) {
    SCOPED_TRACE(w.name);
    WritePrevious(w);
    std::string note;
    const std::string path = Folder() + w.target;
    TWriteOutcome o = Observe(w.write(path, note), note, path);
    EXPECT_TRUE(o.result);
    EXPECT_NE(o.target, w.previous);
    EXPECT_EQ(o.names, std::vector<std::string>{ExtractFileName(w.target)});
    std::filesystem::remove(path);
  }
}

TEST_F(FaultInjection, DiskFillsUpPartWay) { RunWithRealFault(TFault::DiskFull); }

TEST_F(FaultInjection, ReadOnlyFolder) { RunWithRealFault(TFault::ReadOnly); }

// The same faults on any machine: the fault hook fails the write as a full disk would.
TEST_F(FaultInjection, WriteFailsPartWayThroughTheHook) {
  for (const Writer& w : writers) {
    SCOPED_TRACE(w.name);
    WritePrevious(w);
    const std::string path = Folder() + w.target;
    std::size_t blocks = 0;
    SetWriteFaultHook([&](const std::string& target, std::size_t offset) {
      if (target != path) return true;
      ++blocks;
      return offset < w.hookFailsAt;
    });
    std::string note;
    bool ok = w.write(path, note);
    SetWriteFaultHook(nullptr);
    EXPECT_EQ(blocks, w.hookFailsAt / (1 << 20) + 1) << "the hook failed another block than meant";
    ExpectUntouched(w, Observe(ok, note, path));
    std::filesystem::remove(path);
  }
}

}  // namespace
}  // namespace pictalon
