// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fine-tune dialog: the gallery table's width and cell spacing and how images are linked.
// Not modal; its controls are the live copy of six settings, loaded and saved with the wizard's.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <functional>

#include "TypeDef.h"

namespace pictalon {

class TdmNonVis;

class TfrmFineTune : public QDialog {
  Q_OBJECT

public:
  // saveForm stores the wizard's and this dialog's settings (OK runs it).
  TfrmFineTune(TdmNonVis& dm, std::function<void()> saveForm, QWidget* parent = nullptr);

  // The six settings it shows: table width and unit, cell spacing, hyperlinks and their mode,
  // new window. A stored width of 0 shows as 100.
  void Load(const GallerySettings& s);
  void Save(GallerySettings& s) const;

  void neTableWidthChange();
  void cbHyperlinkClick();
  void btnOKClick();
  void btnCloseClick();

protected:
  void showEvent(QShowEvent* event) override;

private:
  // The selected hyperlink mode, -1 when none.
  int HyperlinkItemIndex() const { return rgHyperlinkButtons->checkedId(); }
  void SetHyperlinkItemIndex(int index);
  // The unit's item index; -1 when the box holds typed text that is no item.
  int TableWidthUnitIndex() const;

  TdmNonVis& dm_;
  std::function<void()> saveForm_;
  QSpinBox* neTableWidth;
  QComboBox* cbTableWidthType;
  QSpinBox* seCellspacing;
  QCheckBox* cbHyperlink;
  QGroupBox* rgHyperlink;
  QButtonGroup* rgHyperlinkButtons;
  QCheckBox* cbNewWindow;
  QPushButton* btnOK;
  QPushButton* btnClose;
};

}  // namespace pictalon
