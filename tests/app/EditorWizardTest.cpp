// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor inside the real wizard window: entering it from the Start page, the toolbar and the
// Gallery Images tab, Exit back to where the user came from, and closing the wizard with unsaved
// editor text. Dialogs are answered by a script.
#include <QApplication>
#include <QLabel>
#include <QToolButton>
#include <QtTest>

#include "EditorPage.h"
#include "GalleryImages.h"
#include "Platform.h"
#include "StartPage.h"
#include "SynEdit.h"
#include "TestSupport.h"
#include "WizardFixture.h"

using namespace pictalon;
using namespace pictalon::test;

namespace {

void ClickEditorButton(TProgram& program, const char* name) {
  QTest::mouseClick(program.editorPage->findChild<QToolButton*>(name), Qt::LeftButton);
}

}  // namespace

class EditorWizardTest : public QObject {
  Q_OBJECT

private slots:
  void init() { ResetProgramFolder(); }

  void exitFromTheStartPage() {
    WriteGallery("A.pgs", DefaultSettings());
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    QCOMPARE(w.ActivePageIndex(), 0);
    QTest::mouseClick(Child<QPushButton>(w, "btnEdit"), Qt::LeftButton);
    QCOMPARE(w.ActivePageIndex(), 5);
    QCOMPARE(VisibleTabs(w), QString("5"));
    QVERIFY(!Child<QWidget>(w, "tbBackNext")->isVisible());
    QVERIFY(started.program->editorPage->isVisible());
    QCOMPARE(w.StatusText(), QString("<pictbase.html>"));
    // The text has the keyboard: what the user types goes into it.
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTRY_COMPARE(QApplication::focusWidget(),
                 static_cast<QWidget*>(&started.program->editorPage->Editor()));
    QTest::keyClicks(QApplication::focusWidget(), "ab");
    QVERIFY(started.program->editorPage->Editor().Bytes().substr(0, 2) == "ab");
    // The menu and the top toolbar inside the editor keep the way back.
    started.program->dmNonVis.PictalonBaseTemplate1->trigger();
    QTest::mouseClick(Child<QToolButton>(w, "btnEdit2"), Qt::LeftButton);
    QCOMPARE(w.ReturnPage(), 0);
    ClickEditorButton(*started.program, "btnExit");
    QCOMPARE(w.ActivePageIndex(), 0);
    QCOMPARE(VisibleTabs(w), QString("-"));
    QVERIFY(!Child<QWidget>(w, "tbBackNext")->isVisible());
    QCOMPARE(w.StatusText(), QString());
    QVERIFY(started.dialogs->log.isEmpty());
  }

  void exitToGalleryImages_data() {
    QTest::addColumn<bool>("cellStyleSheet");
    QTest::newRow("Edit cell stylesheet") << true;
    QTest::newRow("Edit Pictalon Template") << false;
  }
  void exitToGalleryImages() {
    QFETCH(bool, cellStyleSheet);
    std::string gallery = WriteGallery("A.pgs", DefaultSettings());
    TStartedProgram started(gallery);
    TfrmSetup& w = started.wizard();
    QTest::mouseClick(Child<QPushButton>(w, "btnNext"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(w, "btnNext"), Qt::LeftButton);
    QCOMPARE(w.ActivePageIndex(), 3);
    if (cellStyleSheet) {
      QTest::mouseClick(Child<QPushButton>(w, "btnEditCell"), Qt::LeftButton);
      std::string sheet = w.CurrentCellStyleSheet();
      QCOMPARE(w.StatusText(), QString::fromStdString("<" + ExtractFileName(sheet) + ">"));
      QVERIFY(started.program->editorPage->Highlighter() == THighlighter::Css);
    } else {
      QTest::mouseClick(Child<QToolButton>(w, "btnEdit2"), Qt::LeftButton);
      QCOMPARE(w.StatusText(), QString("<pictbase.html>"));
    }
    QCOMPARE(w.ActivePageIndex(), 5);
    QCOMPARE(VisibleTabs(w), QString("5"));
    started.program->dmNonVis.PictalonBaseTemplate1->trigger();
    ClickEditorButton(*started.program, "btnExit");
    QCOMPARE(w.ActivePageIndex(), 3);
    QCOMPARE(VisibleTabs(w), QString("1234"));
    QVERIFY(Child<QWidget>(w, "tbBackNext")->isVisible());
    QVERIFY(Child<QPushButton>(w, "btnBack")->isEnabled());
    QVERIFY(Child<QPushButton>(w, "btnNext")->isEnabled());
    QCOMPARE(w.StatusText(), QString("A.pgs"));
    QVERIFY(started.dialogs->log.isEmpty());
  }

  void closingWithUnsavedTextAsksOnce_data() {
    QTest::addColumn<bool>("exitFirst");
    QTest::newRow("editor open") << false;
    QTest::newRow("after Exit with No") << true;
  }
  void closingWithUnsavedTextAsksOnce() {
    QFETCH(bool, exitFirst);
    WriteGallery("A.pgs", DefaultSettings());
    std::string base = InProgram("Templates/PictBase.html");
    std::string original = ReadFile(base);
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    QTest::mouseClick(Child<QPushButton>(w, "btnEdit"), Qt::LeftButton);
    QTest::keyClicks(&started.program->editorPage->Editor(), "x");
    if (exitFirst) {
      ClickEditorButton(*started.program, "btnExit");  // answered No
      started.dialogs->log.clear();
    }
    QString label = w.StatusText();
    w.close();
    QCOMPARE(started.dialogs->log,
             QStringList("Confirm: " + label + " has changed.\nDo you want to save the changes ?"));
    QCOMPARE(ReadFile(base), original);
  }

  void closingAndSavingTheBaseTemplateAsksForAName() {
    WriteGallery("A.pgs", DefaultSettings());
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    QTest::mouseClick(Child<QPushButton>(w, "btnEdit"), Qt::LeftButton);
    QTest::keyClicks(&started.program->editorPage->Editor(), "x");
    started.dialogs->confirmAnswers = {true};
    started.dialogs->saveAnswers = {QString::fromStdString(InProgram("Templates/Mine.html"))};
    w.close();
    QCOMPARE(started.dialogs->Entries("Confirm: ").size(), 1);
    QCOMPARE(started.dialogs->Entries("Save: ").size(), 1);
    QCOMPARE(ReadFile(InProgram("Templates/Mine.html")).substr(0, 1), std::string("x"));
  }

  void aSaveThatFailsOnClosingKeepsTheWindowOpen() {
    WriteGallery("A.pgs", DefaultSettings());
    TStartedProgram started;
    TfrmSetup& w = started.wizard();
    QTest::mouseClick(Child<QPushButton>(w, "btnEdit"), Qt::LeftButton);
    QTest::keyClicks(&started.program->editorPage->Editor(), "x");
    started.dialogs->confirmAnswers = {true};
    started.dialogs->saveAnswers = {QString::fromStdString(InProgram("Gone/Mine.html"))};
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QCOMPARE(started.dialogs->Entries("General: ").size(), 1);
    QVERIFY(started.program->editorPage->Editor().Bytes().substr(0, 1) == "x");
  }
};

QTEST_MAIN(EditorWizardTest)
#include "EditorWizardTest.moc"
