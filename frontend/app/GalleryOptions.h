#pragma once
// The "Gallery Options" page: template, output folder, layout, image scaling, what the pages
// disable, the "Back" link and the "Generate Pages" button.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QWidget>

namespace pictalon {

class TdmNonVis;

class TGalleryOptionsPage : public QWidget {
  Q_OBJECT

public:
  TGalleryOptionsPage(TdmNonVis& dm, QWidget* parent = nullptr);

  // Enables each scaling box and its unit label exactly when its radio button is checked.
  void RadioButtonClick();
  void ebOutputButtonClick();

  QComboBox* cbTemplates;
  QLineEdit* ebOutput;
  QAction* ebOutputButton;
  QCheckBox* cbCopyImgs;
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

private:
  TdmNonVis& dm_;
};

}  // namespace pictalon
