// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The review window's list of thumbnails: a model over one store of pictures (the window's
// ilThumbs) and a delegate that draws each cell as a sunken frame with its picture, so that ten
// thousand items cost ten thousand small pictures and no widgets.
#include <QAbstractListModel>
#include <QCache>
#include <QImage>
#include <QRect>
#include <QStyledItemDelegate>

#include <string>
#include <vector>

#include "ThumbRefiner.h"

class QListView;

namespace pictalon {

// One thumbnail of the store: its picture sized to its destination rectangle in the cell, kept
// as JPEG bytes (or as pixels when it has transparency). It may be the camera's preview until the
// exact one is made, and none at all while its row is far out of view.
struct TThumb {
  std::string jpeg;
  QImage picture;
  QRect rect;
  bool exact = true;     // false: the camera's preview stands in for it
  bool dropped = false;  // the picture was let go to save memory; made again when needed
};

// An item of the list: caption, the image it shows and the position of its thumbnail.
struct TThumbItem {
  std::string path;     // full path, from the image list
  std::string caption;  // file name with extension, without folder
  QSize fullSize;       // pixel size from the header
  int imageIndex = 0;
};

class TThumbModel : public QAbstractListModel {
  Q_OBJECT

public:
  enum Role { ImageIndexRole = Qt::UserRole + 1, PathRole, ThumbRole };

  explicit TThumbModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  void Clear();
  // Appends items whose thumbnails are given alongside, in one insertion.
  void Append(std::vector<TThumbItem> items, std::vector<TThumb> thumbs);

  const TThumbItem& Item(int row) const { return items_[std::size_t(row)]; }
  const TThumb& Thumb(int imageIndex) const { return thumbs_[std::size_t(imageIndex)]; }
  int ThumbCount() const { return int(thumbs_.size()); }
  // The pixels of a thumbnail (null for none), decoded on demand; the most recently drawn ones
  // stay decoded.
  QImage Picture(int imageIndex) const;

  // How many rows on either side of the view keep their pictures.
  static constexpr int kKeepRows = 300;
  // The rows in view, first to last (last below first: none). The pictures of rows more than
  // kKeepRows away are let go.
  void SetVisibleRows(int first, int last);
  // The pictures the list wants, nearest the view first: the rows in view in view order, first a
  // picture for each that has none and then the exact one for each that shows a preview; then the
  // rows outward from the view, below before above, as far as pictures are kept.
  std::vector<TThumbJob> WorkOrder() const;
  // A picture made for a row (result.index): the exact one, or a first one for a row that had
  // none. A failure leaves what the row showed.
  void Replace(TThumbResult result);
  // Whether every row in view shows a picture (VisibleExact: its exact thumbnail).
  bool VisibleShown() const;
  bool VisibleExact() const;
  int FirstVisible() const { return first_; }
  int LastVisible() const { return last_; }

private:
  // The job row's thumbnail wants next, if any.
  void AddWork(int row, std::vector<TThumbJob>& jobs) const;
  void Drop(int row);

  std::vector<TThumbItem> items_;
  std::vector<TThumb> thumbs_;  // ilThumbs
  mutable QCache<int, QImage> decoded_;
  int first_ = 0, last_ = -1;
};

// Draws a cell: the 150 x 150 sunken frame filled with the window colour, the picture stretched
// into its rectangle, the caption below; the selection shows on the caption and as a tint.
class TThumbDelegate : public QStyledItemDelegate {
  Q_OBJECT

public:
  explicit TThumbDelegate(const TThumbModel& model, QObject* parent = nullptr);
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  // Paints one cell's frame at origin and the picture into rect inside it.
  static void PaintCell(QPainter& painter, QPoint origin, const QImage& picture, const QRect& rect,
                        const QPalette& palette);

private:
  const TThumbModel& model_;
};

// Shows model in view as the review window's list of thumbnails: large icons in a grid, one
// selected at a time, the selection visible when the list loses the focus. Returns the delegate.
TThumbDelegate* SetUpThumbView(QListView& view, TThumbModel& model);

}  // namespace pictalon
