// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The wizard never loses, overwrites or mixes up a gallery, never freezes, and speaks to screen
// readers: each case drives the window the way the fault it guards against was found.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListView>
#include <QListWidget>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>

#include "About.h"
#include "EditorPage.h"
#include "GalleryFile.h"
#include "GalleryImages.h"
#include "GraphicOptions.h"
#include "ImageReview.h"
#include "ThumbList.h"
#include "Platform.h"
#include "StartPage.h"
#include "TestJpeg.h"
#include "TestSupport.h"
#include "TextOptions.h"
#include "WizardFixture.h"
#include "WorkingFiles.h"

using namespace pictalon;
using namespace pictalon::test;
namespace fs = std::filesystem;

namespace {

// Ends the test program when a case has not finished in time: a frozen window must fail the
// run, not hang it.
class TWatchdog {
public:
  explicit TWatchdog(int seconds) {
    thread_ = std::thread([this, seconds] {
      std::unique_lock<std::mutex> lock(mutex_);
      if (!done_cv_.wait_for(lock, std::chrono::seconds(seconds), [this] { return done_; })) {
        std::fputs("watchdog: the window froze\n", stderr);
        std::abort();
      }
    });
  }
  ~TWatchdog() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    done_cv_.notify_all();
    thread_.join();
  }

private:
  std::mutex mutex_;
  std::condition_variable done_cv_;
  bool done_ = false;
  std::thread thread_;
};

// A gallery of count photos in a folder of its own, with copying on and its output folder.
struct TPhotoGallery {
  TempDir photos;
  std::string path;
  GallerySettings settings = DefaultSettings();
  TPhotoGallery(const std::string& name, int count, const std::string& output) {
    for (int i = 0; i < count; ++i) photos.write("p" + std::to_string(i) + ".jpg", MakeJpeg(40, 30));
    settings.ImageFolder.set(photos.path());
    settings.OutputFolder.set(output);
    settings.TitleText.set(name + " title");
    path = WriteGallery(name + ".pgs", settings);
  }
};

// Runs body once the next run has begun (its copy step handles events), inside that run.
void DuringTheRun(std::function<void()> body) { QTimer::singleShot(0, std::move(body)); }

// What a screen reader finds in the wizard's tab bar: the names of the tabs it may go to, in
// order, each marked when it has no area of its own inside the bar; none while the bar is hidden.
QStringList TabsOnBus(TfrmSetup& w) {
  QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(Child<QTabBar>(w, "PageControl1"));
  QStringList found;
  if (bar->state().invisible) return found;
  for (int i = 0; i < bar->childCount(); ++i) {
    QAccessibleInterface* tab = bar->child(i);  // the tabs, then the bar's scroll buttons
    if (tab->role() != QAccessible::PageTab || tab->state().invisible) continue;
    const bool area = !tab->rect().isEmpty() && bar->rect().contains(tab->rect());
    found << tab->text(QAccessible::Name) + (area ? "" : " (no area)");
  }
  return found;
}

}  // namespace

class WizardSafetyTest : public QObject {
  Q_OBJECT

private slots:
  void init() { ResetProgramFolder(); }

  void namingAsksBeforeReplacing_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("replace");
    QTest::newRow("Save As, No") << "save as" << false;
    QTest::newRow("Save As, Yes") << "save as" << true;
    QTest::newRow("New Gallery, No") << "new" << false;
    QTest::newRow("New Gallery, Yes") << "new" << true;
  }
  void namingAsksBeforeReplacing() {
    QFETCH(QString, command);
    QFETCH(bool, replace);
    GallerySettings holiday = DefaultSettings();
    holiday.TitleText.set("Holiday");
    const std::string holidayPath = WriteGallery("Holiday.pgs", holiday);
    WriteFileAtomic(GetUserDataFolder() + "Holiday.dat", "[a.jpg]\r\nTitle=beach\r\n");
    GallerySettings trip = DefaultSettings();
    trip.TitleText.set("Trip");
    const std::string tripPath = WriteGallery("Trip.pgs", trip);
    const std::string holidayBytes = ReadFile(holidayPath);

    TStartedProgram started(tripPath);
    TfrmSetup& w = started.wizard();
    // Chosen outside the user data folder, where the dialog itself saw no such file.
    started.dialogs->saveAnswers = {InProgram("Elsewhere/Holiday.pgs").c_str()};
    started.dialogs->confirmAnswers = {replace};
    if (command == "new")
      w.btnNewClick();
    else
      w.btnSaveGallAsClick();

    QCOMPARE(started.dialogs->Entries("Replace: "),
             QStringList("Replace: Holiday.pgs already exists.\nDo you want to replace it?"));
    if (!replace) {
      QCOMPARE(ReadFile(holidayPath), holidayBytes);
      QCOMPARE(ReadFile(GetUserDataFolder() + "Holiday.dat"), std::string("[a.jpg]\r\nTitle=beach\r\n"));
      QCOMPARE(w.CurrentGalleryFile(), command == "new" ? std::string() : tripPath);
      return;
    }
    QCOMPARE(w.CurrentGalleryFile(), holidayPath);
    QCOMPARE(ReadBack(holidayPath).TitleText.get(), std::string(command == "new" ? "" : "Trip"));
    // Trip has no details of its own: Holiday's would describe images it does not show.
    if (command == "save as") QVERIFY(!FileExists(GetUserDataFolder() + "Holiday.dat"));
  }

  void aSecondGenerateNeverFreezes() {
    TWatchdog watchdog(60);
    TPhotoGallery a("A", 3, InProgram("Output/A"));
    TPhotoGallery other("Other", 2, InProgram("Output/Other"));
    TStartedProgram started(a.path);
    TfrmSetup& w = started.wizard();
    QToolButton* generate = Child<QToolButton>(w, "btnGenerate");
    bool checked = false;
    DuringTheRun([&] {
      // A new image list during the run must not make Generate usable again.
      started.dialogs->folderAnswers = {QString::fromStdString(other.photos.path())};
      Child<TGalleryImagesPage>(w, "tsGallery")->ebImgFolderButtonClick();
      QVERIFY(!generate->isEnabled());
      QVERIFY(!Child<QComboBox>(w, "cbFiles")->isEnabled());
      QVERIFY(!Child<QToolButton>(w, "btnNew2")->isEnabled());
      QVERIFY(!Child<QToolButton>(w, "btnSaveGallAs")->isEnabled());
      w.btnGenerateClick();  // a second click returns at once
      checked = true;
    });
    {
      TEngineBoxes engineBoxes(*started.dialogs);
      w.btnGenerateClick();
    }
    QVERIFY(checked);
    QVERIFY(generate->isEnabled());
    QVERIFY(Child<QComboBox>(w, "cbFiles")->isEnabled());
    QVERIFY(!FileExists(ImageListFilePath()));
    QCOMPARE(started.dialogs->Entries("Document: ").size(), 1);
    QVERIFY(!QApplication::overrideCursor());
  }

  void aRunGeneratesWhatWasSavedAtItsStart() {
    TPhotoGallery a("A", 3, InProgram("Output/A"));
    // What a program ended during its run left behind, and the folder of another live run
    // (which holds its lock).
    const std::string files = ExtractFilePath(ImageListFilePath());
    fs::create_directories(files + ".run-left");
    QVERIFY(WriteFileAtomic(files + ".run-left/A.pgs", "old"));
    fs::create_directories(files + ".run-live");
    const int live = ::open((files + ".run-live").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    QVERIFY(live >= 0 && ::flock(live, LOCK_EX | LOCK_NB) == 0);
    TStartedProgram started(a.path);
    TfrmSetup& w = started.wizard();
    DuringTheRun([&] {
      // Edits saved while the images are copied belong to the next run.
      Child<TMemo>(w, "moTitleText")->SetText("changed meanwhile");
      Child<QLineEdit>(w, "ebOutput")->setText(QString::fromStdString(InProgram("Output/B")));
      ClickTab(w, 4);
    });
    {
      TEngineBoxes engineBoxes(*started.dialogs);
      w.btnGenerateClick();
    }
    const std::string page = ReadFile(InProgram("Output/A/gallery1.html"));
    QVERIFY(page.find("A title") != std::string::npos);
    QVERIFY(page.find("changed meanwhile") == std::string::npos);
    QVERIFY(!fs::exists(InProgram("Output/B")));
    QCOMPARE(ReadBack(a.path).TitleText.get(), std::string("changed meanwhile"));
    // The run's own copy of the gallery is gone with it, and so is an older one left behind; the
    // live run's stays.
    for (const auto& entry : fs::directory_iterator(files))
      QVERIFY2(entry.path().filename().string().rfind(".run-", 0) != 0 || entry.path().filename() == ".run-live",
               entry.path().c_str());
    QVERIFY(fs::is_directory(files + ".run-live"));
    ::close(live);
  }

  void waitingForAnotherRun_data() {
    QTest::addColumn<bool>("cancel");
    QTest::newRow("the other run ends") << false;
    QTest::newRow("Cancel") << true;
  }
  void waitingForAnotherRun() {
    TWatchdog watchdog(60);
    TPhotoGallery a("A", 2, InProgram("Output/A"));
    TStartedProgram started(a.path);
    TfrmSetup& w = started.wizard();
    auto other = std::make_unique<TImageListLock>(ImageListFilePath());  // pictgen, say
    QVERIFY(other->Held());
    int repaints = 0;
    QTimer ticking;  // the window's own events keep coming while it waits
    connect(&ticking, &QTimer::timeout, [&] {
      if (++repaints == 5 && !cancel_) other.reset();
    });
    cancel_ = QTest::currentDataTag() == QString("Cancel");
    started.dialogs->cancelWait = [&] { return cancel_ && repaints >= 5; };
    ticking.start(10);
    {
      TEngineBoxes engineBoxes(*started.dialogs);
      w.btnGenerateClick();
    }
    QCOMPARE(started.dialogs->Entries("Wait: "),
             QStringList("Wait: Waiting for another gallery to finish generating..."));
    QVERIFY(repaints >= 5);
    QCOMPARE(FileExists(InProgram("Output/A/gallery1.html")), !cancel_);
    QCOMPARE(started.dialogs->Entries("Document: ").size(), cancel_ ? 0 : 1);
    QVERIFY(Child<QToolButton>(w, "btnGenerate")->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
  }

  void openAndCloseKeepsBytesNotTouched() {
    TempDir root;
    const std::string folder = root.path() + "Fotos \xe9t\xe9/";  // Latin-1, no UTF-8
    for (const char* name : {"a.jpg", "b.jpg"}) root.write("Fotos \xe9t\xe9/" + std::string(name), MakeJpeg(8, 8));
    GallerySettings s = DefaultSettings();
    s.TitleText.set("Caf\xe9");
    s.IntroText1.set("Gr\xfc\xdf");
    s.ImageFolder.set(folder);
    s.BackLinkURL.set("http://x/\xff");
    const std::string path = WriteGallery("Latin.pgs", s);
    const std::string bytes = ReadFile(path);
    {
      TStartedProgram started(path);
      QCOMPARE(Child<QLabel>(started.wizard(), "pnlImgStatus")->text(), QString("2 JPG images selected"));
    }  // closing saves the gallery
    QCOMPARE(ReadFile(path), bytes);

    // A field the user edits is stored as UTF-8; the others keep their bytes.
    TStartedProgram started(path);
    Child<TMemo>(started.wizard(), "moTitleText")->SetText(QString::fromUtf8("Caf\xc3\xa9"));
    started.wizard().SaveForm();
    GallerySettings back = ReadBack(path);
    QCOMPARE(back.TitleText.get(), std::string("Caf\xc3\xa9"));
    QCOMPARE(back.ImageFolder.get(), folder);
    QCOMPARE(back.IntroText1.get(), std::string("Gr\xfc\xdf"));
  }

  void theReviewWindowFollowsTheGallery() {
    TPhotoGallery a("A", 2, InProgram("Output/A"));
    GallerySettings empty = DefaultSettings();
    const std::string bPath = WriteGallery("B.pgs", empty);
    TStartedProgram started(a.path);
    TfrmSetup& w = started.wizard();
    TfrmImageReview& review = *started.program->frmImageReview;
    w.btnReviewClick();
    QTRY_COMPARE(review.Thumbs().rowCount(), 2);
    QTRY_VERIFY(review.btnScan->isEnabled());

    w.OpenGallery(bPath);  // no images
    review.FormActivate();
    QCOMPARE(review.Thumbs().rowCount(), 0);
    QVERIFY(review.ebTitle->text().isEmpty());
    // Nothing of A can be described for B.
    review.ebTitle->setText("stale");
    review.btnSaveClick();
    review.close();
    QVERIFY(!FileExists(ImageDetailsPathInUserData(bPath)));
  }

  void newGalleryFromTheEditorShowsTheWizard() {
    WriteGallery("A.pgs", DefaultSettings());
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    Child<QToolButton>(w, "btnEdit2")->click();
    QCOMPARE(VisibleTabs(w), QString("5"));
    started.dialogs->saveAnswers = {"New"};
    Child<QToolButton>(w, "btnNew2")->click();
    QCOMPARE(VisibleTabs(w), QString("1234"));
    QCOMPARE(w.ActivePageIndex(), 1);
  }

  void anUndecodableGraphicClearsThePreview() {
    GallerySettings good = DefaultSettings();
    good.LogoGraphic.set(InProgram("Data/Cell1.jpg"));
    const std::string goodPath = WriteGallery("Good.pgs", good);
    WriteFileAtomic(InProgram("broken.jpg"), "\xff\xd8\xff\xe0 not a picture");
    GallerySettings broken = DefaultSettings();
    broken.LogoGraphic.set(InProgram("broken.jpg"));
    const std::string brokenPath = WriteGallery("Broken.pgs", broken);
    TStartedProgram started(goodPath);
    TfrmSetup& w = started.wizard();
    QVERIFY(Child<TPictureBox>(w, "imgLogo")->HasPicture());
    w.OpenGallery(brokenPath);
    QVERIFY(!Child<TPictureBox>(w, "imgLogo")->HasPicture());
    QCOMPARE(started.dialogs->Entries("General: ").size(), 1);
  }

  // What a screen reader hears, over every window: names without mnemonic markers, labels that
  // show state read by their text, combo boxes named by what they choose with their entry as value.
  void screenReadersHearTheRightThing() {
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    started.program->Editor();  // the editor's page too
    TfrmAbout about(started.program->dmNonVis);
    QList<QWidget*> windows = {&w, started.program->frmFineTune.get(),
                               started.program->frmImageReview.get(), &about};
    const QRegularExpression mnemonic("&[^&\\s]");
    for (QWidget* window : windows) {
      for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->window() != window) continue;  // drop-down lists are windows of their own
        const QString what = control->objectName() + " " + control->metaObject()->className();
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
        QVERIFY2(a, qPrintable(what));
        const QString name = a->text(QAccessible::Name);
        QVERIFY2(!mnemonic.match(name).hasMatch(), qPrintable(what + ": " + name));
        if (auto* label = qobject_cast<QLabel*>(control)) {
          // A fixed name is for a picture or a link; one over a text would hide what it says.
          const bool link = label->focusPolicy() & Qt::TabFocus;
          QVERIFY2(label->accessibleName().isEmpty() || label->text().isEmpty() || link,
                   qPrintable(what + " hides its text"));
          continue;  // its text is its name, empty while it has nothing to say
        }
        if (auto* combo = qobject_cast<QComboBox*>(control)) {
          if (combo->count() == 0) combo->addItem("an entry");
          if (combo->currentIndex() < 0) combo->setCurrentIndex(0);
          QVERIFY2(!name.isEmpty() && name != combo->currentText(), qPrintable(what + ": " + name));
          QCOMPARE(a->text(QAccessible::Value), combo->currentText());
        }
        if (control->focusPolicy() == Qt::NoFocus || qobject_cast<QStackedWidget*>(control)) continue;
        if (qobject_cast<QAbstractSpinBox*>(control->parentWidget())) continue;  // the box speaks for it
        QVERIFY2(!name.isEmpty(), qPrintable(what));
      }
    }
    // A state label reads as its state.
    w.SetStatusText("<Holiday.pgs>");
    QCOMPARE(QAccessible::queryAccessibleInterface(Child<QLabel>(w, "pnlStatus"))->text(QAccessible::Name),
             QString("<Holiday.pgs>"));
  }

  // The tab bar after each way into the wizard, and back from the editor.
  void screenReadersFindTheShownTabs() {
    const QStringList wizardTabs = {"Text Options", "Graphic Options", "Gallery Images",
                                    "Gallery Options"};
    {
      TStartedProgram started;  // no gallery yet: straight into the wizard
      QCOMPARE(TabsOnBus(started.wizard()), wizardTabs);
    }
    WriteGallery("A.pgs", DefaultSettings());
    {
      TStartedProgram started(GetUserDataFolder() + "A.pgs");
      QCOMPARE(TabsOnBus(started.wizard()), wizardTabs);
    }
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    QCOMPARE(TabsOnBus(w), QStringList());
    Child<QListWidget>(w, "lvFiles")->setCurrentRow(0);
    Child<TStartPage>(w, "tsStart")->lvFilesDblClick();
    QCOMPARE(TabsOnBus(w), wizardTabs);
    Child<QPushButton>(w, "btnStart")->click();
    QCOMPARE(TabsOnBus(w), QStringList());
    started.dialogs->saveAnswers = {"B"};
    Child<QPushButton>(w, "btnNew")->click();
    QCOMPARE(TabsOnBus(w), wizardTabs);
    Child<QToolButton>(w, "btnEdit2")->click();
    QCOMPARE(TabsOnBus(w), QStringList{"Editor"});
    QTest::mouseClick(started.program->editorPage->findChild<QToolButton*>("btnExit"), Qt::LeftButton);
    QCOMPARE(TabsOnBus(w), wizardTabs);
    Child<QToolButton>(w, "btnEdit2")->click();
    started.dialogs->saveAnswers = {"C"};
    Child<QToolButton>(w, "btnNew2")->click();
    QCOMPARE(TabsOnBus(w), wizardTabs);
  }

private:
  bool cancel_ = false;
};

#include "WizardSafetyTest.moc"
QTEST_MAIN(WizardSafetyTest)
