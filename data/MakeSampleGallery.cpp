// make-sample-gallery PROGRAM_FOLDER: writes the sample gallery into the program folder's user
// data folder, "Data/User/Sample.pgs" with its image details file "Sample.dat", so a fresh build
// has a gallery that shows off the pages at once. The gallery file goes through the program's own
// writer and the details through its INI document, so both are exactly what the program keeps.
#include <cstdio>
#include <string>
#include <string_view>

#include "GalleryFile.h"
#include "Helpers.h"
#include "IniDocument.h"
#include "Platform.h"
#include "TextUtil.h"
#include "TypeDef.h"
#include "WorkingFiles.h"

namespace {

using namespace pictalon;

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

int Fail(const std::string& message) {
  std::fprintf(stderr, "make-sample-gallery: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || argv[1][0] == '\0') {
    std::fputs("Usage: make-sample-gallery PROGRAM_FOLDER\n", stderr);
    return 2;
  }
  const std::string programFolder = IncludeTrailingPathDelim(argv[1]);
  const std::string imageFolder = programFolder + "Data/Samples/";
  const std::string userFolder = programFolder + "Data/User/";
  const std::string galleryPath = userFolder + "Sample.pgs";
  if (!ForceDirectories(userFolder)) return Fail("cannot create " + userFolder);

  GallerySettings settings{};
  ApplyDefaultSettings(settings, programFolder);
  settings.TitleText.set("Pictalon Sample Gallery");
  if (!SetIntroduction(settings, kIntroduction)) return Fail("the introduction is too long");
  settings.FooterText.set("Eight pictures painted for the Pictalon sample gallery");
  settings.ImageFolder.set(imageFolder);
  settings.BackLinkURL.set("../Guide/index.html");  // the output folder is program folder + "Output/"
  settings.Columns.set(3);
  settings.Rows.set(2);
  // Proportional scaling at 40 %: 640 x 480 pictures show at 256 pixels wide.
  settings.ScalingMode = 0;
  settings.ThumbSize.set(40);
  settings.HyperlinkMode = 2;  // image and caption lead to the full picture
  settings.CopyImages.set(true);

  std::string written;
  if (!WriteGalleryFile(galleryPath, settings, written)) return Fail("cannot write " + galleryPath);

  // Starts from an empty document, so details of photos dropped from the samples do not linger.
  TIniDocument details(ImageDetailsPathBeside(galleryPath));
  details.SetText("");
  for (const SamplePhoto& photo : kPhotos) {
    std::int32_t height = -1;
    std::int32_t width = -1;
    GetJpegSize(imageFolder + photo.fileName, height, width);
    if (height < 0 || width < 0) return Fail("cannot read the picture " + imageFolder + photo.fileName);
    details.WriteString(photo.fileName, "Title", photo.title);
    details.WriteString(photo.fileName, "Ref", photo.ref);
    details.WriteString(photo.fileName, "Size", std::to_string(width) + " x " + std::to_string(height));
  }
  if (!details.UpdateFile()) return Fail("cannot write " + details.FileName());
  return 0;
}
