// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "PublishRun.h"

#include <QApplication>
#include <QEventLoop>
#include <QLocale>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <mutex>
#include <thread>

#include "NonVis.h"

namespace pictalon {

namespace {

// Runs question on the window's thread and waits for its answer (the worker's side).
template <class T, class F>
T AskOnWindowThread(QWidget& window, F question) {
  T answer{};
  QMetaObject::invokeMethod(&window, [&] { answer = question(); }, Qt::BlockingQueuedConnection);
  return answer;
}

}  // namespace

void TPublishWindow::SetUpProgress(QProgressDialog& progress, const QString& where) {
  progress.setObjectName("publishProgress");
  progress.setWindowTitle(tr("Publishing"));
  progress.setLabelText(tr("Connecting to %1...").arg(where));
  progress.setCancelButtonText(tr("Cancel"));
  progress.setRange(0, 1000);
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(0);
  progress.setAutoClose(false);
  progress.setAutoReset(false);
  progress.setValue(0);
}

void TPublishWindow::ShowProgress(QProgressDialog& progress, const QString& where, const TPublishProgress& state) {
  const QLocale locale;
  progress.setLabelText(tr("Publishing to %1\n%2 of %3 files, %4 of %5")
                            .arg(where)
                            .arg(state.filesDone)
                            .arg(state.filesTotal)
                            .arg(locale.formattedDataSize(qint64(state.bytesDone)),
                                 locale.formattedDataSize(qint64(state.bytesTotal))));
  progress.setValue(state.bytesTotal ? int(state.bytesDone * 1000 / state.bytesTotal) : 0);
}

void TPublishWindow::Publish(TdmNonVis& dm, QWidget& window, const TPublishSnapshot& snapshot) {
  // Originals carry what the camera knew; web copies never do.
  if (const std::size_t gps = SitePicturesWithGps(snapshot.outputFolder, snapshot.files)) {
    if (!dm.Dialogs().ConfirmBox(&window, tr("%n of the photos to be published tell where they were taken (GPS "
                                             "position). Publish them all the same?", nullptr, int(gps))))
      return;
  }

  const QString where = QString::fromStdString(snapshot.address);
  QProgressDialog progress(&window);
  SetUpProgress(progress, where);

  std::mutex mutex;
  TPublishProgress shown;
  bool started = false;
  std::atomic<bool> cancel{false}, done{false};
  TPublishCallbacks callbacks;
  const auto refresh = [&] {
    if (progress.wasCanceled()) cancel = true;
    std::lock_guard<std::mutex> lock(mutex);
    if (started) ShowProgress(progress, where, shown);
  };
  callbacks.progress = [&](const TPublishProgress& p) {
    std::lock_guard<std::mutex> lock(mutex);
    shown = p;
    // What is to be sent shows at once, later figures at the next redraw.
    if (!started) QMetaObject::invokeMethod(&progress, refresh, Qt::QueuedConnection);
    started = true;
  };
  callbacks.cancelled = [&] { return cancel.load(); };
  callbacks.trustNewHost = [&](const std::string& host, const std::string& type, const std::string& fingerprint) {
    return AskOnWindowThread<bool>(window, [&] {
      return dm.Dialogs().ConfirmBox(
          &window, tr("The server %1 is not known yet. Its %2 key fingerprint is\n%3\n\nCompare it with the one "
                      "your web host gives. Trust this server and publish to it?")
                       .arg(QString::fromStdString(host), QString::fromStdString(type), QString::fromStdString(fingerprint)));
    });
  };
  callbacks.secret = [&](const std::string& prompt) {
    return AskOnWindowThread<std::optional<std::string>>(window, [&]() -> std::optional<std::string> {
      const std::optional<QString> answer = dm.Dialogs().AskSecret(&window, QString::fromStdString(prompt));
      if (!answer) return std::nullopt;
      return answer->toStdString();
    });
  };

  TPublishResult result;
  QEventLoop loop;
  std::thread worker([&] {
    result = PublishSite(snapshot, callbacks);
    done = true;
    QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
  });
  // Cancel reaches the job at once, not at the next redraw of the progress.
  QObject::connect(&progress, &QProgressDialog::canceled, [&] { cancel = true; });
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, refresh);
  timer.start(100);
  if (!done) loop.exec();
  worker.join();
  timer.stop();
  progress.reset();

  switch (result.outcome) {
    case TPublishOutcome::Published:
      dm.Dialogs().MessageBox(&window, tr("Published to %1: %2 files sent, %3 deleted.")
                                           .arg(where)
                                           .arg(result.filesSent)
                                           .arg(result.filesDeleted));
      break;
    case TPublishOutcome::Cancelled:
      dm.Dialogs().MessageBox(&window, tr("Publishing stopped. Every file on the server is whole; the next "
                                          "publish sends the rest."));
      break;
    case TPublishOutcome::Failed:
      dm.Dialogs().ErrorBox(&window, QString::fromStdString(result.message));
      break;
  }
}

}  // namespace pictalon
