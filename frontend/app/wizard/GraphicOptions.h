// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Graphic Options" page: logo, title and background pictures with their previews and
// "No Graphic" boxes, and the background colour.
#include <QCheckBox>
#include <QColor>
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

#include <array>
#include <string>
#include <vector>

#include "Message.h"
#include "TypeDef.h"
#include "Widgets.h"

namespace pictalon {

class TdmNonVis;

class TGraphicOptionsPage : public QWidget {
  Q_OBJECT

public:
  explicit TGraphicOptionsPage(TdmNonVis& dm, QWidget* parent = nullptr);

  // Shows the three graphics and the background colour; what cannot be shown (a picture that
  // does not decode, a colour text that is no colour) is added to problems.
  void Load(const GallerySettings& s, std::vector<TMessage>& problems);
  void Save(GallerySettings& s) const;
  QColor BackgroundColour() const { return shBgCol->Colour(); }

  // The handlers, by tag 1 (logo), 2 (title graphic), 3 (background graphic).
  void GraphicButtonClick(int tag);
  void NoGraphicClick(int tag);
  void btnBgColClick();

signals:
  // The user chose a background colour: the text page's memos follow it.
  void backgroundColourChosen(const QColor& colour);

private:
  // One picture row: its path box, preview and "No Graphic" box.
  struct TGraphicRow {
    QLineEdit* field;
    TPictureBox* preview;
    QCheckBox* noGraphic;
    QAction* findButton;
    TKeptText path;
  };
  TGraphicRow& Row(int tag) { return rows_[tag - 1]; }
  // Shows path in the row: the picture when its file exists (the box unchecked), else the box
  // checked, which empties the field only when the box was not checked before. A picture that
  // cannot be decoded leaves the preview empty and throws the decoder's error.
  void LoadGraphic(int tag, const std::string& path);

  TdmNonVis& dm_;
  std::array<TGraphicRow, 3> rows_;
  TColourSwatch* shBgCol;
  QToolButton* btnBgCol;
};

}  // namespace pictalon
