// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "FineTune.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "NonVis.h"
#include "Widgets.h"

namespace pictalon {

TfrmFineTune::TfrmFineTune(TdmNonVis& dm, std::function<void()> saveForm, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      dm_(dm),
      saveForm_(std::move(saveForm)) {
  setObjectName("frmFineTune");
  setWindowTitle(tr("Pictalon - Fine Tuner"));
  setModal(false);

  neTableWidth = new QSpinBox;
  neTableWidth->setObjectName("neTableWidth");
  neTableWidth->setRange(-999999999, 999999999);
  neTableWidth->setGroupSeparatorShown(true);
  neTableWidth->setButtonSymbols(QAbstractSpinBox::NoButtons);
  neTableWidth->setValue(100);
  cbTableWidthType = new QComboBox;
  cbTableWidthType->setObjectName("cbTableWidthType");
  cbTableWidthType->setEditable(true);
  cbTableWidthType->addItems({tr("Percent"), tr("Pixels")});
  cbTableWidthType->setAccessibleName(tr("Width unit"));
  cbTableWidthType->lineEdit()->setAccessibleName(tr("Width unit"));
  seCellspacing = new QSpinBox;
  seCellspacing->setObjectName("seCellspacing");
  seCellspacing->setRange(0, 100);
  seCellspacing->setValue(4);

  auto* tableGroup = new QGroupBox(tr("Gallery 'Table' Settings:"));
  auto* tableGrid = new QGridLayout(tableGroup);
  tableGrid->addWidget(FieldLabel(tr("Width:"), neTableWidth), 0, 0);
  tableGrid->addWidget(neTableWidth, 0, 1);
  tableGrid->addWidget(cbTableWidthType, 0, 2);
  tableGrid->addWidget(FieldLabel(tr("Cell Spacing:"), seCellspacing), 1, 0);
  tableGrid->addWidget(seCellspacing, 1, 1);

  // The check box stands in for the group's caption: it switches the whole group.
  cbHyperlink = new QCheckBox(tr("Hyperlink Gallery Images"));
  cbHyperlink->setObjectName("cbHyperlink");
  cbHyperlink->setChecked(true);
  rgHyperlink = new QGroupBox;
  rgHyperlink->setObjectName("rgHyperlink");
  rgHyperlink->setAccessibleName(tr("Hyperlink Gallery Images"));
  rgHyperlinkButtons = new QButtonGroup(this);
  auto* linkLayout = new QVBoxLayout(rgHyperlink);
  linkLayout->setSpacing(5);
  linkLayout->setContentsMargins(15, 8, 8, 8);
  const char* items[] = {QT_TR_NOOP("Caption only"), QT_TR_NOOP("Image only"),
                         QT_TR_NOOP("Image and Caption")};
  for (int i = 0; i < 3; ++i) {
    auto* button = new QRadioButton(tr(items[i]));
    button->setObjectName(QString("rgHyperlinkItem%1").arg(i));
    rgHyperlinkButtons->addButton(button, i);
    linkLayout->addWidget(button);
  }
  rgHyperlinkButtons->button(0)->setChecked(true);
  auto* groove = new QFrame;
  groove->setFrameShape(QFrame::HLine);
  groove->setFrameShadow(QFrame::Sunken);
  linkLayout->addWidget(groove);
  cbNewWindow = new QCheckBox(tr("Show linked image in new window"));
  cbNewWindow->setObjectName("cbNewWindow");
  cbNewWindow->setChecked(true);
  linkLayout->addWidget(cbNewWindow);

  btnOK = new QPushButton(tr("OK"));
  btnOK->setObjectName("btnOK");
  btnOK->setDefault(true);
  btnClose = new QPushButton(tr("Cancel"));
  btnClose->setObjectName("btnClose");

  auto* left = new QVBoxLayout;
  left->addWidget(tableGroup);
  left->addWidget(cbHyperlink);
  left->addWidget(rgHyperlink);
  auto* right = new QVBoxLayout;
  right->addWidget(btnOK);
  right->addWidget(btnClose);
  right->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(right);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(neTableWidth, qOverload<int>(&QSpinBox::valueChanged), this,
          Guarded(dm_, this, &TfrmFineTune::neTableWidthChange));
  connect(cbHyperlink, &QCheckBox::toggled, this, Guarded(dm_, this, &TfrmFineTune::cbHyperlinkClick));
  connect(btnOK, &QPushButton::clicked, this, Guarded(dm_, this, &TfrmFineTune::btnOKClick));
  connect(btnClose, &QPushButton::clicked, this, Guarded(dm_, this, &TfrmFineTune::btnCloseClick));
}

void TfrmFineTune::Load(const GallerySettings& s) {
  neTableWidth->setValue(s.TableWidth.get());
  if (neTableWidth->value() == 0) neTableWidth->setValue(100);
  // The stored unit wins over the one the width change just chose.
  cbTableWidthType->setCurrentIndex(s.TableWidthUnit.get() < cbTableWidthType->count()
                                        ? s.TableWidthUnit.get()
                                        : -1);
  seCellspacing->setValue(s.CellSpacing.get());
  cbHyperlink->setChecked(s.HyperlinkImages.get());
  cbHyperlinkClick();
  SetHyperlinkItemIndex(s.HyperlinkMode);
  cbNewWindow->setChecked(s.LinkInNewWindow.get());
}

void TfrmFineTune::Save(GallerySettings& s) const {
  s.TableWidth.set(neTableWidth->value());
  s.TableWidthUnit.set(TableWidthUnitIndex());
  s.CellSpacing.set(seCellspacing->value());
  s.HyperlinkImages.set(cbHyperlink->isChecked());
  s.HyperlinkMode = static_cast<std::uint8_t>(HyperlinkItemIndex());
  s.LinkInNewWindow.set(cbNewWindow->isChecked());
}

void TfrmFineTune::SetHyperlinkItemIndex(int index) {
  if (QAbstractButton* button = rgHyperlinkButtons->button(index)) {
    button->setChecked(true);
    return;
  }
  // No item: every button unchecked.
  rgHyperlinkButtons->setExclusive(false);
  for (QAbstractButton* button : rgHyperlinkButtons->buttons()) button->setChecked(false);
  rgHyperlinkButtons->setExclusive(true);
}

int TfrmFineTune::TableWidthUnitIndex() const {
  return cbTableWidthType->findText(cbTableWidthType->currentText(), Qt::MatchExactly);
}

void TfrmFineTune::neTableWidthChange() {
  cbTableWidthType->setCurrentIndex(neTableWidth->value() > 100 ? 1 : 0);
}

void TfrmFineTune::cbHyperlinkClick() {
  rgHyperlink->setEnabled(cbHyperlink->isChecked());
  cbNewWindow->setEnabled(rgHyperlink->isEnabled());
}

void TfrmFineTune::btnOKClick() {
  saveForm_();
  close();
}

void TfrmFineTune::btnCloseClick() { close(); }

void TfrmFineTune::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  RunGuarded(dm_, this, [this] { cbHyperlinkClick(); });
}

}  // namespace pictalon
