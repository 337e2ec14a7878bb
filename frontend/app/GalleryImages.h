#pragma once
// The "Gallery Images" page: the cell style with its preview and the cell sampler, and the
// images of the gallery (folder or chosen files), the images URL and the review button.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <string>
#include <vector>

#include "Widgets.h"

namespace pictalon {

class TdmNonVis;

constexpr const char* kImageFolderPrompt = "< Select Image Folder >";

class TGalleryImagesPage : public QWidget {
  Q_OBJECT

public:
  // imageList is the wizard's image list, which this page rebuilds when the user chooses images.
  TGalleryImagesPage(TdmNonVis& dm, std::vector<std::string>& imageList, QWidget* parent = nullptr);

  // Fills cbGallCell from the cell style index; false when the index file does not exist.
  bool LoadCellStyles();
  // Selects the style named name (letter case ignored); with a match, the current cell style
  // sheet and the preview follow it. An empty or unknown name selects nothing.
  void SelectCellStyle(const std::string& name);
  const std::string& CurrentCellStyleSheet() const { return cellStyleSheet_; }

  // Shows the folder, or the grey placeholder when folder is empty, and lists its JPEG files.
  void LoadImageFolder(const std::string& folder);
  // The folder as stored: empty while the placeholder shows.
  std::string ImageFolder() const;

  void SetImageFolderPrompt(bool prompt);
  void UpdateImageStatus();

  void cbGallCellChange(int index);
  void btnViewSamplerClick();
  void ebImgFolderButtonClick();
  void ebImgFolderAltBtnClick();
  void ebURLExit();

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
  QPushButton* btnReview;

signals:
  // The image list was rebuilt or chosen anew (the review window and Generate follow it).
  void imageListChanged();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  TdmNonVis& dm_;
  std::vector<std::string>& imageList_;
  std::string cellStyleSheet_;
};

}  // namespace pictalon
