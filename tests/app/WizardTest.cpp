// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The wizard window driven as a user would: creation checks, first page, navigation, gallery
// files, the settings binding and the fine-tune dialog. Dialogs are answered by a script.
#include <QAccessible>
#include <QApplication>
#include <QMessageBox>
#include <QProgressDialog>
#include <QSpinBox>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

#include <cstring>
#include <filesystem>

#include "About.h"
#include "FineTune.h"
#include "GalleryFile.h"
#include "GalleryImages.h"
#include "GalleryOptions.h"
#include "GraphicOptions.h"
#include "Platform.h"
#include "StartPage.h"
#include "TestSupport.h"
#include "TextOptions.h"
#include "WizardFixture.h"
#include "WizardFrame.h"

using namespace pictalon;
using namespace pictalon::test;
namespace fs = std::filesystem;

class WizardTest : public QObject {
  Q_OBJECT

private slots:
  void init() { ResetProgramFolder(); }

  void creationChecks_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message");
    QTest::newRow("index missing") << "rm Data/cssIndex.dat"
                                   << "Fatal Error: cssIndex.dat is missing.\nPictalon will now terminate.";
    QTest::newRow("index empty") << "empty Data/cssIndex.dat"
                                 << "Fatal Error: cssIndex.dat is empty.\nPictalon will now terminate.";
    QTest::newRow("index of odd bytes") << "garbage Data/cssIndex.dat"
                                        << "Fatal Error: cssIndex.dat is empty.\nPictalon will now terminate.";
    QTest::newRow("no templates")
        << "rm Templates"
        << QString::fromStdString("The HTML templates folder\n" + InProgram("Templates/") +
                                  "\ndoes not contain any templates.\n\nPictalon will terminate.");
  }
  void creationChecks() {
    QFETCH(QString, damage);
    QFETCH(QString, message);
    std::string target = InProgram(damage.section(' ', 1).toStdString());
    if (damage.startsWith("rm ")) {
      fs::remove_all(target);
      fs::create_directories(InProgram("Templates"));
    } else {
      std::string bytes = damage.startsWith("empty") ? "[index]\r\n\r\n[xedni]\r\n"
                                                     : std::string("\0\xff[ind\rex\n=\x01", 12);
      WriteFileAtomic(target, bytes);
    }
    TStartedProgram started("", false);
    QVERIFY(started.program->Terminated());
    QCOMPARE(started.dialogs->log, QStringList{"Error: " + message});
  }

  void firstPage_data() {
    QTest::addColumn<int>("galleries");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("tabs");
    QTest::addColumn<QString>("current");
    QTest::newRow("no gallery") << 0 << "" << 1 << "1234" << "";
    QTest::newRow("no gallery, argument ignored") << 0 << "Other/A.pgs" << 1 << "1234" << "";
    QTest::newRow("galleries") << 2 << "" << 0 << "-" << "";
    QTest::newRow("galleries, argument") << 2 << "Other/A.pgs" << 1 << "1234" << "Other/A.pgs";
    QTest::newRow("galleries, missing argument") << 2 << "Other/Gone.pgs" << 0 << "-" << "";
  }
  void firstPage() {
    QFETCH(int, galleries);
    QFETCH(QString, argument);
    QFETCH(int, page);
    QFETCH(QString, tabs);
    QFETCH(QString, current);
    for (int i = 0; i < galleries; ++i) WriteGallery("G" + std::to_string(i) + ".pgs", DefaultSettings());
    fs::create_directories(GetUserDataFolder() + "Folder.pgs");  // not a gallery
    std::string otherGallery = InProgram("Other/A.pgs");
    fs::create_directories(InProgram("Other"));
    std::string written;
    WriteGalleryFile(otherGallery, DefaultSettings(), written);
    TStartedProgram started(argument.isEmpty() ? "" : InProgram(argument.toStdString()));
    TfrmSetup& w = started.wizard();
    QCOMPARE(w.ActivePageIndex(), page);
    QCOMPARE(VisibleTabs(w), tabs);
    QCOMPARE(Child<QWidget>(w, "tbBackNext")->isVisible(), page != 0);
    QCOMPARE(w.CurrentGalleryFile(), current.isEmpty() ? "" : InProgram(current.toStdString()));
    QCOMPARE(w.StatusText().trimmed(), QString());
    QCOMPARE(Child<QListWidget>(w, "lvFiles")->count(), galleries);
    QCOMPARE(Child<QComboBox>(w, "cbFiles")->count(), galleries);
    QCOMPARE(int(ListFilesWithExtension(GetUserDataFolder(), ".pgs").size()), galleries);
    QVERIFY(started.dialogs->log.isEmpty());
  }

  // The window is as large as its largest page. A start that remembers that size from an earlier
  // one makes the wizard's pages at their first use; one that does not, or whose memo was made
  // for another font, language or program, makes them at once to measure them.
  void wizardPagesAreMadeAtTheirFirstUse() {
    GallerySettings s = DefaultSettings();
    s.TitleText.set("Remembered");
    s.CellStyleSheet.set("/elsewhere/mystyle.css");  // not in the index: the default stays
    const std::string path = WriteGallery("A.pgs", s);
    // The window on the Start page and on Text Options, with the gallery opened from the list.
    auto sizes = [](TStartedProgram& started) {
      TfrmSetup& w = started.wizard();
      const QSize start = w.size();
      Child<QListWidget>(w, "lvFiles")->setCurrentRow(0);
      Child<TStartPage>(w, "tsStart")->lvFilesDblClick();
      [&] { QCOMPARE(Child<TMemo>(w, "moTitleText")->Text(), QString("Remembered")); }();
      return std::make_pair(start, w.size());
    };
    std::pair<QSize, QSize> measured;
    {
      TStartedProgram first;
      QVERIFY(first.wizard().findChild<TTextOptionsPage*>("tsText"));
      measured = sizes(first);
    }
    const std::string memo = GetUserDataFolder() + "wizard-size.cache";
    QVERIFY(FileExists(memo));
    {
      TStartedProgram started;
      QVERIFY(!started.wizard().findChild<TTextOptionsPage*>("tsText"));
      QCOMPARE(sizes(started), measured);
      started.wizard().SaveForm();
      QCOMPARE(ReadBack(path).CellStyleSheet.get(), InProgram("Data/gallerycell6.css"));
      QVERIFY(started.dialogs->log.isEmpty());
    }
    WriteFileAtomic(memo, "another font\n900 900\n");
    TStartedProgram stale;
    QVERIFY(stale.wizard().findChild<TTextOptionsPage*>("tsText"));
    QCOMPARE(sizes(stale), measured);
  }

  // The Start page's list and the toolbar's combo show their first galleries in the first frame
  // and the others right after it.
  void galleryListsFillAfterTheFirstRows() {
    for (int i = 0; i < 300; ++i) WriteGallery("G" + std::to_string(1000 + i) + ".pgs", DefaultSettings());
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    auto* list = Child<QListWidget>(w, "lvFiles");
    auto* combo = Child<QComboBox>(w, "cbFiles");
    QVERIFY(list->count() > 0 && list->count() < 300);
    QCOMPARE(combo->currentIndex(), -1);
    QTRY_COMPARE(list->count(), 300);
    QCOMPARE(combo->count(), 300);
    QCOMPARE(list->item(299)->text(), QString("G1299.pgs"));
    QCOMPARE(combo->currentIndex(), -1);
  }

  void backNextOnEveryPage() {
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    const bool back[] = {false, true, true, true};
    const bool next[] = {true, true, true, false};
    for (int i = 0; i < 4; ++i) {
      QCOMPARE(w.ActivePageIndex(), i + 1);
      QCOMPARE(Child<QPushButton>(w, "btnBack")->isEnabled(), back[i]);
      QCOMPARE(Child<QPushButton>(w, "btnNext")->isEnabled(), next[i]);
      if (i < 3) QTest::mouseClick(Child<QPushButton>(w, "btnNext"), Qt::LeftButton);
    }
    // The tab bar follows; a gallery opened from here starts on Text Options again.
    QCOMPARE(CurrentTab(w), 4);
    WriteGallery("A.pgs", DefaultSettings());
    w.OpenGallery(GetUserDataFolder() + "A.pgs");
    QCOMPARE(w.ActivePageIndex(), 1);
    QVERIFY(!Child<QPushButton>(w, "btnBack")->isEnabled());
    QVERIFY(Child<QPushButton>(w, "btnNext")->isEnabled());
  }

  void tabChangeSavesButNextDoesNot() {
    std::string path = WriteGallery("A.pgs", DefaultSettings());
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    Child<QListWidget>(w, "lvFiles")->setCurrentRow(0);
    Child<TStartPage>(w, "tsStart")->lvFilesDblClick();
    QCOMPARE(w.StatusText(), QString("<A.pgs>"));
    QCOMPARE(Child<QComboBox>(w, "cbFiles")->currentText(), QString("A.pgs"));
    Child<TMemo>(w, "moTitleText")->SetText("Holiday");
    QTest::mouseClick(Child<QPushButton>(w, "btnNext"), Qt::LeftButton);
    QCOMPARE(ReadBack(path).TitleText.get(), std::string());
    ClickTab(w, 4);  // as a click on the tab does
    QCOMPARE(w.ActivePageIndex(), 4);
    QVERIFY(!Child<QPushButton>(w, "btnNext")->isEnabled());
    QCOMPARE(ReadBack(path).TitleText.get(), std::string("Holiday"));
  }

  void newGallery_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("written");
    QTest::newRow("named") << "/somewhere/Summer" << "Summer.pgs";
    QTest::newRow("cancelled") << "" << "";
  }
  void newGallery() {
    QFETCH(QString, answer);
    QFETCH(QString, written);
    WriteGallery("A.pgs", DefaultSettings());
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    Child<QListWidget>(w, "lvFiles")->setCurrentRow(0);
    Child<TStartPage>(w, "tsStart")->lvFilesDblClick();
    Child<TMemo>(w, "moTitleText")->SetText("left behind");
    started.dialogs->saveAnswers = {answer};
    QTest::mouseClick(Child<QPushButton>(w, "btnNew"), Qt::LeftButton);
    QCOMPARE(started.dialogs->lastSave.filter, QString("Pictalon Gallery (*.pgs)"));
    QCOMPARE(started.dialogs->lastSave.folder, QString::fromStdString(GetUserDataFolder()));
    QCOMPARE(Child<TMemo>(w, "moTitleText")->Text(), QString());
    if (written.isEmpty()) {
      QCOMPARE(w.ActivePageIndex(), 0);
      QCOMPARE(w.CurrentGalleryFile(), std::string());
      QCOMPARE(int(ListFilesWithExtension(GetUserDataFolder(), ".pgs").size()), 1);
    } else {
      QCOMPARE(w.ActivePageIndex(), 1);
      QCOMPARE(w.CurrentGalleryFile(), GetUserDataFolder() + written.toStdString());
      QCOMPARE(w.StatusText(), written);
      GallerySettings expected = DefaultSettings();
      expected.TextColour.set("#000000");
      expected.BackgroundColour.set("#FFFFFF");
      GallerySettings stored = ReadBack(w.CurrentGalleryFile());
      QCOMPARE(stored.BackgroundColour.get(), std::string("#FFFFFF"));
      QCOMPARE(stored.CellStyleSheet.get(), expected.CellStyleSheet.get());
      QCOMPARE(stored.OutputFolder.get(), expected.OutputFolder.get());
    }
    QCOMPARE(ReadBack(GetUserDataFolder() + "A.pgs").TitleText.get(), std::string());
  }

  void implicitSaveNamesTheFirstFreeGallery() {
    TStartedProgram started;  // no gallery yet: defaults on Text Options, no current file
    TfrmSetup& w = started.wizard();
    fs::create_directories(GetUserDataFolder() + "Gallery 1.pgs");  // a folder in the way
    Child<TMemo>(w, "moTitleText")->SetText("typed before any save");
    ClickTab(w, 2);
    QCOMPARE(w.CurrentGalleryFile(), GetUserDataFolder() + "Gallery 2.pgs");
    QCOMPARE(ReadBack(w.CurrentGalleryFile()).TitleText.get(), std::string("typed before any save"));
    QVERIFY(started.dialogs->log.isEmpty());
  }

  void aFailedSaveIsReported() {
    fs::create_directories(InProgram("Other"));
    std::string path = InProgram("Other/A.pgs");
    std::string written;
    WriteGalleryFile(path, DefaultSettings(), written);
    WriteGallery("B.pgs", DefaultSettings());
    TStartedProgram started(path);
    fs::remove_all(InProgram("Other"));
    Child<TMemo>(started.wizard(), "moTitleText")->SetText("would be lost");
    started.wizard().btnSaveGallClick();
    QCOMPARE(started.dialogs->log,
             QStringList("General: The gallery could not be saved to " + QString::fromStdString(path) + "."));
  }

  void saveAsCopiesTheImageDetails() {
    WriteGallery("A.pgs", DefaultSettings());
    std::string details = "[a.jpg]\r\nTitle=Alpha\r\n\r\n";
    WriteFileAtomic(GetUserDataFolder() + "A.dat", details);
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    Child<QListWidget>(w, "lvFiles")->setCurrentRow(0);
    Child<TStartPage>(w, "tsStart")->lvFilesDblClick();
    started.dialogs->saveAnswers = {"B"};
    QTest::mouseClick(Child<QToolButton>(w, "btnSaveGallAs"), Qt::LeftButton);
    QCOMPARE(w.CurrentGalleryFile(), GetUserDataFolder() + "B.pgs");
    QCOMPARE(w.StatusText(), QString("<B.pgs>"));
    QCOMPARE(ReadFile(GetUserDataFolder() + "B.dat"), details);
    QCOMPARE(ReadFile(GetUserDataFolder() + "A.dat"), details);
    QVERIFY(FileExists(GetUserDataFolder() + "A.pgs"));
    QCOMPARE(Child<QListWidget>(w, "lvFiles")->count(), 1);  // the lists are filled at start only
  }

  void everyFieldSurvivesLoadAndSave() {
    GallerySettings s = DefaultSettings();
    s.TitleText.set("Title \xc3\xa9t\xc3\xa9");
    s.IntroText1.set("Intro\r\nsecond line");
    s.FooterText.set("Footer");
    s.TextColour.set("#102030");
    s.BackgroundColour.set("#A0B0C0");
    std::string logo = InProgram("Data/Cell1.jpg");
    s.LogoGraphic.set(logo);
    s.TitleGraphic.set(InProgram("Data/Cell2.jpg"));
    s.BackgroundImage.set(InProgram("Data/Cell3.jpg"));
    s.CellStyleSheet.set(InProgram("Data/gallerycell3.css"));
    s.TemplateName.set("Dark.html");
    s.ImageFolder.set(InProgram("Data/Samples"));
    s.ImageURL.set("http://example.org/img");
    s.OutputFolder.set(InProgram("Out/"));
    s.BackLinkURL.set("http://example.org/");
    s.Columns.set(7);
    s.Rows.set(9);
    s.ThumbSize.set(240);
    s.ScalingMode = 1;
    s.TableWidth.set(640);
    s.TableWidthUnit.set(1);
    s.CellSpacing.set(12);
    s.HyperlinkMode = 2;
    s.HyperlinkImages.set(false);
    s.FileNameAsCaption.set(false);
    s.LinkInNewWindow.set(false);
    s.DisableRightClick.set(false);
    s.DisableImageToolbar.set(false);
    s.CopyImages.set(false);
    std::string path = WriteGallery("All.pgs", s);
    TStartedProgram started(path);
    TfrmSetup& w = started.wizard();
    QVERIFY(Child<TPictureBox>(w, "imgLogo")->HasPicture());
    QCOMPARE(Child<QComboBox>(w, "cbGallCell")->currentText(), QString("Slate"));
    QVERIFY(Child<TPictureBox>(w, "imgCell")->HasPicture());
    QCOMPARE(Child<QLabel>(w, "pnlImgStatus")->text(), QString("8 JPG images selected"));
    w.SaveForm();
    GallerySettings back = ReadBack(path);
    // Field by field, so a failure names the field.
    struct Field {
      const char* name;
      std::size_t offset, size;
    };
    const Field fields[] = {
        {"TitleText", offsetof(GallerySettings, TitleText), 256},
        {"IntroText1", offsetof(GallerySettings, IntroText1), 256},
        {"FooterText", offsetof(GallerySettings, FooterText), 256},
        {"TextColour", offsetof(GallerySettings, TextColour), 256},
        {"LogoGraphic", offsetof(GallerySettings, LogoGraphic), 256},
        {"TitleGraphic", offsetof(GallerySettings, TitleGraphic), 256},
        {"BackgroundImage", offsetof(GallerySettings, BackgroundImage), 256},
        {"BackgroundColour", offsetof(GallerySettings, BackgroundColour), 256},
        {"CellStyleSheet", offsetof(GallerySettings, CellStyleSheet), 256},
        {"TemplateName", offsetof(GallerySettings, TemplateName), 256},
        {"ImageFolder", offsetof(GallerySettings, ImageFolder), 256},
        {"ImageURL", offsetof(GallerySettings, ImageURL), 256},
        {"OutputFolder", offsetof(GallerySettings, OutputFolder), 256},
        {"BackLinkURL", offsetof(GallerySettings, BackLinkURL), 256},
        {"numbers and flags", offsetof(GallerySettings, Columns), 32},
    };
    for (const Field& f : fields) {
      const auto* a = reinterpret_cast<const std::uint8_t*>(&s) + f.offset;
      const auto* b = reinterpret_cast<const std::uint8_t*>(&back) + f.offset;
      std::size_t used = f.size == 256 ? 1 + a[0] : f.size;  // a slot's bytes after its text are free
      QVERIFY2(std::memcmp(a, b, used) == 0, f.name);
    }
  }

  void introductionPieces() {
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    Child<TMemo>(w, "moIntroText")->SetText(QString(600, 'x'));
    w.SaveForm();
    GallerySettings s = ReadBack(w.CurrentGalleryFile());
    QCOMPARE(int(s.IntroText1.length), 255);
    QCOMPARE(int(s.IntroText2.length), 255);
    QCOMPARE(int(s.IntroText3.length), 90);
    QCOMPARE(int(s.IntroText4.length), 0);
    w.OpenGallery(w.CurrentGalleryFile());
    QCOMPARE(Child<TMemo>(w, "moIntroText")->Text(), QString(600, 'x'));

    // The memo holds no more than the four slots store: nothing typed is ever cut on saving.
    Child<TMemo>(w, "moIntroText")->SetText(QString(1019, 'y'));
    Child<TMemo>(w, "moIntroText")->moveCursor(QTextCursor::End);
    QTest::keyClicks(Child<TMemo>(w, "moIntroText"), "zzzz");
    QCOMPARE(Child<TMemo>(w, "moIntroText")->Text(), QString(1019, 'y') + "z");
    Child<TMemo>(w, "moIntroText")->insertPlainText("pasted");
    QCOMPARE(Child<TMemo>(w, "moIntroText")->Text().size(), 1020);
    w.SaveForm();
    s = ReadBack(w.CurrentGalleryFile());
    QCOMPARE(s.IntroText4.get(), std::string(254, 'y') + "z");

    Child<TMemo>(w, "moIntroText")->SetText("\n");
    w.SaveForm();
    s = ReadBack(w.CurrentGalleryFile());
    for (const StringSlot* slot : {&s.IntroText1, &s.IntroText2, &s.IntroText3, &s.IntroText4})
      QCOMPARE(slot->get(), std::string("\r\n"));
    w.OpenGallery(w.CurrentGalleryFile());
    QCOMPARE(Child<TMemo>(w, "moIntroText")->Text(), QString());
  }

  void missingGraphic_data() {
    QTest::addColumn<bool>("checkedBefore");
    QTest::addColumn<QString>("stored");
    QTest::newRow("box unchecked: the path is dropped") << false << "";
    QTest::newRow("box already checked: the path stays") << true << "/gone/logo.png";
  }
  void missingGraphic() {
    QFETCH(bool, checkedBefore);
    QFETCH(QString, stored);
    GallerySettings s = DefaultSettings();
    s.LogoGraphic.set("/gone/logo.png");
    std::string path = WriteGallery("A.pgs", s);
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    Child<QCheckBox>(w, "cbNoGraphic1")->setChecked(checkedBefore);
    w.OpenGallery(path);
    QVERIFY(Child<QCheckBox>(w, "cbNoGraphic1")->isChecked());
    w.SaveForm();
    QCOMPARE(QString::fromStdString(ReadBack(path).LogoGraphic.get()), stored);
  }

  void coloursShowAndStoreInUpperCase() {
    GallerySettings s = DefaultSettings();
    s.TextColour.set("#ff0000");
    s.BackgroundColour.set("");
    std::string path = WriteGallery("A.pgs", s);
    TStartedProgram started(path);
    TfrmSetup& w = started.wizard();
    QCOMPARE(Child<TColourSwatch>(w, "shTxtCol")->Colour(), QColor(255, 0, 0));
    QCOMPARE(Child<TMemo>(w, "moFooter")->palette().color(QPalette::Text), QColor(255, 0, 0));
    QCOMPARE(Child<TMemo>(w, "moTitleText")->palette().color(QPalette::Base), QColor(255, 255, 255));
    started.dialogs->colourAnswers = {QColor(0, 0x80, 0xff)};
    Child<TGraphicOptionsPage>(w, "tsGraphic")->btnBgColClick();
    QCOMPARE(Child<TMemo>(w, "moIntroText")->palette().color(QPalette::Base), QColor(0, 0x80, 0xff));
    w.SaveForm();
    QCOMPARE(ReadBack(path).TextColour.get(), std::string("#FF0000"));
    QCOMPARE(ReadBack(path).BackgroundColour.get(), std::string("#0080FF"));
  }

  void backgroundColourAsksWhenAGraphicIsSet_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
  }
  void backgroundColourAsksWhenAGraphicIsSet() {
    QFETCH(bool, yes);
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    started.dialogs->pictureAnswers = {QString::fromStdString(InProgram("Data/Cell1.jpg"))};
    Child<TGraphicOptionsPage>(w, "tsGraphic")->GraphicButtonClick(3);
    QVERIFY(!Child<QCheckBox>(w, "cbNoGraphic3")->isChecked());
    started.dialogs->confirmAnswers = {yes};
    started.dialogs->colourAnswers = {QColor(1, 2, 3)};
    Child<TGraphicOptionsPage>(w, "tsGraphic")->btnBgColClick();
    QCOMPARE(Child<QLineEdit>(w, "ebBgImg")->text().isEmpty(), yes);
    QCOMPARE(Child<TPictureBox>(w, "imgBkGrnd")->HasPicture(), !yes);
    QCOMPARE(Child<TColourSwatch>(w, "shBgCol")->Colour() == QColor(1, 2, 3), yes);
    QCOMPARE(started.dialogs->Entries("Confirm: As you have already").size(), 1);
  }

  void unreadableInputIsReportedAndTheRestLoads() {
    WriteFileAtomic(InProgram("broken.png"), "\x89PNG\r\n\x1a\nnot really");
    GallerySettings s = DefaultSettings();
    s.TextColour.set("#zzzzzz");
    s.TitleGraphic.set(InProgram("broken.png"));
    s.BackgroundImage.set(InProgram("Data"));  // a folder
    s.ScalingMode = 9;
    s.Rows.set(0);
    s.TitleText.set("still loaded");
    std::string path = WriteGallery("Odd.pgs", s);
    std::string before = ReadFile(path);
    TStartedProgram started(path);
    TfrmSetup& w = started.wizard();
    QCOMPARE(Child<TMemo>(w, "moTitleText")->Text(), QString("still loaded"));
    QCOMPARE(Child<QSpinBox>(w, "seRows")->value(), 1);
    QCOMPARE(started.dialogs->Entries("General: ").size(), 1);
    QVERIFY(started.dialogs->log.front().contains("#zzzzzz"));
    QCOMPARE(ReadFile(path), before);  // nothing written until the user saves

    // A gallery file of any bytes opens without a crash.
    WriteFileAtomic(path, std::string("\xff\x00\x13garbage", 10));
    w.OpenGallery(path);
    QCOMPARE(w.ActivePageIndex(), 1);
  }

  void styleSheetNotInTheIndex() {
    GallerySettings s = DefaultSettings();
    s.CellStyleSheet.set("/elsewhere/mystyle.css");
    std::string path = WriteGallery("A.pgs", s);
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    std::string before = w.CurrentCellStyleSheet();
    w.OpenGallery(path);
    QCOMPARE(Child<QComboBox>(w, "cbGallCell")->currentIndex(), -1);
    w.SaveForm();
    QCOMPARE(ReadBack(path).CellStyleSheet.get(), before);
    QCOMPARE(before, InProgram("Data/gallerycell6.css"));
  }

  void chosenCellStyleShowsItsPreview() {
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    TGalleryImagesPage& g = *Child<TGalleryImagesPage>(w, "tsGallery");
    emit Child<QComboBox>(g, "cbGallCell")->activated(2);
    QCOMPARE(w.CurrentCellStyleSheet(), InProgram("Data/gallerycell3.css"));
    QVERIFY(Child<TPictureBox>(g, "imgCell")->HasPicture());
    fs::remove(InProgram("Data/Cell4.jpg"));
    emit Child<QComboBox>(g, "cbGallCell")->activated(3);  // the preview is missing: reported, the style stays chosen
    QCOMPARE(w.CurrentCellStyleSheet(), InProgram("Data/gallerycell4.css"));
    QCOMPARE(started.dialogs->Entries("General: ").size(), 1);
  }

  void scalingFollowsTheStoredMode() {
    GallerySettings s = DefaultSettings();
    s.ScalingMode = 2;
    s.ThumbSize.set(300);
    std::string path = WriteGallery("A.pgs", s);
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    TGalleryOptionsPage& o = *Child<TGalleryOptionsPage>(w, "tsGallOpt");
    Child<QSpinBox>(o, "seProp")->setValue(55);
    Child<QSpinBox>(o, "seHeight")->setValue(66);
    w.OpenGallery(path);
    QVERIFY(Child<QRadioButton>(o, "rbWidth")->isChecked());
    QCOMPARE(Child<QSpinBox>(o, "seWidth")->value(), 300);
    QVERIFY(Child<QSpinBox>(o, "seWidth")->isEnabled() && Child<QLabel>(o, "RzLabel17")->isEnabled());
    QVERIFY(!Child<QSpinBox>(o, "seProp")->isEnabled() && !Child<QLabel>(o, "RzLabel18")->isEnabled());
    QVERIFY(!Child<QSpinBox>(o, "seHeight")->isEnabled() && !Child<QLabel>(o, "RzLabel16")->isEnabled());
    QCOMPARE(Child<QSpinBox>(o, "seProp")->value(), 55);
    QCOMPARE(Child<QSpinBox>(o, "seHeight")->value(), 66);
  }

  void fineTuneDialog() {
    GallerySettings s = DefaultSettings();
    s.TableWidth.set(0);
    s.HyperlinkImages.set(false);
    std::string path = WriteGallery("A.pgs", s);
    TStartedProgram started(path);
    TfrmSetup& w = started.wizard();
    TfrmFineTune& f = *started.program->frmFineTune;
    QCOMPARE(Child<QSpinBox>(f, "neTableWidth")->value(), 100);
    QTest::mouseClick(Child<QPushButton>(w, "btnFineTune"), Qt::LeftButton);
    QVERIFY(f.isVisible());
    QVERIFY(!f.isModal());
    QVERIFY(!Child<QGroupBox>(f, "rgHyperlink")->isEnabled());
    QVERIFY(!Child<QCheckBox>(f, "cbNewWindow")->isEnabled());

    const std::pair<const char*, const char*> widths[] = {{"150", "Pixels"}, {"80", "Percent"}, {"100", "Percent"}};
    for (auto [typed, unit] : widths) {
      Child<QSpinBox>(f, "neTableWidth")->selectAll();
      QTest::keyClicks(Child<QSpinBox>(f, "neTableWidth"), typed);
      QCOMPARE(Child<QComboBox>(f, "cbTableWidthType")->currentText(), QString(unit));
    }
    Child<QComboBox>(f, "cbTableWidthType")->setCurrentIndex(1);  // the user's own choice stays until the width changes
    Child<QSpinBox>(f, "seCellspacing")->setValue(10);
    QTest::mouseClick(Child<QPushButton>(f, "btnClose"), Qt::LeftButton);
    QVERIFY(!f.isVisible());
    ClickTab(w, 2);
    GallerySettings back = ReadBack(path);
    QCOMPARE(back.CellSpacing.get(), 10);
    QCOMPARE(back.TableWidth.get(), 100);
    QCOMPARE(back.TableWidthUnit.get(), 1);
    QVERIFY(!back.HyperlinkImages.get());

    QTest::mouseClick(Child<QPushButton>(w, "btnFineTune"), Qt::LeftButton);
    Child<QSpinBox>(f, "seCellspacing")->setValue(20);
    QTest::mouseClick(Child<QPushButton>(f, "btnOK"), Qt::LeftButton);
    QCOMPARE(ReadBack(path).CellSpacing.get(), 20);
  }

  void imagesFromFolderAndFiles() {
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    TGalleryImagesPage& g = *Child<TGalleryImagesPage>(w, "tsGallery");
    QCOMPARE(Child<QLineEdit>(g, "ebImgFolder")->text(), QString("< Select Image Folder >"));
    QCOMPARE(Child<QLabel>(g, "pnlImgStatus")->text(), QString("No JPG images found/selected"));
    QVERIFY(!Child<QPushButton>(g, "btnReview")->isEnabled() && !Child<QToolButton>(w, "btnGenerate")->isEnabled());
    QString samples = QString::fromStdString(InProgram("Data/Samples"));
    fs::create_directories(InProgram("Data/Samples/sub"));
    WriteFileAtomic(InProgram("Data/Samples/sub/x.jpg"), "x");
    started.dialogs->folderAnswers = {samples};
    g.ebImgFolderButtonClick();
    QCOMPARE(Child<QLabel>(g, "pnlImgStatus")->text(), QString("8 JPG images selected"));
    QVERIFY(Child<QPushButton>(g, "btnReview")->isEnabled() && Child<QToolButton>(w, "btnGenerate")->isEnabled());
    started.dialogs->openAnswers = {{samples + "/02-poppy-meadow.jpg", samples + "/01-sunset-hills.jpg"}};
    g.ebImgFolderAltBtnClick();
    QCOMPARE(Child<QLineEdit>(g, "ebImgFolder")->text(), samples + "/");
    QCOMPARE(w.ImageList().size(), std::size_t(2));
    QCOMPARE(w.ImageList()[0], samples.toStdString() + "/02-poppy-meadow.jpg");
    w.SaveForm();
    w.OpenGallery(w.CurrentGalleryFile());
    QCOMPARE(w.ImageList().size(), std::size_t(8));
    w.btnNewClick();  // cancelled naming: back to the Start page with an empty list
    QCOMPARE(Child<QLabel>(g, "pnlImgStatus")->text(), QString("No JPG images found/selected"));
    QVERIFY(w.ImageList().empty());
  }

  void imagesUrlGetsItsScheme_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("no scheme") << "example.org/img" << "http://example.org/img";
    QTest::newRow("short") << "abc" << "abc";
    QTest::newRow("already") << "http://example.org" << "http://example.org";
    QTest::newRow("capitals") << "HTTP://example.org" << "http://HTTP://example.org";
  }
  void imagesUrlGetsItsScheme() {
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    Child<QLineEdit>(w, "ebURL")->setText(typed);
    Child<TGalleryImagesPage>(w, "tsGallery")->ebURLExit();
    QCOMPARE(Child<QLineEdit>(w, "ebURL")->text(), kept);
  }

  void closingSavesAnExistingGalleryOnly() {
    TStartedProgram started;  // no gallery: closing writes nothing
    Child<TMemo>(started.wizard(), "moTitleText")->SetText("t");
    started.wizard().close();
    QVERIFY(ListFilesWithExtension(GetUserDataFolder(), ".pgs").empty());

    std::string path = WriteGallery("A.pgs", DefaultSettings());
    TStartedProgram reopened(path);
    Child<TMemo>(reopened.wizard(), "moFooter")->SetText("footer at close");
    reopened.wizard().close();
    QCOMPARE(ReadBack(path).FooterText.get(), std::string("footer at close"));
  }

  void helpAndAbout() {
    TStartedProgram started;
    TdmNonVis& dm = started.program->dmNonVis;
    dm.GettingStarted1->trigger();
    dm.AboutPictalon1->trigger();
    QCOMPARE(started.dialogs->log,
             QStringList({"Document: " + QString::fromStdString(InProgram("Guide/index.html")),
                          "Exec: About Pictalon"}));
    TfrmAbout about(dm);
    QCOMPARE(Child<QLabel>(about, "lblVer")->text(), QString(PICTALON_TEST_PROJECT_VERSION));
  }

  // The web copy settings: kept after the record only when not at their defaults, usable only
  // for copied images, and a run making them can be cancelled with nothing new to show.
  void webCopies() {
    TempDir photos;
    for (int i = 0; i < 30; ++i) photos.write("p" + std::to_string(i) + ".jpg", MakeJpeg(1600, 1200));
    GallerySettings s = DefaultSettings();
    s.ImageFolder.set(photos.path());
    s.OutputFolder.set(InProgram("Output/Web"));
    std::string path;
    QVERIFY(WriteGalleryFile(GetUserDataFolder() + "Web.pgs", s, TGalleryTail::WebCopies(true, 2000), path));
    TStartedProgram started(path);
    TfrmSetup& w = started.wizard();
    QCheckBox* copy = Child<QCheckBox>(w, "cbCopyImgs");
    QCheckBox* resize = Child<QCheckBox>(w, "cbResizeCopies");
    QSpinBox* side = Child<QSpinBox>(w, "seLongestSide");
    QVERIFY(resize->isChecked() && resize->isEnabled() && side->isEnabled());
    QCOMPARE(side->value(), 2000);
    copy->setChecked(false);
    QVERIFY(!resize->isEnabled() && !side->isEnabled());
    copy->setChecked(true);
    side->setValue(800);
    w.SaveForm();
    TGalleryTail back;
    QVERIFY(ReadGalleryFile(path, s, back));
    QCOMPARE(back, (TGalleryTail::WebCopies(true, 800)));

    bool cancelled = false;
    QTimer::singleShot(0, [&] {
      if (auto* progress = w.findChild<QProgressDialog*>()) progress->cancel(), cancelled = true;
    });
    w.btnGenerateClick();
    QVERIFY(cancelled);
    QVERIFY(!FileExists(InProgram("Output/Web/gallery1.html")));
    QVERIFY(started.dialogs->Entries("Document: ").isEmpty());
    QVERIFY(Child<QToolButton>(w, "btnGenerate")->isEnabled());

    resize->setChecked(false);
    side->setValue(1600);
    w.SaveForm();
    QCOMPARE(fs::file_size(path), std::uintmax_t(sizeof(GallerySettings)));  // no tail at the defaults
  }

  // The page style: read from the gallery file, chosen on Gallery Options, written back; the
  // template is chosen for Classic pages only.
  void pageStyle() {
    GallerySettings s = DefaultSettings();
    TGalleryTail tail;
    tail.PageStyle = TPageStyle::Modern;
    std::string path;
    QVERIFY(WriteGalleryFile(GetUserDataFolder() + "Style.pgs", s, tail, path));
    TStartedProgram started(path);
    TfrmSetup& w = started.wizard();
    QRadioButton* classic = Child<QRadioButton>(w, "rbPageClassic");
    QRadioButton* modern = Child<QRadioButton>(w, "rbPageModern");
    QVERIFY(modern->isChecked() && !classic->isChecked());
    QVERIFY(!Child<QComboBox>(w, "cbTemplates")->isEnabled());
    classic->setChecked(true);
    QVERIFY(Child<QComboBox>(w, "cbTemplates")->isEnabled());
    w.SaveForm();
    TGalleryTail back;
    QVERIFY(ReadGalleryFile(path, s, back));
    QCOMPARE(back, TGalleryTail());
    QCOMPARE(fs::file_size(path), std::uintmax_t(sizeof(GallerySettings)));  // Classic needs no tail
    modern->setChecked(true);
    w.SaveForm();
    QVERIFY(ReadGalleryFile(path, s, back));
    QVERIFY(back.PageStyle == TPageStyle::Modern);
  }

  // "Order:" lists the images by time taken (the undated last) or by name, and with "Use the
  // photos' own titles" both settings are kept in the gallery file's tail; the list the review
  // window and Generate use follows at once.
  void photoOrderAndCaptions() {
    TempDir photos;
    const std::string jpeg = MakeJpeg(40, 30);
    const std::string a = photos.write("a.jpg", WithApp1(jpeg, XmpPayload("", "2024-03-01T10:00:00")));
    const std::string b = photos.write("b.jpg", WithApp1(jpeg, XmpPayload("", "2021-03-01T10:00:00")));
    const std::string c = photos.write("c.jpg", jpeg);
    GallerySettings s = DefaultSettings();
    s.ImageFolder.set(photos.path());
    TGalleryTail tail;
    tail.Order = TImageOrder::ByDate;
    std::string path;
    QVERIFY(WriteGalleryFile(GetUserDataFolder() + "Ordered.pgs", s, tail, path));
    TStartedProgram started(path);
    TfrmSetup& w = started.wizard();
    QCOMPARE(w.ImageList(), (std::vector<std::string>{b, a, c}));
    QCheckBox* own = Child<QCheckBox>(w, "cbPhotoCaptions");
    QVERIFY(!own->isChecked() && !w.UsesPhotoTitles());
    own->setChecked(true);
    QVERIFY(w.UsesPhotoTitles());

    QComboBox* order = Child<QComboBox>(w, "cbOrder");
    const std::uint64_t version = w.ImageListVersion();
    order->setCurrentIndex(0);
    emit order->activated(0);
    QCOMPARE(w.ImageList(), (std::vector<std::string>{a, b, c}));
    QVERIFY(w.ImageListVersion() != version);
    w.SaveForm();
    TGalleryTail back;
    QVERIFY(ReadGalleryFile(path, s, back));
    QVERIFY(back.PhotoCaptions);
    QCOMPARE(back.Order, TImageOrder::ByName);
  }

  // In a German desktop the windows speak German; what they write stays as it is.
  void germanWindows() {
    QTranslator german;
    QVERIFY(german.load("pictalon_de", PICTALON_BUILT_PROGRAM "/translations"));
    QCoreApplication::installTranslator(&german);
    TStartedProgram started;
    const TPageTabs* tabs = Child<TPageTabs>(started.wizard(), "PageControl1");
    QCOMPARE(tabs->tabText(tabs->TabOf(1)), QString("Textoptionen"));
    QCOMPARE(tabs->tabText(tabs->TabOf(4)), QString("Galerieoptionen"));
    started.dialogs->openDocumentResult = false;
    QTest::mouseClick(Child<QPushButton>(started.wizard(), "btnViewSampler"), Qt::LeftButton);
    QCOMPARE(started.dialogs->Entries("Error: Pictalon konnte").size(), 1);

    // The messages of the libraries too: a stored colour that is none, and an engine run that
    // fails (its template gone since the gallery was opened).
    TempDir photos;
    photos.write("p.jpg", MakeJpeg(40, 30));
    GallerySettings s = DefaultSettings();
    s.TextColour.set("#zzzzzz");
    s.ImageFolder.set(photos.path());
    s.TemplateName.set("Dark.html");
    TfrmSetup& w = started.wizard();
    started.dialogs->log.clear();
    w.OpenGallery(WriteGallery("Odd.pgs", s));
    QCOMPARE(started.dialogs->log, QStringList("General: \u201e#zzzzzz\u201c ist kein g\u00fcltiger Farbwert."));
    fs::remove(InProgram("Templates/Dark.html"));
    started.dialogs->log.clear();
    {
      TEngineBoxes engineBoxes(*started.dialogs);
      w.btnGenerateClick();
    }
    QCOMPARE(started.dialogs->Entries("General: ").value(0),
             QString::fromStdString("General: " + InProgram("Templates/Dark.html") + " wurde nicht gefunden."));
    QCoreApplication::removeTranslator(&german);
  }

  void cellSamplerThatCannotOpen() {
    TStartedProgram started;
    started.dialogs->openDocumentResult = false;
    QTest::mouseClick(Child<QPushButton>(started.wizard(), "btnViewSampler"), Qt::LeftButton);
    QCOMPARE(started.dialogs->Entries("Error: Pictalon could not open the Cell Sampler").size(), 1);
  }

  void generate_data() {
    QTest::addColumn<QString>("engine");
    QTest::addColumn<int>("images");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<bool>("pages");
    // First: once loaded, a library may stay resident after its release (sanitizer builds keep
    // it), and the platform's search would then find it by its bare name.
    QTest::newRow("engine missing") << "missing" << 3 << QStringList() << false;
    QTest::newRow("pages with copies") << "present" << 3 << QStringList() << true;
    QTest::newRow("engine returns false")
        << "present" << 0 << QStringList({"Engine: Image List is empty", "Message: Error running engine"})
        << false;
  }
  void generate() {
    QFETCH(QString, engine);
    QFETCH(int, images);
    QFETCH(QStringList, shown);
    QFETCH(bool, pages);
    std::string library = InProgram("libPictgen.so");
    if (engine == "missing") fs::rename(library, library + ".away");
    struct Restore {
      std::string library;
      ~Restore() {
        if (FileExists(library + ".away")) fs::rename(library + ".away", library);
      }
    } restore{library};

    TempDir photos;
    for (int i = 0; i < images; ++i) photos.write("p" + std::to_string(i) + ".jpg", MakeJpeg(40, 30));
    GallerySettings s = DefaultSettings();
    s.ImageFolder.set(photos.path());
    s.OutputFolder.set(InProgram("Output/Gallery"));  // missing: made by the run
    s.LogoGraphic.set(InProgram("Data/Cell1.jpg"));  // travels with the copied images
    std::string path = WriteGallery("A.pgs", s);
    TStartedProgram started(path);
    TfrmSetup& w = started.wizard();

    // The engine's own boxes are real windows: answer them and note them in the same log.
    {
      TEngineBoxes engineBoxes(*started.dialogs);
      w.btnGenerateClick();
    }

    QString firstPage = QString::fromStdString(InProgram("Output/Gallery/gallery1.html"));
    QCOMPARE(started.dialogs->log, shown + QStringList("Document: " + firstPage));
    QCOMPARE(FileExists(firstPage.toStdString()), pages);
    QCOMPARE(int(ListFilesWithExtension(InProgram("Output/Gallery/gallimgs"), ".jpg").size()), images + 1);
    if (pages) QVERIFY(ReadFile(firstPage.toStdString()).find("<img src=\"gallimgs/Cell1.jpg\">") != std::string::npos);
    QVERIFY(!FileExists(InProgram("~imgList.dat")));
    QCOMPARE(Child<QToolButton>(w, "btnGenerate")->isEnabled(), images > 0);
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(ReadBack(path).ImageFolder.get(), photos.path());  // saved first
  }

  void generateStopsWhenTheImageListCannotBeWritten() {
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    fs::create_directories(InProgram("~imgList.dat/in the way"));
    emit Child<QToolButton>(w, "btnGenerate")->clicked();
    QCOMPARE(started.dialogs->Entries("General: Cannot create file").size(), 1);
    QCOMPARE(started.dialogs->Entries("Document: ").size(), 0);
    QVERIFY(!QApplication::overrideCursor());
  }
};

#include "WizardTest.moc"
QTEST_MAIN(WizardTest)
