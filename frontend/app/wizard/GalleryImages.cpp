// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "GalleryImages.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QStyle>
#include <QVBoxLayout>

#include "Error.h"
#include "Helpers.h"
#include "NonVis.h"
#include "PhotoMetadata.h"
#include "Platform.h"
#include "TextUtil.h"
#include "WorkingFiles.h"

namespace pictalon {

TGalleryImagesPage::TGalleryImagesPage(TdmNonVis& dm, QWidget* parent) : QWidget(parent), dm_(dm) {
  setObjectName("tsGallery");

  // Cell style.
  auto* styleGroup = new QGroupBox(tr("Select Gallery Cell Style:"));
  btnViewSampler = new QPushButton(tr("Cell Sampler..."));
  btnViewSampler->setObjectName("btnViewSampler");
  btnViewSampler->setFixedWidth(174);
  cbGallCell = new QComboBox;
  cbGallCell->setObjectName("cbGallCell");
  cbGallCell->setFixedWidth(174);
  btnEditCell = new QPushButton(tr("Edit cell stylesheet..."));
  btnEditCell->setObjectName("btnEditCell");
  btnEditCell->setFixedWidth(174);
  imgCell = new TPictureBox(nullptr, true);
  imgCell->setObjectName("imgCell");
  imgCell->setFrameShape(QFrame::Box);
  imgCell->setFixedSize(110, 120);
  // The box is named by its group, as a screen reader should announce it; its value is the style.
  cbGallCell->setAccessibleName(SpokenCaption(styleGroup->title()));
  auto* styleButtons = new QVBoxLayout;
  styleButtons->addWidget(btnViewSampler);
  styleButtons->addWidget(cbGallCell);
  styleButtons->addWidget(btnEditCell);
  styleButtons->addStretch();
  auto* styleLayout = new QHBoxLayout(styleGroup);
  styleLayout->addLayout(styleButtons);
  styleLayout->addStretch();
  styleLayout->addWidget(imgCell);

  // Images.
  auto* imageGroup = new QGroupBox(tr("Select Images for Gallery:"));
  ebImgFolder = new QLineEdit;
  ebImgFolder->setObjectName("ebImgFolder");
  ebImgFolder->setFixedWidth(330);
  ebImgFolderButton = AddFieldButton(ebImgFolder, style()->standardIcon(QStyle::SP_DirOpenIcon),
                                     tr("Select image folder...."), "ebImgFolderButton");
  ebImgFolderAltBtn = AddFieldButton(ebImgFolder,
                                     style()->standardIcon(QStyle::SP_FileDialogContentsView),
                                     tr("Select image files...."), "ebImgFolderAltBtn");
  btnReview = new QPushButton(tr("Review Images..."));
  btnReview->setObjectName("btnReview");
  btnReview->setFixedWidth(133);
  btnReview->setEnabled(false);
  pnlImgStatus = new QLabel;
  pnlImgStatus->setObjectName("pnlImgStatus");
  pnlImgStatus->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  pnlImgStatus->setFixedSize(330, 18);
  ebURL = new QLineEdit;
  ebURL->setObjectName("ebURL");
  ebURL->setFixedWidth(330);
  cbFNameAsCaption = new QCheckBox(tr("Use filename for caption"));
  cbFNameAsCaption->setObjectName("cbFNameAsCaption");
  cbFNameAsCaption->setChecked(true);
  cbPhotoCaptions = new QCheckBox(tr("Use the photos' own titles"));
  cbPhotoCaptions->setObjectName("cbPhotoCaptions");
  cbPhotoCaptions->setToolTip(tr("A photo whose title you have not typed is captioned with the title "
                                 "stored in the photo by your photo manager or camera"));
  cbOrder = new QComboBox;
  cbOrder->setObjectName("cbOrder");
  cbOrder->addItem(tr("by file name"));
  cbOrder->addItem(tr("by time taken"));

  auto* imageLayout = new QGridLayout(imageGroup);
  imageLayout->addWidget(FieldLabel(tr("Images Folder:"), ebImgFolder), 0, 0);
  imageLayout->addWidget(ebImgFolder, 1, 0);
  imageLayout->addWidget(btnReview, 1, 1);
  imageLayout->addWidget(pnlImgStatus, 2, 0);
  imageLayout->addWidget(FieldLabel(tr("Images URL:"), ebURL), 3, 0);
  imageLayout->addWidget(ebURL, 4, 0);
  imageLayout->addWidget(cbFNameAsCaption, 4, 1);
  auto* orderRow = new QHBoxLayout;
  orderRow->addWidget(FieldLabel(tr("Order:"), cbOrder));
  orderRow->addWidget(cbOrder);
  orderRow->addStretch(1);
  imageLayout->addLayout(orderRow, 5, 0);
  imageLayout->addWidget(cbPhotoCaptions, 5, 1);
  imageLayout->setColumnStretch(2, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(styleGroup);
  layout->addWidget(imageGroup);
  layout->addStretch();

  connect(cbGallCell, qOverload<int>(&QComboBox::activated), this,
          Guarded(dm_, this, &TGalleryImagesPage::cbGallCellChange));
  connect(btnViewSampler, &QPushButton::clicked, this,
          Guarded(dm_, this, &TGalleryImagesPage::btnViewSamplerClick));
  connect(ebImgFolderButton, &QAction::triggered, this,
          Guarded(dm_, this, &TGalleryImagesPage::ebImgFolderButtonClick));
  connect(ebImgFolderAltBtn, &QAction::triggered, this,
          Guarded(dm_, this, &TGalleryImagesPage::ebImgFolderAltBtnClick));
  connect(btnEditCell, &QPushButton::clicked, this, &TGalleryImagesPage::editCellStyleRequested);
  connect(btnReview, &QPushButton::clicked, this, &TGalleryImagesPage::reviewRequested);
  connect(cbOrder, qOverload<int>(&QComboBox::activated), this,
          Guarded(dm_, this, &TGalleryImagesPage::cbOrderChange));
  ebURL->installEventFilter(this);
}

bool TGalleryImagesPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ebURL && event->type() == QEvent::FocusOut)
    RunGuarded(dm_, this, [this] { ebURLExit(); });
  return QWidget::eventFilter(watched, event);
}

void TGalleryImagesPage::Load(const GallerySettings& s, const TGalleryTail& tail,
                              std::vector<TMessage>& problems) {
  try {
    SelectCellStyle(CellStyleNameOfFile(ExtractFileName(s.CellStyleSheet.get())));
  } catch (const std::exception& e) {
    problems.push_back(MessageOf(e));
  }
  cbPhotoCaptions->setChecked(tail.PhotoCaptions);
  cbOrder->setCurrentIndex(tail.Order == TImageOrder::ByDate ? 1 : 0);
  LoadImageFolder(s.ImageFolder.get());
  ebURL->setText(QString::fromStdString(s.ImageURL.get()));
  url_.Load(s.ImageURL.get(), ebURL->text());
  cbFNameAsCaption->setChecked(s.FileNameAsCaption.get());
}

void TGalleryImagesPage::Save(GallerySettings& s, TGalleryTail& tail) const {
  tail.PhotoCaptions = cbPhotoCaptions->isChecked();
  tail.Order = Order();
  s.CellStyleSheet.set(cellStyleSheet_);
  s.ImageFolder.set(ImageFolder());
  s.ImageURL.set(url_.Save(ebURL->text()));
  s.FileNameAsCaption.set(cbFNameAsCaption->isChecked());
}

void TGalleryImagesPage::SetCellStyles(const std::vector<std::string>& names, std::size_t shipped) {
  for (const std::string& name : names) cbGallCell->addItem(QString::fromStdString(name));
  shippedStyles_ = int(shipped);
}

void TGalleryImagesPage::SelectCellStyle(const std::string& name) {
  int index = name.empty() ? -1 : cbGallCell->findText(QString::fromStdString(name), Qt::MatchFixedString);
  cbGallCell->setCurrentIndex(index);
  if (index >= 0) cbGallCellChange(index);
}

void TGalleryImagesPage::cbGallCellChange(int index) {
  // The style is taken first: it stands even when its preview cannot be shown.
  cellStyleSheet_ = CellStyleFileOfName(cbGallCell->itemText(index).toStdString());
  // The user's own styles, listed after the shipped ones, come without a preview.
  if (index >= shippedStyles_) imgCell->Clear();
  else if (index >= 0) imgCell->LoadFromFile(CellPreviewPath(index + 1));
}

void TGalleryImagesPage::btnViewSamplerClick() {
  QString sampler = QString::fromStdString(GetProgramFolder() + "Cell Sampler/index.html");
  if (dm_.Dialogs().OpenDocument(sampler)) return;
  dm_.Dialogs().ErrorBox(
      this,
      tr("Pictalon could not open the Cell Sampler in your\n"
         "web browser.  This could either be because you\n"
         "do not have a browser installed or because your\n"
         "browser is not associated with files of type .htm\n"
         "or .html.\n"
         "If you do not have a browser installed then you will\n"
         "not be able to use Pictalon properly.  If you have a\n"
         "browser, check that it is the default browser and that\n"
         "it is associated with html files."));
}

void TGalleryImagesPage::SetImageFolderPrompt(bool prompt) {
  QPalette palette = ebImgFolder->palette();
  palette.setColor(QPalette::Text, QApplication::palette().color(prompt ? QPalette::Dark : QPalette::Text));
  ebImgFolder->setPalette(palette);
  if (prompt) ebImgFolder->setText(tr(kImageFolderPrompt));
}

void TGalleryImagesPage::LoadImageFolder(const std::string& folder) {
  SetImageFolderPrompt(folder.empty());
  if (!folder.empty()) ebImgFolder->setText(QString::fromStdString(folder));
  // The folder is listed by its stored bytes, which need not be UTF-8.
  folder_.Load(folder, ebImgFolder->text());
  FillImageListFromFolder(folder, listed_);
  ImageListChanged();
}

std::string TGalleryImagesPage::ImageFolder() const {
  QString text = ebImgFolder->text();
  return text == tr(kImageFolderPrompt) ? std::string() : folder_.Save(text);
}

TImageOrder TGalleryImagesPage::Order() const {
  return cbOrder->currentIndex() == 1 ? TImageOrder::ByDate : TImageOrder::ByName;
}

void TGalleryImagesPage::ImageListChanged() {
  imageList_ = listed_;
  OrderImageList(imageList_, Order());
  ++imageListVersion_;
  std::size_t n = imageList_.size();
  pnlImgStatus->setText(n == 0 ? tr("No JPG images found/selected")
                               : tr("%n JPG images selected", nullptr, int(n)));
  btnReview->setEnabled(n > 0);
  emit imageListChanged();
}

void TGalleryImagesPage::ebImgFolderButtonClick() {
  QString current = ebImgFolder->text();
  QString start = DirectoryExists(current.toStdString()) ? current : QString();
  QString folder = dm_.Dialogs().ChooseFolder(this, start);
  if (!folder.isEmpty()) LoadImageFolder(folder.toStdString());
}

void TGalleryImagesPage::ebImgFolderAltBtnClick() {
  TFileDialogOptions options;
  options.title = tr("Select Image Files");
  options.filter = tr("JPG Images (*.jpg)");
  options.defaultSuffix = "jpg";
  QString current = ebImgFolder->text();
  if (DirectoryExists(current.toStdString())) options.folder = current;
  QStringList files = dm_.Dialogs().OpenFiles(this, options, true);
  if (files.isEmpty()) return;
  listed_.clear();
  SetImageFolderPrompt(false);
  ebImgFolder->setText(QString::fromStdString(ExtractFilePath(files.front().toStdString())));
  for (const QString& file : files)
    if (FitsImageList(file.toStdString())) listed_.push_back(file.toStdString());
  ImageListChanged();
}

void TGalleryImagesPage::cbOrderChange(int) {
  // The review window and Generate follow the list in its new order.
  QApplication::setOverrideCursor(Qt::WaitCursor);
  struct RestoreCursor {
    ~RestoreCursor() { QApplication::restoreOverrideCursor(); }
  } restore;
  ImageListChanged();
}

void TGalleryImagesPage::ebURLExit() {
  QString text = ebURL->text();
  if (text.size() > 7 && !text.startsWith("http://")) ebURL->setText("http://" + text);
}

}  // namespace pictalon
