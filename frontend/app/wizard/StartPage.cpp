// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartPage.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QVBoxLayout>

#include "Widgets.h"

namespace pictalon {

namespace {

// The banner: the product name on a sky gradient.
QPixmap DrawBanner(QSize size) {
  QPixmap pixmap(size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, size.width(), size.height());
  sky.setColorAt(0, QColor(40, 70, 140));
  sky.setColorAt(1, QColor(120, 170, 230));
  p.fillRect(pixmap.rect(), sky);
  QFont font;
  font.setPixelSize(size.height() / 2);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(pixmap.rect().adjusted(0, -6, 0, -6), Qt::AlignCenter, "Pictalon");
  font.setPixelSize(11);
  font.setBold(false);
  p.setFont(font);
  p.drawText(pixmap.rect().adjusted(0, 0, 0, -6), Qt::AlignHCenter | Qt::AlignBottom,
             TStartPage::tr("web galleries from your photos"));
  return pixmap;
}

}  // namespace

TStartPage::TStartPage(QWidget* parent) : QWidget(parent) {
  setObjectName("tsStart");
  auto* banner = new QLabel;
  banner->setObjectName("imgBanner");
  banner->setPixmap(DrawBanner(QSize(216, 73)));
  banner->setAccessibleName("Pictalon");
  lvFiles = new QListWidget;
  lvFiles->setObjectName("lvFiles");
  lvFiles->setViewMode(QListView::IconMode);
  lvFiles->setIconSize(QSize(32, 32));
  lvFiles->setMovement(QListView::Static);
  lvFiles->setResizeMode(QListView::Adjust);
  lvFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lvFiles->setWordWrap(true);
  lvFiles->setGridSize(QSize(110, 64));
  // Hundreds of galleries must not hold up the first frame: every item takes the grid's size
  // and the list is laid out in batches.
  lvFiles->setUniformItemSizes(true);
  lvFiles->setLayoutMode(QListView::Batched);
  lvFiles->setFixedSize(565, 150);
  lvFiles->setMouseTracking(true);
  lvFiles->viewport()->setCursor(Qt::PointingHandCursor);
  lvFiles->installEventFilter(this);
  btnNew = new QPushButton(tr("New Gallery..."));
  btnNew->setObjectName("btnNew");
  btnNew->setFixedWidth(140);
  btnEdit = new QPushButton(tr("Edit Pictalon Template..."));
  btnEdit->setObjectName("btnEdit");
  btnEdit->setFixedWidth(152);

  auto* frame = new QFrame;
  frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  auto* inner = new QVBoxLayout(frame);
  inner->addWidget(banner, 0, Qt::AlignHCenter);
  inner->addSpacing(8);
  inner->addWidget(FieldLabel(tr("Double-click to open an existing Gallery:"), lvFiles));
  inner->addWidget(lvFiles, 0, Qt::AlignHCenter);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnNew);
  buttons->addWidget(btnEdit);
  buttons->addStretch();
  inner->addLayout(buttons);
  inner->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame);

  connect(lvFiles, &QListWidget::itemDoubleClicked, this, &TStartPage::lvFilesDblClick);
  connect(btnNew, &QPushButton::clicked, this, &TStartPage::newRequested);
  connect(btnEdit, &QPushButton::clicked, this, &TStartPage::editRequested);
}

void TStartPage::AddGallery(const QIcon& icon, const QString& name) {
  lvFiles->addItem(new QListWidgetItem(icon, name));
}

void TStartPage::lvFilesDblClick() {
  QListWidgetItem* item = lvFiles->currentItem();
  if (item && item->isSelected()) emit galleryChosen(item->text());
}

bool TStartPage::eventFilter(QObject* watched, QEvent* event) {
  // Enter opens the selected gallery, as a double click does.
  if (watched == lvFiles && event->type() == QEvent::KeyPress) {
    int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      lvFilesDblClick();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace pictalon
