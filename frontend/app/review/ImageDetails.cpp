// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageDetails.h"

#include <QCoreApplication>

#include "GalleryFile.h"
#include "Platform.h"
#include "WorkingFiles.h"

namespace pictalon {

TImageDetails::TImageDetails(const std::string& galleryPath)
    : doc_(ImageDetailsPathInUserData(galleryPath)) {
  std::string bytes;
  if (FileExists(doc_.FileName()) && !ReadWholeFile(doc_.FileName(), bytes))
    problem_ = QCoreApplication::translate("TImageDetails", "Cannot read %1")
                   .arg(QString::fromStdString(doc_.FileName()))
                   .toStdString();
}

TImageTexts TImageDetails::Read(const std::string& section) const {
  auto text = [&](const char* key) { return QString::fromStdString(doc_.ReadString(section, key, "")); };
  return {text("Title"), text("Ref"), text("Size")};
}

void TImageDetails::WriteKey(const std::string& section, const char* key, const QString& text) {
  // A stored value never holds a line break, so "\n" tells a missing key.
  const std::string stored = doc_.ReadString(section, key, "\n");
  const bool missing = stored == "\n";
  if (!missing && QString::fromStdString(stored) == text) return;
  doc_.WriteString(section, key, text.toStdString());
  dirty_ = true;
}

void TImageDetails::Write(const std::string& section, const TImageTexts& texts) {
  WriteKey(section, "Title", texts.title);
  WriteKey(section, "Ref", texts.ref);
  WriteKey(section, "Size", texts.size);
}

bool TImageDetails::Save() {
  if (!Writable()) return false;
  if (!dirty_) return true;
  if (!doc_.UpdateFile()) return false;
  dirty_ = false;
  return true;
}

}  // namespace pictalon
