// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "GalleryOptions.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QStyle>
#include <QVBoxLayout>

#include "Helpers.h"
#include "NonVis.h"
#include "Platform.h"
#include "TextUtil.h"
#include "Widgets.h"

namespace pictalon {

namespace {

QSpinBox* SpinEdit(const char* name, int minimum, int maximum, int value) {
  auto* edit = new QSpinBox;
  edit->setObjectName(name);
  edit->setRange(minimum, maximum);
  edit->setValue(value);
  edit->setFixedWidth(60);
  return edit;
}

}  // namespace

TGalleryOptionsPage::TGalleryOptionsPage(TdmNonVis& dm, QWidget* parent) : QWidget(parent), dm_(dm) {
  setObjectName("tsGallOpt");
  cbTemplates = new QComboBox;
  cbTemplates->setObjectName("cbTemplates");
  cbTemplates->setEditable(true);
  cbTemplates->setFixedWidth(394);
  ebOutput = new QLineEdit;
  ebOutput->setObjectName("ebOutput");
  ebOutput->setFixedWidth(394);
  ebOutputButton = AddFieldButton(ebOutput, style()->standardIcon(QStyle::SP_DirOpenIcon),
                                  tr("Select image folder...."), "ebOutputButton");
  cbCopyImgs = new QCheckBox(tr("Copy images to output folder"));
  cbCopyImgs->setObjectName("cbCopyImgs");
  cbCopyImgs->setChecked(true);
  // Layout group.
  seCols = SpinEdit("seCols", 1, 20, 3);
  seRows = SpinEdit("seRows", 1, 50, 5);
  btnFineTune = new QPushButton(tr("Fine tune..."));
  btnFineTune->setObjectName("btnFineTune");
  auto* layoutGroup = new QGroupBox(tr("Layout"));
  auto* layoutGrid = new QGridLayout(layoutGroup);
  layoutGrid->addWidget(FieldLabel(tr("Columns:"), seCols), 0, 0);
  layoutGrid->addWidget(seCols, 0, 1);
  layoutGrid->addWidget(FieldLabel(tr("Rows:"), seRows), 1, 0);
  layoutGrid->addWidget(seRows, 1, 1);
  layoutGrid->addWidget(btnFineTune, 2, 0, 1, 2);

  // Image scaling group.
  rbProp = new QRadioButton(tr("Proportional"));
  rbProp->setObjectName("rbProp");
  rbProp->setChecked(true);
  rbHeight = new QRadioButton(tr("Fixed Height"));
  rbHeight->setObjectName("rbHeight");
  rbWidth = new QRadioButton(tr("Fixed Width"));
  rbWidth->setObjectName("rbWidth");
  seProp = SpinEdit("seProp", 1, 100, 100);
  seHeight = SpinEdit("seHeight", 10, 500, 100);
  seWidth = SpinEdit("seWidth", 10, 500, 100);
  seProp->setAccessibleName(tr("Proportional size in % of image size"));
  seHeight->setAccessibleName(tr("Fixed height in pixels"));
  seWidth->setAccessibleName(tr("Fixed width in pixels"));
  RzLabel18 = new QLabel(tr("% of image size"));
  RzLabel18->setObjectName("RzLabel18");
  RzLabel16 = new QLabel(tr("pixels"));
  RzLabel16->setObjectName("RzLabel16");
  RzLabel17 = new QLabel(tr("pixels"));
  RzLabel17->setObjectName("RzLabel17");
  auto* scalingGroup = new QGroupBox(tr("Image Scaling"));
  auto* scalingGrid = new QGridLayout(scalingGroup);
  scalingGrid->addWidget(rbProp, 0, 0);
  scalingGrid->addWidget(seProp, 0, 1);
  scalingGrid->addWidget(RzLabel18, 0, 2);
  scalingGrid->addWidget(rbHeight, 1, 0);
  scalingGrid->addWidget(seHeight, 1, 1);
  scalingGrid->addWidget(RzLabel16, 1, 2);
  scalingGrid->addWidget(rbWidth, 2, 0);
  scalingGrid->addWidget(seWidth, 2, 1);
  scalingGrid->addWidget(RzLabel17, 2, 2);

  // Disable group.
  cbNoRClick = new QCheckBox(tr("'Right-clicks' on images"));
  cbNoRClick->setObjectName("cbNoRClick");
  cbNoRClick->setChecked(true);
  cbNoIEImgToolbar = new QCheckBox(tr("Internet Explorer 'Image Toolbar'"));
  cbNoIEImgToolbar->setObjectName("cbNoIEImgToolbar");
  cbNoIEImgToolbar->setChecked(true);
  auto* disableGroup = new QGroupBox(tr("Disable:"));
  auto* disableRow = new QHBoxLayout(disableGroup);
  disableRow->addWidget(cbNoRClick);
  disableRow->addWidget(cbNoIEImgToolbar);

  // Web pages group: how the pages look and what is made for the web, one setting a row.
  rbPageClassic = new QRadioButton(tr("Classic"));
  rbPageClassic->setObjectName("rbPageClassic");
  rbPageClassic->setChecked(true);
  rbPageModern = new QRadioButton(tr("Modern"));
  rbPageModern->setObjectName("rbPageModern");
  auto* pageStyles = new QButtonGroup(this);
  pageStyles->addButton(rbPageClassic);
  pageStyles->addButton(rbPageModern);
  auto* classicHint = new QLabel(tr("Pages as before: a table of pictures, each opening alone."));
  auto* modernHint = new QLabel(tr("Fits any screen; pictures open in a viewer on the page."));
  rbPageClassic->setAccessibleDescription(classicHint->text());
  rbPageModern->setAccessibleDescription(modernHint->text());
  // Web copies: only for copied images, their size only when they are made.
  cbResizeCopies = new QCheckBox(tr("Resize copies for the web"));
  cbResizeCopies->setObjectName("cbResizeCopies");
  seLongestSide = SpinEdit("seLongestSide", TGalleryTail::kMinLongestSide,
                           TGalleryTail::kMaxLongestSide, TGalleryTail().LongestSide);
  seLongestSide->setFixedWidth(70);
  lblLongestSide = FieldLabel(tr("Longest side (pixels):"), seLongestSide);
  // Where Publish sends the site.
  ebPublishTo = new QLineEdit;
  ebPublishTo->setObjectName("ebPublishTo");
  ebPublishTo->setPlaceholderText("sftp://user@host/~/public_html");
  ebPublishTo->setToolTip(tr("Where Publish puts the site: sftp://[user@]host[:port]/folder (a folder from "
                             "your home begins with ~/)"));
  webGroup = new QGroupBox(tr("Web Pages"));
  webGroup->setObjectName("grpWebPages");
  webGrid = new QGridLayout(webGroup);
  webGrid->addWidget(FieldLabel(tr("Page style:"), rbPageClassic), 0, 0);
  webGrid->addWidget(rbPageClassic, 0, 1);
  webGrid->addWidget(classicHint, 0, 2, 1, 3);
  webGrid->addWidget(rbPageModern, 1, 1);
  webGrid->addWidget(modernHint, 1, 2, 1, 3);
  webGrid->addWidget(cbResizeCopies, 2, 0, 1, 2);
  webGrid->addWidget(lblLongestSide, 2, 2);
  webGrid->addWidget(seLongestSide, 2, 3);
  webGrid->addWidget(FieldLabel(tr("Publish to:"), ebPublishTo), 3, 0);
  webGrid->addWidget(ebPublishTo, 3, 1, 1, 4);
  webGrid->setColumnStretch(4, 1);

  ebBackLinkURL = new QLineEdit;
  ebBackLinkURL->setObjectName("ebBackLinkURL");
  ebBackLinkURL->setFixedWidth(394);

  btnGenerate = new QToolButton;
  btnGenerate->setObjectName("btnGenerate");
  btnGenerate->setText(tr("Generate Pages"));
  btnGenerate->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
  btnGenerate->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  btnGenerate->setMinimumSize(112, 46);

  btnPublish = new QToolButton;
  btnPublish->setObjectName("btnPublish");
  btnPublish->setText(tr("Publish"));
  btnPublish->setToolTip(tr("Generate the pages, then send what changed to the \"Publish to:\" address"));
  btnPublish->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
  btnPublish->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  btnPublish->setMinimumSize(112, 46);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(FieldLabel(tr("Template:"), cbTemplates));
  layout->addWidget(cbTemplates);
  auto* outputLabelLine = new QHBoxLayout;
  outputLabelLine->addWidget(FieldLabel(tr("Output Folder:"), ebOutput));
  outputLabelLine->addStretch();
  outputLabelLine->addWidget(cbCopyImgs);
  auto* outputColumn = new QVBoxLayout;
  outputColumn->addLayout(outputLabelLine);
  outputColumn->addWidget(ebOutput);
  auto* outputRow = new QHBoxLayout;
  outputRow->addLayout(outputColumn);
  outputRow->addStretch();
  layout->addLayout(outputRow);
  auto* groups = new QHBoxLayout;
  groups->addWidget(layoutGroup);
  groups->addWidget(scalingGroup);
  groups->addStretch();
  layout->addLayout(groups);
  layout->addWidget(webGroup);
  auto* disableLine = new QHBoxLayout;
  disableLine->addWidget(disableGroup);
  disableLine->addStretch();
  layout->addLayout(disableLine);
  layout->addWidget(FieldLabel(tr("\"Back\" Link URL:"), ebBackLinkURL));
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(ebBackLinkURL);
  bottom->addStretch();
  bottom->addWidget(btnGenerate);
  bottom->addWidget(btnPublish);
  layout->addLayout(bottom);
  layout->addStretch();

  for (QRadioButton* button : {rbProp, rbHeight, rbWidth})
    connect(button, &QRadioButton::toggled, this, Guarded(dm_, this, &TGalleryOptionsPage::RadioButtonClick));
  connect(ebOutputButton, &QAction::triggered, this,
          Guarded(dm_, this, &TGalleryOptionsPage::ebOutputButtonClick));
  for (QCheckBox* box : {cbCopyImgs, cbResizeCopies})
    connect(box, &QCheckBox::toggled, this, &TGalleryOptionsPage::UpdateWebCopyControls);
  connect(rbPageModern, &QRadioButton::toggled, this, &TGalleryOptionsPage::UpdateWebCopyControls);
  connect(btnFineTune, &QPushButton::clicked, this, &TGalleryOptionsPage::fineTuneRequested);
  connect(btnGenerate, &QToolButton::clicked, this, &TGalleryOptionsPage::generateRequested);
  connect(btnPublish, &QToolButton::clicked, this, &TGalleryOptionsPage::publishRequested);
  RadioButtonClick();
  UpdateWebCopyControls();
}

void TGalleryOptionsPage::UpdateWebCopyControls() {
  // Modern pages are always made from the Modern template.
  cbTemplates->setEnabled(!rbPageModern->isChecked());
  cbResizeCopies->setEnabled(cbCopyImgs->isChecked());
  const bool resizing = cbResizeCopies->isEnabled() && cbResizeCopies->isChecked();
  seLongestSide->setEnabled(resizing);
  lblLongestSide->setEnabled(resizing);
}

void TGalleryOptionsPage::SetTemplates(const std::vector<std::string>& names) {
  for (const std::string& name : names) cbTemplates->addItem(QString::fromStdString(name));
  cbTemplates->setCurrentIndex(0);
}

void TGalleryOptionsPage::Load(const GallerySettings& s, const TGalleryTail& web) {
  const std::string templateName = s.TemplateName.empty() ? "PictBase.html" : s.TemplateName.get();
  cbTemplates->setEditText(QString::fromStdString(templateName));
  template_.Load(templateName, cbTemplates->currentText());
  const std::string output = s.OutputFolder.empty() ? GetDefaultOutputFolder() : s.OutputFolder.get();
  ebOutput->setText(QString::fromStdString(output));
  output_.Load(output, ebOutput->text());
  ebBackLinkURL->setText(QString::fromStdString(s.BackLinkURL.get()));
  backLink_.Load(s.BackLinkURL.get(), ebBackLinkURL->text());
  seCols->setValue(s.Columns.get());
  seRows->setValue(s.Rows.get());
  // An unknown mode leaves the scaling controls as they were.
  QRadioButton* const modes[] = {rbProp, rbHeight, rbWidth};
  QSpinBox* const sizes[] = {seProp, seHeight, seWidth};
  if (s.ScalingMode < 3) {
    modes[s.ScalingMode]->setChecked(true);
    sizes[s.ScalingMode]->setValue(s.ThumbSize.get());
  }
  cbNoRClick->setChecked(s.DisableRightClick.get());
  cbNoIEImgToolbar->setChecked(s.DisableImageToolbar.get());
  cbCopyImgs->setChecked(s.CopyImages.get());
  cbResizeCopies->setChecked(web.ResizeCopies);
  seLongestSide->setValue(web.LongestSide);
  (web.PageStyle == TPageStyle::Modern ? rbPageModern : rbPageClassic)->setChecked(true);
  ebPublishTo->setText(QString::fromStdString(web.PublishTo));
}

void TGalleryOptionsPage::Save(GallerySettings& s, TGalleryTail& web) const {
  s.TemplateName.set(template_.Save(cbTemplates->currentText()));
  const std::string output = output_.Save(ebOutput->text());
  s.OutputFolder.set(IsBlank(output) ? GetDefaultOutputFolder() : output);
  s.Columns.set(seCols->value());
  s.Rows.set(seRows->value());
  QRadioButton* const modes[] = {rbProp, rbHeight, rbWidth};
  QSpinBox* const sizes[] = {seProp, seHeight, seWidth};
  for (std::uint8_t mode = 0; mode < 3; ++mode) {
    if (!modes[mode]->isChecked()) continue;
    s.ScalingMode = mode;
    s.ThumbSize.set(sizes[mode]->value());
  }
  s.BackLinkURL.set(backLink_.Save(ebBackLinkURL->text()));
  s.DisableRightClick.set(cbNoRClick->isChecked());
  s.DisableImageToolbar.set(cbNoIEImgToolbar->isChecked());
  s.CopyImages.set(cbCopyImgs->isChecked());
  web.ResizeCopies = cbResizeCopies->isChecked();
  web.LongestSide = seLongestSide->value();
  web.PageStyle = rbPageModern->isChecked() ? TPageStyle::Modern : TPageStyle::Classic;
  web.PublishTo = ebPublishTo->text().trimmed().toStdString();
}

void TGalleryOptionsPage::RadioButtonClick() {
  seProp->setEnabled(rbProp->isChecked());
  RzLabel18->setEnabled(rbProp->isChecked());
  seWidth->setEnabled(rbWidth->isChecked());
  RzLabel17->setEnabled(rbWidth->isChecked());
  seHeight->setEnabled(rbHeight->isChecked());
  RzLabel16->setEnabled(rbHeight->isChecked());
}

void TGalleryOptionsPage::ebOutputButtonClick() {
  // Opens where the folder dialog was last used (the image folder button shares it).
  QString folder = dm_.Dialogs().ChooseFolder(this, QString());
  if (!folder.isEmpty()) ebOutput->setText(folder);
}

}  // namespace pictalon
