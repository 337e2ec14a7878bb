// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The wizard frame's own controls: tabs of a minimum width and the gallery combo's entries.
#include <QStyledItemDelegate>
#include <QTabBar>

namespace pictalon {

// Tabs drawn at least 110 pixels wide, wider when their caption needs it.
class TPageTabs : public QTabBar {
public:
  using QTabBar::QTabBar;

protected:
  QSize tabSizeHint(int index) const override;
};

// Draws a gallery combo entry: its bitmap 2 pixels in from the left with pure red showing the
// background, the text 6 pixels after the bitmap, both at the entry's top.
class TGalleryComboDelegate : public QStyledItemDelegate {
public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace pictalon
