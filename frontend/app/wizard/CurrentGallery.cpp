// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "CurrentGallery.h"

#include <QString>

#include <filesystem>

#include "GalleryFile.h"
#include "Helpers.h"
#include "NonVis.h"
#include "Platform.h"
#include "TextUtil.h"
#include "WorkingFiles.h"

namespace pictalon {

namespace {

constexpr const char* kGalleryExtension = ".pgs";

bool Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

}  // namespace

TCurrentGallery::TCurrentGallery(TdmNonVis& dm, QWidget& window) : dm_(dm), window_(window) {
  SetGalleryNameProvider([this](const std::string& folder) { return NameNewGallery(folder); });
}

TCurrentGallery::~TCurrentGallery() { SetGalleryNameProvider({}); }

void TCurrentGallery::Open(const std::string& path) {
  path_ = path;
  settings_ = GallerySettings{};
  tail_ = TGalleryTail{};
  ReadGalleryFile(path, settings_, tail_);
}

void TCurrentGallery::New() {
  settings_ = GallerySettings{};
  ApplyDefaultSettings(settings_);
  tail_ = TGalleryTail::ForNewGallery();
  path_.clear();
}

void TCurrentGallery::Write(bool ask) {
  askForName_ = ask && path_.empty();
  WriteTo(path_);
  askForName_ = false;
}

void TCurrentGallery::SaveAs() {
  const std::string oldGallery = path_;
  askForName_ = true;
  WriteTo(std::string());
  askForName_ = false;
  if (path_ == oldGallery || oldGallery.empty()) return;
  // The gallery under its new name keeps its image titles, references and sizes; a gallery it
  // replaced keeps none of its own, which would be shown beside images they do not describe.
  const std::string oldDetails = ChangeFileExt(oldGallery, ".dat");
  const std::string newDetails = ChangeFileExt(path_, ".dat");
  std::error_code ignored;
  if (FileExists(oldDetails))
    CopyOrMoveFile(oldDetails, newDetails, false);
  else
    std::filesystem::remove(newDetails, ignored);
}

void TCurrentGallery::WriteTo(const std::string& path) {
  namedPath_.clear();
  std::string written;
  if (WriteGalleryFile(path, settings_, tail_, written)) {
    path_ = written;
    return;
  }
  std::string target = path.empty() ? namedPath_ : path;
  if (target.empty()) return;  // the user chose no name: nothing to write
  dm_.ShowGeneralError(
      &window_, tr("The gallery could not be saved to %1").arg(QString::fromStdString(target)));
}

std::string TCurrentGallery::NameNewGallery(const std::string& userDataFolder) {
  if (!askForName_) {
    // Saves the user did not ask for must not lose the edits: the first free name is taken.
    for (int n = 1;; ++n) {
      std::string candidate = userDataFolder + "Gallery " + std::to_string(n) + kGalleryExtension;
      if (!Exists(candidate)) return namedPath_ = candidate;
    }
  }
  TFileDialogOptions options;
  options.title = tr("Save Gallery As");
  options.folder = QString::fromStdString(userDataFolder);
  options.filter = tr("Pictalon Gallery (*.pgs)");
  options.defaultSuffix = "pgs";
  // The dialog cannot ask about the right file: a name chosen elsewhere is written into the
  // user data folder, where the lists, the details and the engine find galleries.
  options.confirmOverwrite = false;
  QString chosen = dm_.Dialogs().SaveFile(&window_, options);
  if (chosen.isEmpty()) return {};
  std::string name = ExtractFileName(chosen.toStdString());
  if (name.empty()) return {};
  if (!EndsWithIgnoringCase(name, kGalleryExtension)) name += kGalleryExtension;
  const std::string target = userDataFolder + name;
  if (Exists(target) &&
      !dm_.Dialogs().ReplaceBox(&window_, tr("%1 already exists.\nDo you want to replace it?")
                                              .arg(QString::fromStdString(name))))
    return {};
  return namedPath_ = target;
}

}  // namespace pictalon
