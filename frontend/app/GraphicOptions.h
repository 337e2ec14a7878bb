#pragma once
// The "Graphic Options" page: logo, title and background pictures with their previews and
// "No Graphic" boxes, and the background colour.
#include <QCheckBox>
#include <QColor>
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

#include <array>

#include "Widgets.h"

namespace pictalon {

class TdmNonVis;

class TGraphicOptionsPage : public QWidget {
  Q_OBJECT

public:
  TGraphicOptionsPage(TdmNonVis& dm, QWidget* parent = nullptr);

  // One picture row: its path box, preview and "No Graphic" box, by tag 1 (logo), 2 (title
  // graphic), 3 (background graphic).
  struct TGraphicRow {
    QLineEdit* field;
    TPictureBox* preview;
    QCheckBox* noGraphic;
    QAction* findButton;
  };
  TGraphicRow& Row(int tag) { return rows_[tag - 1]; }

  // Shows path in the row: the picture when its file exists (the box unchecked), else the box
  // checked, which empties the field only when the box was not checked before.
  void LoadGraphic(int tag, const std::string& path);

  void SetBackgroundColour(const QColor& colour);

  void GraphicButtonClick(int tag);
  void NoGraphicClick(int tag);
  void btnBgColClick();

  QLineEdit* ebLogoGraphic;
  QLineEdit* ebTitleGraphic;
  QLineEdit* ebBgImg;
  TPictureBox* imgLogo;
  TPictureBox* imgTitle;
  TPictureBox* imgBkGrnd;
  QCheckBox* cbNoGraphic1;
  QCheckBox* cbNoGraphic2;
  QCheckBox* cbNoGraphic3;
  TColourSwatch* shBgCol;
  QToolButton* btnBgCol;

signals:
  // The user chose a background colour: the text page's memos follow it.
  void backgroundColourChosen(const QColor& colour);

private:
  TdmNonVis& dm_;
  std::array<TGraphicRow, 3> rows_;
};

}  // namespace pictalon
