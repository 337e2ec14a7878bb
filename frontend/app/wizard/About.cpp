// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "About.h"

#include <QDir>
#include <QFileInfo>
#include <QGraphicsDropShadowEffect>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QUrl>
#include <QVBoxLayout>

#include "NonVis.h"
#include "Platform.h"
#include "VersionInf.h"

namespace pictalon {

QString HomePageAddress() {
  QString address = QStringLiteral(PICTALON_HOME_PAGE);
  if (!address.isEmpty()) return address;
  return QUrl::fromLocalFile(QString::fromStdString(GetProgramFolder() + "Guide/index.html")).toString();
}

namespace {

// Where the licence can be read: the copyright file an install puts among the shared documents
// (<prefix>/share/doc/pictalon/ beside <prefix>/lib/pictalon/), else the LICENSE that a build or
// an unpacked program folder holds beside its guide.
QString LicenceFile() {
  const QString folder = QString::fromStdString(GetProgramFolder());
  const QString installed = QDir::cleanPath(folder + "../../share/doc/pictalon/copyright");
  return QFileInfo::exists(installed) ? installed : folder + "LICENSE";
}

// The product's logo: the name on a sky gradient with a small framed picture.
QPixmap DrawLogo(QSize size) {
  QPixmap pixmap(size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, size.height());
  sky.setColorAt(0, QColor(40, 70, 140));
  sky.setColorAt(1, QColor(120, 170, 230));
  p.fillRect(pixmap.rect(), sky);
  QRectF frame(8, 10, size.height() - 20, size.height() - 20);
  p.setPen(QPen(Qt::white, 2));
  p.setBrush(QColor(60, 140, 70));
  p.drawRect(frame);
  p.setBrush(QColor(250, 210, 60));
  p.setPen(Qt::NoPen);
  p.drawEllipse(frame.center() - QPointF(6, 6), 5, 5);
  QFont font;
  font.setPixelSize(size.height() * 2 / 5);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(frame.right() + 10, 0, size.width(), size.height() - 12),
             Qt::AlignLeft | Qt::AlignVCenter, "Pictalon");
  return pixmap;
}

}  // namespace

TfrmAbout::TfrmAbout(TdmNonVis& dm, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), dm_(dm) {
  setObjectName("frmAbout");
  setWindowTitle(tr("About Pictalon"));

  Image1 = new QLabel;
  Image1->setObjectName("Image1");
  Image1->setPixmap(DrawLogo(QSize(215, 67)));
  Image1->setAccessibleName("Pictalon");

  lblVer = new QLabel;
  lblVer->setObjectName("lblVer");
  lblVer->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  QFont versionFont = lblVer->font();
  versionFont.setPixelSize(13);
  versionFont.setBold(true);
  lblVer->setFont(versionFont);
  auto* recess = new QGraphicsDropShadowEffect(lblVer);
  recess->setColor(QColor(0x64, 0x64, 0x64));
  recess->setOffset(1, 1);
  recess->setBlurRadius(0);
  lblVer->setGraphicsEffect(recess);

  RzURLLabel1 = new QLabel;
  RzURLLabel1->setObjectName("RzURLLabel1");
  RzURLLabel1->setTextFormat(Qt::PlainText);
  RzURLLabel1->setCursor(Qt::PointingHandCursor);
  RzURLLabel1->setFocusPolicy(Qt::StrongFocus);
  RzURLLabel1->setAlignment(Qt::AlignCenter);
  RzURLLabel1->setWordWrap(true);
  QFont linkFont = RzURLLabel1->font();
  linkFont.setBold(true);
  RzURLLabel1->setFont(linkFont);
  RzURLLabel1->setForegroundRole(QPalette::Highlight);
  RzURLLabel1->setText(HomePageAddress());
  RzURLLabel1->setAccessibleName(tr("Pictalon home page"));
  RzURLLabel1->setToolTip(HomePageAddress());
  RzURLLabel1->installEventFilter(this);

  lblLicence = new QLabel;
  lblLicence->setObjectName("lblLicence");
  lblLicence->setAlignment(Qt::AlignCenter);
  lblLicence->setWordWrap(true);
  lblLicence->setTextFormat(Qt::RichText);
  lblLicence->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  lblLicence->setText(tr("Free software under the GNU General Public License, version 3 or later "
                         "(GPL-3.0-or-later).<br><a href=\"%1\">Read the licence</a>")
                          .arg(QUrl::fromLocalFile(LicenceFile()).toString().toHtmlEscaped()));
  connect(lblLicence, &QLabel::linkActivated, this, [this](const QString& link) {
    RunGuarded(dm_, this, [this, link] { dm_.Dialogs().OpenDocument(link); });
  });

  RzButton1 = new QPushButton(tr("OK"));
  RzButton1->setObjectName("RzButton1");
  RzButton1->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Image1, 0, Qt::AlignHCenter);
  layout->addWidget(lblVer);
  layout->addSpacing(12);
  layout->addWidget(RzURLLabel1);
  layout->addSpacing(12);
  layout->addWidget(lblLicence);
  layout->addSpacing(12);
  layout->addWidget(RzButton1, 0, Qt::AlignHCenter);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(RzButton1, &QPushButton::clicked, this, &QDialog::accept);
  RunGuarded(dm_, this, [this] { FormCreate(); });
}

void TfrmAbout::FormCreate() { lblVer->setText(QString::fromStdString(GetProgramFileVersion())); }

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event) {
  if (watched == RzURLLabel1) {
    bool activated = event->type() == QEvent::MouseButtonRelease;
    if (event->type() == QEvent::KeyPress) {
      int key = static_cast<QKeyEvent*>(event)->key();
      activated = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    }
    if (activated) {
      RunGuarded(dm_, this, [this] { RzURLLabel1Click(); });
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TfrmAbout::RzURLLabel1Click() {
  dm_.Dialogs().OpenDocument(RzURLLabel1->text());
  // A visited link is drawn in the button-shadow colour.
  RzURLLabel1->setForegroundRole(QPalette::Dark);
}

}  // namespace pictalon
