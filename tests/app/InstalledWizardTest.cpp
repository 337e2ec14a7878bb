// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program in an installed copy: its program folder holds the installed marker and is
// read-only, so the user's galleries, details, pages and image list go to the user's own folder
// ($XDG_DATA_HOME/pictalon/), while the shipped data is still found beside the program.
#include <QApplication>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <map>

#include "GalleryFile.h"
#include "GalleryOptions.h"
#include "Main.h"
#include "Platform.h"
#include "SampleGallery.h"
#include "TestSupport.h"
#include "WizardFixture.h"
#include "WorkingFiles.h"

namespace fs = std::filesystem;
using namespace pictalon;
using namespace pictalon::test;

namespace {

// Every entry below root with its size and modification time.
std::map<std::string, std::string> Snapshot(const std::string& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::error_code ec;
    auto size = entry.is_regular_file() ? entry.file_size(ec) : 0;
    files[entry.path().string()] =
        std::to_string(size) + "/" + std::to_string(entry.last_write_time(ec).time_since_epoch().count());
  }
  return files;
}

void SetWritable(const std::string& root, bool writable) {
  const auto write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  auto options = writable ? fs::perm_options::add : fs::perm_options::remove;
  fs::permissions(root, writable ? fs::perms::owner_write : write, options);
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (!entry.is_symlink()) fs::permissions(entry.path(), writable ? fs::perms::owner_write : write, options);
}

}  // namespace

class InstalledWizardTest : public QObject {
  Q_OBJECT

  TempDir home;
  std::string program;
  std::map<std::string, std::string> before;

  std::string userFiles() const { return home.path() + "data/pictalon/"; }

private slots:
  void initTestCase() {
    program = GetProgramFolder();
    SetWritable(program, true);
    ResetProgramFolder();
    std::ofstream(program + kInstalledLayoutMarker) << "installed\n";
    SetWritable(program, false);
    OverrideProgramFolder(program);  // decides the layout afresh
    qputenv("HOME", QByteArray::fromStdString(home.path()));
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(home.path() + "data"));
    before = Snapshot(program);
  }

  void cleanupTestCase() {
    std::map<std::string, std::string> after = Snapshot(program);
    SetWritable(program, true);  // first, so that the next build can replace the program
    QCOMPARE(after, before);     // nothing was written beside the program
  }

  void firstStartWritesTheSampleIntoTheUsersFolder() {
    QCOMPARE(GetLayout(), TLayout::Installed);
    QVERIFY(ProvideSampleGallery());
    QVERIFY(FileExists(userFiles() + "User/Sample.pgs"));
    QVERIFY(FileExists(userFiles() + "User/Sample.dat"));
    TStartedProgram started;
    QVERIFY(!started.program->Terminated());  // the shipped cell styles and templates were found
    QCOMPARE(Child<QComboBox>(started.wizard(), "cbFiles")->count(), 1);
    QCOMPARE(Child<QComboBox>(started.wizard(), "cbFiles")->itemText(0), QString("Sample.pgs"));
  }

  void generateWritesPagesAndTheImageListOnlyThere() {
    TStartedProgram started(userFiles() + "User/Sample.pgs");
    TfrmSetup& w = started.wizard();
    QVERIFY(Child<QToolButton>(w, "btnGenerate")->isEnabled());
    {
      TEngineBoxes engineBoxes(*started.dialogs);  // none is expected: the log says so
      w.btnGenerateClick();
    }
    QString firstPage = QString::fromStdString(userFiles() + "Output/gallery1.html");
    QCOMPARE(started.dialogs->log, QStringList("Document: " + firstPage));
    QVERIFY(FileExists(firstPage.toStdString()));
    QCOMPARE(int(ListFilesWithExtension(userFiles() + "Output/gallimgs", ".jpg").size()), 8);
    QVERIFY(test::ReadFile(firstPage.toStdString()).find("Sunset over the Hills") != std::string::npos);
    QVERIFY(!FileExists(userFiles() + kImageListFileName));
  }

  void newGalleriesAndTheirDetailsGoToTheUsersFolder() {
    TStartedProgram started(userFiles() + "User/Sample.pgs");
    TfrmSetup& w = started.wizard();
    started.dialogs->saveAnswers.push_back(QString::fromStdString(userFiles() + "User/Copy.pgs"));
    w.btnSaveGallAsClick();
    QCOMPARE(started.dialogs->lastSave.folder, QString::fromStdString(userFiles() + "User/"));
    QVERIFY(FileExists(userFiles() + "User/Copy.pgs"));
    QVERIFY(FileExists(userFiles() + "User/Copy.dat"));  // the details went with it

    started.dialogs->saveAnswers.push_back(QString::fromStdString(userFiles() + "User/Fresh.pgs"));
    w.btnNewClick();
    GallerySettings fresh{};
    QVERIFY(ReadGalleryFile(userFiles() + "User/Fresh.pgs", fresh));
    QCOMPARE(fresh.OutputFolder.get(), userFiles() + "Output/");
    QCOMPARE(fresh.CellStyleSheet.get(), program + "Data/gallerycell6.css");
  }
};

#include "InstalledWizardTest.moc"
QTEST_MAIN(InstalledWizardTest)
