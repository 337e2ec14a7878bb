// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads the version information that the executables carry in a section of their ELF file
// (see cmake/version_section.c.in): NUL-terminated "name=value" entries.
#include <string>

namespace pictalon {

class TCustomVersionInfo {
public:
  TCustomVersionInfo() { SetFileName(""); }
  virtual ~TCustomVersionInfo() = default;

  const std::string& FileName() const { return fileName_; }
  // An empty name stands for the running process's executable.
  void SetFileName(const std::string& name);

protected:
  // Loads the version section of FileName; throws Error "No version info in file" when the file
  // has none and "Error reading version info" when it cannot be read.
  void Load();
  // The value stored under name; false when there is no such entry.
  bool QueryValue(const std::string& name, std::string& value) const;

private:
  std::string fileName_;
  bool self_ = false;  // fileName_ is the running executable
  std::string data_;
};

class TVersionInfo : public TCustomVersionInfo {
public:
  // The FileVersion text of the string table named by the first translation; empty text when the
  // table has no FileVersion. Throws Error like Load.
  std::string FileVersion();
};

// The FileVersion of the running program's executable.
std::string GetProgramFileVersion();

}  // namespace pictalon
