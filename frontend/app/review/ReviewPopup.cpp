// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReviewPopup.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>

#include "Error.h"
#include "NonVis.h"
#include "Picture.h"
#include "Platform.h"

namespace pictalon {
namespace {

// Heights of the text lines above and below the centre panel, and the side margins.
constexpr int kTopLine = 22;
constexpr int kBottomLine = 18;
constexpr int kMargin = 10;
const QSize kDesignClient(347, 148);

// The busy cursor for the life of the object.
struct TBusyCursor {
  TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

TReviewPopup::TReviewPopup(TDialogService& dialogs, QWidget* owner)
    : QWidget(owner, Qt::Tool), dialogs_(dialogs) {
  setObjectName("twPopup");
  pnlPopupMsg = new QLabel(this);
  pnlPopupMsg->setObjectName("pnlPopupMsg");
  pnlPopupMsg->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  pnlPopupBottom = new QLabel(this);
  pnlPopupBottom->setObjectName("pnlPopupBottom");
  pnlPopupBottom->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  pnlPopupBack = new QLabel(this);
  pnlPopupBack->setObjectName("pnlPopupBack");
  pnlPopupBack->setAlignment(Qt::AlignCenter);
  Image1 = new QLabel(pnlPopupBack);
  Image1->setObjectName("Image1");
  Image1->setScaledContents(true);
  Image1->hide();
  lbErrors = new QListWidget(pnlPopupBack);
  lbErrors->setObjectName("lbErrors");
  lbErrors->setFrameShape(QFrame::NoFrame);
  // A report to read: nothing to choose, no item marked as current.
  lbErrors->setSelectionMode(QAbstractItemView::NoSelection);
  lbErrors->setFocusPolicy(Qt::NoFocus);
  lbErrors->setAccessibleName(tr("Thumbnail errors"));
  QPalette palette = lbErrors->palette();
  palette.setBrush(QPalette::Base, palette.brush(QPalette::Button));
  lbErrors->setPalette(palette);
  lbErrors->hide();
  resize(kDesignClient);
}

void TReviewPopup::resizeEvent(QResizeEvent*) {
  const int w = width(), h = height();
  pnlPopupMsg->setGeometry(0, 0, w, kTopLine);
  pnlPopupBottom->setGeometry(0, h - kBottomLine, w, kBottomLine);
  pnlPopupBack->setGeometry(kMargin, kTopLine, w - 2 * kMargin, h - kTopLine - kBottomLine);
  lbErrors->setGeometry(pnlPopupBack->contentsRect());
  const QRect inner = pnlPopupBack->contentsRect();
  Image1->move(inner.x() + (inner.width() - Image1->width()) / 2,
               inner.y() + (inner.height() - Image1->height()) / 2);
}

void TReviewPopup::ShowErrors(const QStringList& lines) {
  pnlPopupBottom->clear();
  setWindowTitle(tr("%n Thumbnail Error(s)", nullptr, int(lines.size() / 3)));
  pnlPopupMsg->setText("  " + tr("The following image(s) caused thumbnail errors:"));
  pnlPopupBack->setFrameStyle(QFrame::NoFrame);
  pnlPopupBack->clear();
  Image1->hide();
  lbErrors->clear();
  lbErrors->addItems(lines);
  lbErrors->setCurrentRow(-1);
  lbErrors->setGeometry(pnlPopupBack->contentsRect());
  lbErrors->show();
  dialogs_.Show(*this);
}

QSize TReviewPopup::ShownSize(QSize fullSize, QSize screen) {
  // The whole picture must be reachable: one halving is not enough for a camera's photograph on
  // an ordinary screen, so halve until it fits.
  QSize shown = fullSize;
  while ((shown.height() + kTopLine + kBottomLine >= screen.height() ||
          shown.width() + 2 * kMargin >= screen.width()) &&
         shown.width() > 1 && shown.height() > 1)
    shown = QSize(shown.width() / 2, shown.height() / 2);
  return shown;
}

void TReviewPopup::ShowImage(const QString& path, const QRect& screen) {
  const std::string file = path.toStdString();
  if (!FileExists(file)) return;
  pnlPopupBottom->clear();
  setWindowTitle(QString::fromStdString(ExtractFileName(file)));
  pnlPopupMsg->setText("  " + QString::fromStdString(ExtractFilePath(file)));
  pnlPopupBack->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  pnlPopupBack->clear();
  lbErrors->hide();
  Image1->hide();
  Image1->clear();
  Image1->resize(0, 0);

  QSize client = kDesignClient;
  {
    TBusyCursor busy;
    try {
      QSize shown;
      TDecodedPicture picture = LoadPictureFor(file, [&](QSize full) {
        shown = ShownSize(full, screen.size());
        return shown;
      });
      QImage image = std::move(picture.image);
      if (image.size() != shown)
        image = image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      Image1->setPixmap(QPixmap::fromImage(image));
      Image1->resize(shown);
      Image1->show();
      client = QSize(shown.width() + 2 * kMargin, shown.height() + kTopLine + kBottomLine);
      pnlPopupBottom->setText(tr("Height: %1  Width: %2")
                                  .arg(picture.fullSize.height())
                                  .arg(picture.fullSize.width()));
    } catch (const std::exception&) {
      pnlPopupBack->setText(tr("Error loading image"));
    }
  }
  resize(client);
  const QSize outer = frameGeometry().size().expandedTo(client);
  move(screen.x() + screen.width() / 2 - outer.width() / 2,
       screen.y() + screen.height() / 2 - outer.height() / 2);
  dialogs_.Show(*this);
}

}  // namespace pictalon
