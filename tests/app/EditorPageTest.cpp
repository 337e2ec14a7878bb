// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The template and style sheet editor page: its commands, the colour box, the status pane, the
// highlighting and files of any bytes, with every dialog answered by a script.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "EditorPage.h"
#include "FakeWizard.h"
#include "NonVis.h"
#include "ScriptedDialogs.h"
#include "Platform.h"
#include "SynEdit.h"
#include "TestSupport.h"
#include "WizardHost.h"

using namespace pictalon;

namespace {

const char* const kBaseTemplate = "<html>\r\n<body>\r\n</body>\r\n</html>\r\n";
const char* const kCellSheet = ".gallerycell {\r\n  color: #000000;\r\n}\r\n";

}  // namespace

class EditorPageTest : public QObject {
  Q_OBJECT

  std::unique_ptr<test::TempDir> dir_;
  std::unique_ptr<test::ProgramFolderOverride> program_;
  std::unique_ptr<TdmNonVis> dm_;
  test::TScriptedDialogs* dialogs_ = nullptr;
  std::unique_ptr<TFakeWizard> wizard_;
  std::unique_ptr<TEditorPage> page_;

  TSynEdit& Edit() { return page_->Editor(); }
  QByteArray Bytes() { return QByteArray::fromStdString(Edit().Bytes()); }
  // The texts of the dialogs of one kind shown so far ("Confirm: ", "General: ", "Message: ").
  QStringList Asked(const QString& kind) {
    QStringList texts = dialogs_->Entries(kind);
    for (QString& text : texts) text.remove(0, kind.size());
    return texts;
  }
  QString Status() { return page_->findChild<QLabel*>("EditorStatus")->text(); }
  QLineEdit* ColourBox() { return page_->findChild<QLineEdit*>("ebHTMLColor"); }
  void Click(const char* button) { page_->findChild<QToolButton*>(button)->click(); }
  std::string Data(const std::string& name) { return dir_->path() + "Data/" + name; }
  std::string BasePath() { return dir_->path() + "Templates/PictBase.html"; }
  // Opens a file through "Other HTML files...".
  void OpenOther(const std::string& path) {
    dialogs_->openAnswers.push_back({QString::fromStdString(path)});
    dm_->OtherHTMLfiles1->trigger();
  }
  void Type(const QString& text) {
    QTest::keyClicks(&Edit(), text);
    QCoreApplication::processEvents();
  }

private slots:
  void init() {
    dir_ = std::make_unique<test::TempDir>();
    program_ = std::make_unique<test::ProgramFolderOverride>(dir_->path());
    dir_->write("Templates/PictBase.html", kBaseTemplate);
    dir_->write("Data/gallerycell6.css", kCellSheet);
    dm_ = std::make_unique<TdmNonVis>();
    auto dialogs = std::make_unique<test::TScriptedDialogs>();
    dialogs_ = dialogs.get();
    dm_->SetDialogService(std::move(dialogs));
    wizard_ = std::make_unique<TFakeWizard>();
    wizard_->galleryFile = dir_->path() + "Data/User/Holiday.pgs";
    wizard_->cellStyleSheet = Data("gallerycell6.css");
    page_ = std::make_unique<TEditorPage>(*dm_, *wizard_);
    page_->resize(600, 400);
  }

  void cleanup() {
    OverrideLayout(std::nullopt);
    page_.reset();
    wizard_.reset();
    dm_.reset();
    program_.reset();
    dir_.reset();
  }

  void toolbarInOrder() {
    QStringList names;
    auto* toolbar = page_->findChild<QToolBar*>("RzToolbar1");
    QCOMPARE(toolbar->height(), 29);
    for (QAction* action : toolbar->actions())
      names << (action->isSeparator() ? QString("|") : toolbar->widgetForAction(action)->objectName());
    QCOMPARE(names, QStringList({"btnNew1", "btnOpen", "btnSave", "|", "btnCut", "btnCopy",
                                 "btnPaste", "|", "btnUndo", "btnRedo", "|", "EditorStatus", "|",
                                 "ebHTMLColor", "btnHTMLColor", "|", "btnExit"}));
    QCOMPARE(page_->findChild<QToolButton*>("btnOpen")->menu(), dm_->pmOpen);
    QCOMPARE(ColourBox()->text(), QString("#FFFFFF"));
    QCOMPARE(Status(), QString());
  }

  void editTemplateEntersTheEditor() {
    wizard_->active = kGalleryPage;
    wizard_->wizardTabs = true;
    page_->btnEditClick();
    QCOMPARE(wizard_->active, int(kEditorPage));
    QVERIFY(!wizard_->wizardTabs);
    QVERIFY(wizard_->editorTab);
    QCOMPARE(wizard_->returnPage, int(kGalleryPage));
    QCOMPARE(wizard_->status, QString("<pictbase.html>"));
    QCOMPARE(page_->EditorFile(), BasePath());
    QCOMPARE(Bytes(), QByteArray(kBaseTemplate));
    QVERIFY(page_->Highlighter() == THighlighter::Html);
  }

  void saveOnBaseTemplateRefusesItsPath() {
    page_->btnEditClick();
    Type("x");
    dialogs_->saveAnswers = {QString::fromStdString(dir_->path() + "Templates/pictbase.html"),
                             QString::fromStdString(Data("mine.html"))};
    Click("btnSave");
    QCOMPARE(dialogs_->Entries("Save: ").size(), 2);
    const TFileDialogOptions& asked = dialogs_->lastSave;
    QCOMPARE(asked.defaultSuffix, QString("html"));
    // Where the template list finds it.
    QCOMPARE(asked.folder, QString::fromStdString(dir_->path() + "Templates/"));
    QCOMPARE(asked.filter, QString("HTML Document (*.htm *.html)"));
    QCOMPARE(Asked("Message: "), QStringList("You cannot overwrite pictbase.html.\nYou should save "
                                             "your changes with a\ndifferent filename."));
    QCOMPARE(test::ReadFile(BasePath()), std::string(kBaseTemplate));
    QCOMPARE(test::ReadFile(Data("mine.html")), "x" + std::string(kBaseTemplate));
    // Save As wrote a copy: the editor still edits the base template, unsaved.
    QCOMPARE(page_->EditorFile(), BasePath());
    QCOMPARE(wizard_->status, QString("<pictbase.html>"));
    QCOMPARE(Status(), QString("Modified"));
    QVERIFY(Asked("General: ").isEmpty());
  }

  void saveOnNewDocumentKeepsUntitled() {
    Click("btnNew1");
    QVERIFY(Asked("Confirm: ").isEmpty());
    QCOMPARE(page_->EditorFile(), std::string(kUntitled));
    QCOMPARE(wizard_->status, QString(kUntitled));
    Type("body {}");
    dialogs_->saveAnswers = {QString::fromStdString(Data("new.html"))};
    Click("btnSave");
    QCOMPARE(test::ReadFile(Data("new.html")), std::string("body {}"));
    QCOMPARE(page_->EditorFile(), std::string(kUntitled));
    QCOMPARE(Status(), QString("Modified"));
    Click("btnSave");  // the dialog again; cancelled
    QCOMPARE(dialogs_->Entries("Save: ").size(), 2);
    QCOMPARE(Status(), QString("Modified"));
  }

  void saveInPlaceShowsSaved() {
    page_->btnEditCellClick();
    QCOMPARE(wizard_->status, QString("<gallerycell6.css>"));
    QVERIFY(page_->Highlighter() == THighlighter::Css);
    QCOMPARE(Status(), QString());
    Type("p");
    QCOMPARE(Status(), QString("Modified"));
    Click("btnSave");
    QVERIFY(dialogs_->Entries("Save: ").isEmpty());
    QCOMPARE(test::ReadFile(Data("gallerycell6.css")), "p" + std::string(kCellSheet));
    QCOMPARE(Status(), QString("Saved"));
    Type("q");
    QCOMPARE(Status(), QString("Modified"));
    QTest::keyClick(&Edit(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(test::ReadFile(Data("gallerycell6.css")), "pq" + std::string(kCellSheet));
    QCOMPARE(Status(), QString("Saved"));
  }

  void openDialogs() {
    // Cell styles start in the data folder; other HTML files where the dialog was last left.
    dialogs_->openAnswers = {{QString::fromStdString(Data("gallerycell6.css"))}, {}};
    dm_->PictalonCellStyles1->trigger();
    const TFileDialogOptions& asked = dialogs_->lastOpen;
    QCOMPARE(asked.title, QString("Open HTML File"));
    QCOMPARE(asked.folder, QString::fromStdString(dir_->path() + "Data/"));
    QCOMPARE(asked.filter, QString("Cascading Stylesheets (*.css)"));
    QCOMPARE(wizard_->status, QString("<gallerycell6.css>"));
    QVERIFY(page_->Highlighter() == THighlighter::Css);
    dm_->OtherHTMLfiles1->trigger();  // cancelled: nothing changes
    QCOMPARE(asked.title, QString("Open HTML File"));
    QCOMPARE(asked.folder, QString::fromStdString(dir_->path() + "Data/"));
    QCOMPARE(asked.filter, QString("HTML Files (*.html *.htm)"));
    QCOMPARE(page_->EditorFile(), Data("gallerycell6.css"));
    QVERIFY(page_->Highlighter() == THighlighter::Css);
  }

  void editCellWithoutItsSheetDoesNothing() {
    wizard_->active = kGalleryPage;
    wizard_->cellStyleSheet = Data("gallerycell9.css");
    page_->btnEditCellClick();
    QCOMPARE(wizard_->active, int(kGalleryPage));
    QVERIFY(!wizard_->editorTab);
    QCOMPARE(wizard_->status, QString("  "));
  }

  void exitGoesBackToTheReturnPage_data() {
    QTest::addColumn<int>("from");
    QTest::newRow("Start page") << int(kStartPage);
    QTest::newRow("Gallery Images") << int(kGalleryPage);
  }
  void exitGoesBackToTheReturnPage() {
    QFETCH(int, from);
    wizard_->active = from;
    wizard_->wizardTabs = from != kStartPage;
    page_->btnEditClick();
    // Choosing the base template again inside the editor keeps the way back.
    dm_->PictalonBaseTemplate1->trigger();
    QCOMPARE(wizard_->returnPage, from);
    Click("btnExit");
    QCOMPARE(wizard_->active, from);
    QVERIFY(!wizard_->editorTab);
    QCOMPARE(wizard_->wizardTabs, from != kStartPage);
    if (from != kStartPage) QVERIFY(wizard_->back && wizard_->next);
    QCOMPARE(wizard_->status, QString("Holiday.pgs"));
    QVERIFY(Asked("Confirm: ").isEmpty());
  }

  void exitAsksAboutUnsavedText() {
    page_->btnEditCellClick();
    Type("p");
    dialogs_->confirmAnswers = {true};
    Click("btnExit");
    QCOMPARE(Asked("Confirm: "),
             QStringList("<gallerycell6.css> has changed.\nDo you want to save the changes ?"));
    QCOMPARE(test::ReadFile(Data("gallerycell6.css")), "p" + std::string(kCellSheet));
    QVERIFY(!wizard_->editorTab);
  }

  void askSaveEditorChangesOnlyForModifiedText() {
    page_->AskSaveEditorChanges();  // empty, unmodified
    page_->btnEditClick();
    page_->AskSaveEditorChanges();  // loaded, unmodified
    QVERIFY(Asked("Confirm: ").isEmpty());
    Click("btnNew1");
    Type("a");
    Edit().SendScintilla(QsciScintilla::SCI_DELETEBACK);  // modified, but empty
    page_->AskSaveEditorChanges();
    QVERIFY(Asked("Confirm: ").isEmpty());
    Type("b");
    page_->AskSaveEditorChanges();  // No: the text stays
    QCOMPARE(Asked("Confirm: ").size(), 1);
    QCOMPARE(Bytes(), QByteArray("b"));
  }

  void newAsksOnlyWhenModified() {
    page_->btnEditClick();
    Click("btnNew1");
    QVERIFY(Asked("Confirm: ").isEmpty());
    Type("abc");
    Click("btnNew1");  // No: discarded
    QCOMPARE(Asked("Confirm: "),
             QStringList("The current file has been modifed.\nDo you want to save your changes ?"));
    QVERIFY(Edit().IsEmpty());
    QCOMPARE(page_->EditorFile(), std::string(kUntitled));
    QCOMPARE(Status(), QString());
    QVERIFY(page_->Highlighter() == THighlighter::Html);
  }

  void ctrlTakesSelectedColourShiftAloneInsertsIt() {
    dir_->write("Data/c.html", "a #00ff80 b");
    OpenOther(Data("c.html"));
    Edit().setSelection(0, 2, 0, 9);
    QTest::keyPress(&Edit(), Qt::Key_Control);
    QTest::keyRelease(&Edit(), Qt::Key_Control);
    QCOMPARE(ColourBox()->text(), QString("#00ff80"));
    QCOMPARE(ColourBox()->palette().color(QPalette::Base), QColor(0, 255, 128));
    QCOMPARE(ColourBox()->palette().color(QPalette::Text), QColor(255, 0, 127));

    Edit().setSelection(0, 10, 0, 11);  // "b"
    QTest::keyPress(&Edit(), Qt::Key_Shift);
    QTest::keyRelease(&Edit(), Qt::Key_Shift);
    QCOMPARE(Bytes(), QByteArray("a #00ff80 #00ff80"));
    Edit().undo();  // one step takes it all back
    QCOMPARE(Bytes(), QByteArray("a #00ff80 b"));

    // Shift held for capitals types as usual.
    Edit().setCursorPosition(0, 11);
    QTest::keyPress(&Edit(), Qt::Key_Shift);
    QTest::keyClick(&Edit(), 'H', Qt::ShiftModifier);
    QTest::keyRelease(&Edit(), Qt::Key_Shift, Qt::ShiftModifier);
    Type("ello");
    QCOMPARE(Bytes(), QByteArray("a #00ff80 bHello"));
    QVERIFY(Asked("General: ").isEmpty());
  }

  void colourBoxIgnoresOtherSelections_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("6 characters") << "#00ff8";
    QTest::newRow("8 characters") << "#00ff80a";
    QTest::newRow("no hash") << "x00ff80";
  }
  void colourBoxIgnoresOtherSelections() {
    QFETCH(QString, text);
    dir_->write("Data/c.html", text.toStdString());
    OpenOther(Data("c.html"));
    Edit().selectAll();
    QTest::keyClick(&Edit(), Qt::Key_Control);
    QCOMPARE(ColourBox()->text(), QString("#FFFFFF"));
    QCOMPARE(ColourBox()->palette().color(QPalette::Base), QColor(Qt::white));
  }

  void colourTextThatIsNoColour() {
    dir_->write("Data/c.html", "#zzzzzz");
    OpenOther(Data("c.html"));
    Edit().selectAll();
    QTest::keyClick(&Edit(), Qt::Key_Control);
    QCOMPARE(ColourBox()->text(), QString("#zzzzzz"));
    QCOMPARE(ColourBox()->palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(Asked("General: "), QStringList("'#zzzzzz' is not a valid colour value."));
  }

  void colourDialogSetsTheBox() {
    dialogs_->colourAnswers = {QColor(0x12, 0xab, 0x40)};
    Type("x");
    Click("btnHTMLColor");
    QCOMPARE(ColourBox()->text(), QString("#12AB40"));
    QCOMPARE(ColourBox()->palette().color(QPalette::Text), QColor(0xed, 0x54, 0xbf));
    QCOMPARE(Bytes(), QByteArray("x"));  // the text is not touched
    Click("btnHTMLColor");                        // cancelled
    QCOMPARE(ColourBox()->text(), QString("#12AB40"));
    QTest::mouseDClick(ColourBox(), Qt::LeftButton);  // the box opens the dialog too
    QCOMPARE(dialogs_->Entries("Colour").size(), 3);
  }

  void highlightColours_data() {
    QTest::addColumn<bool>("css");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("token");
    QTest::addColumn<int>("colour");  // #RRGGBB
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    const QString html = "<p class=\"x\">Hi &amp; <!-- c --><zz></p>";
    QTest::newRow("html tag") << false << html << "p " << 0xFF0000 << false << false;
    QTest::newRow("html attribute") << false << html << "class" << 0x0000FF << false << false;
    QTest::newRow("html value") << false << html << "\"x\"" << 0x0000A0 << false << false;
    QTest::newRow("html text") << false << html << "Hi" << 0x008000 << true << false;
    QTest::newRow("html entity") << false << html << "&amp;" << 0x800000 << false << false;
    QTest::newRow("html comment") << false << html << "<!--" << 0x000080 << true << false;
    QTest::newRow("html unknown tag") << false << html << "zz" << 0x000000 << false << false;
    const QString css = "/* c */ p { color: 12px; content: \"s\"; }";
    QTest::newRow("css comment") << true << css << "/*" << 0x000080 << true << true;
    QTest::newRow("css property") << true << css << "color" << 0xFF0000 << false << false;
    QTest::newRow("css symbol") << true << css << "{" << 0xFF00FF << true << false;
    QTest::newRow("css string") << true << css << "\"s\"" << 0x008000 << true << false;
    QTest::newRow("css selector") << true << css << "p " << 0x000000 << false << false;
  }
  void highlightColours() {
    QFETCH(bool, css);
    QFETCH(QString, text);
    QFETCH(QString, token);
    QFETCH(int, colour);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    std::string path = Data(css ? "h.css" : "h.html");
    dir_->write(css ? "Data/h.css" : "Data/h.html", text.toStdString());
    dialogs_->openAnswers.push_back({QString::fromStdString(path)});
    (css ? dm_->PictalonCellStyles1 : dm_->OtherHTMLfiles1)->trigger();
    TSynEdit& edit = Edit();
    edit.SendScintilla(QsciScintilla::SCI_COLOURISE, 0UL, -1L);
    unsigned long at = text.indexOf(token);
    int style = edit.SendScintilla(QsciScintilla::SCI_GETSTYLEAT, at);
    long bgr = edit.SendScintilla(QsciScintilla::SCI_STYLEGETFORE, static_cast<unsigned long>(style));
    int rgb = int((bgr & 0xFF) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 0xFF));
    QCOMPARE(QString::number(rgb, 16), QString::number(colour, 16));
    // QScintilla hands Scintilla the font's own weight, negated.
    long weight = edit.SendScintilla(QsciScintilla::SCI_STYLEGETWEIGHT, static_cast<unsigned long>(style));
    QCOMPARE(std::abs(weight) >= QFont::DemiBold, bold);
    QCOMPARE(edit.SendScintilla(QsciScintilla::SCI_STYLEGETITALIC, static_cast<unsigned long>(style)) != 0, italic);
    long back = edit.SendScintilla(QsciScintilla::SCI_STYLEGETBACK, static_cast<unsigned long>(style));
    QCOMPARE(back, 0xFFFFFFL);
  }

  // Whatever bytes a file holds come back unchanged when it is saved again.
  void filesOfAnyBytesSurviveASave_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("NUL") << QByteArray("a\0b\r\nc", 6);
    QTest::newRow("invalid UTF-8") << QByteArray("<p>\xff\xfe\xc3</p>\r\n\xe2\x82");
    QTest::newRow("CR line ends") << QByteArray("one\rtwo\r\rthree");
    QTest::newRow("UTF-8") << QByteArray("<p>caf\xc3\xa9</p>\n");
    QTest::newRow("10 MB single line") << QByteArray(10 * 1024 * 1024, 'x');
  }
  void filesOfAnyBytesSurviveASave() {
    QFETCH(QByteArray, bytes);
    std::string original(bytes.constData(), bytes.size());
    dir_->write("Data/any.html", original);
    OpenOther(Data("any.html"));
    QCOMPARE(Edit().Bytes().size(), original.size());
    Click("btnSave");
    QVERIFY(test::ReadFile(Data("any.html")) == original);
    // An edit that does not scroll: a caret at the end of a 10 MB line would lay it all out.
    Edit().SendScintilla(QsciScintilla::SCI_INSERTTEXT, 0UL, "Z");
    Click("btnSave");
    QVERIFY(test::ReadFile(Data("any.html")) == "Z" + original);
    QVERIFY(Asked("General: ").isEmpty());
  }

  void missingBaseTemplateChangesNothing() {
    page_->btnEditCellClick();
    ::unlink(BasePath().c_str());
    dm_->PictalonBaseTemplate1->trigger();
    QCOMPARE(Asked("General: ").size(), 1);
    QVERIFY(Asked("General: ")[0].startsWith("Cannot open file"));
    QCOMPARE(page_->EditorFile(), Data("gallerycell6.css"));
    QCOMPARE(wizard_->status, QString("<gallerycell6.css>"));
    QVERIFY(page_->Highlighter() == THighlighter::Css);

    // From the Start page the wizard stays where it was.
    Click("btnExit");
    page_->findChild<QObject*>("EditorPage");
    dialogs_->log.clear();
    dm_->PictalonBaseTemplate1->trigger();
    QCOMPARE(Asked("General: ").size(), 1);
    QCOMPARE(wizard_->active, int(kStartPage));
    QVERIFY(!wizard_->editorTab);
  }

  void unreadableFileChangesNothing() {
    page_->btnEditClick();
    dialogs_->openAnswers.push_back({QString::fromStdString(dir_->path() + "Data")});  // a folder
    dm_->OtherHTMLfiles1->trigger();
    QCOMPARE(Asked("General: ").size(), 1);
    QCOMPARE(page_->EditorFile(), BasePath());
    QCOMPARE(wizard_->status, QString("<pictbase.html>"));
    QCOMPARE(Bytes(), QByteArray(kBaseTemplate));
  }

  void writeFailuresLeaveTheFile_data() {
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("read-only file") << true;
    QTest::newRow("failing write") << false;
  }
  void writeFailuresLeaveTheFile() {
    QFETCH(bool, readOnly);
    page_->btnEditCellClick();
    Type("p");
    if (readOnly)
      ::chmod(Data("gallerycell6.css").c_str(), 0444);
    else
      SetWriteFaultHook([](const std::string&, std::size_t) { return false; });
    Click("btnSave");
    SetWriteFaultHook({});
    QCOMPARE(Asked("General: ").size(), 1);
    QVERIFY(Asked("General: ")[0].startsWith("Cannot write file"));
    QCOMPARE(test::ReadFile(Data("gallerycell6.css")), std::string(kCellSheet));
    QCOMPARE(Status(), QString("Modified"));
    QCOMPARE(wizard_->status, QString("<gallerycell6.css>"));
    // Exit asks, the save fails again: the editor stays open with its text.
    dialogs_->confirmAnswers = {true};
    if (!readOnly) SetWriteFaultHook([](const std::string&, std::size_t) { return false; });
    Click("btnExit");
    SetWriteFaultHook({});
    QCOMPARE(Asked("General: ").size(), 2);
    QVERIFY(wizard_->editorTab);
    QCOMPARE(Bytes(), "p" + QByteArray(kCellSheet));
  }

  // The editor writes through a link as every other writer does: the link stays.
  void saveThroughALinkKeepsTheLink() {
    std::string target = dir_->write("synced/mine.css", kCellSheet);
    std::string link = dir_->path() + "Data/mine.css";
    std::filesystem::create_symlink(target, link);
    dialogs_->openAnswers.push_back({QString::fromStdString(link)});
    dm_->PictalonCellStyles1->trigger();
    Type("p");
    Click("btnSave");
    QVERIFY(Asked("General: ").isEmpty());
    QVERIFY(std::filesystem::is_symlink(link));
    QCOMPARE(test::ReadFile(target), "p" + std::string(kCellSheet));
  }

  // An installed copy: the shipped files are read-only and shared, so the editor opens and saves
  // in the user's own folders, and a shipped sheet's changes become the user's copy of it.
  void installedCopySavesTheUsersOwnCopy() {
    const std::string own = dir_->path() + "xdg/pictalon/";
    QByteArray xdgBefore = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir_->path() + "xdg"));
    OverrideLayout(TLayout::Installed);
    ::chmod(Data("gallerycell6.css").c_str(), 0444);

    page_->btnEditCellClick();
    Type("p");
    Click("btnSave");
    QVERIFY(Asked("General: ").isEmpty());
    QCOMPARE(test::ReadFile(Data("gallerycell6.css")), std::string(kCellSheet));
    QCOMPARE(test::ReadFile(own + "Data/gallerycell6.css"), "p" + std::string(kCellSheet));
    QCOMPARE(page_->EditorFile(), own + "Data/gallerycell6.css");
    QCOMPARE(wizard_->status, QString::fromStdString("<gallerycell6.css> saved as your own copy in " + own + "Data/"));
    QCOMPARE(Status(), QString("Saved"));
    // From now on the user's copy is the one edited and saved.
    Type("q");
    Click("btnSave");
    QCOMPARE(test::ReadFile(own + "Data/gallerycell6.css"), "pq" + std::string(kCellSheet));

    // Opening and Save As start in the user's folders.
    dm_->PictalonCellStyles1->trigger();  // cancelled
    QCOMPARE(dialogs_->lastOpen.folder, QString::fromStdString(own + "Data/"));
    page_->btnEditClick();
    dialogs_->saveAnswers = {QString::fromStdString(own + "Templates/Mine.html")};
    Click("btnSave");
    QCOMPARE(dialogs_->lastSave.folder, QString::fromStdString(own + "Templates/"));
    QCOMPARE(test::ReadFile(own + "Templates/Mine.html"), std::string(kBaseTemplate));
    dm_->OtherHTMLfiles1->trigger();  // cancelled
    QCOMPARE(dialogs_->lastOpen.folder, QString::fromStdString(own + "Templates/"));

    OverrideLayout(std::nullopt);
    if (xdgBefore.isNull())
      qunsetenv("XDG_DATA_HOME");
    else
      qputenv("XDG_DATA_HOME", xdgBefore);
  }

  void editingAbilities() {
    Click("btnNew1");
    // Trailing blanks of a line go once the caret leaves it; the new line is indented.
    Type("  abc   ");
    QTest::keyClick(&Edit(), Qt::Key_Return);
    QCoreApplication::processEvents();
    QCOMPARE(Bytes(), QByteArray("  abc\r\n  "));
    Edit().undo();  // one step gives the line back as typed
    QCOMPARE(Bytes(), QByteArray("  abc   "));
    // Smart tab: under the next word of the line above; tabs become blanks.
    Click("btnNew1");
    Type("int  value");
    QTest::keyClick(&Edit(), Qt::Key_Return);
    Edit().SendScintilla(QsciScintilla::SCI_HOME);
    QTest::keyClick(&Edit(), Qt::Key_Tab);
    Type("x");
    QCOMPARE(Bytes(), QByteArray("int  value\r\n     x"));
    QTest::keyClick(&Edit(), Qt::Key_Tab);
    QVERIFY(Edit().Bytes().find('\t') == std::string::npos);
    // Lines loaded with trailing blanks keep them while not edited.
    dir_->write("Data/t.html", "a  \r\nb  \r\n");
    OpenOther(Data("t.html"));
    QTest::keyClick(&Edit(), Qt::Key_Down);
    QCoreApplication::processEvents();
    QCOMPARE(Bytes(), QByteArray("a  \r\nb  \r\n"));
  }
};

QTEST_MAIN(EditorPageTest)
#include "EditorPageTest.moc"
