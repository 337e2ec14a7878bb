// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Gallery Images" page: the cell style with its preview and the cell sampler, and the
// images of the gallery (folder or chosen files), the images URL and the review button. The page
// owns the gallery's image list: loading a gallery and the user's choices are its only writers.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <cstdint>
#include <string>
#include <vector>

#include "GalleryFile.h"
#include "Message.h"
#include "TypeDef.h"
#include "Widgets.h"

namespace pictalon {

class TdmNonVis;

// What the image folder box shows while no folder is chosen (shown through tr()).
constexpr const char* kImageFolderPrompt =
    QT_TRANSLATE_NOOP("pictalon::TGalleryImagesPage", "< Select Image Folder >");

class TGalleryImagesPage : public QWidget {
  Q_OBJECT

public:
  explicit TGalleryImagesPage(TdmNonVis& dm, QWidget* parent = nullptr);

  // Fills the cell style box with the names of the cell style index, the first shipped of
  // them the program's own.
  void SetCellStyles(const std::vector<std::string>& names, std::size_t shipped);

  // Shows the gallery's cell style, images folder (listing its JPEG files in the gallery's
  // order), URL and caption choices; a cell preview that cannot be shown is added to problems.
  void Load(const GallerySettings& s, const TGalleryTail& tail, std::vector<TMessage>& problems);
  // Stores them; a style sheet that is not in the index keeps the one chosen before.
  void Save(GallerySettings& s, TGalleryTail& tail) const;
  // Whether captions take the photos' own titles ("Use the photos' own titles", as shown).
  bool PhotoCaptions() const { return cbPhotoCaptions->isChecked(); }

  const std::string& CurrentCellStyleSheet() const { return cellStyleSheet_; }
  const std::vector<std::string>& ImageList() const { return imageList_; }
  // Changes whenever the image list is rebuilt or chosen anew.
  std::uint64_t ImageListVersion() const { return imageListVersion_; }

  void cbGallCellChange(int index);
  void btnViewSamplerClick();
  void ebImgFolderButtonClick();
  void ebImgFolderAltBtnClick();
  void ebURLExit();
  void cbOrderChange(int index);

signals:
  // The image list was rebuilt or chosen anew (the review window and Generate follow it).
  void imageListChanged();
  void editCellStyleRequested();
  void reviewRequested();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // Selects the style named name (letter case ignored); with a match, the current cell style
  // sheet and the preview follow it. An empty or unknown name selects nothing.
  void SelectCellStyle(const std::string& name);
  // Shows the folder, or the grey placeholder when folder is empty, and lists its JPEG files.
  void LoadImageFolder(const std::string& folder);
  // The folder as stored: empty while the placeholder shows.
  std::string ImageFolder() const;
  void SetImageFolderPrompt(bool prompt);
  TImageOrder Order() const;  // as "Order:" shows it
  // The image list is the listed images in the chosen order; the status line, the review button
  // and the listeners follow it.
  void ImageListChanged();

  TdmNonVis& dm_;
  QPushButton* btnViewSampler;
  QComboBox* cbGallCell;
  QPushButton* btnEditCell;
  TPictureBox* imgCell;
  QLineEdit* ebImgFolder;
  QAction* ebImgFolderButton;
  QAction* ebImgFolderAltBtn;
  QLabel* pnlImgStatus;
  QLineEdit* ebURL;
  QCheckBox* cbFNameAsCaption;
  QCheckBox* cbPhotoCaptions;
  QComboBox* cbOrder;  // in TImageOrder's order
  QPushButton* btnReview;

  std::vector<std::string> listed_;  // as the folder or the file dialog listed them
  std::vector<std::string> imageList_;
  std::uint64_t imageListVersion_ = 0;
  std::string cellStyleSheet_;
  int shippedStyles_ = 0;  // the styles the shipped index names come first
  TKeptText folder_, url_;
};

}  // namespace pictalon
