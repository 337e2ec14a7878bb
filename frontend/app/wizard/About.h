// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The about box: the product's logo, the version of the running program, its home page and its
// licence.
#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace pictalon {

class TdmNonVis;

// The product's home page, defined once in the build; until a public page exists, the guide
// installed beside the program.
QString HomePageAddress();

class TfrmAbout : public QDialog {
  Q_OBJECT

public:
  explicit TfrmAbout(TdmNonVis& dm, QWidget* parent = nullptr);

  void FormCreate();
  void RzURLLabel1Click();

protected:
  // The link label opens its address on a click, and on Enter or Space for keyboard users.
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  TdmNonVis& dm_;
  QLabel* Image1;
  QLabel* lblVer;
  QLabel* RzURLLabel1;
  QLabel* lblLicence;  // the licence's name and a link to its text
  QPushButton* RzButton1;
};

}  // namespace pictalon
