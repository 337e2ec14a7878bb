// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "Platform.h"

namespace fs = std::filesystem;

namespace pictalon::test {

TempDir::TempDir() {
  std::random_device rd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path p = fs::temp_directory_path() / ("pictalon-test-" + std::to_string(rd()));
    if (fs::create_directory(p)) {
      path_ = p.string() + "/";
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string TempDir::file(const std::string& relative) const {
  std::string full = path_ + relative;
  fs::create_directories(fs::path(full).parent_path());
  return full;
}

std::string TempDir::write(const std::string& relative, std::string_view bytes) const {
  std::string full = file(relative);
  std::ofstream out(full, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return full;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ProgramFolderOverride::ProgramFolderOverride(const std::string& folder) {
  OverrideProgramFolder(folder);
}

ProgramFolderOverride::~ProgramFolderOverride() { OverrideProgramFolder(""); }

}  // namespace pictalon::test
