// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Binding to the page generation engine: loaded for one Generate and released right after it.
#include <string>

#include "PictgenExport.h"

namespace pictalon {

constexpr const char* kEngineLibraryName = "libPictgen.so";

class TEngineBinding {
public:
  TEngineBinding() = default;
  ~TEngineBinding();
  TEngineBinding(const TEngineBinding&) = delete;
  TEngineBinding& operator=(const TEngineBinding&) = delete;

  // Loads the library from the program folder, else by its bare name through the platform's
  // search, and looks up the export. False (and nothing kept loaded) when either fails.
  bool LoadEngine();
  // Releases a loaded library; throws Error("Cannot release libPictgen.so") when that fails.
  void FreeEngine();

  // Calls the export; LoadEngine must have succeeded.
  bool Run(const std::string& galleryPath) const;

private:
  void* handle_ = nullptr;
  decltype(&RunPictalonGenerator) entry_ = nullptr;
};

}  // namespace pictalon
