// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Gallery Options" page: template, output folder, layout, image scaling, the web pages
// (page style, web copies, where the site is published), what the pages disable, the "Back" link
// and the "Generate Pages" and "Publish" buttons.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QWidget>

#include <string>
#include <vector>

#include "GalleryFile.h"
#include "TypeDef.h"
#include "Widgets.h"

namespace pictalon {

class TdmNonVis;

class TGalleryOptionsPage : public QWidget {
  Q_OBJECT

public:
  explicit TGalleryOptionsPage(TdmNonVis& dm, QWidget* parent = nullptr);

  // The template box's entries, the first one selected.
  void SetTemplates(const std::vector<std::string>& names);
  void Load(const GallerySettings& s, const TGalleryTail& web);
  void Save(GallerySettings& s, TGalleryTail& web) const;
  // The button that starts a run. Whether it can be pressed is its run owner's to decide alone.
  QAbstractButton& GenerateButton() { return *btnGenerate; }
  QAbstractButton& PublishButton() { return *btnPublish; }

  // Enables each scaling box and its unit label exactly when its radio button is checked.
  void RadioButtonClick();
  void ebOutputButtonClick();
  // Web copies are made only of copied images; their size matters only when they are made.
  // The template is chosen for Classic pages only.
  void UpdateWebCopyControls();

signals:
  void fineTuneRequested();
  void generateRequested();
  void publishRequested();

private:
  TdmNonVis& dm_;
  QComboBox* cbTemplates;
  QLineEdit* ebOutput;
  QAction* ebOutputButton;
  QCheckBox* cbCopyImgs;
  // The "Web Pages" group: one row for each setting of the pages on the web, in a grid whose
  // first column holds the field labels; a further setting adds a row at its end.
  QGroupBox* webGroup;
  QGridLayout* webGrid;
  QRadioButton* rbPageClassic;
  QRadioButton* rbPageModern;
  QCheckBox* cbResizeCopies;
  QSpinBox* seLongestSide;
  QLabel* lblLongestSide;
  QSpinBox* seCols;
  QSpinBox* seRows;
  QPushButton* btnFineTune;
  QRadioButton* rbProp;
  QRadioButton* rbHeight;
  QRadioButton* rbWidth;
  QSpinBox* seProp;
  QSpinBox* seHeight;
  QSpinBox* seWidth;
  QLabel* RzLabel18;  // "% of image size"
  QLabel* RzLabel16;  // "pixels" of the fixed height
  QLabel* RzLabel17;  // "pixels" of the fixed width
  QCheckBox* cbNoRClick;
  QCheckBox* cbNoIEImgToolbar;
  QLineEdit* ebBackLinkURL;
  QToolButton* btnGenerate;
  QLineEdit* ebPublishTo;
  QToolButton* btnPublish;
  TKeptText template_, output_, backLink_;
};

}  // namespace pictalon
