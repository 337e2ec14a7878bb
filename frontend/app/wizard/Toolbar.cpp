// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Toolbar.h"

#include "NonVis.h"
#include "Widgets.h"
#include "WizardFrame.h"

namespace pictalon {

namespace {

QToolButton* IconButton(const char* name, const QIcon& icon, const QString& hint) {
  auto* button = new QToolButton;
  button->setObjectName(name);
  button->setIcon(icon);
  button->setAutoRaise(true);
  SetHint(button, hint);
  return button;
}

}  // namespace

TWizardToolbar::TWizardToolbar(TdmNonVis& dm, QWidget* parent) : QToolBar(parent), dm_(dm) {
  setObjectName("RzToolbar2");
  setIconSize(QSize(16, 16));
  using TIcon = TdmNonVis::TCommandIcon;
  btnNew2 = IconButton("btnNew2", TdmNonVis::CommandIcon(TIcon::New), tr("New Gallery..."));
  btnEdit2 = IconButton("btnEdit2", TdmNonVis::CommandIcon(TIcon::EditTemplate), tr("Edit Pictalon Template..."));
  btnSaveGall = IconButton("btnSaveGall", TdmNonVis::CommandIcon(TIcon::Save), tr("Save Current Gallery..."));
  btnSaveGallAs = IconButton("btnSaveGallAs", TdmNonVis::CommandIcon(TIcon::SaveAs), tr("Save As..."));
  cbFiles = new QComboBox;
  cbFiles->setObjectName("cbFiles");
  cbFiles->setFixedWidth(161);
  // Its width is fixed: no need to measure every gallery name to size it.
  cbFiles->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  cbFiles->setMinimumContentsLength(12);
  cbFiles->setItemDelegate(new TGalleryComboDelegate(cbFiles));
  // Named by what it chooses; its value is the gallery shown.
  cbFiles->setAccessibleName(tr("Open a gallery"));
  cbFiles->setToolTip(tr("Open a gallery"));
  pnlStatus = new QLabel("  ");
  pnlStatus->setObjectName("pnlStatus");
  pnlStatus->setFixedWidth(276);
  pnlStatus->setAlignment(Qt::AlignCenter);
  QFont bold = pnlStatus->font();
  bold.setBold(true);
  pnlStatus->setFont(bold);
  pnlStatus->setStyleSheet("color: navy;");
  btnInfo = IconButton("btnInfo", TdmNonVis::CommandIcon(TIcon::Help), tr("Help"));
  btnInfo->setMenu(dm_.pmInfo);
  btnInfo->setPopupMode(QToolButton::InstantPopup);

  for (QToolButton* button : {btnNew2, btnEdit2, btnSaveGall, btnSaveGallAs}) addWidget(button);
  addSeparator();
  addWidget(cbFiles);
  addWidget(pnlStatus);
  addWidget(btnInfo);

  connect(btnNew2, &QToolButton::clicked, this, &TWizardToolbar::newRequested);
  connect(btnEdit2, &QToolButton::clicked, this, &TWizardToolbar::editRequested);
  connect(btnSaveGall, &QToolButton::clicked, this, &TWizardToolbar::saveRequested);
  connect(btnSaveGallAs, &QToolButton::clicked, this, &TWizardToolbar::saveAsRequested);
  connect(cbFiles, qOverload<int>(&QComboBox::activated), this, &TWizardToolbar::galleryChosen);
}

void TWizardToolbar::AddGallery(const QString& name) {
  // The combo's delegate draws the bitmap itself, with red as its transparent colour.
  cbFiles->addItem(name);
  cbFiles->setItemData(cbFiles->count() - 1, dm_.GalleryFileBitmap16(), Qt::DecorationRole);
}

void TWizardToolbar::SelectGallery(const QString& name) {
  cbFiles->setCurrentIndex(name.isEmpty() ? -1 : cbFiles->findText(name, Qt::MatchExactly));
}

void TWizardToolbar::SetStatusText(const QString& text) {
  pnlStatus->setText(text);
  pnlStatus->repaint();
}

}  // namespace pictalon
