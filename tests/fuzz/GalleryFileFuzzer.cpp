// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Gallery files come from anywhere (a path on the command line, a copied .pgs): reading one must
// accept any bytes, and every field of the record, and every tag text the engine makes of it,
// must be usable whatever they hold. Bytes after the record, which the reader ignores, serve as
// the run's image details file, so the captions meet damaged details too.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "Error.h"
#include "FuzzSupport.h"
#include "GalleryFile.h"
#include "Generate.h"
#include "GenerationRun.h"
#include "Platform.h"
#include "TypeDef.h"

namespace pictalon {
namespace {

class SilentUi : public TEngineUi {
public:
  void ShowMessage(const TMessage&) override {}
  void ShowError(const TMessage&) override {}
  void OpenProgress() override {}
  void SetProgress(int position) override { FUZZ_CHECK(position >= 0 && position <= 100); }
  void CloseProgress() override {}
  void ProcessMessages() override {}
};

std::size_t Use(const StringSlot& slot) {
  std::string text = slot.get();
  FUZZ_CHECK(text.size() == slot.length && slot.empty() == text.empty());
  return text.size();
}

std::size_t Use(const Int32Field& field) {
  const std::uint8_t* b = field.bytes;
  auto expected = static_cast<std::int32_t>(std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 |
                                            std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24);
  FUZZ_CHECK(field.get() == expected);
  return static_cast<std::size_t>(expected & 0xFF);
}

std::size_t Use(const BoolField& field) {
  FUZZ_CHECK(field.get() == (field.value != 0));
  return field.get() ? 1 : 0;
}

// The tags whose text depends on the record alone; "gentag" reads the program's version and
// "gallery" is asked for separately, with a bounded layout.
const char* const kRecordTags[] = {"galltitle", "pictcss",    "script",         "tblwidth",
                                   "backlink",  "userimg",    "emptyornil",     "galleryheading",
                                   "galleryintro", "galleryfooter", "pictfoot", "BackLink"};

// A program folder without data files: the script tag finds no script and reads nothing.
struct Setup {
  Setup() {
    ForceDirectories(folder);
    OverrideProgramFolder(folder);
  }
  ~Setup() { ::rmdir(folder.c_str()); }
  fuzz::ScratchFile scratch{"gallery.pgs"};
  std::string folder = scratch.path() + ".program/";
};

}  // namespace
}  // namespace pictalon

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pictalon;
  static Setup setup;
  const std::string& path = setup.scratch.Write(data, size);

  GallerySettings settings;
  std::memset(&settings, 0, sizeof settings);
  TGalleryTail webCopies;
  FUZZ_CHECK(ReadGalleryFile(path, settings, webCopies));
  // Whatever follows the record, the tail's settings stay within their range.
  FUZZ_CHECK(webCopies.LongestSide >= TGalleryTail::kMinLongestSide &&
             webCopies.LongestSide <= TGalleryTail::kMaxLongestSide);
  // The leading bytes come from the file, the rest keeps the caller's zeros.
  const std::size_t used = size < sizeof settings ? size : sizeof settings;
  const auto* record = reinterpret_cast<const std::uint8_t*>(&settings);
  FUZZ_CHECK(std::memcmp(record, data, used) == 0);
  for (std::size_t i = used; i < sizeof settings; ++i) FUZZ_CHECK(record[i] == 0);

  std::size_t sink = 0;
  for (const StringSlot* slot :
       {&settings.TitleText, &settings.IntroText1, &settings.IntroText2, &settings.IntroText3,
        &settings.IntroText4, &settings.FooterText, &settings.TextColour, &settings.LogoGraphic,
        &settings.TitleGraphic, &settings.BackgroundImage, &settings.BackgroundColour,
        &settings.CellStyleSheet, &settings.TemplateName, &settings.ImageFolder,
        &settings.ImageURL, &settings.OutputFolder, &settings.BackLinkURL})
    sink += Use(*slot);
  for (const Int32Field* field : {&settings.Columns, &settings.Rows, &settings.ThumbSize,
                                  &settings.TableWidth, &settings.TableWidthUnit,
                                  &settings.CellSpacing})
    sink += Use(*field);
  for (const BoolField* field : {&settings.HyperlinkImages, &settings.FileNameAsCaption,
                                 &settings.LinkInNewWindow, &settings.DisableRightClick,
                                 &settings.DisableImageToolbar, &settings.CopyImages})
    sink += Use(*field);
  sink += settings.ScalingMode + settings.HyperlinkMode;

  // The engine's tag texts for this record.
  SilentUi ui;
  TRunState run(ui);
  run.programFolder = GetProgramFolder();
  run.dataFolder = run.programFolder + "Data/";
  run.settings = settings;
  run.rows = settings.Rows.get();
  run.columns = settings.Columns.get();
  run.imageList = {"/nonexistent/a.jpg", "", "b"};
  if (size > sizeof settings) {
    run.details.emplace();
    run.details->SetText(std::string_view(reinterpret_cast<const char*>(data) + sizeof settings,
                                          size - sizeof settings));
  }
  run.pageCount = 2;
  run.currentPage = 1;
  TDummyClass handler(run);
  TPageBuilder builder;
  for (const char* tag : kRecordTags) {
    std::string text;
    try {
      handler.TagHandler(builder, tag, text);
    } catch (const Error&) {
      // A background colour of seven bytes after '#' that is not hexadecimal fails the back link.
      const std::string colour = settings.BackgroundColour.get();
      FUZZ_CHECK(colour.size() == 7 && colour[0] == '#');
    }
    sink += text.size();
  }
  // The gallery table writes every row, so it is only asked for within a small layout.
  if (run.rows >= 1 && run.rows <= 16 && run.columns >= 1 && run.columns <= 16) {
    std::string table;
    handler.TagHandler(builder, "gallery", table);
    FUZZ_CHECK(run.imagesPlaced == std::min<std::int64_t>(run.imageList.size(),
                                                          std::int64_t(run.rows) * run.columns));
    sink += table.size();
  }
  volatile std::size_t keep = sink;
  (void)keep;
  return 0;
}
