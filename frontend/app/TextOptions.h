#pragma once
// The "Text Options" page: title, introduction and footer texts, shown in the gallery's text
// colour on its background colour as a preview of the pages.
#include <QColor>
#include <QToolButton>
#include <QWidget>

#include "Widgets.h"

namespace pictalon {

class TdmNonVis;

// The introduction is stored in four string slots: it fits while the four pieces take it whole.
class TIntroMemo : public TMemo {
public:
  explicit TIntroMemo(QWidget* parent = nullptr);
  bool Fits(const QString& text) const override;
};

class TTextOptionsPage : public QWidget {
  Q_OBJECT

public:
  TTextOptionsPage(TdmNonVis& dm, QWidget* parent = nullptr);

  // The text colour: the swatch's fill and the memos' font colour.
  void SetTextColour(const QColor& colour);
  // The background colour of the three memos (the swatch lives on the graphic page).
  void SetMemoBackground(const QColor& colour);

  void btnTextColorClick();

  TMemo* moTitleText;
  TIntroMemo* moIntroText;
  TMemo* moFooter;
  TColourSwatch* shTxtCol;
  QToolButton* btnTextColor;

private:
  TdmNonVis& dm_;
};

}  // namespace pictalon
