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

class QListView;

namespace pictalon {

// One thumbnail of the store: its picture sized to its destination rectangle in the cell, kept
// as JPEG bytes (or as pixels when it has transparency).
struct TThumb {
  std::string jpeg;
  QImage picture;
  QRect rect;
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

private:
  std::vector<TThumbItem> items_;
  std::vector<TThumb> thumbs_;  // ilThumbs
  mutable QCache<int, QImage> decoded_;
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
