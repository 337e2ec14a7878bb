// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The one write primitive under every writer: names of any legal length and bytes, symbolic
// links kept, modes from the umask, and the temporaries an interrupted run must find.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "GalleryFile.h"
#include "Helpers.h"
#include "IniDocument.h"
#include "Platform.h"
#include "TestSupport.h"
#include "WorkingFiles.h"

namespace pictalon {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using Lines = std::vector<std::string>;

// Every entry of folder, hidden ones included.
Lines Entries(const std::string& folder) {
  Lines names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

struct NamedCase {
  const char* what;
  std::string name;
};

const NamedCase kNames[] = {
    {"250 bytes", std::string(246, 'n') + ".jpg"},
    {"255 bytes, the longest a name can be", std::string(251, 'm') + ".jpg"},
    {"UTF-8", "Sch\xc3\xb6ne Gr\xc3\xbc\xc3\x9f\x65 \xe2\x80\x94 \xe5\x86\x99\xe7\x9c\x9f.jpg"},
    {"bytes that are no UTF-8", "photo \xff\xfe\x80.jpg"},
};

// Writing and copying under each name: the file arrives whole and nothing else is left.
TEST(AtomicWrite, AnyLegalNameIsWrittenAndCopied) {
  for (const NamedCase& c : kNames) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    std::string source = dir.write("photos/" + c.name, "JPEG bytes of " + c.name);
    std::string written = dir.path() + "out/" + c.name;
    ForceDirectories(dir.path() + "out");
    std::string reason;
    EXPECT_TRUE(WriteFileAtomic(written, "first", false, &reason)) << reason;
    EXPECT_TRUE(WriteFileAtomic(written, "second", true, &reason)) << reason;  // replaces
    EXPECT_EQ(ReadFile(written), "second");
    std::string copy = dir.path() + "copies/" + c.name;
    ForceDirectories(dir.path() + "copies");
    TMessage copyFailure;
    EXPECT_TRUE(CopyOrMoveFile(source, copy, false, &copyFailure)) << copyFailure.Text();
    EXPECT_EQ(ReadFile(copy), "JPEG bytes of " + c.name);
    EXPECT_EQ(Entries(dir.path() + "out"), Lines{c.name});
    EXPECT_EQ(Entries(dir.path() + "copies"), Lines{c.name});
    // The listing finds it for the image list.
    Lines listed;
    FillImageListFromFolder(dir.path() + "photos", listed);
    EXPECT_EQ(listed, Lines{source});
  }
  // A line break would split the image list's line: such a photo is not listed, as before,
  // though it can be written.
  TempDir dir;
  std::string broken = dir.write("photos/two\nlines.jpg", "x");
  EXPECT_FALSE(FitsImageList(broken));
  Lines listed;
  FillImageListFromFolder(dir.path() + "photos", listed);
  EXPECT_TRUE(listed.empty());
}

// A failed copy says which file and why, whatever the name.
TEST(AtomicWrite, AFailedCopyNamesTheFileAndTheReason) {
  TempDir dir;
  std::string source = dir.write("a.jpg", "JPEG");
  TMessage failure;
  std::string tooLong = dir.path() + std::string(256, 'x') + ".jpg";
  EXPECT_FALSE(CopyOrMoveFile(source, tooLong, false, &failure));
  std::string reason = failure.Text();
  EXPECT_NE(reason.find(tooLong), std::string::npos) << reason;
  EXPECT_NE(reason.find("File name too long"), std::string::npos) << reason;
  EXPECT_FALSE(CopyOrMoveFile(dir.path() + "missing.jpg", dir.path() + "b.jpg", false, &failure));
  reason = failure.Text();
  EXPECT_NE(reason.find("missing.jpg"), std::string::npos) << reason;
  EXPECT_EQ(Entries(dir.path()), Lines{"a.jpg"});
}

// Every writer writes through a symbolic link: the link stays, its target (in another folder,
// through a relative link and a chain of two links) gets the bytes, and no temporary is left
// in either folder.
TEST(AtomicWrite, EveryWriterKeepsALinkAndReplacesItsTarget) {
  struct Writer {
    const char* what;
    std::function<bool(const std::string& path)> write;
  };
  TempDir source;
  std::string photo = source.write("photo.jpg", "JPEG");
  GallerySettings settings{};
  ApplyDefaultSettings(settings, source.path());
  const Writer writers[] = {
      {"atomic write", [](const std::string& p) { return WriteFileAtomic(p, "new", true); }},
      {"page or style sheet", [](const std::string& p) { return WriteFileIfChanged(p, "new"); }},
      {"image copy", [&](const std::string& p) { return CopyOrMoveFile(photo, p, false); }},
      {"gallery file", [&](const std::string& p) {
         std::string written;
         return WriteGalleryFile(p, settings, written);
       }},
      {"details file", [](const std::string& p) {
         TIniDocument details(p);
         details.WriteString("a.jpg", "Title", "new");
         return details.UpdateFile();
       }},
  };
  struct Link {
    const char* what;
    std::function<void(const std::string& dir, const std::string& link)> make;
  };
  const Link links[] = {
      {"absolute link", [](const std::string& dir, const std::string& link) {
         fs::create_symlink(dir + "synced/file", link);
       }},
      {"relative link", [](const std::string&, const std::string& link) {
         fs::create_symlink("../synced/file", link);
       }},
      {"chain of links", [](const std::string& dir, const std::string& link) {
         fs::create_symlink("file", dir + "synced/middle");
         fs::create_symlink(dir + "synced/middle", link);
       }},
  };
  for (const Writer& w : writers) {
    for (const Link& l : links) {
      SCOPED_TRACE(std::string(w.what) + ", " + l.what);
      TempDir dir;
      std::string target = dir.write("synced/file", "old");
      ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
      std::string link = dir.path() + "work/file";
      ForceDirectories(dir.path() + "work");
      l.make(dir.path(), link);
      const Lines syncedBefore = Entries(dir.path() + "synced");

      ASSERT_TRUE(w.write(link));
      EXPECT_TRUE(fs::is_symlink(link)) << "the link stays a link";
      EXPECT_NE(ReadFile(target), "old");
      EXPECT_EQ(ReadFile(link), ReadFile(target));
      struct stat st;
      ASSERT_EQ(::stat(target.c_str(), &st), 0);
      EXPECT_EQ(st.st_mode & 0777, 0640u) << "the target keeps its mode";
      EXPECT_EQ(Entries(dir.path() + "work"), Lines{"file"});
      EXPECT_EQ(Entries(dir.path() + "synced"), syncedBefore);
    }
  }
  // A dangling link: the file it names is made.
  TempDir dir;
  ForceDirectories(dir.path() + "synced");
  fs::create_symlink(dir.path() + "synced/new.pgs", dir.path() + "g.pgs");
  ASSERT_TRUE(WriteFileAtomic(dir.path() + "g.pgs", "made"));
  EXPECT_EQ(ReadFile(dir.path() + "synced/new.pgs"), "made");
  EXPECT_TRUE(fs::is_symlink(dir.path() + "g.pgs"));
  // A loop of links is an error, not a replaced link.
  fs::create_symlink(dir.path() + "loop-b", dir.path() + "loop-a");
  fs::create_symlink(dir.path() + "loop-a", dir.path() + "loop-b");
  std::string reason;
  EXPECT_FALSE(WriteFileAtomic(dir.path() + "loop-a", "x", false, &reason));
  EXPECT_FALSE(reason.empty());
  EXPECT_TRUE(fs::is_symlink(dir.path() + "loop-a"));
}

// A new file takes its mode from the umask, and reading it leaves the umask as it was.
TEST(AtomicWrite, NewFilesFollowTheUmask) {
  TempDir dir;
  for (mode_t mask : {mode_t(022), mode_t(027), mode_t(077)}) {
    SCOPED_TRACE(mask);
    mode_t old = ::umask(mask);
    std::string path = dir.path() + "new" + std::to_string(mask);
    bool written = WriteFileAtomic(path, "x");
    mode_t after = ::umask(old);
    ASSERT_TRUE(written);
    EXPECT_EQ(after, mask);
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666u & ~mask);
  }
}

// While a write is under way its temporary can be found and removed from a signal handler;
// the write then fails and leaves nothing.
TEST(AtomicWrite, AnUnfinishedWritesTemporaryIsRemoved) {
  TempDir dir;
  std::string path = dir.path() + "page.html";
  Lines seen;
  SetWriteFaultHook([&](const std::string&, std::size_t offset) {
    if (offset > 0 && seen.empty()) {
      seen = Entries(dir.path());
      RemoveTemporaryFiles();
    }
    return true;
  });
  std::string reason;
  bool written = WriteFileAtomic(path, std::string(3 << 20, 'b'), false, &reason);
  SetWriteFaultHook(nullptr);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].rfind(".pictalon-", 0), 0u) << seen[0];
  EXPECT_FALSE(written);
  EXPECT_TRUE(Entries(dir.path()).empty());
  RemoveTemporaryFiles();  // nothing listed any more: removes nothing
  EXPECT_TRUE(WriteFileAtomic(path, "x"));
  EXPECT_EQ(Entries(dir.path()), Lines{"page.html"});
}

}  // namespace
}  // namespace pictalon
