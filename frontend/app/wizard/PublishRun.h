// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Publishing in the desktop program: the job runs on a worker thread while a progress window
// shows files and bytes and offers Cancel; what the job must ask (an unknown host, a passphrase)
// and the privacy warning are asked here, on the window's thread.
#include <QCoreApplication>
#include <QProgressDialog>

#include "PublishJob.h"

class QWidget;

namespace pictalon {

class TdmNonVis;

class TPublishWindow {
  Q_DECLARE_TR_FUNCTIONS(TPublishWindow)

public:
  // Publishes the snapshot and tells the user how it ended. Returns when the job has ended.
  static void Publish(TdmNonVis& dm, QWidget& window, const TPublishSnapshot& snapshot);

  // The progress window (shown at once), and what it shows of a state of the job.
  static void SetUpProgress(QProgressDialog& progress, const QString& where);
  static void ShowProgress(QProgressDialog& progress, const QString& where, const TPublishProgress& state);
};

}  // namespace pictalon
