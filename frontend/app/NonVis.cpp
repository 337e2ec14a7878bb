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

}  // namespace

TdmNonVis::TdmNonVis() : dialogs_(std::make_unique<TDialogService>()) {
  InstallComboBoxAccessibility();
  QStyle* style = QApplication::style();
  tabIcons_ = {
      style->standardIcon(QStyle::SP_FileDialogDetailedView),  // 0 text options
      style->standardIcon(QStyle::SP_DesktopIcon),             // 1 graphic options
      style->standardIcon(QStyle::SP_FileDialogContentsView),  // 2 editor
      style->standardIcon(QStyle::SP_DirIcon),                 // 3 gallery images
      style->standardIcon(QStyle::SP_FileDialogListView),      // 4 gallery options
  };
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
  return index >= 0 && index < int(tabIcons_.size()) ? tabIcons_[index] : QIcon();
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
