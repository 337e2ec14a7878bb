// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageReview.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QFrame>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

#include "Error.h"
#include "ImageDetails.h"
#include "NonVis.h"
#include "PhotoMetadata.h"
#include "Picture.h"
#include "Platform.h"
#include "ReviewPopup.h"
#include "ThumbList.h"
#include "ThumbMaker.h"
#include "ThumbRun.h"
#include "Widgets.h"
#include "WizardHost.h"
#include "WorkingFiles.h"

namespace pictalon {
namespace {

constexpr int kPreviewBox = 186;

}  // namespace

TfrmImageReview::TfrmImageReview(TdmNonVis& dm, const TWizardHost& wizard, QWidget* parent)
    : QWidget(parent, Qt::Window),
      dm_(dm),
      wizard_(wizard),
      model_(std::make_unique<TThumbModel>()),
      threads_(std::max(1, QThread::idealThreadCount())) {
  setObjectName("frmImageReview");
  setWindowTitle(tr("Gallery Image Review"));
  BuildControls();
  resize(610, 492);

  connect(btnScan, &QPushButton::clicked, this, Guarded(dm_, this, &TfrmImageReview::btnScanClick));
  connect(btnStop, &QPushButton::clicked, this, Guarded(dm_, this, &TfrmImageReview::btnStopClick));
  connect(btnClose, &QPushButton::clicked, this, Guarded(dm_, this, &TfrmImageReview::btnCloseClick));
  connect(cbShowSize, &QCheckBox::clicked, this,
          Guarded(dm_, this, &TfrmImageReview::cbShowSizeClick));
  connect(lvThumbs->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection& selected, const QItemSelection&) {
            RunGuarded(dm_, this, [&] { lvThumbsSelectItem(selected); });
          });
  connect(lvThumbs, &QListView::doubleClicked, this,
          Guarded(dm_, this, &TfrmImageReview::lvThumbsDblClick));

  // Key preview: the window sees keys before the focused control, also in the tool window; the
  // edit boxes store their text when they lose the focus.
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
  installEventFilter(this);
  ShowDetailsState();
}

TfrmImageReview::~TfrmImageReview() {
  // FormDestroy. The program may end while the window is still shown: what was typed since the
  // last close still reaches the file.
  stop_ = true;
  maker_.reset();
  btnSaveClick();
  if (details_) details_->Save();
}

void TfrmImageReview::BuildControls() {
  auto* top = new QHBoxLayout;
  auto* folderLabel = new QLabel(tr("Image Folder:"), this);
  pnlFolder = new QLabel(this);
  pnlFolder->setObjectName("pnlFolder");
  pnlFolder->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  pnlFolder->setMinimumWidth(350);
  pnlFolder->setFixedHeight(18 + 2);
  // It shows changing state: a screen reader reads its text, and what the text is as description.
  pnlFolder->setAccessibleDescription(tr("Image Folder"));
  pnlFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
  btnScan = new QPushButton(tr("Create Thumbnails"), this);
  btnScan->setObjectName("btnScan");
  btnStop = new QPushButton(tr("Stop"), this);
  btnStop->setObjectName("btnStop");
  btnStop->setEnabled(false);
  top->addWidget(folderLabel);
  top->addWidget(pnlFolder, 1);
  top->addWidget(btnScan);
  top->addWidget(btnStop);

  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName("ProgressBar1");
  ProgressBar1->setFixedHeight(18);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->setAccessibleName(tr("Progress"));

  lvThumbs = new QListView(this);
  lvThumbs->setObjectName("lvThumbs");
  lvThumbs->setAccessibleName(tr("Thumbnails"));
  delegate_ = SetUpThumbView(*lvThumbs, *model_);
  follower_ = std::make_unique<TThumbFollower>(*model_, *lvThumbs);

  // The bottom area: the preview at the left, the three texts at the right.
  auto* previewFrame = new QFrame(this);
  previewFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  previewFrame->setFixedSize(200, 200);
  auto* previewLayout = new QVBoxLayout(previewFrame);
  previewLayout->setContentsMargins(6, 6, 6, 6);
  imgSelect = new QLabel(previewFrame);
  imgSelect->setObjectName("imgSelect");
  imgSelect->setAlignment(Qt::AlignCenter);
  imgSelect->setAccessibleName(tr("Preview"));
  previewLayout->addWidget(imgSelect);

  auto editRow = [this](const char* caption, QLineEdit*& edit, const char* name, QCheckBox** check,
                        const char* checkCaption, const char* checkName) {
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(tr(caption), this);
    row->addWidget(label);
    row->addStretch(1);
    if (check) {
      *check = new QCheckBox(tr(checkCaption), this);
      (*check)->setObjectName(checkName);
      (*check)->setChecked(true);
      row->addWidget(*check);
    }
    edit = new QLineEdit(this);
    edit->setObjectName(name);
    label->setBuddy(edit);
    edit->setAccessibleName(SpokenCaption(tr(caption)));
    return row;
  };
  auto* texts = new QVBoxLayout;
  texts->addLayout(
      editRow(QT_TR_NOOP("Image &Title:"), ebTitle, "ebTitle", nullptr, nullptr, nullptr));
  texts->addWidget(ebTitle);
  texts->addLayout(editRow(QT_TR_NOOP("Image ID/&Reference:"), ebRef, "ebRef", &cbUseStem,
                           QT_TR_NOOP("Use file stem"), "cbUseStem"));
  texts->addWidget(ebRef);
  texts->addLayout(editRow(QT_TR_NOOP("Image &Size:"), ebSize, "ebSize", &cbShowSize,
                           QT_TR_NOOP("Show size in pixels"), "cbShowSize"));
  texts->addWidget(ebSize);
  pnlTaken = new QLabel(this);
  pnlTaken->setObjectName("pnlTaken");
  texts->addWidget(pnlTaken);
  texts->addStretch(1);
  btnClose = new QPushButton(tr("Close"), this);
  btnClose->setObjectName("btnClose");
  auto* closeRow = new QHBoxLayout;
  closeRow->addStretch(1);
  closeRow->addWidget(btnClose);
  texts->addLayout(closeRow);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(previewFrame, 0, Qt::AlignTop);
  bottom->addLayout(texts, 1);

  auto* status = new QHBoxLayout;
  StatusPane2 = new QLabel(this);
  StatusPane2->setObjectName("StatusPane2");
  StatusPane2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  RzStatusPane1 = new QLabel(this);
  RzStatusPane1->setObjectName("RzStatusPane1");
  RzStatusPane1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  RzStatusPane1->setMinimumWidth(60);
  status->addWidget(StatusPane2, 1);
  status->addWidget(RzStatusPane1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 2);
  layout->addLayout(top);
  layout->addWidget(ProgressBar1);
  layout->addWidget(lvThumbs, 1);
  layout->addLayout(bottom);
  layout->addLayout(status);

  QWidget* const order[] = {btnScan, btnStop, lvThumbs, ebTitle, cbUseStem, ebRef, cbShowSize, ebSize, btnClose};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  twPopup = new TReviewPopup(dm_.Dialogs(), this);
}

// ----------------------------------------------------------------------------------------------
// Showing, activation, closing

void TfrmImageReview::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;  // restored from the task bar: nothing new
  if (!centred_) {
    centred_ = true;
    const QRect screen = dm_.Dialogs().ScreenGeometry(this);
    move(screen.center() - rect().center());
  }
  // The run starts once the show has been handled, outside any event handler.
  showPending_ = true;
  QueueFormActivate();
}

void TfrmImageReview::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::ActivationChange || !isVisible()) return;
  if (isActiveWindow()) {
    QueueFormActivate();
  } else {
    // The user went to another window, perhaps to generate the pages: the engine reads the file,
    // so what was typed goes there now.
    btnSaveClick();
    SaveDetails(false);
  }
}

void TfrmImageReview::QueueFormActivate() {
  QTimer::singleShot(0, this, [this] { RunGuarded(dm_, this, [this] { FormActivate(); }); });
}

void TfrmImageReview::FormActivate() {
  if (running_ || !isVisible()) return;  // a run's own loop is handling the events
  if (showPending_) {
    showPending_ = false;
    OpenDetails();
    ScanCurrentList();
    return;
  }
  // Active again while shown: the open document and its edits stay, and so do the thumbnails,
  // unless the gallery or its image list has changed meanwhile.
  const std::string gallery = wizard_.CurrentGalleryFile();
  const bool galleryChanged =
      details_ ? gallery.empty() || ImageDetailsPathInUserData(gallery) != details_->Path()
               : !gallery.empty();
  if (galleryChanged) {
    btnSaveClick();
    SaveDetails(true);
    OpenDetails();
    ClearSelectionState();
    lvThumbs->clearSelection();
  }
  if (wizard_.ImageListVersion() != runListVersion_) ScanCurrentList();
}

void TfrmImageReview::ScanCurrentList() {
  const std::vector<std::string>& images = wizard_.ImageList();
  pnlFolder->setText(images.empty() ? QString()
                                    : QString::fromStdString(ExtractFilePath(images.front())));
  btnScanClick();
}

void TfrmImageReview::closeEvent(QCloseEvent* event) {
  stop_ = true;
  if (maker_) maker_->Stop();
  follower_->Pause();
  btnSaveClick();
  SaveDetails(true);
  twPopup->hide();
  event->accept();
}

void TfrmImageReview::btnCloseClick() { close(); }

void TfrmImageReview::OpenDetails() {
  const std::string gallery = wizard_.CurrentGalleryFile();
  if (details_ && details_->Dirty()) {
    // The last write failed: its changes are kept rather than read over.
    if (!gallery.empty() && ImageDetailsPathInUserData(gallery) == details_->Path()) {
      ShowDetailsState();
      return;
    }
    SaveDetails(true);
  }
  details_.reset();
  if (!gallery.empty()) {
    details_ = std::make_unique<TImageDetails>(gallery);
    if (!details_->Writable())
      dm_.Dialogs().ErrorBox(this, QString::fromStdString(details_->Problem()) + "\n" +
                                       tr("Image details typed now cannot be stored."));
  }
  ShowDetailsState();
}

void TfrmImageReview::SaveDetails(bool tellUser) {
  if (!details_ || details_->Save() || !tellUser || !details_->Writable()) return;
  dm_.Dialogs().ErrorBox(this, tr("Cannot write the image details file %1")
                                   .arg(QString::fromStdString(details_->Path())));
}

// The boxes can be stored to only with a details document that may be written.
void TfrmImageReview::ShowDetailsState() {
  const bool usable = details_ && details_->Writable();
  for (QLineEdit* edit : {ebTitle, ebRef, ebSize}) edit->setEnabled(usable);
  if (!details_)
    RzStatusPane1->setText(tr("No gallery file: save the gallery to keep image details"));
  else if (!details_->Writable())
    RzStatusPane1->setText(tr("Image details cannot be read"));
  else
    RzStatusPane1->clear();
}

// ----------------------------------------------------------------------------------------------
// The thumbnail run

void TfrmImageReview::btnScanClick() {
  if (running_) return;
  btnSaveClick();
  stop_ = false;
  if (!pnlFolder->text().isEmpty())
    reviewFolder_ = IncludeTrailingPathDelim(pnlFolder->text().toStdString());

  // Whatever happens, the buttons, the cursor and the progress bar come back.
  struct TRunGuard {
    TfrmImageReview& w;
    explicit TRunGuard(TfrmImageReview& window) : w(window) {
      QApplication::setOverrideCursor(Qt::BusyCursor);
      w.btnScan->setEnabled(false);
      w.btnStop->setEnabled(true);
    }
    ~TRunGuard() {
      if (w.maker_) w.maker_->Stop();
      w.running_ = false;
      w.btnScan->setEnabled(true);
      w.btnStop->setEnabled(false);
      QApplication::restoreOverrideCursor();
      emit w.ThumbnailsDone();
    }
  } guard(*this);

  const std::vector<std::string> images = wizard_.ImageList();
  // A new list, an empty one too, first takes away everything shown of the last one: its
  // thumbnails must never be selected, nor their details written, for another gallery.
  if (wizard_.ImageListVersion() != runListVersion_) {
    runListVersion_ = wizard_.ImageListVersion();
    ClearSelectionState();
    follower_->Pause();
    model_->Clear();
    twPopup->lbErrors->clear();
    StatusPane2->clear();
  }
  if (images.empty()) return;

  StatusPane2->setText(tr("Creating thumbnails..."));
  StatusPane2->repaint();
  ClearSelectionState();
  follower_->Pause();  // nothing made for the last list reaches this one
  model_->Clear();
  QStringList errors;
  twPopup->lbErrors->clear();
  ProgressBar1->setRange(0, int(images.size()));

  maker_.reset();  // the last run's workers have long ended
  // Each image first shows the preview its camera stored, when that shows it whole; the follower
  // puts the exact thumbnails in its place, the ones in view first.
  maker_ = std::make_unique<TThumbMaker>(images, threads_, /*yield=*/true, 16, kThumbCell,
                                         /*previewsFirst=*/true);
  follower_->Start(threads_);
  running_ = true;
  errors = RunThumbnails(*maker_, images, *model_, *lvThumbs, *ProgressBar1, [this] { return stop_; },
                         [this] { btnStopClick(); });
  running_ = false;

  // The first image is selected, unless the user chose one while the run went on. A run ended
  // by closing the window leaves its thumbnails but selects and reports nothing.
  if (isVisible() && !lvThumbs->selectionModel()->hasSelection()) {
    if (model_->rowCount() > 0) {
      lvThumbs->clearSelection();
      const QModelIndex first = model_->index(0);
      lvThumbs->selectionModel()->setCurrentIndex(first, QItemSelectionModel::ClearAndSelect);
      lvThumbs->scrollTo(first);
    }
  }
  ProgressBar1->setValue(0);
  ProgressBar1->repaint();
  if (!errors.isEmpty() && isVisible())
    twPopup->ShowErrors(errors);
  else
    twPopup->lbErrors->addItems(errors);
  StatusPane2->setText(tr("[%1 images found]   [%2 thumbnails created]")
                           .arg(images.size())
                           .arg(model_->rowCount()));
  // Closed and shown again while this run was ending: that showing gets its own start.
  if (showPending_ && isVisible()) QueueFormActivate();
}

void TfrmImageReview::btnStopClick() {
  stop_ = true;
  if (maker_) maker_->Stop();
}

// ----------------------------------------------------------------------------------------------
// Selection and the three texts

void TfrmImageReview::ClearSelectionState() {
  currentSection_.clear();
  currentSize_ = QSize();
  imgSelect->clear();
  for (QLineEdit* edit : {ebTitle, ebRef, ebSize}) edit->clear();
  ShowPhotoMetadata({});
}

void TfrmImageReview::ShowPhotoMetadata(const std::string& path) {
  const TPhotoMetadata meta = path.empty() ? TPhotoMetadata{} : PhotoMetadata(path);
  const QString title = wizard_.UsesPhotoTitles() ? QString::fromStdString(meta.title) : QString();
  ebTitle->setPlaceholderText(title);
  ebTitle->setToolTip(title.isEmpty() ? QString()
                                      : tr("The photo's own title, used when you type none. "
                                           "Right arrow takes it to edit; typing replaces it."));
  QString taken = QString::fromStdString(meta.taken);
  const QDateTime time = QDateTime::fromString(taken, "yyyy-MM-dd HH:mm:ss");
  if (time.isValid()) taken = QLocale().toString(time, QLocale::ShortFormat);
  pnlTaken->setText(taken.isEmpty() ? QString() : tr("Taken: %1").arg(taken));
}

bool TfrmImageReview::ebTitleKeyDown(QKeyEvent* key) {
  if (key->key() != Qt::Key_Right || key->modifiers() != Qt::NoModifier || !ebTitle->text().isEmpty() ||
      ebTitle->placeholderText().isEmpty())
    return false;
  ebTitle->setText(ebTitle->placeholderText());
  return true;
}

QString TfrmImageReview::PixelSizeText() const {
  return QString::number(currentSize_.width()) + " x " + QString::number(currentSize_.height());
}

void TfrmImageReview::lvThumbsSelectItem(const QItemSelection& selected) {
  if (selected.indexes().isEmpty()) return;  // a deselection
  // What the boxes hold belongs to the image shown so far, even when the selection was moved
  // without the focus leaving a box.
  btnSaveClick();
  ClearSelectionState();
  if (wizard_.ImageListVersion() != runListVersion_) {
    // The thumbnails show a list the gallery no longer has: they are replaced, not described.
    QueueFormActivate();
    return;
  }
  const TThumbItem& item = model_->Item(selected.indexes().front().row());

  // A picture that cannot be shown any more leaves its details alone (the error is reported).
  QSize fullSize;
  imgSelect->setPixmap(
      QPixmap::fromImage(LoadPictureToFit(item.path, {kPreviewBox, kPreviewBox}, false, &fullSize)));
  currentSize_ = fullSize;

  TImageTexts texts = details_ ? details_->Read(item.caption) : TImageTexts{};
  if (texts.ref.isEmpty() && cbUseStem->isChecked())
    texts.ref = QString::fromStdString(FileStem(item.caption));
  if (cbShowSize->isChecked()) texts.size = PixelSizeText();
  ebTitle->setText(texts.title);
  ebRef->setText(texts.ref);
  ebSize->setText(texts.size);
  ShowPhotoMetadata(item.path);
  currentSection_ = item.caption;
  // The first selection of an image stores its defaults at once.
  btnSaveClick();
}

void TfrmImageReview::btnSaveClick() {
  if (!details_ || !details_->Writable() || currentSection_.empty()) return;
  details_->Write(currentSection_, {ebTitle->text(), ebRef->text(), ebSize->text()});
}

void TfrmImageReview::cbShowSizeClick(bool checked) {
  if (currentSection_.empty()) return;
  if (checked)
    ebSize->setText(PixelSizeText());
  else
    ebSize->setText(details_ ? details_->Read(currentSection_).size : QString());
}

void TfrmImageReview::lvThumbsDblClick() {
  const QModelIndexList selected = lvThumbs->selectionModel()->selectedIndexes();
  if (selected.isEmpty()) return;
  twPopup->ShowImage(selected.front().data(TThumbModel::PathRole).toString(),
                     dm_.Dialogs().ScreenGeometry(this));
}

// ----------------------------------------------------------------------------------------------
// Keys and focus

bool TfrmImageReview::FormKeyDown(QKeyEvent* key) {
  if (key->key() == Qt::Key_Escape && twPopup->isVisible()) {
    twPopup->hide();
    return true;
  }
  return false;
}

bool TfrmImageReview::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (FormKeyDown(key)) return true;
      if (watched == ebTitle && ebTitleKeyDown(key)) return true;
      // lvThumbsKeyDown: Enter opens the selected image at full size.
      if (watched == lvThumbs && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        RunGuarded(dm_, this, [this] { lvThumbsDblClick(); });
        return true;
      }
      break;
    }
    case QEvent::FocusOut:
      if (watched == ebTitle || watched == ebRef || watched == ebSize)
        RunGuarded(dm_, this, [this] { btnSaveClick(); });
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace pictalon
