// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedDialogs.h"

#include <QCoreApplication>
#include <QDialog>
#include <QThread>

namespace pictalon::test {

namespace {

template <class T>
T Take(std::deque<T>& answers) {
  if (answers.empty()) return T();
  T answer = answers.front();
  answers.pop_front();
  return answer;
}

}  // namespace

QStringList TScriptedDialogs::OpenFiles(QWidget*, const TFileDialogOptions& options, bool) {
  log << "Open: " + options.title;
  lastOpen = options;
  return Take(openAnswers);
}

QString TScriptedDialogs::OpenPicture(QWidget*, const TFileDialogOptions&) {
  log << "Picture";
  return Take(pictureAnswers);
}

QString TScriptedDialogs::SaveFile(QWidget*, const TFileDialogOptions& options) {
  log << "Save: " + options.title;
  lastSave = options;
  return Take(saveAnswers);
}

QString TScriptedDialogs::ChooseFolder(QWidget*, const QString& initialFolder) {
  log << "Folder: " + initialFolder;
  QString folder = Take(folderAnswers);
  if (!folder.isEmpty()) lastFolder = folder;
  return folder;
}

std::optional<QColor> TScriptedDialogs::ChooseColour(QWidget*, const QColor&) {
  log << "Colour";
  if (colourAnswers.empty()) return std::nullopt;
  return Take(colourAnswers);
}

bool TScriptedDialogs::ConfirmBox(QWidget*, const QString& text) {
  log << "Confirm: " + text;
  return Take(confirmAnswers);
}

std::optional<QString> TScriptedDialogs::AskSecret(QWidget*, const QString& prompt) {
  log << "Secret: " + prompt;
  if (secretAnswers.empty()) return std::nullopt;
  QString answer = secretAnswers.front();
  secretAnswers.pop_front();
  return answer;
}

bool TScriptedDialogs::ReplaceBox(QWidget*, const QString& text) {
  log << "Replace: " + text;
  return Take(confirmAnswers);
}

bool TScriptedDialogs::Wait(QWidget*, const QString& text, const std::function<bool()>& ready) {
  log << "Wait: " + text;
  while (!ready()) {
    if (cancelWait()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return true;
}

int TScriptedDialogs::Exec(QDialog& dialog) {
  log << "Exec: " + dialog.windowTitle();
  return QDialog::Accepted;
}

void TScriptedDialogs::Show(QWidget& window) {
  log << "Show: " + window.windowTitle();
  window.show();
}

bool TScriptedDialogs::OpenDocument(const QString& path) {
  log << "Document: " + path;
  return openDocumentResult;
}

QStringList TScriptedDialogs::Entries(const QString& prefix) const {
  QStringList found;
  for (const QString& entry : log)
    if (entry.startsWith(prefix)) found << entry;
  return found;
}

}  // namespace pictalon::test
