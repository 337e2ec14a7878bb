// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The wizard frame's own controls: tabs of a minimum width and the gallery combo's entries.
#include <QIcon>
#include <QStyledItemDelegate>
#include <QTabBar>

#include <vector>

namespace pictalon {

// The tabs of the wizard's pages, drawn at least 110 pixels wide, wider when their caption needs
// it. Only the tabs of the shown pages are in the bar, and screen readers find exactly those:
// Qt's own bar reports a hidden tab as showing, can leave tabs without an area after a change of
// the hidden ones, and mixes up its tabs when their number changes.
class TPageTabs : public QTabBar {
  Q_OBJECT

public:
  explicit TPageTabs(QWidget* parent = nullptr);

  // Adds the next page's tab, hidden; pages are numbered in the order they are added.
  void AddPage(const QIcon& icon, const QString& caption);
  // Shows the tabs of the pages marked in shown, in page order; page is current when it shows.
  void ShowPages(const std::vector<bool>& shown, int page);
  // The page of the tab at index, -1 for none.
  int PageAt(int index) const;
  // The tab of page, -1 while it is hidden.
  int TabOf(int page) const;

protected:
  QSize tabSizeHint(int index) const override;

private:
  struct TPage {
    QIcon icon;
    QString caption;
  };
  std::vector<TPage> pages_;
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
