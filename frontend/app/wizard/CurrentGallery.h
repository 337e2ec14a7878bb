// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The gallery being worked on: its settings record and its gallery file, and how a new gallery
// file gets its name. The wizard window is its only user.
#include <QCoreApplication>

#include <string>

#include "GalleryFile.h"
#include "TypeDef.h"

class QWidget;

namespace pictalon {

class TdmNonVis;

class TCurrentGallery {
  Q_DECLARE_TR_FUNCTIONS(TCurrentGallery)

public:
  // Names new gallery files for the whole program while it lives; dialogs are shown over window.
  TCurrentGallery(TdmNonVis& dm, QWidget& window);
  ~TCurrentGallery();
  TCurrentGallery(const TCurrentGallery&) = delete;
  TCurrentGallery& operator=(const TCurrentGallery&) = delete;

  GallerySettings& Settings() { return settings_; }
  const GallerySettings& Settings() const { return settings_; }
  // The settings the gallery file keeps after the record.
  TGalleryTail& Tail() { return tail_; }
  const TGalleryTail& Tail() const { return tail_; }
  // The current gallery file; empty when none.
  const std::string& Path() const { return path_; }

  // path becomes the current gallery file and its record the settings (all zero when it cannot
  // be read, the web copy settings at their defaults).
  void Open(const std::string& path);
  // No current gallery file, and the settings of a new gallery.
  void New();
  // Writes the settings to the current gallery file, or to a newly named one when there is none
  // (asking the user for the name when ask is set, else taking the first free "Gallery N.pgs").
  // A write that fails is reported: the user would otherwise lose every change without knowing.
  void Write(bool ask);
  // Writes the settings under a name the user chooses and takes the details along with them.
  void SaveAs();

private:
  // The name of a gallery file that no path was given for; empty when nothing is to be written.
  std::string NameNewGallery(const std::string& userDataFolder);
  void WriteTo(const std::string& path);

  TdmNonVis& dm_;
  QWidget& window_;
  GallerySettings settings_{};
  TGalleryTail tail_;
  std::string path_;
  bool askForName_ = false;
  std::string namedPath_;  // the name the last naming settled on
};

}  // namespace pictalon
