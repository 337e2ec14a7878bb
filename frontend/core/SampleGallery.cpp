// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "SampleGallery.h"

#include <cstdint>
#include <cstdio>
#include <string_view>

#include "GalleryFile.h"
#include "Helpers.h"
#include "IniDocument.h"
#include "Platform.h"
#include "TextUtil.h"
#include "TypeDef.h"
#include "WorkingFiles.h"

namespace pictalon {

namespace {

struct SamplePhoto {
  const char* fileName;
  const char* title;
  const char* ref;
};

// The photos drawn by scripts/make-sample-photos.sh, in the order the gallery lists them.
constexpr SamplePhoto kPhotos[] = {
    {"01-sunset-hills.jpg", "Sunset over the Hills", "SG-01"},
    {"02-poppy-meadow.jpg", "Poppy Meadow", "SG-02"},
    {"03-lake-at-dawn.jpg", "Mountain Lake at Dawn", "SG-03"},
    {"04-northern-lights.jpg", "Northern Lights", "SG-04"},
    {"05-birch-wood.jpg", "Birch Wood", "SG-05"},
    {"06-desert-dunes.jpg", "Desert Dunes", "SG-06"},
    {"07-ocean-waves.jpg", "Ocean Swell", "SG-07"},
    {"08-autumn-glow.jpg", "Autumn Glow", "SG-08"},
};

constexpr const char* kCrLf = "\r\n";

const std::string kIntroduction =
    std::string("Welcome to the sample gallery that comes with Pictalon. Its eight pictures are "
                "painted from colour gradients and simple shapes, laid out three to a row and two "
                "rows to a page. Click a picture to see it at full size.") +
    kCrLf + kCrLf +
    "Open this gallery in Pictalon and try another template, cell style or picture size, then "
    "generate the pages again to see the difference. The Back link above leads to the user "
    "guide, which explains every setting.";

// Spreads the introduction over the four slots of 255 bytes, as the wizard stores it.
bool SetIntroduction(GallerySettings& settings, std::string_view text) {
  for (StringSlot* slot :
       {&settings.IntroText1, &settings.IntroText2, &settings.IntroText3, &settings.IntroText4}) {
    std::string_view piece = CutUtf8(text, StringSlot::kMaxText);
    slot->set(piece);
    text.remove_prefix(piece.size());
  }
  return text.empty();
}

// A file URL for an absolute path: bytes outside the unreserved set are percent-encoded, so a
// prefix with blanks or non-ASCII letters still makes a working link.
std::string FileUrl(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (unsigned char c : path) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                 c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
    if (plain) {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += kHex[c >> 4];
      url += kHex[c & 15];
    }
  }
  return url;
}

}  // namespace

bool WriteSampleGallery(const TSamplePlace& place, std::string& error) {
  const std::string imageFolder = place.programFolder + "Data/Samples/";
  const std::string galleryPath = place.userDataFolder + "Sample.pgs";
  if (!ForceDirectories(place.userDataFolder)) {
    error = "cannot create " + place.userDataFolder;
    return false;
  }

  GallerySettings settings{};
  ApplyDefaultSettings(settings, place.programFolder);
  settings.TitleText.set("Pictalon Sample Gallery");
  if (!SetIntroduction(settings, kIntroduction)) {
    error = "the introduction is too long";
    return false;
  }
  settings.FooterText.set("Eight pictures painted for the Pictalon sample gallery");
  settings.ImageFolder.set(imageFolder);
  settings.OutputFolder.set(place.outputFolder);
  settings.BackLinkURL.set(place.backLink);
  settings.Columns.set(3);
  settings.Rows.set(2);
  // Proportional scaling at 40 %: 640 x 480 pictures show at 256 pixels wide.
  settings.ScalingMode = 0;
  settings.ThumbSize.set(40);
  settings.HyperlinkMode = 2;  // image and caption lead to the full picture
  settings.CopyImages.set(true);

  // The details first: a gallery file is only left behind complete with its details.
  // Starts from an empty document, so details of photos dropped from the samples do not linger.
  TIniDocument details(ImageDetailsPathBeside(galleryPath));
  details.SetText("");
  for (const SamplePhoto& photo : kPhotos) {
    std::int32_t height = -1;
    std::int32_t width = -1;
    GetJpegSize(imageFolder + photo.fileName, height, width);
    if (height < 0 || width < 0) {
      error = "cannot read the picture " + imageFolder + photo.fileName;
      return false;
    }
    details.WriteString(photo.fileName, "Title", photo.title);
    details.WriteString(photo.fileName, "Ref", photo.ref);
    details.WriteString(photo.fileName, "Size", std::to_string(width) + " x " + std::to_string(height));
  }
  if (!details.UpdateFile()) {
    error = "cannot write " + details.FileName();
    return false;
  }
  std::string written;
  if (!WriteGalleryFile(galleryPath, settings, written)) {
    error = "cannot write " + galleryPath;
    return false;
  }
  return true;
}

bool ProvideSampleGallery() {
  if (GetLayout() != TLayout::Installed || DirectoryExists(GetUserDataFolderPath())) return false;
  const std::string programFolder = GetProgramFolder();
  TSamplePlace place{programFolder, GetUserDataFolderPath(), GetDefaultOutputFolder(),
                     FileUrl(programFolder + "Guide/index.html")};
  std::string error;
  if (WriteSampleGallery(place, error)) return true;
  // Not worth stopping the program for: the user starts without the sample.
  std::fprintf(stderr, "Pictalon: the sample gallery was not written: %s\n", error.c_str());
  return false;
}

}  // namespace pictalon
