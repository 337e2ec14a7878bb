// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers shared by the tests: temporary folders and whole-file access.
#include <string>
#include <string_view>

#include "TestJpeg.h"

namespace pictalon::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder, ending with '/'.
  const std::string& path() const { return path_; }
  // path() + relative, with parent folders created; writes bytes to it when given.
  std::string file(const std::string& relative) const;
  std::string write(const std::string& relative, std::string_view bytes) const;

private:
  std::string path_;
};

std::string ReadFile(const std::string& path);  // whole file; empty when missing

// Points the program folder at a test folder for the life of the object.
class ProgramFolderOverride {
public:
  explicit ProgramFolderOverride(const std::string& folder);
  ~ProgramFolderOverride();
};

}  // namespace pictalon::test
