// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The wizard's toolbar: the gallery file commands, the gallery combo, the status label and the
// information menu.
#include <QComboBox>
#include <QLabel>
#include <QToolBar>
#include <QToolButton>

#include <vector>

namespace pictalon {

class TdmNonVis;

class TWizardToolbar : public QToolBar {
  Q_OBJECT

public:
  explicit TWizardToolbar(TdmNonVis& dm, QWidget* parent = nullptr);

  // Lists a gallery in the combo, with the small gallery file bitmap.
  void AddGallery(const QString& name);
  // Shows name as the combo's selection (none when it is not listed).
  void SelectGallery(const QString& name);
  QString GalleryName(int index) const { return cbFiles->itemText(index); }

  // The status label shows changing state: a screen reader reads its text, so it has no name.
  void SetStatusText(const QString& text);
  QString StatusText() const { return pnlStatus->text(); }

  // The commands that open, start or rename a gallery.
  std::vector<QWidget*> GalleryCommands() const { return {btnNew2, btnSaveGallAs, cbFiles}; }

signals:
  void newRequested();
  void editRequested();
  void saveRequested();
  void saveAsRequested();
  // The user chose the combo's entry index.
  void galleryChosen(int index);

private:
  TdmNonVis& dm_;
  QToolButton* btnNew2;
  QToolButton* btnEdit2;
  QToolButton* btnSaveGall;
  QToolButton* btnSaveGallAs;
  QComboBox* cbFiles;
  QLabel* pnlStatus;
  QToolButton* btnInfo;
};

}  // namespace pictalon
