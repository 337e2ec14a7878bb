// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "NonVis.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QUrl>

#include "Error.h"
#include "Platform.h"
#include "TextUtil.h"
#include "Translations.h"
#include "Widgets.h"

namespace pictalon {

QStringList TDialogService::OpenFiles(QWidget* parent, const TFileDialogOptions& options,
                                      bool multiple) {
  QFileDialog dialog(parent, options.title, options.folder, options.filter);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::ReadOnly, false);
  if (!options.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(options.defaultSuffix);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles();
}

QString TDialogService::OpenPicture(QWidget* parent, const TFileDialogOptions& options) {
  QStringList files = OpenFiles(parent, options, false);
  return files.isEmpty() ? QString() : files.front();
}

QString TDialogService::SaveFile(QWidget* parent, const TFileDialogOptions& options) {
  QFileDialog dialog(parent, options.title, options.folder, options.filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
  if (!options.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(options.defaultSuffix);
  if (!options.fileName.isEmpty()) dialog.selectFile(options.fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

QString TDialogService::ChooseFolder(QWidget* parent, const QString& initialFolder) {
  QString start = initialFolder.isEmpty() ? lastFolder : initialFolder;
  QString folder = QFileDialog::getExistingDirectory(parent, QString(), start,
                                                     QFileDialog::ShowDirsOnly);
  if (!folder.isEmpty()) lastFolder = folder;
  return folder;
}

std::optional<QColor> TDialogService::ChooseColour(QWidget* parent, const QColor& initial) {
  QColor colour = QColorDialog::getColor(initial, parent);
  if (!colour.isValid()) return std::nullopt;
  return colour;
}

void TDialogService::ErrorBox(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Critical, tr("Error"), text, QMessageBox::Ok, parent);
  box.exec();
}

bool TDialogService::ConfirmBox(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Question, tr("Confirm"), text, QMessageBox::NoButton, parent);
  QPushButton* yes = box.addButton(tr("&Yes"), QMessageBox::YesRole);
  box.addButton(tr("&No"), QMessageBox::NoRole);
  box.exec();
  return box.clickedButton() == yes;
}

bool TDialogService::ReplaceBox(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Question, tr("Confirm"), text, QMessageBox::NoButton, parent);
  QPushButton* yes = box.addButton(tr("&Yes"), QMessageBox::YesRole);
  box.setDefaultButton(box.addButton(tr("&No"), QMessageBox::NoRole));
  box.exec();
  return box.clickedButton() == yes;
}

bool TDialogService::Wait(QWidget* parent, const QString& text, const std::function<bool()>& ready) {
  if (ready()) return true;
  QProgressDialog box(text, tr("Cancel"), 0, 0, parent);
  box.setWindowTitle(QApplication::applicationName());
  box.setWindowModality(Qt::ApplicationModal);
  box.setMinimumDuration(0);
  box.setAutoReset(false);
  box.setAutoClose(false);
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &box, [&box, &ready] {
    if (ready()) box.accept();
  });
  poll.start(250);
  return box.exec() == QDialog::Accepted && !box.wasCanceled();
}

void TDialogService::MessageBox(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                  parent);
  box.exec();
}

std::optional<QString> TDialogService::AskSecret(QWidget* parent, const QString& prompt) {
  bool ok = false;
  const QString text = QInputDialog::getText(parent, QApplication::applicationName(), prompt, QLineEdit::Password,
                                             QString(), &ok);
  if (!ok) return std::nullopt;
  return text;
}

void TDialogService::GeneralErrorBox(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok,
                  parent);
  box.exec();
}

int TDialogService::Exec(QDialog& dialog) { return dialog.exec(); }

void TDialogService::Show(QWidget& window) {
  window.show();
  window.raise();
  window.activateWindow();
}

QRect TDialogService::ScreenGeometry(QWidget* window) {
  QScreen* screen = window && window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

bool TDialogService::OpenDocument(const QString& pathOrUrl) {
  QUrl url(pathOrUrl);
  if (url.scheme().size() > 1) return QDesktopServices::openUrl(url);  // an address
  return pictalon::OpenDocument(pathOrUrl.toStdString(), false);
}

namespace {

// A simple framed picture: the gallery file icon at any size.
QPixmap DrawGalleryIcon(int size, const QColor& background) {
  QPixmap pixmap(size, size);
  pixmap.fill(background);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  qreal m = size / 8.0;
  QRectF frame(m, m * 1.5, size - 2 * m, size - 3 * m);
  p.setPen(QPen(QColor(60, 60, 90), qMax<qreal>(1, size / 16.0)));
  p.setBrush(QColor(120, 170, 230));
  p.drawRect(frame);
  QPolygonF hill;
  hill << QPointF(frame.left(), frame.bottom()) << QPointF(frame.left() + frame.width() * 0.4,
                                                           frame.top() + frame.height() * 0.45)
       << QPointF(frame.left() + frame.width() * 0.65, frame.top() + frame.height() * 0.7)
       << QPointF(frame.right(), frame.top() + frame.height() * 0.35)
       << QPointF(frame.right(), frame.bottom());
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(60, 140, 70));
  p.drawPolygon(hill);
  p.setBrush(QColor(250, 210, 60));
  p.drawEllipse(QPointF(frame.left() + frame.width() * 0.25, frame.top() + frame.height() * 0.3),
                size / 12.0, size / 12.0);
  return pixmap;
}

// A sheet of paper with its top right corner folded, in a square of side 16 units.
void DrawSheet(QPainter& p) {
  const QPolygonF sheet({{3, 1}, {10, 1}, {13, 4}, {13, 15}, {3, 15}});
  p.setPen(QPen(QColor(90, 90, 100), 1));
  p.setBrush(Qt::white);
  p.drawPolygon(sheet);
  p.setBrush(QColor(210, 210, 220));
  p.drawPolygon(QPolygonF({{10, 1}, {10, 4}, {13, 4}}));
}

// A floppy disk, the sign for saving, in a square of side 16 units.
void DrawDisk(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(45, 85, 160));
  p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4, 1.5, 8, 5.5));
  p.setBrush(QColor(190, 195, 205));
  p.drawRect(QRectF(4.5, 9.5, 7, 5));
  p.setBrush(QColor(45, 85, 160));
  p.drawRect(QRectF(9, 2.5, 1.8, 3.5));
}

QPixmap DrawCommandIcon(TdmNonVis::TCommandIcon kind, int size) {
  using TKind = TdmNonVis::TCommandIcon;
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  p.translate(0.5, 0.5);  // one-unit lines on whole pixels at 16 x 16
  switch (kind) {
    case TKind::New:
      DrawSheet(p);
      p.setPen(QPen(QColor(40, 150, 60), 2));
      p.drawLine(QPointF(8, 7.5), QPointF(8, 12.5));
      p.drawLine(QPointF(5.5, 10), QPointF(10.5, 10));
      break;
    case TKind::EditTemplate:
      // A page of markup: a sheet with angle brackets.
      DrawSheet(p);
      p.setPen(QPen(QColor(45, 85, 160), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(Qt::NoBrush);
      p.drawPolyline(QPolygonF({{7, 6.5}, {5, 9}, {7, 11.5}}));
      p.drawPolyline(QPolygonF({{9, 6.5}, {11, 9}, {9, 11.5}}));
      break;
    case TKind::Save:
      DrawDisk(p);
      break;
    case TKind::SaveAs:
      // The disk with a pencil: saved under a name to be written.
      p.save();
      p.translate(-1, -1);
      DrawDisk(p);
      p.restore();
      p.setPen(QPen(QColor(90, 60, 20), 0.8));
      p.setBrush(QColor(240, 170, 40));
      p.drawPolygon(QPolygonF({{14.5, 7}, {16, 8.5}, {10, 14.5}, {8, 15}, {8.5, 13}}));
      break;
    case TKind::Help:
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(45, 110, 200));
      p.drawEllipse(QPointF(7.5, 7.5), 7, 7);
      p.setBrush(Qt::white);
      p.drawEllipse(QPointF(7.5, 4.2), 1.3, 1.3);
      p.drawRoundedRect(QRectF(6.4, 6.5, 2.2, 6), 0.6, 0.6);
      break;
  }
  return pixmap;
}

}  // namespace

TdmNonVis::TdmNonVis() : dialogs_(std::make_unique<TDialogService>()) {
  InstallComboBoxAccessibility();
  QPixmap transparentIcon = DrawGalleryIcon(32, Qt::transparent);
  galleryIcon_ = QIcon(transparentIcon);
  // The small bitmap keeps pure red where the background shows through, as the combo expects.
  pgs16_ = DrawGalleryIcon(16, QColor(255, 0, 0));

  pmOpenOwner_ = std::make_unique<QMenu>();
  pmOpen = pmOpenOwner_.get();
  pmOpen->setObjectName("pmOpen");
  PictalonBaseTemplate1 = pmOpen->addAction(tr("Pictalon Base Template"));
  PictalonCellStyles1 = pmOpen->addAction(tr("Pictalon Cell Styles..."));
  OtherHTMLfiles1 = pmOpen->addAction(tr("Other HTML files..."));

  pmInfoOwner_ = std::make_unique<QMenu>();
  pmInfo = pmInfoOwner_.get();
  pmInfo->setObjectName("pmInfo");
  GettingStarted1 = pmInfo->addAction(tr("Getting Started..."));
  AboutPictalon1 = pmInfo->addAction(tr("About Pictalon..."));
}

TdmNonVis::~TdmNonVis() = default;

void TdmNonVis::SetDialogService(std::unique_ptr<TDialogService> service) {
  dialogs_ = std::move(service);
}

void TdmNonVis::ShowGeneralError(QWidget* parent, const QString& message) {
  dialogs_->GeneralErrorBox(parent, QString::fromStdString(WithFullStop(message.toStdString())));
}

void TdmNonVis::ShowException(QWidget* parent, std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    ShowGeneralError(parent, Translated(MessageOf(e)));
  } catch (...) {
    ShowGeneralError(parent, tr("Unknown error"));
  }
}

QIcon TdmNonVis::TabIcon(int index) const {
  static const QStyle::StandardPixmap kinds[] = {
      QStyle::SP_FileDialogDetailedView,  // 0 text options
      QStyle::SP_DesktopIcon,             // 1 graphic options
      QStyle::SP_FileDialogContentsView,  // 2 editor
      QStyle::SP_DirIcon,                 // 3 gallery images
      QStyle::SP_FileDialogListView,      // 4 gallery options
  };
  return index >= 0 && index < int(std::size(kinds)) ? QApplication::style()->standardIcon(kinds[index]) : QIcon();
}

QIcon TdmNonVis::CommandIcon(TCommandIcon kind) {
  QIcon icon;
  for (int size : {16, 32}) icon.addPixmap(DrawCommandIcon(kind, size));
  return icon;
}

QIcon TdmNonVis::GalleryFileIcon() const { return galleryIcon_; }

void RunGuarded(TdmNonVis& dm, QWidget* parent, const std::function<void()>& body) {
  try {
    body();
  } catch (...) {
    dm.ShowException(parent, std::current_exception());
  }
}

}  // namespace pictalon
