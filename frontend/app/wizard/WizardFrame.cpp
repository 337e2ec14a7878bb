// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "WizardFrame.h"

#include <QBitmap>
#include <QPainter>

namespace pictalon {

QSize TPageTabs::tabSizeHint(int index) const {
  QSize hint = QTabBar::tabSizeHint(index);
  return {qMax(hint.width(), 110), hint.height()};
}

void TGalleryComboDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
  bool selected = option.state & QStyle::State_Selected;
  painter->fillRect(option.rect, option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
  int textLeft = option.rect.left() + 2;
  QPixmap bitmap = index.data(Qt::DecorationRole).value<QPixmap>();
  if (!bitmap.isNull()) {
    QPixmap shown = bitmap;
    shown.setMask(bitmap.createMaskFromColor(QColor(255, 0, 0)));
    painter->drawPixmap(option.rect.left() + 2, option.rect.top(), shown);
    textLeft = option.rect.left() + bitmap.width() + 6;
  }
  painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  painter->drawText(QRect(textLeft, option.rect.top(), option.rect.right() - textLeft,
                          option.rect.height()),
                    Qt::AlignLeft | Qt::AlignTop, index.data(Qt::DisplayRole).toString());
}

QSize TGalleryComboDelegate::sizeHint(const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const {
  QSize hint = QStyledItemDelegate::sizeHint(option, index);
  return {hint.width() + 8, qMax(16, option.fontMetrics.height())};
}

}  // namespace pictalon
