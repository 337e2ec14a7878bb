// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThumbList.h"

#include <QListView>

#include <QApplication>

#include <algorithm>
#include <QPainter>
#include <qdrawutil.h>

#include "Error.h"
#include "Picture.h"
#include "ThumbMaker.h"

namespace pictalon {

namespace {
// What the decoded thumbnails may take, in KiB: a few screens full.
constexpr int kDecodedCacheKiB = 24 * 1024;
}  // namespace

TThumbModel::TThumbModel(QObject* parent) : QAbstractListModel(parent), decoded_(kDecodedCacheKiB) {}

QImage TThumbModel::Picture(int imageIndex) const {
  if (imageIndex < 0 || imageIndex >= ThumbCount()) return {};
  const TThumb& thumb = thumbs_[std::size_t(imageIndex)];
  if (thumb.jpeg.empty()) return thumb.picture;
  if (const QImage* cached = decoded_.object(imageIndex)) return *cached;
  QImage image;
  try {
    image = DecodeJpeg(thumb.jpeg);
  } catch (const Error&) {
    return {};  // our own bytes: cannot happen short of memory; the cell stays empty
  }
  decoded_.insert(imageIndex, new QImage(image), std::max<int>(1, int(image.sizeInBytes() / 1024)));
  return image;
}

int TThumbModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(items_.size());
}

QVariant TThumbModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const TThumbItem& item = items_[std::size_t(index.row())];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole:
      return QString::fromStdString(item.caption);
    case ImageIndexRole:
      return item.imageIndex;
    case PathRole:
      return QString::fromStdString(item.path);
    default:
      return {};
  }
}

void TThumbModel::SetVisibleRows(int first, int last) {
  first_ = std::max(0, first);
  last_ = std::min(last, rowCount() - 1);
  const int from = first_ - kKeepRows, to = last_ + kKeepRows;
  for (int row = 0; row < rowCount(); ++row)
    if (row < from || row > to) Drop(row);
}

void TThumbModel::Drop(int row) {
  TThumb& thumb = thumbs_[std::size_t(row)];
  if (thumb.dropped || (thumb.jpeg.empty() && thumb.picture.isNull())) return;
  std::string().swap(thumb.jpeg);  // an assignment could keep the bytes' room
  thumb.picture = QImage();
  thumb.exact = false;
  thumb.dropped = true;
  decoded_.remove(row);
}

void TThumbModel::AddWork(int row, std::vector<TThumbJob>& jobs) const {
  const TThumb& thumb = thumbs_[std::size_t(row)];
  if (thumb.dropped || !thumb.exact)
    jobs.push_back({row, items_[std::size_t(row)].path, !thumb.dropped});
}

std::vector<TThumbJob> TThumbModel::WorkOrder() const {
  std::vector<TThumbJob> jobs;
  if (last_ < first_) return jobs;
  for (int row = first_; row <= last_; ++row)
    if (thumbs_[std::size_t(row)].dropped) AddWork(row, jobs);
  for (int row = first_; row <= last_; ++row)
    if (!thumbs_[std::size_t(row)].dropped) AddWork(row, jobs);
  for (int d = 1; d <= kKeepRows; ++d) {
    if (last_ + d < rowCount()) AddWork(last_ + d, jobs);
    if (first_ - d >= 0) AddWork(first_ - d, jobs);
  }
  return jobs;
}

void TThumbModel::Replace(TThumbResult result) {
  const int row = int(result.index);
  if (row < 0 || row >= rowCount()) return;
  TThumb& thumb = thumbs_[std::size_t(row)];
  if (result.error.empty()) {
    thumb.jpeg = std::move(result.jpeg);
    thumb.picture = std::move(result.picture);
    decoded_.remove(row);
  }
  // A failed picture is not asked for again: the row keeps what it shows.
  thumb.exact = result.exact;
  thumb.dropped = false;
  const QModelIndex at = index(row);
  emit dataChanged(at, at, {ThumbRole});
}

bool TThumbModel::VisibleShown() const {
  for (int row = first_; row <= last_; ++row)
    if (thumbs_[std::size_t(row)].dropped) return false;
  return last_ >= first_;
}

bool TThumbModel::VisibleExact() const {
  for (int row = first_; row <= last_; ++row)
    if (!thumbs_[std::size_t(row)].exact) return false;
  return last_ >= first_;
}

void TThumbModel::Clear() {
  beginResetModel();
  first_ = 0;
  last_ = -1;
  decoded_.clear();
  items_.clear();
  thumbs_.clear();
  thumbs_.shrink_to_fit();
  items_.shrink_to_fit();
  endResetModel();
}

void TThumbModel::Append(std::vector<TThumbItem> items, std::vector<TThumb> thumbs) {
  if (items.empty()) return;
  const int first = rowCount();
  beginInsertRows({}, first, first + int(items.size()) - 1);
  for (TThumb& thumb : thumbs) thumbs_.push_back(std::move(thumb));
  for (TThumbItem& item : items) items_.push_back(std::move(item));
  endInsertRows();
  // Rows far below the view let their pictures go at once.
  if (last_ >= first_) SetVisibleRows(first_, last_);
}

TThumbDelegate::TThumbDelegate(const TThumbModel& model, QObject* parent)
    : QStyledItemDelegate(parent), model_(model) {}

namespace {
constexpr int kCaptionGap = 2;
constexpr int kItemMargin = 4;
}  // namespace

void TThumbDelegate::PaintCell(QPainter& painter, QPoint origin, const QImage& picture,
                               const QRect& rect, const QPalette& palette) {
  const QRect cell(origin, QSize(kThumbCell, kThumbCell));
  const QBrush fill = palette.brush(QPalette::Window);
  qDrawShadePanel(&painter, cell, palette, /*sunken=*/true, 2, &fill);
  if (!picture.isNull()) painter.drawImage(rect.translated(origin), picture);
}

void TThumbDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
  painter->save();
  const QRect r = option.rect;
  const QPoint origin(r.x() + (r.width() - kThumbCell) / 2, r.y() + kItemMargin);
  const int imageIndex = index.data(TThumbModel::ImageIndexRole).toInt();
  const QImage picture = model_.Picture(imageIndex);
  PaintCell(*painter, origin, picture,
            picture.isNull() ? QRect() : model_.Thumb(imageIndex).rect, option.palette);

  const bool selected = option.state & QStyle::State_Selected;
  if (selected) {
    QColor tint = option.palette.color(QPalette::Active, QPalette::Highlight);
    tint.setAlpha(70);
    painter->fillRect(QRect(origin, QSize(kThumbCell, kThumbCell)), tint);
  }
  const QRect textBox(r.x() + 1, origin.y() + kThumbCell + kCaptionGap, r.width() - 2,
                      option.fontMetrics.height() + 2);
  const QString text = option.fontMetrics.elidedText(index.data().toString(), Qt::ElideMiddle,
                                                     textBox.width() - 4);
  // The selection stays visible when the list loses the focus: the active colours either way.
  if (selected) {
    const int w = option.fontMetrics.horizontalAdvance(text) + 6;
    const QRect mark(textBox.x() + (textBox.width() - w) / 2, textBox.y(), w, textBox.height());
    painter->fillRect(mark, option.palette.color(QPalette::Active, QPalette::Highlight));
    painter->setPen(option.palette.color(QPalette::Active, QPalette::HighlightedText));
  } else {
    painter->setPen(option.palette.color(QPalette::Text));
  }
  painter->drawText(textBox, Qt::AlignHCenter | Qt::AlignVCenter, text);
  if (option.state & QStyle::State_HasFocus && selected) {
    QStyleOptionFocusRect focus;
    focus.rect = textBox;
    focus.palette = option.palette;
    focus.state = option.state;
    QApplication::style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter);
  }
  painter->restore();
}

QSize TThumbDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
  return QSize(kThumbCell + 2 * kItemMargin,
               kItemMargin + kThumbCell + kCaptionGap + option.fontMetrics.height() + 2 + kItemMargin);
}

TThumbDelegate* SetUpThumbView(QListView& view, TThumbModel& model) {
  view.setModel(&model);
  auto* delegate = new TThumbDelegate(model, &view);
  view.setItemDelegate(delegate);
  view.setViewMode(QListView::IconMode);
  view.setMovement(QListView::Static);
  view.setResizeMode(QListView::Adjust);
  view.setWrapping(true);
  view.setUniformItemSizes(true);
  view.setLayoutMode(QListView::Batched);
  view.setBatchSize(200);
  view.setSelectionMode(QAbstractItemView::SingleSelection);
  view.setEditTriggers(QAbstractItemView::NoEditTriggers);
  view.setGridSize(delegate->sizeHint(QStyleOptionViewItem(), {}) + QSize(8, 4));
  QPalette palette = view.palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  // The selection stays visible when the list loses the focus.
  palette.setColor(QPalette::Inactive, QPalette::Highlight,
                   palette.color(QPalette::Active, QPalette::Highlight));
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   palette.color(QPalette::Active, QPalette::HighlightedText));
  view.setPalette(palette);
  return delegate;
}

}  // namespace pictalon
