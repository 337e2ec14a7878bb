// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The review window, driven offscreen: thumbnail runs, the three texts of each image and where
// they are stored, the tool window, keys, bad pictures, and one run through the real engine.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <cstdlib>
#include <filesystem>

#include "GalleryFile.h"
#include "ImageDetails.h"
#include "ImageReview.h"
#include "NonVis.h"
#include "Platform.h"
#include "ReviewPopup.h"
#include "TestSupport.h"
#include "ThumbList.h"
#include "ThumbMaker.h"
#include "Exif.h"
#include "Picture.h"
#include "TypeDef.h"
#include "FixedWizard.h"
#include "WorkingFiles.h"

using namespace pictalon;
using test::MakeJpeg;
using test::ReadFile;
using test::TempDir;

namespace {

// Dialogs answered by the test; the screen is the test's.
class FakeDialogs : public TDialogService {
public:
  void ErrorBox(QWidget*, const QString& text) override { errors << text; }
  void GeneralErrorBox(QWidget*, const QString& text) override { errors << text; }
  void Show(QWidget& window) override { window.show(); }
  QRect ScreenGeometry(QWidget*) override { return screen; }

  QStringList errors;
  QRect screen{0, 0, 1024, 768};
};

}  // namespace

class ImageReviewTest : public QObject {
  Q_OBJECT

private:
  // A fresh program folder, data module, wizard and window for each test.
  struct Fixture {
    TempDir dir;
    test::ProgramFolderOverride program{dir.path()};
    TdmNonVis dm;
    FakeDialogs* dialogs;
    test::TFixedWizard wizard;
    std::unique_ptr<TfrmImageReview> window;

    Fixture() {
      auto service = std::make_unique<FakeDialogs>();
      dialogs = service.get();
      dm.SetDialogService(std::move(service));
      wizard.gallery = dir.path() + "Data/User/Holiday.pgs";
      window = std::make_unique<TfrmImageReview>(dm, wizard);
    }
    std::string Photo(const std::string& name, int width, int height) const {
      return dir.write("photos/" + name, MakeJpeg(width, height));
    }
    // count copies of one photo, named 0.jpg, 1.jpg, ...: enough for a run to be caught midway.
    std::vector<std::string> Photos(int count, int width, int height) const {
      const std::string jpeg = MakeJpeg(width, height);
      std::vector<std::string> images;
      for (int i = 0; i < count; ++i)
        images.push_back(dir.write("photos/" + std::to_string(i) + ".jpg", jpeg));
      return images;
    }
    std::string DetailsFile() const { return dir.path() + "Data/User/Holiday.dat"; }
    // Shows the window as "Review Images..." does and waits for its thumbnail run.
    void ShowAndWait() {
      QSignalSpy done(window.get(), &TfrmImageReview::ThumbnailsDone);
      dm.Dialogs().Show(*window);
      QVERIFY(done.wait(10000));
    }
    void Select(int row) {
      window->lvThumbs->selectionModel()->setCurrentIndex(window->Thumbs().index(row),
                                                          QItemSelectionModel::ClearAndSelect);
    }
    QString Read(const std::string& section, const char* key) const {
      return window->Details()->Read(section).*(key[0] == 'T'   ? &TImageTexts::title
                                                : key[0] == 'R' ? &TImageTexts::ref
                                                                : &TImageTexts::size);
    }
  };

private slots:
  void destinationRectangle_data();
  void destinationRectangle();
  void fileStem_data();
  void fileStem();
  void runWithAnUnreadableImage();
  void anEmptyListClearsTheLastOne();
  void stopDuringARun();
  void aSelectionMadeDuringTheRunStays();
  void closedAndShownAgainDuringARun();
  void firstSelectionStoresStemAndPixelSize();
  void showSizeInPixels();
  void portraitPhotoIsUpright();
  void editIsStoredUnderTheImageItWasTypedFor();
  void repeatedActivationKeepsEdits();
  void withoutAGalleryFile();
  void fullSizeView_data();
  void fullSizeView();
  void fullSizeViewOfABadFile();
  void escapeAndEnter();
  void badPictures();
  void anyBytesInTheDetailsFile();
  void titlesReachTheGeneratedPages();
  void embeddedPreview_data();
  void embeddedPreview();
  void previewFirstThenExact();
  void workFollowsTheView();
  void photosOwnTitleIsASuggestion();
};

void ImageReviewTest::destinationRectangle_data() {
  QTest::addColumn<QSize>("picture");
  QTest::addColumn<QRect>("expected");  // left, top, right, bottom as a rectangle's corners
  auto ltrb = [](int l, int t, int r, int b) { return QRect(QPoint(l, t), QPoint(r, b)); };
  QTest::newRow("landscape") << QSize(3000, 2000) << ltrb(6, 25, 144, 121);
  QTest::newRow("portrait") << QSize(2000, 3000) << ltrb(25, 6, 121, 144);
  QTest::newRow("640 x 480") << QSize(640, 480) << ltrb(6, 19, 144, 127);
  QTest::newRow("square") << QSize(1000, 1000) << ltrb(1, 6, 145, 144);
  QTest::newRow("strip") << QSize(1, 5000) << ltrb(73, 6, 73, 144);
}

void ImageReviewTest::destinationRectangle() {
  QFETCH(QSize, picture);
  QFETCH(QRect, expected);
  const TThumbRect r = ThumbDestRect(picture);
  QCOMPARE(QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom)), expected);
}

void ImageReviewTest::fileStem_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("stem");
  QTest::newRow("camera") << "IMG_0001.jpg" << "IMG_0001";
  QTest::newRow("two dots") << "holiday.2002.jpg" << "holiday.2002";
  QTest::newRow("no dot") << "README" << "README";
  QTest::newRow("extension only") << ".jpg" << "";
  QTest::newRow("folder with a dot") << "/photos/v1.0/IMG" << "IMG";
}

void ImageReviewTest::fileStem() {
  QFETCH(QString, name);
  QFETCH(QString, stem);
  QCOMPARE(QString::fromStdString(FileStem(name.toStdString())), stem);
}

void ImageReviewTest::runWithAnUnreadableImage() {
  Fixture f;
  f.wizard.SetImages({f.Photo("a.jpg", 640, 480), f.dir.write("photos/b.jpg", "no picture"),
                      f.Photo("c.jpg", 600, 400)});
  int highest = 0;
  connect(f.window->ProgressBar1, &QProgressBar::valueChanged, this,
          [&](int value) { highest = std::max(highest, value); });
  f.ShowAndWait();

  TThumbModel& thumbs = f.window->Thumbs();
  QCOMPARE(thumbs.rowCount(), 2);
  QCOMPARE(thumbs.index(0).data().toString(), QString("a.jpg"));
  QCOMPARE(thumbs.index(1).data().toString(), QString("c.jpg"));
  QCOMPARE(thumbs.index(0).data(TThumbModel::ImageIndexRole).toInt(), 0);
  QCOMPARE(thumbs.index(1).data(TThumbModel::ImageIndexRole).toInt(), 1);
  // Drawn into its destination rectangle: 600 x 400 is shaped as 3000 x 2000.
  QCOMPARE(thumbs.Thumb(1).rect, QRect(6, 25, 138, 96));
  QCOMPARE(thumbs.Picture(1).size(), QSize(138, 96));
  QCOMPARE(highest, 3);
  QCOMPARE(f.window->ProgressBar1->value(), 0);
  QCOMPARE(f.window->StatusPane2->text(), QString("[3 images found]   [2 thumbnails created]"));
  QVERIFY(f.window->twPopup->isVisible());
  QCOMPARE(f.window->twPopup->windowTitle(), QString("1 Thumbnail Error(s)"));
  QCOMPARE(f.window->twPopup->pnlPopupMsg->text(),
           QString("  The following image(s) caused thumbnail errors:"));
  QListWidget* errors = f.window->twPopup->lbErrors;
  QCOMPARE(errors->count(), 3);
  QCOMPARE(errors->item(0)->text(), QString("b.jpg"));
  QCOMPARE(errors->item(1)->text(), QString("Error: Not a JPEG, PNG or GIF picture"));
  QCOMPARE(errors->item(2)->text(), QString());
  QVERIFY(f.window->lvThumbs->selectionModel()->isSelected(thumbs.index(0)));
  QVERIFY(f.window->btnScan->isEnabled());
  QVERIFY(!f.window->btnStop->isEnabled());
  QVERIFY(!QApplication::overrideCursor());
  QCOMPARE(QString::fromStdString(f.window->ReviewFolder()),
           QString::fromStdString(f.dir.path() + "photos/"));
}

void ImageReviewTest::anEmptyListClearsTheLastOne() {
  Fixture f;
  f.wizard.SetImages({f.Photo("a.jpg", 64, 48), f.dir.write("photos/b.jpg", "")});
  f.ShowAndWait();
  // A new list, an empty one too, takes away what was shown of the last one, so none of its
  // thumbnails can be selected and described for another gallery.
  f.wizard.SetImages({});
  f.window->btnScanClick();
  QCOMPARE(f.window->Thumbs().rowCount(), 0);
  QCOMPARE(f.window->StatusPane2->text(), QString());
  QCOMPARE(f.window->twPopup->lbErrors->count(), 0);
  QVERIFY(f.window->ebTitle->text().isEmpty() && f.window->imgSelect->pixmap().isNull());
  // Create Thumbnails over the same empty list changes nothing, and the buttons come back.
  f.window->StatusPane2->setText("as it was");
  f.window->btnScanClick();
  QCOMPARE(f.window->StatusPane2->text(), QString("as it was"));
  QVERIFY(f.window->btnScan->isEnabled());
  QVERIFY(!f.window->btnStop->isEnabled());
  QVERIFY(!QApplication::overrideCursor());
}

void ImageReviewTest::stopDuringARun() {
  Fixture f;
  f.wizard.SetImages(f.Photos(60, 800, 600));
  f.window->SetThreadCount(2);
  std::size_t startedAtStop = 0;
  bool clicked = false;
  connect(&f.window->Thumbs(), &QAbstractItemModel::rowsInserted, this, [&] {
    if (clicked) return;
    clicked = true;
    QTest::mouseClick(f.window->btnStop, Qt::LeftButton);
    startedAtStop = f.window->Maker()->Started();
  });
  f.ShowAndWait();

  QVERIFY(clicked);
  // Nothing was started after the click; what was under way then was not added.
  QCOMPARE(f.window->Maker()->Started(), startedAtStop);
  const int made = f.window->Thumbs().rowCount();
  QVERIFY(made >= 1 && made < 60);
  QVERIFY(f.window->lvThumbs->selectionModel()->isSelected(f.window->Thumbs().index(0)));
  QCOMPARE(f.window->ProgressBar1->value(), 0);
  QCOMPARE(f.window->StatusPane2->text(),
           QString("[60 images found]   [%1 thumbnails created]").arg(made));
  QVERIFY(f.window->btnScan->isEnabled());
}

void ImageReviewTest::aSelectionMadeDuringTheRunStays() {
  Fixture f;
  f.wizard.SetImages(f.Photos(30, 400, 300));
  bool chosen = false;
  connect(&f.window->Thumbs(), &QAbstractItemModel::rowsInserted, this, [&] {
    if (chosen || f.window->Thumbs().rowCount() < 2) return;
    chosen = true;
    f.Select(1);
  });
  f.ShowAndWait();
  QVERIFY(chosen);
  QCOMPARE(f.window->Thumbs().rowCount(), 30);
  QCOMPARE(f.window->lvThumbs->selectionModel()->selectedIndexes(),
           QModelIndexList({f.window->Thumbs().index(1)}));
  QCOMPARE(f.window->ebRef->text(), QString("1"));
}

void ImageReviewTest::closedAndShownAgainDuringARun() {
  Fixture f;
  f.wizard.SetImages(f.Photos(20, 400, 300));
  bool reopened = false;
  connect(&f.window->Thumbs(), &QAbstractItemModel::rowsInserted, this, [&] {
    if (reopened) return;
    reopened = true;
    f.window->close();
    f.dm.Dialogs().Show(*f.window);
  });
  QSignalSpy runs(f.window.get(), &TfrmImageReview::ThumbnailsDone);
  f.dm.Dialogs().Show(*f.window);
  QTRY_COMPARE_WITH_TIMEOUT(runs.count(), 2, 10000);
  QVERIFY(reopened);
  QCOMPARE(f.window->Thumbs().rowCount(), 20);
  QCOMPARE(f.window->StatusPane2->text(), QString("[20 images found]   [20 thumbnails created]"));
}

void ImageReviewTest::firstSelectionStoresStemAndPixelSize() {
  Fixture f;
  f.wizard.SetImages({f.Photo("IMG_0001.jpg", 640, 480)});
  f.ShowAndWait();
  // Selected at the end of the run, and stored at once though nothing was typed.
  QCOMPARE(f.window->ebRef->text(), QString("IMG_0001"));
  QCOMPARE(f.window->ebSize->text(), QString("640 x 480"));
  QCOMPARE(f.Read("IMG_0001.jpg", "Title"), QString());
  QCOMPARE(f.Read("IMG_0001.jpg", "Ref"), QString("IMG_0001"));
  QCOMPARE(f.Read("IMG_0001.jpg", "Size"), QString("640 x 480"));
  QVERIFY(!f.window->imgSelect->pixmap().isNull());
  QCOMPARE(f.window->imgSelect->pixmap().size(), QSize(186, 139));
  f.window->close();
  QCOMPARE(QString::fromStdString(ReadFile(f.DetailsFile())),
           QString("[IMG_0001.jpg]\r\nTitle=\r\nRef=IMG_0001\r\nSize=640 x 480\r\n\r\n"));
}

void ImageReviewTest::showSizeInPixels() {
  Fixture f;
  f.dir.write("Data/User/Holiday.dat", "[a.jpg]\r\nTitle=Beach\r\nRef=R1\r\nSize=A4\r\n");
  f.wizard.SetImages({f.Photo("a.jpg", 64, 48), f.Photo("b.jpg", 30, 20)});
  f.window->cbShowSize->setChecked(false);
  f.ShowAndWait();
  QCOMPARE(f.window->ebSize->text(), QString("A4"));
  QCOMPARE(f.window->ebTitle->text(), QString("Beach"));
  QCOMPARE(f.window->ebRef->text(), QString("R1"));

  QTest::mouseClick(f.window->cbShowSize, Qt::LeftButton);  // on: the pixel size, not written
  QCOMPARE(f.window->ebSize->text(), QString("64 x 48"));
  QCOMPARE(f.Read("a.jpg", "Size"), QString("A4"));
  f.window->cbShowSize->click();  // off: the stored text again
  QCOMPARE(f.window->ebSize->text(), QString("A4"));

  // Checked, every selection puts the pixel size in place of the stored text.
  f.window->cbShowSize->setChecked(true);
  f.Select(1);
  f.Select(0);
  QCOMPARE(f.window->ebSize->text(), QString("64 x 48"));
  QCOMPARE(f.Read("a.jpg", "Size"), QString("64 x 48"));
}

// A camera's portrait photo, stored lying on its side: thumbnail, preview, size text and full-size
// view all show it standing.
void ImageReviewTest::portraitPhotoIsUpright() {
  Fixture f;
  const std::string marked = test::MakeMarkedJpeg(test::kMarkedWidth, test::kMarkedHeight);
  f.wizard.SetImages({f.dir.write("photos/p.jpg", test::WithApp1(marked, test::ExifPayload(6)))});
  f.window->cbShowSize->setChecked(true);
  f.ShowAndWait();
  QCOMPARE(f.window->ebSize->text(), QString("32 x 64"));
  QCOMPARE(f.window->Thumbs().Thumb(0).rect, ThumbDestRect(QSize(32, 64)).ToQRect());
  const QImage thumb = f.window->Thumbs().Picture(0);
  QVERIFY(thumb.width() < thumb.height());
  QVERIFY(qRed(thumb.pixel(thumb.width() - 3, 3)) > 200);  // the red mark, top right
  QVERIFY(f.window->imgSelect->pixmap().width() < f.window->imgSelect->pixmap().height());
  f.window->lvThumbsDblClick();
  QCOMPARE(f.window->twPopup->pnlPopupBottom->text(), QString("Height: 64  Width: 32"));
  QCOMPARE(f.window->twPopup->Image1->pixmap().size(), QSize(32, 64));
}

void ImageReviewTest::editIsStoredUnderTheImageItWasTypedFor() {
  Fixture f;
  f.wizard.SetImages({f.Photo("a.jpg", 64, 48), f.Photo("b.jpg", 48, 64), f.Photo("c.jpg", 30, 30)});
  f.ShowAndWait();
  QVERIFY(QTest::qWaitForWindowActive(f.window.get()));

  // A click into the list: the box loses the focus first.
  f.window->ebTitle->setFocus();
  QTest::keyClicks(f.window->ebTitle, "Sunset");
  QListView* list = f.window->lvThumbs;
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualRect(f.window->Thumbs().index(1)).center());
  QCOMPARE(f.window->ebTitle->text(), QString());
  QCOMPARE(f.Read("a.jpg", "Title"), QString("Sunset"));
  QCOMPARE(f.Read("b.jpg", "Title"), QString());

  // The selection moved while the focus stays in the box (the keyboard, or the program).
  f.window->ebRef->setFocus();
  f.window->ebRef->setText("B-7");
  f.Select(2);
  QCOMPARE(f.Read("b.jpg", "Ref"), QString("B-7"));
  QCOMPARE(f.Read("c.jpg", "Ref"), QString("c"));
}

void ImageReviewTest::repeatedActivationKeepsEdits() {
  Fixture f;
  f.wizard.SetImages({f.Photo("a.jpg", 64, 48), f.Photo("b.jpg", 48, 64)});
  f.ShowAndWait();
  f.window->ebTitle->setText("Harbour");
  f.window->btnSaveClick();
  TImageDetails* details = f.window->Details();
  const std::string* firstThumb = &f.window->Thumbs().Thumb(0).jpeg;

  // Active again with the same list: same document, same thumbnails, no new run.
  QSignalSpy runs(f.window.get(), &TfrmImageReview::ThumbnailsDone);
  f.window->FormActivate();
  QCOMPARE(runs.count(), 0);
  QCOMPARE(f.window->Details(), details);
  QCOMPARE(&f.window->Thumbs().Thumb(0).jpeg, firstThumb);
  QCOMPARE(f.Read("a.jpg", "Title"), QString("Harbour"));

  // The list changed in the wizard meanwhile: a new run, the typed title still there.
  f.wizard.SetImages({f.Photo("b.jpg", 48, 64), f.Photo("a.jpg", 64, 48)});
  f.window->FormActivate();
  QCOMPARE(runs.count(), 1);
  QCOMPARE(f.window->Details(), details);
  QCOMPARE(f.window->Thumbs().index(0).data().toString(), QString("b.jpg"));
  QCOMPARE(f.Read("a.jpg", "Title"), QString("Harbour"));

  // Closed and shown again: the file holds it, and the new document reads it back.
  f.window->close();
  QVERIFY(ReadFile(f.DetailsFile()).find("Title=Harbour") != std::string::npos);
  f.ShowAndWait();
  QCOMPARE(f.Read("a.jpg", "Title"), QString("Harbour"));
}

void ImageReviewTest::withoutAGalleryFile() {
  Fixture f;
  f.wizard.gallery.clear();
  f.wizard.SetImages({f.Photo("a.jpg", 64, 48)});
  f.ShowAndWait();
  QCOMPARE(f.window->Thumbs().rowCount(), 1);
  QVERIFY(!f.window->Details());
  for (QLineEdit* edit : {f.window->ebTitle, f.window->ebRef, f.window->ebSize}) QVERIFY(!edit->isEnabled());
  QVERIFY(!f.window->RzStatusPane1->text().isEmpty());
  QCOMPARE(f.window->ebRef->text(), QString("a"));  // the proposals are still shown
  f.window->close();
  QVERIFY(ListFilesWithExtension(f.dir.path() + "Data/User", ".dat").empty());
  QVERIFY(f.dialogs->errors.isEmpty());
}

void ImageReviewTest::fullSizeView_data() {
  QTest::addColumn<QSize>("picture");
  QTest::addColumn<QSize>("screen");
  QTest::addColumn<QSize>("shown");
  QTest::newRow("halved once") << QSize(1600, 1200) << QSize(1024, 768) << QSize(800, 600);
  QTest::newRow("fits") << QSize(640, 480) << QSize(1024, 768) << QSize(640, 480);
  QTest::newRow("height + 40 reaches the screen") << QSize(400, 728) << QSize(1024, 768)
                                                  << QSize(200, 364);
  QTest::newRow("camera photo, halved twice") << QSize(4000, 3000) << QSize(1920, 1080)
                                              << QSize(1000, 750);
}

void ImageReviewTest::fullSizeView() {
  QFETCH(QSize, picture);
  QFETCH(QSize, screen);
  QFETCH(QSize, shown);
  QCOMPARE(TReviewPopup::ShownSize(picture, screen), shown);
  if (picture != QSize(1600, 1200)) return;

  Fixture f;
  f.dialogs->screen = QRect(QPoint(0, 0), screen);
  f.wizard.SetImages({f.Photo("big.jpg", 1600, 1200)});
  f.ShowAndWait();
  f.window->lvThumbsDblClick();
  TReviewPopup* popup = f.window->twPopup;
  QVERIFY(popup->isVisible());
  QCOMPARE(popup->size(), QSize(820, 640));
  QCOMPARE(popup->Image1->size(), QSize(800, 600));
  QCOMPARE(popup->Image1->pixmap().size(), QSize(800, 600));
  QCOMPARE(popup->windowTitle(), QString("big.jpg"));
  QCOMPARE(popup->pnlPopupMsg->text(), "  " + QString::fromStdString(f.dir.path() + "photos/"));
  QCOMPARE(popup->pnlPopupBottom->text(), QString("Height: 1200  Width: 1600"));
  QVERIFY(!popup->lbErrors->isVisible());
  QCOMPARE(popup->pos(), QPoint(512 - 410, 384 - 320));
}

void ImageReviewTest::fullSizeViewOfABadFile() {
  Fixture f;
  const std::string photo = f.Photo("a.jpg", 64, 48);
  f.wizard.SetImages({photo});
  f.ShowAndWait();
  TReviewPopup* popup = f.window->twPopup;
  f.dir.write("photos/a.jpg", "damaged since");
  f.window->lvThumbsDblClick();
  QVERIFY(popup->isVisible());
  QCOMPARE(popup->pnlPopupBack->text(), QString("Error loading image"));
  QVERIFY(!popup->Image1->isVisible());
  popup->hide();
  std::filesystem::remove(photo);
  f.window->lvThumbsDblClick();  // gone: nothing happens
  QVERIFY(!popup->isVisible());
}

void ImageReviewTest::escapeAndEnter() {
  Fixture f;
  f.wizard.SetImages({f.Photo("a.jpg", 64, 48)});
  f.ShowAndWait();
  TReviewPopup* popup = f.window->twPopup;
  QListView* list = f.window->lvThumbs;
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Return);
  QVERIFY(popup->isVisible());
  QCOMPARE(popup->windowTitle(), QString("a.jpg"));
  QTest::keyClick(f.window->ebTitle, Qt::Key_Escape);  // whichever control has the focus
  QVERIFY(!popup->isVisible());

  list->clearSelection();
  QTest::keyClick(list, Qt::Key_Enter);
  QVERIFY(!popup->isVisible());
  QTest::keyClick(list, Qt::Key_Escape);  // nothing to hide: nothing happens
  QVERIFY(f.window->isVisible());
}

void ImageReviewTest::badPictures() {
  Fixture f;
  const std::string jpeg = MakeJpeg(300, 200);
  std::string huge = MakeJpeg(16, 16);
  const std::size_t sof = huge.find("\xFF\xC0", 2);
  huge[sof + 5] = char(0xFD), huge[sof + 6] = char(0xE8), huge[sof + 7] = char(0xFD),
  huge[sof + 8] = char(0xE8);  // 65000 x 65000
  QImage png(50, 40, QImage::Format_ARGB32);  // with transparency: kept as pixels, not as JPEG
  png.fill(QColor(255, 0, 0, 128));
  png.save(QString::fromStdString(f.dir.path() + "png.jpg"), "PNG");
  const std::string gone = f.Photo("gone.jpg", 64, 48);
  std::filesystem::remove(gone);
  f.wizard.SetImages({f.dir.write("photos/cut.jpg", jpeg.substr(0, jpeg.size() / 2)),
                      f.dir.write("photos/zero.jpg", ""), f.dir.write("photos/huge.jpg", huge),
                      f.dir.path() + "png.jpg", f.dir.write("photos/text.jpg", "hello\n"), gone,
                      f.Photo("good.jpg", 64, 48)});
  f.ShowAndWait();
  QCOMPARE(f.window->Thumbs().rowCount(), 2);
  QCOMPARE(f.window->Thumbs().index(0).data().toString(), QString("png.jpg"));
  QVERIFY(f.window->Thumbs().Thumb(0).jpeg.empty());
  QCOMPARE(f.window->Thumbs().Picture(0).size(), QSize(138, 115));
  QVERIFY(f.window->Thumbs().Picture(0).hasAlphaChannel());
  QVERIFY(!f.window->Thumbs().Thumb(1).jpeg.empty());
  QCOMPARE(f.window->twPopup->windowTitle(), QString("5 Thumbnail Error(s)"));
  QStringList lines;
  for (int i = 0; i < f.window->twPopup->lbErrors->count(); ++i)
    lines << f.window->twPopup->lbErrors->item(i)->text();
  QCOMPARE(lines, QStringList({"cut.jpg", "Error: Premature end of JPEG file", "",
                               "zero.jpg", "Error: Empty input file", "",
                               "huge.jpg", "Error: Picture too large (65000 x 65000 pixels)", "",
                               "text.jpg", "Error: Not a JPEG, PNG or GIF picture", "",
                               "gone.jpg", "Error: Cannot open the file: No such file or directory",
                               ""}));
}

void ImageReviewTest::anyBytesInTheDetailsFile() {
  Fixture f;
  std::string bytes;
  // Every byte value but zero, which ends the text of a details file.
  for (int i = 0; i < 4096; ++i) bytes += char((i * 7919 + i / 13) % 255 + 1);
  bytes += "\r\n[a.jpg]\r\nTitle=Kept \xE9t\xE9\r\n";
  f.dir.write("Data/User/Holiday.dat", bytes);
  f.wizard.SetImages({f.Photo("a.jpg", 64, 48)});
  f.ShowAndWait();
  QCOMPARE(f.window->Thumbs().rowCount(), 1);
  f.window->close();
  // The title that is not UTF-8 keeps its bytes though it was shown and stored back.
  const std::string file = ReadFile(f.DetailsFile());
  QVERIFY2(file.find("[a.jpg]\r\nTitle=Kept \xE9t\xE9\r\n") != std::string::npos, file.c_str());
  QVERIFY(f.dialogs->errors.isEmpty());
}

// Titles typed in the window reach the captions of the pages that the real engine generates.
void ImageReviewTest::titlesReachTheGeneratedPages() {
  Fixture f;
  namespace fs = std::filesystem;
  for (const char* file : {PICTGEN_PROGRAM, ENGINE_LIBRARY})
    fs::copy_file(file, f.dir.path() + fs::path(file).filename().string());
  f.dir.write("Data/pictalon.css", "body {\r\n}\r\n");
  f.dir.write("Data/gallerycell6.css", ".gallerycell {\r\n}\r\n");
  f.dir.write("Templates/PictBase.html", "<html><#gallery></html>");
  f.wizard.SetImages({f.Photo("a.jpg", 64, 48), f.Photo("b.jpg", 48, 64)});
  GallerySettings settings{};
  ApplyDefaultSettings(settings, f.dir.path());
  settings.ImageFolder.set(f.dir.path() + "photos");
  std::string written;
  QVERIFY(ForceDirectories(f.dir.path() + "Data/User"));
  QVERIFY(WriteGalleryFile(f.wizard.gallery, settings, written));

  f.ShowAndWait();
  QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
  f.window->ebTitle->setFocus();
  QTest::keyClicks(f.window->ebTitle, "Sunset over the bay");
  f.Select(1);
  f.window->ebTitle->setFocus();
  QTest::keyClicks(f.window->ebTitle, "Harbour");
  QTest::mouseClick(f.window->btnClose, Qt::LeftButton);
  QVERIFY(!f.window->isVisible());

  const std::string command = "'" + f.dir.path() + "pictgen' '" + f.wizard.gallery + "' >/dev/null";
  QCOMPARE(std::system(command.c_str()), 0);
  const std::string page = ReadFile(f.dir.path() + "Output/gallery1.html");
  QVERIFY2(page.find("Title: Sunset over the bay<br>Ref: a<br>Size: 64 x 48<br>") != std::string::npos,
           page.c_str());
  QVERIFY(page.find("Title: Harbour<br>Ref: b<br>Size: 48 x 64<br>") != std::string::npos);
}

namespace {

// A photo of 400 x 300 grey pixels (stored so; orientation says how it is shown) whose camera
// stored preview as its Exif thumbnail.
std::string PhotoWithPreview(const QImage& preview, int orientation = 1) {
  return test::WithApp1(test::MakeMarkedJpeg(400, 300),
                        test::ExifPayloadWithThumbnail(orientation, EncodeJpeg(preview, 95)));
}

QImage Filled(QSize size, QColor colour) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

}  // namespace

void ImageReviewTest::embeddedPreview_data() {
  QTest::addColumn<QImage>("preview");
  QTest::addColumn<int>("orientation");
  QTest::addColumn<bool>("used");
  const QColor blue(0, 0, 255);
  QImage letterboxed = Filled({160, 120}, blue);
  QImage darkSky = letterboxed.copy();
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 160; ++x) {
      letterboxed.setPixel(x, y, qRgb(0, 0, 0));
      letterboxed.setPixel(x, 119 - y, qRgb(0, 0, 0));
      darkSky.setPixel(x, y, qRgb(0, 0, 0));
    }
  QImage pillarboxed = Filled({160, 120}, blue);
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 8; ++x) pillarboxed.setPixel(x, y, qRgb(3, 3, 3)), pillarboxed.setPixel(159 - x, y, qRgb(3, 3, 3));
  QTest::newRow("same proportions") << Filled({160, 120}, blue) << 1 << true;
  QTest::newRow("within 2 %") << Filled({160, 119}, blue) << 1 << true;
  QTest::newRow("3 % off") << Filled({160, 116}, blue) << 1 << false;
  QTest::newRow("another shape") << Filled({160, 90}, blue) << 1 << false;
  QTest::newRow("black bars above and below") << letterboxed << 1 << false;
  QTest::newRow("black bars left and right") << pillarboxed << 1 << false;
  QTest::newRow("dark at the top only") << darkSky << 1 << true;
  QTest::newRow("photo lying on its side") << Filled({160, 120}, blue) << 6 << true;
}

// The camera's preview stands in only where it shows the photo whole and the right way up;
// anything else gets the exact thumbnail at once.
void ImageReviewTest::embeddedPreview() {
  QFETCH(QImage, preview);
  QFETCH(int, orientation);
  QFETCH(bool, used);
  test::TempDir dir;
  const std::string path = dir.write("p.jpg", PhotoWithPreview(preview, orientation));
  const TThumbResult first = MakeFirstThumbnail(path);
  QVERIFY(first.error.empty());
  QCOMPARE(first.exact, !used);
  const QSize shown = SidesSwapped(orientation) ? QSize(300, 400) : QSize(400, 300);
  QCOMPARE(first.fullSize, shown);
  QCOMPARE(first.rect, ThumbDestRect(shown).ToQRect());
  const QImage picture = DecodeJpeg(first.jpeg);
  QCOMPARE(picture.size(), first.rect.size());
  const QColor centre = picture.pixelColor(picture.rect().center());
  QCOMPARE(centre.blue() > 200 && centre.red() < 60, used);  // the blue preview, or the grey photo
}

// In the window the preview shows first and the exact thumbnail takes its place.
void ImageReviewTest::previewFirstThenExact() {
  Fixture f;
  f.wizard.SetImages({f.dir.write("photos/a.jpg", PhotoWithPreview(Filled({160, 120}, Qt::blue))),
                      f.Photo("b.jpg", 64, 48)});
  bool previewShown = false;
  connect(&f.window->Thumbs(), &QAbstractItemModel::rowsInserted, this,
          [&] { previewShown = previewShown || !f.window->Thumbs().Thumb(0).exact; });
  f.ShowAndWait();
  QVERIFY(previewShown);
  QCOMPARE(f.window->StatusPane2->text(), QString("[2 images found]   [2 thumbnails created]"));
  QTRY_VERIFY_WITH_TIMEOUT(f.window->Thumbs().Thumb(0).exact, 10000);
  const QImage exact = f.window->Thumbs().Picture(0);
  QCOMPARE(exact.size(), QSize(138, 108));
  QVERIFY(qBlue(exact.pixel(69, 51)) < 160);  // the grey photo itself
}

// The model names the work nearest the view first and lets far pictures go; shown without
// threads, so the order is the model's alone.
void ImageReviewTest::workFollowsTheView() {
  TThumbModel model;
  std::vector<TThumbItem> items;
  std::vector<TThumb> thumbs;
  for (int i = 0; i < 1000; ++i) {
    items.push_back({"/p/" + std::to_string(i) + ".jpg", std::to_string(i) + ".jpg", {400, 300}, i});
    thumbs.push_back({"preview bytes", {}, {6, 19, 138, 108}, /*exact=*/false});
  }
  model.Append(std::move(items), std::move(thumbs));
  auto rows = [&](std::size_t count, bool exact) {
    std::vector<int> order;
    for (const TThumbJob& job : model.WorkOrder())
      if (job.exact == exact && order.size() < count) order.push_back(job.row);
    return order;
  };

  // In view: rows 500 to 511, in view order, then outward, below before above.
  model.SetVisibleRows(500, 511);
  QCOMPARE(model.WorkOrder().front().path, std::string("/p/500.jpg"));
  QCOMPARE(rows(16, true), std::vector<int>({500, 501, 502, 503, 504, 505, 506, 507, 508, 509,
                                             510, 511, 512, 499, 513, 498}));
  QCOMPARE(int(model.WorkOrder().size()), 12 + 2 * TThumbModel::kKeepRows);
  QVERIFY(model.VisibleShown() && !model.VisibleExact());
  // Far out of view, the pictures are let go; near it, they stay.
  QVERIFY(model.Thumb(199).dropped && model.Thumb(199).jpeg.empty());
  QVERIFY(!model.Thumb(200).dropped && !model.Thumb(811).dropped && model.Thumb(812).dropped);

  // The exact thumbnails arrive: those rows are no longer asked for.
  for (int row = 500; row <= 511; ++row) {
    TThumbResult exact;
    exact.index = std::size_t(row);
    exact.jpeg = "exact bytes";
    model.Replace(std::move(exact));
  }
  QVERIFY(model.VisibleExact());
  QCOMPARE(rows(2, true), std::vector<int>({512, 499}));

  // A jump to the top: first pictures for the rows now in view, before any exact one.
  model.SetVisibleRows(0, 11);
  QCOMPARE(rows(12, false), std::vector<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  QVERIFY(!model.WorkOrder().front().exact);
  QVERIFY(!model.VisibleShown());
  QVERIFY(model.Thumb(500).dropped && !model.Thumb(500).exact);
  TThumbResult first;
  first.index = 0;
  first.jpeg = "preview bytes";
  first.exact = false;
  model.Replace(std::move(first));
  QVERIFY(!model.Thumb(0).dropped);
  QCOMPARE(rows(1, true), std::vector<int>({0}));  // and now its exact one
}

// The photo's own title is the title box's grey suggestion, never stored unless taken (Right
// arrow) or typed; the details line tells when the photo was taken.
void ImageReviewTest::photosOwnTitleIsASuggestion() {
  Fixture f;
  const std::string jpeg = MakeJpeg(64, 48);
  const std::string own = f.dir.write("photos/own.jpg", test::WithApp1(jpeg, test::XmpPayload("Beach & sea", "2023-12-24T18:05:00+01:00")));
  f.wizard.photoTitles = true;
  f.wizard.SetImages({own, f.Photo("plain.jpg", 64, 48)});
  f.ShowAndWait();
  QCOMPARE(f.window->ebTitle->text(), QString());
  QCOMPARE(f.window->ebTitle->placeholderText(), QString("Beach & sea"));
  QVERIFY(f.window->pnlTaken->text().contains("2023"));
  QCOMPARE(f.Read("own.jpg", "Title"), QString());

  f.Select(1);
  QCOMPARE(f.window->ebTitle->placeholderText(), QString());
  QCOMPARE(f.window->pnlTaken->text(), QString());
  f.Select(0);
  f.window->ebTitle->setFocus();
  QTest::keyClick(f.window->ebTitle, Qt::Key_Right);
  QCOMPARE(f.window->ebTitle->text(), QString("Beach & sea"));
  QTest::keyClick(f.window->ebTitle, Qt::Key_Right);  // taken: the key moves the cursor again
  QCOMPARE(f.window->ebTitle->text(), QString("Beach & sea"));
  f.window->btnSaveClick();
  QCOMPARE(f.Read("own.jpg", "Title"), QString("Beach & sea"));

  // A gallery that does not use the photos' titles suggests none.
  f.wizard.photoTitles = false;
  f.Select(1);
  f.Select(0);
  QCOMPARE(f.window->ebTitle->placeholderText(), QString());
}

QTEST_MAIN(ImageReviewTest)
#include "ImageReviewTest.moc"
