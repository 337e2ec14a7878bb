// Gallery files: the lists of the Start page and the toolbar, opening, New Gallery, Save and
// Save As, and how a new gallery file gets its name.
#include <QApplication>

#include <filesystem>

#include "Error.h"
#include "GalleryFile.h"
#include "Helpers.h"
#include "Main.h"
#include "NonVis.h"
#include "Platform.h"
#include "TextUtil.h"
#include "WorkingFiles.h"

namespace pictalon {

namespace {

constexpr const char* kGalleryExtension = ".pgs";

// Marks the saves made while it lives as the user's explicit commands, which ask for the name of
// a new gallery file.
class TExplicitSave {
public:
  TExplicitSave(bool& flag, bool on) : flag_(flag) { flag_ = on; }
  ~TExplicitSave() { flag_ = false; }

private:
  bool& flag_;
};

}  // namespace

void TfrmSetup::LoadGalleryList() {
  const QIcon icon = dm_.GalleryFileIcon();
  for (const std::string& name : ListFilesWithExtension(GetUserDataFolder(), kGalleryExtension)) {
    QString caption = QString::fromStdString(name);
    lvFiles->addItem(new QListWidgetItem(icon, caption));
    // The combo's delegate draws the bitmap itself, with red as its transparent colour.
    cbFiles->addItem(caption);
    cbFiles->setItemData(cbFiles->count() - 1, dm_.GalleryFileBitmap16(), Qt::DecorationRole);
  }
  cbFiles->setCurrentIndex(-1);
}

void TfrmSetup::OpenGallery(const std::string& path) {
  currentGalleryFile_ = path;
  settings_ = GallerySettings{};
  ReadGalleryFile(path, settings_);
  LoadForm();
  ShowWizardTabs(true);
  SetEditorTabVisible(false);
  SetActivePageIndex(kTextPage);
  UpdateBackNext();
}

void TfrmSetup::lvFilesDblClick() {
  QListWidgetItem* item = lvFiles->currentItem();
  if (!item || !item->isSelected()) return;
  QString caption = item->text();
  cbFiles->setCurrentIndex(cbFiles->findText(caption, Qt::MatchExactly));
  OpenListedGallery(caption);
}

void TfrmSetup::cbFilesChange(int index) {
  if (index >= 0) OpenListedGallery(cbFiles->itemText(index));
}

void TfrmSetup::OpenListedGallery(const QString& name) {
  OpenGallery(GetUserDataFolder() + name.toStdString());
  SetStatusText("<" + name + ">");
}

void TfrmSetup::btnNewClick() {
  settings_ = GallerySettings{};
  ApplyDefaults();
  currentGalleryFile_.clear();
  {
    TExplicitSave asking(askForName_, true);
    SaveForm();
  }
  if (!currentGalleryFile_.empty()) {
    ShowWizardTabs(true);
    SetActivePageIndex(kTextPage);
    PageControl1Change();
    SetStatusText(QString::fromStdString(ExtractFileName(currentGalleryFile_)));
  } else {
    ShowStartPage();
  }
}

void TfrmSetup::btnSaveGallClick() {
  // With no gallery file yet, Save names one as the explicit commands do.
  TExplicitSave asking(askForName_, currentGalleryFile_.empty());
  SaveForm();
}

void TfrmSetup::btnSaveGallAsClick() {
  std::string oldDetails = ChangeFileExt(currentGalleryFile_, ".dat");
  std::string oldGallery = currentGalleryFile_;
  {
    TExplicitSave asking(askForName_, true);
    WriteGallery(std::string());
  }
  if (currentGalleryFile_ != oldGallery && !oldGallery.empty() && FileExists(oldDetails))
    CopyOrMoveFile(oldDetails, ChangeFileExt(currentGalleryFile_, ".dat"), false);
  SetStatusText("<" + QString::fromStdString(ExtractFileName(currentGalleryFile_)) + ">");
}

void TfrmSetup::WriteGallery(const std::string& path) {
  namedPath_.clear();
  std::string written;
  if (WriteGalleryFile(path, settings_, written)) {
    currentGalleryFile_ = written;
    return;
  }
  std::string target = path.empty() ? namedPath_ : path;
  if (target.empty()) return;  // the user chose no name: nothing to write
  dm_.ShowGeneralError(this, QString::fromStdString("The gallery could not be saved to " + target));
}

std::string TfrmSetup::NameNewGallery(const std::string& userDataFolder) {
  if (!askForName_) {
    // Saves the user did not ask for must not lose the edits: the first free name is taken.
    for (int n = 1;; ++n) {
      std::string candidate = userDataFolder + "Gallery " + std::to_string(n) + kGalleryExtension;
      if (!std::filesystem::exists(std::filesystem::symlink_status(candidate)))
        return namedPath_ = candidate;
    }
  }
  TFileDialogOptions options;
  options.title = "Save Gallery As";
  options.folder = QString::fromStdString(userDataFolder);
  options.filter = "Pictalon Gallery (*.pgs)";
  options.defaultSuffix = "pgs";
  QString chosen = dm_.Dialogs().SaveFile(this, options);
  if (chosen.isEmpty()) return {};
  // Galleries live in the user data folder, where the lists, the details and the engine find them.
  std::string name = ExtractFileName(chosen.toStdString());
  if (name.empty()) return {};
  if (!EndsWithIgnoringCase(name, kGalleryExtension)) name += kGalleryExtension;
  return namedPath_ = userDataFolder + name;
}

}  // namespace pictalon
