// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one owner of a "Generate Pages" run in the wizard: it knows whether a run is in progress,
// alone decides whether the Generate button can be pressed, and makes the commands that would
// change the open gallery or start another run unavailable while a run lasts. A run works on a
// snapshot taken at its start, so nothing the user does meanwhile changes what it generates.
// A publish is part of a run: it generates, then sends what Generate wrote.
#include <QAbstractButton>
#include <QObject>
#include <QPointer>

#include <string>
#include <vector>

#include "TypeDef.h"

namespace pictalon {

class TdmNonVis;

// What a run generates: the gallery file as just saved, its settings and its image list.
struct TRunSnapshot {
  std::string galleryPath;
  GallerySettings settings{};
  std::vector<std::string> images;
};

class TGenerateRun : public QObject {
  Q_OBJECT

public:
  // button starts a Generate, publish a Generate and publish.
  TGenerateRun(TdmNonVis& dm, QWidget& window, QAbstractButton& button, QAbstractButton& publish);

  // Commands that must not run while a run is in progress.
  void GuardCommands(std::vector<QWidget*> commands);
  bool Running() const { return running_; }
  // Whether the image list holds images: the button can be pressed exactly then, between runs.
  void SetImagesListed(bool listed);

  // Generates the snapshot's pages and opens the first one. Waits, without blocking the window,
  // while another run holds the image list; Cancel there ends it with nothing written. Does
  // nothing while a run is already in progress. Throws what the run could not handle (the
  // general error box shows it).
  void Run(const TRunSnapshot& snapshot);
  // Generates the snapshot's pages as Run does, without opening the first page, then publishes
  // what Generate wrote to the gallery's "Publish to:" address with a progress window.
  void Publish(const TRunSnapshot& snapshot);

signals:
  void finished();

private:
  struct TRunning;  // marks a run in progress for as long as it lives
  void SetRunning(bool running);
  void UpdateButton();
  // True when every page was generated.
  bool Generate(const TRunSnapshot& snapshot, bool openFirstPage);

  TdmNonVis& dm_;
  QWidget& window_;
  QAbstractButton& button_;
  QAbstractButton& publish_;
  std::vector<QPointer<QWidget>> commands_;
  bool running_ = false;
  bool listed_ = false;
};

}  // namespace pictalon
