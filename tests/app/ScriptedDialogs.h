// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A dialog service for window tests: answers every dialog from a script and records what the
// program asked, so no test waits for a person or opens a browser.
#include <QColor>
#include <QStringList>

#include <deque>
#include <optional>

#include "NonVis.h"

namespace pictalon::test {

class TScriptedDialogs : public TDialogService {
public:
  // What was shown, one entry per dialog: "Error: text", "Confirm: text", "Message: text",
  // "General: text", "Save: title", "Folder: start", "Open: title", "Picture", "Colour",
  // "Exec: title", "Show: title", "Document: path".
  QStringList log;

  // Answers, taken from the front; an empty queue answers as a cancel (or No).
  std::deque<QString> saveAnswers;
  std::deque<QString> folderAnswers;
  std::deque<QString> pictureAnswers;
  std::deque<QStringList> openAnswers;
  std::deque<QColor> colourAnswers;
  std::deque<bool> confirmAnswers;
  std::deque<QString> secretAnswers;
  bool openDocumentResult = true;
  // The last save and open dialogs' options.
  TFileDialogOptions lastSave;
  TFileDialogOptions lastOpen;

  QStringList OpenFiles(QWidget*, const TFileDialogOptions& options, bool) override;
  QString OpenPicture(QWidget*, const TFileDialogOptions&) override;
  QString SaveFile(QWidget*, const TFileDialogOptions& options) override;
  QString ChooseFolder(QWidget*, const QString& initialFolder) override;
  std::optional<QColor> ChooseColour(QWidget*, const QColor&) override;
  void ErrorBox(QWidget*, const QString& text) override { log << "Error: " + text; }
  bool ConfirmBox(QWidget*, const QString& text) override;
  // Logged as "Replace: text"; answered from confirmAnswers.
  bool ReplaceBox(QWidget*, const QString& text) override;
  // Logged as "Wait: text"; waits, handling events, until ready() or until cancelWait() says to
  // give up (then false).
  bool Wait(QWidget*, const QString& text, const std::function<bool()>& ready) override;
  std::function<bool()> cancelWait = [] { return false; };
  void MessageBox(QWidget*, const QString& text) override { log << "Message: " + text; }
  // Logged as "Secret: prompt"; answered from secretAnswers.
  std::optional<QString> AskSecret(QWidget*, const QString& prompt) override;
  void GeneralErrorBox(QWidget*, const QString& text) override { log << "General: " + text; }
  int Exec(QDialog& dialog) override;
  void Show(QWidget& window) override;
  bool OpenDocument(const QString& path) override;

  // The entries of the log that begin with prefix.
  QStringList Entries(const QString& prefix) const;
};

}  // namespace pictalon::test
