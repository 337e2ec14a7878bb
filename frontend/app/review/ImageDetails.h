// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The image details of the current gallery as the review window keeps them: an in-memory INI
// document with a "Title", "Ref" and "Size" per image, read when opened and written back whole.
#include <QString>

#include <memory>
#include <string>

#include "IniDocument.h"

namespace pictalon {

struct TImageTexts {
  QString title, ref, size;
};

class TImageDetails {
public:
  // The details of the gallery file galleryPath, kept in the user data folder. A file that does not
  // exist yet gives an empty document. A file that exists but cannot be read is never written
  // over: Writable() is then false and the reason is in Problem().
  explicit TImageDetails(const std::string& galleryPath);

  const std::string& Path() const { return doc_.FileName(); }
  bool Writable() const { return problem_.empty(); }
  const std::string& Problem() const { return problem_; }
  // Changes not yet in the file.
  bool Dirty() const { return dirty_; }

  TImageTexts Read(const std::string& section) const;
  // Writes the three keys in the order Title, Ref, Size. A text equal to what Read gave leaves the
  // stored bytes alone, so a value that is not valid UTF-8 is not mangled by merely being shown.
  void Write(const std::string& section, const TImageTexts& texts);

  // Writes the file (atomically) when it has changes; false when it cannot (the changes stay).
  bool Save();

private:
  void WriteKey(const std::string& section, const char* key, const QString& text);

  TIniDocument doc_;
  std::string problem_;
  bool dirty_ = false;
};

}  // namespace pictalon
