// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's windows in a Qt GUI host: the progress window during a run, its message boxes,
// and nothing left open afterwards.
#include <dlfcn.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QTimer>
#include <QtTest>

#include "EngineUi.h"
#include "GalleryFile.h"
#include "GenerationRun.h"
#include "Platform.h"
#include "TestSupport.h"
#include "WorkingFiles.h"

using namespace pictalon;

class EngineWindowTest : public QObject {
  Q_OBJECT

private:
  // Every window title, label text and bar value seen while the engine runs, and the texts of
  // message boxes, which are answered with OK.
  QStringList seen_;
  QTimer watcher_;

  void Watch() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (!w->isVisible()) continue;
      if (auto* box = qobject_cast<QMessageBox*>(w)) {
        seen_ << "box " + box->windowTitle() + ": " + box->text();
        box->accept();
        continue;
      }
      QString entry = "window " + w->windowTitle();
      for (QLabel* label : w->findChildren<QLabel*>()) entry += " | " + label->text();
      for (QProgressBar* bar : w->findChildren<QProgressBar*>())
        entry += QString(" | %1..%2 at %3").arg(bar->minimum()).arg(bar->maximum()).arg(bar->value());
      if (!seen_.contains(entry)) seen_ << entry;
    }
  }

  bool Run(const std::string& settingsPath) {
    seen_.clear();
    std::unique_ptr<TEngineUi> ui = MakeGuiEngineUi();
    return RunGeneration(settingsPath, *ui);
  }

private slots:
  void init() {
    connect(&watcher_, &QTimer::timeout, this, &EngineWindowTest::Watch, Qt::UniqueConnection);
    watcher_.start(0);
  }

  void progressWindowDuringARun() {
    test::TempDir dir;
    test::ProgramFolderOverride program(dir.path());
    dir.write("Data/pictalon.css", "body {\r\n}\r\n");
    dir.write("Data/gallerycell6.css", ".gallerycell {\r\n}\r\n");
    dir.write("Templates/PictBase.html", "<#gallery>");
    GallerySettings settings{};
    ApplyDefaultSettings(settings, dir.path());
    settings.ScalingMode = 2;
    settings.Rows.set(1);
    std::vector<std::string> images(7, "/p/a.jpg");
    std::string written;
    ForceDirectories(dir.path() + "Data/User");
    QVERIFY(WriteGalleryFile(dir.path() + "Data/User/G.pgs", settings, written));
    QVERIFY(WriteImageListFile(dir.path() + kImageListFileName, images));

    QVERIFY(Run(written));
    QVERIFY(seen_.contains("window Pictalon Generator | Generating web pages... | 0..100 at 3"));
    QVERIFY(seen_.contains("window Pictalon Generator | Generating web pages... | 0..100 at 6"));
    Watch();
    for (QWidget* w : QApplication::topLevelWidgets()) QVERIFY(!w->isVisible());

    std::vector<std::string> none;
    QVERIFY(WriteImageListFile(dir.path() + kImageListFileName, none));
    QVERIFY(!Run(written));
    QCOMPARE(seen_, QStringList{"box Pictalon Generator: Image List is empty"});
  }

  void messageBoxForUnreadableSettings() {
    QVERIFY(!Run("/no/such/gallery.pgs"));
    QCOMPARE(seen_, QStringList{"box Pictalon Generator: Error reading settings"});
  }

  // The library itself, loaded as the desktop program loads it, finds its windows module and
  // shows its message as a window in a host that runs Qt.
  void realLibraryShowsItsWindowsInAQtHost() {
    void* library = ::dlopen(ENGINE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    QVERIFY2(library, ::dlerror());
    auto run = reinterpret_cast<bool (*)(const char*)>(::dlsym(library, "RunPictalonGenerator"));
    QVERIFY(run);
    seen_.clear();
    QVERIFY(!run("/no/such/gallery.pgs"));
    ::dlclose(library);
    QCOMPARE(seen_, QStringList{"box Pictalon Generator: Error reading settings"});
  }
};

QTEST_MAIN(EngineWindowTest)
#include "EngineWindowTest.moc"
