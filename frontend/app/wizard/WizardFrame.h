// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The wizard frame's own controls: tabs of a minimum width and the gallery combo's entries.
#include <QIcon>
#include <QStyledItemDelegate>
#include <QTabBar>

#include <functional>
#include <utility>
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

  // Adds the next page's tab, hidden; pages are numbered in the order they are added. The icon is
  // asked for when the tab first shows: a start with no tabs looks no icon up.
  void AddPage(std::function<QIcon()> icon, const QString& caption);
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
    std::function<QIcon()> makeIcon;
    QString caption;
    QIcon icon;
  };
  std::vector<TPage> pages_;
};

// The wizard's page area's size as its pages last needed it, kept in the user data folder under a
// key naming what it depends on. The wizard is a window of fixed size: knowing the size, a start
// shows the Start page without making the other pages first.
class TPageAreaMemo {
public:
  TPageAreaMemo() = default;
  explicit TPageAreaMemo(QString key) : key_(std::move(key)) {}

  // The size remembered under the key; an invalid size when there is none.
  QSize Size() const;
  // Remembers size under the key. A memo that cannot be written only costs the next start time.
  void Remember(QSize size) const;

private:
  QString key_;
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
