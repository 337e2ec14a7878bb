// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Text Options" page: title, introduction and footer texts, shown in the gallery's text
// colour on its background colour as a preview of the pages.
#include <QColor>
#include <QToolButton>
#include <QWidget>

#include <array>
#include <string>
#include <vector>

#include "Message.h"
#include "Settings.h"
#include "TypeDef.h"
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
  explicit TTextOptionsPage(TdmNonVis& dm, QWidget* parent = nullptr);

  // Shows the gallery's texts and text colour; a colour text that is no colour is added to
  // problems and shown as white.
  void Load(const GallerySettings& s, std::vector<TMessage>& problems);
  void Save(GallerySettings& s) const;

  // The background colour of the three memos (the swatch lives on the graphic page).
  void SetMemoBackground(const QColor& colour);

  void btnTextColorClick();

private:
  // The text colour: the swatch's fill and the memos' font colour.
  void SetTextColour(const QColor& colour);

  TdmNonVis& dm_;
  TMemo* moTitleText;
  TIntroMemo* moIntroText;
  TMemo* moFooter;
  TColourSwatch* shTxtCol;
  QToolButton* btnTextColor;
  TKeptText title_, intro_, footer_;
  std::array<std::string, kIntroSlots> introSlots_;  // as loaded, for an introduction kept whole
};

}  // namespace pictalon
