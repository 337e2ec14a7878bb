// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TfrmImageReview, "Gallery Image Review": the images of the current gallery as thumbnails, and a
// title, reference and size for each, kept in the gallery's image details file.
//
// The program creates it once at start and shows it with TDialogService::Show; everything that
// follows (opening the details, the thumbnail run, writing the details at close) happens in the
// window's own show, activation and close handling.
#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QProgressBar;
class QPushButton;
class QItemSelection;
class QModelIndex;

namespace pictalon {

class TdmNonVis;
class TImageDetails;
class TReviewPopup;
class TThumbDelegate;
class TThumbFollower;
class TThumbMaker;
class TThumbModel;
class TWizardHost;

class TfrmImageReview : public QWidget {
  Q_OBJECT

public:
  TfrmImageReview(TdmNonVis& dm, const TWizardHost& wizard, QWidget* parent = nullptr);
  ~TfrmImageReview() override;  // writes details not yet written

  // How many pictures are decoded at once (default: one per processor core).
  void SetThreadCount(int threads) { threads_ = threads > 0 ? threads : 1; }
  bool Running() const { return running_; }
  TThumbModel& Thumbs() { return *model_; }
  TImageDetails* Details() { return details_.get(); }
  const TThumbMaker* Maker() const { return maker_.get(); }
  const std::string& ReviewFolder() const { return reviewFolder_; }

  // Handlers, named after their controls.
  void FormActivate();
  void btnScanClick();
  void btnStopClick();
  void lvThumbsSelectItem(const QItemSelection& selected);
  void lvThumbsDblClick();
  void btnSaveClick();
  void cbShowSizeClick(bool checked);
  void btnCloseClick();

  QLabel* pnlFolder;
  QPushButton* btnScan;
  QPushButton* btnStop;
  QProgressBar* ProgressBar1;
  QListView* lvThumbs;
  QLabel* imgSelect;
  QLineEdit* ebTitle;
  QLineEdit* ebRef;
  QLineEdit* ebSize;
  QLabel* pnlTaken;  // when the selected photo was taken, as the photo says
  QCheckBox* cbUseStem;
  QCheckBox* cbShowSize;
  QPushButton* btnClose;
  QLabel* StatusPane2;
  QLabel* RzStatusPane1;
  TReviewPopup* twPopup;

signals:
  // A thumbnail run has ended (also an empty or stopped one).
  void ThumbnailsDone();

protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;  // FormClose
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // Shows the folder of the wizard's image list and makes its thumbnails.
  void ScanCurrentList();
  void BuildControls();
  // FormActivate once the current event has been handled, outside any event handler.
  void QueueFormActivate();
  void OpenDetails();
  void SaveDetails(bool tellUser);
  void ShowDetailsState();
  void ClearSelectionState();
  QString PixelSizeText() const;
  bool FormKeyDown(QKeyEvent* key);
  // The selected photo's own title as the title box's grey suggestion (when the gallery uses the
  // photos' titles), and its time taken.
  void ShowPhotoMetadata(const std::string& path);
  // Right arrow in the empty title box takes the suggestion as the typed title.
  bool ebTitleKeyDown(QKeyEvent* key);

  TdmNonVis& dm_;
  const TWizardHost& wizard_;
  std::unique_ptr<TThumbModel> model_;
  TThumbDelegate* delegate_;
  std::unique_ptr<TThumbFollower> follower_;  // the pictures follow the view
  std::unique_ptr<TImageDetails> details_;
  std::unique_ptr<TThumbMaker> maker_;  // of the current or the last run
  std::string reviewFolder_;
  int threads_;
  bool stop_ = false;
  bool running_ = false;
  bool showPending_ = false;  // shown, the details not yet opened
  bool centred_ = false;
  std::uint64_t runListVersion_ = 0;
  // The image whose texts the boxes hold (empty: none), and its full pixel size.
  std::string currentSection_;
  QSize currentSize_;
};

}  // namespace pictalon
