// The wizard window driven as a user would: creation checks, first page, navigation, gallery
// files, the settings binding and the fine-tune dialog. Dialogs are answered by a script.
#include <QAccessible>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
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
#include "TestSupport.h"
#include "TextOptions.h"
#include "WizardFixture.h"

using namespace pictalon;
using namespace pictalon::test;
namespace fs = std::filesystem;

namespace {

GallerySettings ReadBack(const std::string& path) {
  GallerySettings settings{};
  ReadGalleryFile(path, settings);
  return settings;
}

}  // namespace

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
    QCOMPARE(w.tbBackNext->isVisible(), page != 0);
    QCOMPARE(w.CurrentGalleryFile(), current.isEmpty() ? "" : InProgram(current.toStdString()));
    QCOMPARE(w.StatusText().trimmed(), QString());
    QCOMPARE(w.lvFiles->count(), galleries);
    QCOMPARE(w.cbFiles->count(), galleries);
    QCOMPARE(int(ListFilesWithExtension(GetUserDataFolder(), ".pgs").size()), galleries);
    QVERIFY(started.dialogs->log.isEmpty());
  }

  void backNextOnEveryPage() {
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    const bool back[] = {false, true, true, true};
    const bool next[] = {true, true, true, false};
    for (int i = 0; i < 4; ++i) {
      QCOMPARE(w.ActivePageIndex(), i + 1);
      QCOMPARE(w.btnBack->isEnabled(), back[i]);
      QCOMPARE(w.btnNext->isEnabled(), next[i]);
      if (i < 3) QTest::mouseClick(w.btnNext, Qt::LeftButton);
    }
    // The tab bar follows; a gallery opened from here starts on Text Options again.
    QCOMPARE(w.PageControl1->currentIndex(), 4);
    WriteGallery("A.pgs", DefaultSettings());
    w.OpenGallery(GetUserDataFolder() + "A.pgs");
    QCOMPARE(w.ActivePageIndex(), 1);
    QVERIFY(!w.btnBack->isEnabled());
    QVERIFY(w.btnNext->isEnabled());
  }

  void tabChangeSavesButNextDoesNot() {
    std::string path = WriteGallery("A.pgs", DefaultSettings());
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    w.lvFiles->setCurrentRow(0);
    w.lvFilesDblClick();
    QCOMPARE(w.StatusText(), QString("<A.pgs>"));
    QCOMPARE(w.cbFiles->currentText(), QString("A.pgs"));
    w.tsText->moTitleText->SetText("Holiday");
    QTest::mouseClick(w.btnNext, Qt::LeftButton);
    QCOMPARE(ReadBack(path).TitleText.get(), std::string());
    w.PageControl1->setCurrentIndex(4);  // as a click on the tab does
    QCOMPARE(w.ActivePageIndex(), 4);
    QVERIFY(!w.btnNext->isEnabled());
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
    w.lvFiles->setCurrentRow(0);
    w.lvFilesDblClick();
    w.tsText->moTitleText->SetText("left behind");
    started.dialogs->saveAnswers = {answer};
    QTest::mouseClick(w.btnNew, Qt::LeftButton);
    QCOMPARE(started.dialogs->lastSave.filter, QString("Pictalon Gallery (*.pgs)"));
    QCOMPARE(started.dialogs->lastSave.folder, QString::fromStdString(GetUserDataFolder()));
    QCOMPARE(w.tsText->moTitleText->Text(), QString());
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
    w.tsText->moTitleText->SetText("typed before any save");
    w.PageControl1->setCurrentIndex(2);
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
    started.wizard().tsText->moTitleText->SetText("would be lost");
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
    w.lvFiles->setCurrentRow(0);
    w.lvFilesDblClick();
    started.dialogs->saveAnswers = {"B"};
    QTest::mouseClick(w.btnSaveGallAs, Qt::LeftButton);
    QCOMPARE(w.CurrentGalleryFile(), GetUserDataFolder() + "B.pgs");
    QCOMPARE(w.StatusText(), QString("<B.pgs>"));
    QCOMPARE(ReadFile(GetUserDataFolder() + "B.dat"), details);
    QCOMPARE(ReadFile(GetUserDataFolder() + "A.dat"), details);
    QVERIFY(FileExists(GetUserDataFolder() + "A.pgs"));
    QCOMPARE(w.lvFiles->count(), 1);  // the lists are filled at start only
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
    QVERIFY(w.tsGraphic->imgLogo->HasPicture());
    QCOMPARE(w.tsGallery->cbGallCell->currentText(), QString("Slate"));
    QVERIFY(w.tsGallery->imgCell->HasPicture());
    QCOMPARE(w.tsGallery->pnlImgStatus->text(), QString("8 JPG images selected"));
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
    w.tsText->moIntroText->SetText(QString(600, 'x'));
    w.SaveForm();
    GallerySettings s = ReadBack(w.CurrentGalleryFile());
    QCOMPARE(int(s.IntroText1.length), 255);
    QCOMPARE(int(s.IntroText2.length), 255);
    QCOMPARE(int(s.IntroText3.length), 90);
    QCOMPARE(int(s.IntroText4.length), 0);
    w.OpenGallery(w.CurrentGalleryFile());
    QCOMPARE(w.tsText->moIntroText->Text(), QString(600, 'x'));

    // The memo holds no more than the four slots store: nothing typed is ever cut on saving.
    w.tsText->moIntroText->SetText(QString(1019, 'y'));
    w.tsText->moIntroText->moveCursor(QTextCursor::End);
    QTest::keyClicks(w.tsText->moIntroText, "zzzz");
    QCOMPARE(w.tsText->moIntroText->Text(), QString(1019, 'y') + "z");
    w.tsText->moIntroText->insertPlainText("pasted");
    QCOMPARE(w.tsText->moIntroText->Text().size(), 1020);
    w.SaveForm();
    s = ReadBack(w.CurrentGalleryFile());
    QCOMPARE(s.IntroText4.get(), std::string(254, 'y') + "z");

    w.tsText->moIntroText->SetText("\n");
    w.SaveForm();
    s = ReadBack(w.CurrentGalleryFile());
    for (const StringSlot* slot : {&s.IntroText1, &s.IntroText2, &s.IntroText3, &s.IntroText4})
      QCOMPARE(slot->get(), std::string("\r\n"));
    w.OpenGallery(w.CurrentGalleryFile());
    QCOMPARE(w.tsText->moIntroText->Text(), QString());
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
    w.tsGraphic->cbNoGraphic1->setChecked(checkedBefore);
    w.OpenGallery(path);
    QVERIFY(w.tsGraphic->cbNoGraphic1->isChecked());
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
    QCOMPARE(w.tsText->shTxtCol->Colour(), QColor(255, 0, 0));
    QCOMPARE(w.tsText->moFooter->palette().color(QPalette::Text), QColor(255, 0, 0));
    QCOMPARE(w.tsText->moTitleText->palette().color(QPalette::Base), QColor(255, 255, 255));
    started.dialogs->colourAnswers = {QColor(0, 0x80, 0xff)};
    w.tsGraphic->btnBgColClick();
    QCOMPARE(w.tsText->moIntroText->palette().color(QPalette::Base), QColor(0, 0x80, 0xff));
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
    w.tsGraphic->GraphicButtonClick(3);
    QVERIFY(!w.tsGraphic->cbNoGraphic3->isChecked());
    started.dialogs->confirmAnswers = {yes};
    started.dialogs->colourAnswers = {QColor(1, 2, 3)};
    w.tsGraphic->btnBgColClick();
    QCOMPARE(w.tsGraphic->ebBgImg->text().isEmpty(), yes);
    QCOMPARE(w.tsGraphic->imgBkGrnd->HasPicture(), !yes);
    QCOMPARE(w.tsGraphic->shBgCol->Colour() == QColor(1, 2, 3), yes);
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
    QCOMPARE(w.tsText->moTitleText->Text(), QString("still loaded"));
    QCOMPARE(w.tsGallOpt->seRows->value(), 1);
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
    QCOMPARE(w.tsGallery->cbGallCell->currentIndex(), -1);
    w.SaveForm();
    QCOMPARE(ReadBack(path).CellStyleSheet.get(), before);
    QCOMPARE(before, InProgram("Data/gallerycell6.css"));
  }

  void chosenCellStyleShowsItsPreview() {
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    TGalleryImagesPage& g = *w.tsGallery;
    emit g.cbGallCell->activated(2);
    QCOMPARE(w.CurrentCellStyleSheet(), InProgram("Data/gallerycell3.css"));
    QVERIFY(g.imgCell->HasPicture());
    fs::remove(InProgram("Data/Cell4.jpg"));
    emit g.cbGallCell->activated(3);  // the preview is missing: reported, the style stays chosen
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
    TGalleryOptionsPage& o = *w.tsGallOpt;
    o.seProp->setValue(55);
    o.seHeight->setValue(66);
    w.OpenGallery(path);
    QVERIFY(o.rbWidth->isChecked());
    QCOMPARE(o.seWidth->value(), 300);
    QVERIFY(o.seWidth->isEnabled() && o.RzLabel17->isEnabled());
    QVERIFY(!o.seProp->isEnabled() && !o.RzLabel18->isEnabled());
    QVERIFY(!o.seHeight->isEnabled() && !o.RzLabel16->isEnabled());
    QCOMPARE(o.seProp->value(), 55);
    QCOMPARE(o.seHeight->value(), 66);
  }

  void fineTuneDialog() {
    GallerySettings s = DefaultSettings();
    s.TableWidth.set(0);
    s.HyperlinkImages.set(false);
    std::string path = WriteGallery("A.pgs", s);
    TStartedProgram started(path);
    TfrmSetup& w = started.wizard();
    TfrmFineTune& f = *started.program->frmFineTune;
    QCOMPARE(f.neTableWidth->value(), 100);
    QTest::mouseClick(w.tsGallOpt->btnFineTune, Qt::LeftButton);
    QVERIFY(f.isVisible());
    QVERIFY(!f.isModal());
    QVERIFY(!f.rgHyperlink->isEnabled());
    QVERIFY(!f.cbNewWindow->isEnabled());

    const std::pair<const char*, const char*> widths[] = {{"150", "Pixels"}, {"80", "Percent"}, {"100", "Percent"}};
    for (auto [typed, unit] : widths) {
      f.neTableWidth->selectAll();
      QTest::keyClicks(f.neTableWidth, typed);
      QCOMPARE(f.cbTableWidthType->currentText(), QString(unit));
    }
    f.cbTableWidthType->setCurrentIndex(1);  // the user's own choice stays until the width changes
    f.seCellspacing->setValue(10);
    QTest::mouseClick(f.btnClose, Qt::LeftButton);
    QVERIFY(!f.isVisible());
    w.PageControl1->setCurrentIndex(2);
    GallerySettings back = ReadBack(path);
    QCOMPARE(back.CellSpacing.get(), 10);
    QCOMPARE(back.TableWidth.get(), 100);
    QCOMPARE(back.TableWidthUnit.get(), 1);
    QVERIFY(!back.HyperlinkImages.get());

    QTest::mouseClick(w.tsGallOpt->btnFineTune, Qt::LeftButton);
    f.seCellspacing->setValue(20);
    QTest::mouseClick(f.btnOK, Qt::LeftButton);
    QCOMPARE(ReadBack(path).CellSpacing.get(), 20);
  }

  void imagesFromFolderAndFiles() {
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    TGalleryImagesPage& g = *w.tsGallery;
    QCOMPARE(g.ebImgFolder->text(), QString("< Select Image Folder >"));
    QCOMPARE(g.pnlImgStatus->text(), QString("No JPG images found/selected"));
    QVERIFY(!g.btnReview->isEnabled() && !w.tsGallOpt->btnGenerate->isEnabled());
    QString samples = QString::fromStdString(InProgram("Data/Samples"));
    fs::create_directories(InProgram("Data/Samples/sub"));
    WriteFileAtomic(InProgram("Data/Samples/sub/x.jpg"), "x");
    started.dialogs->folderAnswers = {samples};
    g.ebImgFolderButtonClick();
    QCOMPARE(g.pnlImgStatus->text(), QString("8 JPG images selected"));
    QVERIFY(g.btnReview->isEnabled() && w.tsGallOpt->btnGenerate->isEnabled());
    started.dialogs->openAnswers = {{samples + "/02-poppy-meadow.jpg", samples + "/01-sunset-hills.jpg"}};
    g.ebImgFolderAltBtnClick();
    QCOMPARE(g.ebImgFolder->text(), samples + "/");
    QCOMPARE(w.ImageList().size(), std::size_t(2));
    QCOMPARE(w.ImageList()[0], samples.toStdString() + "/02-poppy-meadow.jpg");
    w.SaveForm();
    w.OpenGallery(w.CurrentGalleryFile());
    QCOMPARE(w.ImageList().size(), std::size_t(8));
    w.btnNewClick();  // cancelled naming: back to the Start page with an empty list
    QCOMPARE(g.pnlImgStatus->text(), QString("No JPG images found/selected"));
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
    w.tsGallery->ebURL->setText(typed);
    w.tsGallery->ebURLExit();
    QCOMPARE(w.tsGallery->ebURL->text(), kept);
  }

  void closingSavesAnExistingGalleryOnly() {
    TStartedProgram started;  // no gallery: closing writes nothing
    started.wizard().tsText->moTitleText->SetText("t");
    started.wizard().close();
    QVERIFY(ListFilesWithExtension(GetUserDataFolder(), ".pgs").empty());

    std::string path = WriteGallery("A.pgs", DefaultSettings());
    TStartedProgram reopened(path);
    reopened.wizard().tsText->moFooter->SetText("footer at close");
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
    QCOMPARE(about.lblVer->text(), QString(PICTALON_TEST_PROJECT_VERSION));
  }

  void cellSamplerThatCannotOpen() {
    TStartedProgram started;
    started.dialogs->openDocumentResult = false;
    QTest::mouseClick(started.wizard().tsGallery->btnViewSampler, Qt::LeftButton);
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
    QCOMPARE(w.tsGallOpt->btnGenerate->isEnabled(), images > 0);
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(ReadBack(path).ImageFolder.get(), photos.path());  // saved first
  }

  void generateStopsWhenTheImageListCannotBeWritten() {
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    fs::create_directories(InProgram("~imgList.dat/in the way"));
    emit w.tsGallOpt->btnGenerate->clicked();
    QCOMPARE(started.dialogs->Entries("General: Cannot create file").size(), 1);
    QCOMPARE(started.dialogs->Entries("Document: ").size(), 0);
    QVERIFY(!QApplication::overrideCursor());
  }

  void everyControlHasAnAccessibleName() {
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    QList<QWidget*> windows = {&w, started.program->frmFineTune.get()};
    for (QWidget* window : windows) {
      for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->focusPolicy() == Qt::NoFocus || qobject_cast<QStackedWidget*>(control)) continue;
        if (control->window() != window) continue;  // drop-down lists are windows of their own
        if (qobject_cast<QAbstractSpinBox*>(control->parentWidget())) continue;  // the box speaks for it
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
        QVERIFY2(a && !a->text(QAccessible::Name).isEmpty(),
                 qPrintable(control->objectName() + " " + control->metaObject()->className()));
      }
    }
  }
};

#include "WizardTest.moc"
QTEST_MAIN(WizardTest)
