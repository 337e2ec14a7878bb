// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window tests' program folder: the test program's own folder, laid out afresh for every
// test with the shipped data, so the program and the engine it loads agree on every folder.
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <string>

#include "Program.h"
#include "ScriptedDialogs.h"

namespace pictalon::test {

// The control of window named name: the windows keep their controls to themselves, so a test
// finds them as a screen reader or a test robot would, by name. A missing one ends the test run.
template <class T = QWidget>
T* Child(const QObject& window, const char* name) {
  T* child = window.findChild<T*>(name);
  if (!child) qFatal("%s has no %s", qPrintable(window.objectName()), name);
  return child;
}

// Lays out the program folder: Data and Templates copied from the sources, no user data, no
// output; removes what earlier tests left.
void ResetProgramFolder();

// The running program's folder + relative.
std::string InProgram(const std::string& relative);

// Writes a gallery file into the user data folder (name without folder).
std::string WriteGallery(const std::string& name, const GallerySettings& settings);
// The record of the gallery file at path (all zero when it cannot be read).
GallerySettings ReadBack(const std::string& path);
// A gallery with the defaults of a new one.
GallerySettings DefaultSettings();

// Which tabs the user sees, by page index ("-" for none).
QString VisibleTabs(TfrmSetup& w);
// The page whose tab is current (-1 for none).
int CurrentTab(TfrmSetup& w);
// Makes the tab of page current, as a click on it does.
void ClickTab(TfrmSetup& w, int page);

// The program, started as the main routine does, with a scripted dialog service.
struct TStartedProgram {
  explicit TStartedProgram(const std::string& argument = std::string(), bool show = true);
  TScriptedDialogs* dialogs;  // owned by the program's data module
  std::unique_ptr<TProgram> program;
  TfrmSetup& wizard() { return *program->frmSetup; }
};

// Answers the engine's own message boxes (real windows) for the life of the object, noting each
// in the dialog log as "Engine: text".
class TEngineBoxes {
public:
  explicit TEngineBoxes(TScriptedDialogs& dialogs);

private:
  QTimer watcher_;
};

}  // namespace pictalon::test
