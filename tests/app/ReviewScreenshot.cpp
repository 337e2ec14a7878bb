// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// review_screenshot OUTPUT.png SAMPLES_FOLDER
// Draws the guide's picture of the review window: the sample photos as thumbnails, one damaged
// file with its error report beside, a selected portrait photo (stored on its side, as cameras do)
// standing upright with its texts. Offscreen, so the two
// windows get a caption bar drawn by the style in place of a window manager's frame.
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QStyleOptionTitleBar>
#include <QTimer>
#include <QTransform>

#include <cstdio>

#include "ImageReview.h"
#include "NonVis.h"
#include "Platform.h"
#include "ReviewPopup.h"
#include "TestSupport.h"
#include "ThumbList.h"
#include "FixedWizard.h"

using namespace pictalon;

namespace {

// The popup is shown by the window; nothing else is asked of the dialogs here.
class QuietDialogs : public TDialogService {
public:
  void Show(QWidget& window) override { window.show(); }
  QRect ScreenGeometry(QWidget*) override { return {0, 0, 1280, 800}; }
};

// A window's picture under a caption bar drawn by the style.
QImage Framed(QWidget& window, bool active) {
  const QPixmap client = window.grab();
  QStyleOptionTitleBar bar;
  bar.initFrom(&window);
  bar.text = window.windowTitle();
  bar.titleBarFlags = window.windowFlags() | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  bar.titleBarState = active ? Qt::WindowActive : Qt::WindowNoState;
  bar.state = active ? QStyle::State_Active : QStyle::State_None;
  bar.subControls = QStyle::SC_TitleBarLabel | QStyle::SC_TitleBarCloseButton;
  const int barHeight = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, &bar, &window) + 4;
  bar.rect = QRect(0, 0, client.width() + 2, barHeight);
  QImage image(client.width() + 2, client.height() + barHeight + 1, QImage::Format_RGB32);
  image.fill(window.palette().color(QPalette::Dark));
  QPainter painter(&image);
  window.style()->drawComplexControl(QStyle::CC_TitleBar, &bar, &painter, &window);
  painter.drawPixmap(1, barHeight, client);
  return image;
}

}  // namespace

// The folder the pictures show: a user's, not the machine's that took them.
constexpr const char* kShownPhotoFolder = "/home/user/Pictures/Holiday 2026/";

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: review_screenshot OUTPUT.png SAMPLES_FOLDER\n");
    return 2;
  }
  QApplication app(argc, argv);
  test::TempDir dir;
  test::ProgramFolderOverride program(dir.path());
  test::TFixedWizard wizard;
  const std::string photos = dir.path() + "Holiday 2026/";
  for (const std::string& name : ListFilesWithExtension(argv[2], ".jpg")) {
    std::string bytes;
    ReadWholeFile(IncludeTrailingPathDelim(argv[2]) + name, bytes);
    wizard.images.push_back(dir.write("Holiday 2026/" + name, bytes));
  }
  // A portrait photo as a camera stores it: lying on its side, with the Exif orientation that
  // turns it upright.
  const QImage birch(QString::fromStdString(IncludeTrailingPathDelim(argv[2]) + "05-birch-wood.jpg"));
  const int side = birch.height() * 3 / 4;
  const QImage lying =
      birch.copy((birch.width() - side) / 2, 0, side, birch.height()).transformed(QTransform().rotate(-90));
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  buffer.open(QIODevice::WriteOnly);
  lying.save(&buffer, "JPEG", 90);
  wizard.images.insert(wizard.images.begin() + 5,
                       dir.write("Holiday 2026/05a-birch-trunk.jpg", test::WithApp1(jpeg.toStdString(), test::ExifPayload(6))));
  // A download cut short, among the photos.
  wizard.images.insert(wizard.images.begin() + 3, dir.write("Holiday 2026/03a-harbour.jpg",
                                                            test::MakeJpeg(640, 480).substr(0, 4000)));
  wizard.gallery = dir.path() + "Data/User/Holiday 2026.pgs";

  TdmNonVis dm;
  dm.SetDialogService(std::make_unique<QuietDialogs>());
  TfrmImageReview window(dm, wizard);
  window.resize(700, 560);
  QEventLoop loop;
  QObject::connect(&window, &TfrmImageReview::ThumbnailsDone, &loop, &QEventLoop::quit);
  window.show();
  loop.exec();

  // The user picks the portrait photo, shown upright with its upright size, and gives it a title.
  window.cbShowSize->setChecked(true);
  window.lvThumbs->selectionModel()->setCurrentIndex(window.Thumbs().index(5),
                                                      QItemSelectionModel::ClearAndSelect);
  window.ebTitle->setText("Birch trunk, taken upright");
  window.pnlFolder->setText(kShownPhotoFolder);  // not the temporary folder
  window.twPopup->resize(420, 150);
  QTimer::singleShot(200, &loop, &QEventLoop::quit);
  loop.exec();

  const QImage main = Framed(window, true);
  const QImage popup = Framed(*window.twPopup, false);
  const QPoint popupAt(main.width() - popup.width() / 2, 150);
  QImage shot(popupAt.x() + popup.width() + 12, main.height() + 12, QImage::Format_RGB32);
  shot.fill(QColor(0x3c, 0x4a, 0x5c));
  QPainter painter(&shot);
  painter.drawImage(12 - 6, 6, main);
  painter.drawImage(popupAt, popup);
  painter.end();
  if (!shot.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "review_screenshot: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
