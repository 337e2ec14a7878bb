// The shared Generate sequence around the engine call.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Error.h"
#include "GenerateCommand.h"
#include "GalleryFile.h"
#include "Platform.h"
#include "TestSupport.h"
#include "WorkingFiles.h"

namespace pictalon {
namespace {

// Whatever fails once the image list file is written, the begin hook included, the file is
// deleted, the end hook runs, the first page is still asked for, and the failure passes on.
TEST(GenerateSequence, CleanUpRunsWhenBeginFails) {
  test::TempDir dir;
  test::ProgramFolderOverride program(dir.path());
  GallerySettings settings{};
  ApplyDefaultSettings(settings, dir.path());
  std::vector<std::string> opened;
  SetDocumentOpener([&](const std::string& path, bool) {
    opened.push_back(path);
    return true;
  });

  bool listWritten = false;
  int ends = 0;
  TGenerateHooks hooks;
  hooks.begin = [&] {
    listWritten = FileExists(ImageListFilePath());
    throw Error("Cannot show the busy cursor");
  };
  hooks.end = [&] { ++ends; };
  hooks.openFirstPage = true;
  try {
    GeneratePages(dir.path() + "Data/User/G.pgs", settings, {dir.path() + "a.jpg"}, hooks);
    ADD_FAILURE() << "the failure of begin did not pass on";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Cannot show the busy cursor");
  }
  SetDocumentOpener(nullptr);
  EXPECT_TRUE(listWritten);
  EXPECT_FALSE(FileExists(ImageListFilePath()));
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(opened, std::vector<std::string>{dir.path() + "Output/gallery1.html"});
}

}  // namespace
}  // namespace pictalon
