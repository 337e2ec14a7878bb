// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Publish in the wizard: generate, then the progress window, its Cancel, and a publish that
// completes, against a real OpenSSH server of the test's own.
#include <QLineEdit>
#include <QProgressDialog>
#include <QTest>
#include <QToolButton>

#include <filesystem>

#include "GalleryFile.h"
#include "Main.h"
#include "Platform.h"
#include "PublishJob.h"
#include "SshServer.h"
#include "TestSupport.h"
#include "WizardFixture.h"

namespace pictalon::test {
namespace {

namespace fs = std::filesystem;

class PublishWindowTest : public QObject {
  Q_OBJECT

private slots:
  void init() { ResetProgramFolder(); }

  void publishShowsProgressAndCanBeCancelled() {
    TempDir dir;
    TSshServer server(dir.path() + "ssh/");
    QVERIFY2(server.Ready(), server.Failure().c_str());
    TClientHome client(server.HomeFolder());

    for (int i = 0; i < 12; ++i)
      dir.write("photos/p" + std::to_string(10 + i) + ".jpg", MakeJpeg(40, 30) + std::string(2000000, char('a' + i)));
    GallerySettings s = DefaultSettings();
    s.ImageFolder.set(dir.path() + "photos");
    s.OutputFolder.set(InProgram("Output/Site"));
    TStartedProgram started(WriteGallery("A.pgs", s));
    TfrmSetup& w = started.wizard();
    const std::string www = dir.path() + "www";
    Child<QLineEdit>(w, "ebPublishTo")->setText(QString::fromStdString(server.Address(www)));
    started.dialogs->confirmAnswers = {true};  // trust the unknown server

    // Cancel as soon as the window shows what is to be sent.
    bool cancelled = false, disabledMeanwhile = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
      auto* progress = w.findChild<QProgressDialog*>("publishProgress");
      if (!progress || cancelled || !progress->labelText().contains("files")) return;
      disabledMeanwhile = !Child<QToolButton>(w, "btnPublish")->isEnabled() &&
                          !Child<QToolButton>(w, "btnGenerate")->isEnabled();
      progress->cancel();
      cancelled = true;
    });
    watch.start(10);
    emit Child<QToolButton>(w, "btnPublish")->clicked();
    watch.stop();
    QVERIFY(cancelled);
    QVERIFY(disabledMeanwhile);
    const QStringList trusted = started.dialogs->Entries("Confirm: The server 127.0.0.1:");
    QCOMPARE(trusted.size(), 1);
    QVERIFY(trusted[0].contains(QString::fromStdString(server.Fingerprint())));
    QCOMPARE(started.dialogs->Entries("Message: Publishing stopped.").size(), 1);
    QVERIFY(started.dialogs->Entries("Document: ").isEmpty());  // Publish does not open the page
    QVERIFY(!FileExists(www + "/gallery1.html"));                // no page before its pictures
    QVERIFY(Child<QToolButton>(w, "btnPublish")->isEnabled());

    emit Child<QToolButton>(w, "btnPublish")->clicked();
    QCOMPARE(started.dialogs->Entries("Message: Published to " + QString::fromStdString(server.Address(www))).size(), 1);
    QVERIFY(FileExists(www + "/gallery1.html"));
    QVERIFY(FileExists(www + "/gallimgs/p21.jpg"));
    TGalleryTail tail;
    QVERIFY(ReadGalleryFile(InProgram("Data/User/A.pgs"), s, tail));
    QCOMPARE(tail.PublishTo, server.Address(www));
  }
};

}  // namespace
}  // namespace pictalon::test

#include "PublishWindowTest.moc"
QTEST_MAIN(pictalon::test::PublishWindowTest)
