// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Start page: the banner, the gallery files of the user data folder as icons, and the
// New Gallery and template editor buttons.
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

namespace pictalon {

class TStartPage : public QWidget {
  Q_OBJECT

public:
  explicit TStartPage(QWidget* parent = nullptr);

  void AddGallery(const QIcon& icon, const QString& name);
  int GalleryCount() const { return lvFiles->count(); }

  // lvFilesDblClick: the selected gallery's name, on a double click or Enter; nothing when no
  // item is selected.
  void lvFilesDblClick();

signals:
  void galleryChosen(const QString& name);
  void newRequested();
  void editRequested();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QListWidget* lvFiles;
  QPushButton* btnNew;
  QPushButton* btnEdit;
};

}  // namespace pictalon
